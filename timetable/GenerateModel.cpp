#include "GenerateModel.h"

#include "Database.h"
#include "Lookups.h"
#include "TimetableShared.h"

#include <QSet>
#include <algorithm>
#include <chrono>

namespace {

gen::CellMask weekOf(const QString &days, int periods)
{
    gen::CellMask m = 0;
    periods = std::clamp(periods, 0, gen::Periods);
    for (const QString &d : days.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int day = d.trimmed().toInt();
        if (day < 0 || day >= gen::Days)
            continue;
        for (int p = 0; p < periods; ++p)
            m |= gen::bitOf(gen::cellOf(day, p));
    }
    return m;
}

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString plural(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

} // namespace

QVector<GenItem> GenerateModel::classList()
{
    QVector<GenItem> out;
    const Recordset rs = OpenRecordset(QStringLiteral("select cs.classid, %1 from classsection cs where cs.classid in "
                                                      "(select classid from classsubjects where hours > 0) "
                                                      "order by cs.sortorder, cs.section, cs.classid")
                                           .arg(ClassSectionExpr(QStringLiteral("cs"))));
    for (const QVariantList &r : rs.rows())
        out.push_back({r[0].toInt(), r[1].toString()});
    return out;
}

bool GenerateModel::read(const QVector<int> &classIds, bool keepLessons)
{
    discard();
    snapshot_ = {};
    loaded_.clear();
    classNames_.clear();
    elsewhere_.clear();
    const QSet<int> chosen(classIds.begin(), classIds.end());

    const Recordset names = OpenRecordset(
        QStringLiteral("select classid, %1 from classsection").arg(ClassSectionExpr()));
    const Recordset periods = OpenRecordset(QStringLiteral(
        "select cp.classid, cp.days, ps.p_no from classperiods cp, periodsystem ps where cp.periodsysid = ps.periodsysid"));
    const Recordset curriculum = OpenRecordset(
        QStringLiteral("select classid, subid, hours, level1 from classsubjects where hours > 0 order by classid, subid"));
    const Recordset teachers = OpenRecordset(QStringLiteral("select teacherid from teachers order by teacherid"));
    const Recordset subjects = OpenRecordset(QStringLiteral("select teacherid, subid, mostprf, leastprf from teachersubjects"));
    const Recordset unavailable = OpenRecordset(QStringLiteral(
        "select teacherid, period * 6 + weekday from teacherunavailable where weekday between 0 and 5 and period between 0 and 8"));
    const Recordset allocations = OpenRecordset(
        QStringLiteral("select classid, subid, teacherid, hours from classsubjectteachers order by classid, subid, teacherid"));
    const Recordset lessons = OpenRecordset(
        QStringLiteral("select teacherid, subid, classid, period, weekday from timeschedule order by rowid"));
    for (const Recordset *rs : {&names, &periods, &curriculum, &teachers, &subjects, &unavailable, &allocations, &lessons})
        if (!rs->ok())
            return false;

    for (const QVariantList &r : names.rows())
        classNames_.insert(r[0].toInt(), r[1].toString());
    QHash<int, gen::CellMask> weeks;
    for (const QVariantList &r : periods.rows())
        weeks[r[0].toInt()] |= weekOf(r[1].toString(), r[2].toInt());
    // A class is placed at the level most of its subjects are taught at.
    QHash<int, QVector<int>> levels;
    for (const QVariantList &r : curriculum.rows())
        levels[r[0].toInt()].push_back(r[3].toInt());
    for (int id : classIds) {
        QVector<int> l = levels.value(id);
        std::sort(l.begin(), l.end());
        snapshot_.classes.push_back({id, weeks.value(id), l.isEmpty() ? 1 : l[l.size() / 2]});
    }

    QHash<int, int> teacherIndex;
    for (const QVariantList &r : teachers.rows()) {
        teacherIndex.insert(r[0].toInt(), int(snapshot_.teachers.size()));
        gen::TeacherInput t;
        t.id = r[0].toInt();
        snapshot_.teachers.push_back(t);
    }
    for (const QVariantList &r : subjects.rows())
        if (auto it = teacherIndex.find(r[0].toInt()); it != teacherIndex.end())
            snapshot_.teachers[*it].subjects.push_back({r[1].toInt(), r[2].toInt(), r[3].toInt()});
    for (const QVariantList &r : unavailable.rows())
        if (auto it = teacherIndex.find(r[0].toInt()); it != teacherIndex.end())
            snapshot_.teachers[*it].unavailable |= gen::bitOf(r[1].toInt());

    QHash<QPair<int, int>, std::vector<gen::Allocation>> allocated;
    for (const QVariantList &r : allocations.rows())
        if (chosen.contains(r[0].toInt()))
            allocated[{r[0].toInt(), r[1].toInt()}].push_back({r[2].toInt(), r[3].toInt()});
    for (const QVariantList &r : curriculum.rows()) {
        const int classId = r[0].toInt();
        if (!chosen.contains(classId))
            continue;
        gen::Requirement req;
        req.classId = classId;
        req.subject = r[1].toInt();
        req.periods = r[2].toInt();
        req.allocations = allocated.value({classId, req.subject});
        snapshot_.requirements.push_back(req);
    }

    // The generated classes' weeks exactly as the store will compare them at Save.
    for (int id : classIds)
        loaded_.insert(id, store::ClassWeek(id));
    for (const QVariantList &r : lessons.rows()) {
        const int teacher = r[0].toInt();
        const int classId = r[2].toInt();
        const int cell = gen::cellOf(r[4].toInt(), r[3].toInt());
        if (chosen.contains(classId)) {
            if (keepLessons)
                snapshot_.kept.push_back({classId, teacher, r[1].toInt(), cell});
            continue;
        }
        auto it = teacherIndex.find(teacher);
        if (it == teacherIndex.end())
            continue;
        snapshot_.teachers[*it].taken |= gen::bitOf(cell);
        QString &shown = elsewhere_[teacher][cell];
        shown = tt::JoinCaption(
            QStringList(tt::SplitCaption(shown)) << className(classId) << subjectName(r[1].toInt()));
    }
    return true;
}

gen::Options GenerateModel::options(std::uint64_t seed, int teacherDayLimit) const
{
    gen::Options o;
    o.seed = seed;
    o.teacherDayLimit = std::max(0, teacherDayLimit);
    return o;
}

void GenerateModel::setResult(gen::Result result)
{
    result_ = std::move(result);
    hasResult_ = true;
}

void GenerateModel::discard()
{
    result_ = {};
    hasResult_ = false;
}

bool GenerateModel::wasKept(const gen::Lesson &l) const
{
    return std::find(snapshot_.kept.begin(), snapshot_.kept.end(), l) != snapshot_.kept.end();
}

store::SaveResult GenerateModel::save()
{
    if (!hasResult_)
        return {store::SaveResult::Status::Refused, QStringLiteral("There is no generated timetable to save.")};
    QVector<store::WeekChange> changes;
    for (const gen::ClassInput &c : snapshot_.classes) {
        store::WeekChange w;
        w.owner = store::WeekChange::Owner::Class;
        w.id = c.id;
        w.loaded = loaded_.value(c.id);
        for (const gen::Lesson &l : result_.lessons) {
            if (l.classId != c.id)
                continue;
            w.rows.push_back({l.teacher, l.subject, l.classId, gen::periodOf(l.cell), gen::weekdayOf(l.cell), false});
        }
        changes.push_back(w);
    }
    const store::SaveResult saved = store::SaveWeeks(changes);
    if (saved.saved())
        discard();
    return saved;
}

QString GenerateModel::summary(qint64 ms) const
{
    return QStringLiteral("placed %1 of %2 lessons, %3 clashes, %4 spread faults, in %5 ms")
        .arg(result_.placed)
        .arg(result_.planned)
        .arg(result_.clashes)
        .arg(result_.quality.spreadFaults)
        .arg(ms >= 0 ? ms : qRound64(result_.totalMs));
}

QStringList GenerateModel::unplacedLines() const
{
    QStringList out;
    for (const gen::Problem &p : result_.problems) {
        QStringList about;
        if (p.classId)
            about << className(p.classId);
        if (p.subject)
            about << subjectName(p.subject);
        if (p.teacher)
            about << teacherName(p.teacher);
        QString line = about.join(QLatin1Char(' '));
        line += (line.isEmpty() ? QString() : QStringLiteral(": ")) + QString::fromStdString(gen::describe(p.reason));
        switch (p.reason) {
        case gen::Reason::ClassOverfull:
        case gen::Reason::TeacherOverallocated:
        case gen::Reason::AllocationAboveCurriculum:
            line += QStringLiteral(" (%1 too many)").arg(plural(p.amount, "period", "periods"));
            break;
        case gen::Reason::KeptLessonInvalid:
            // The generator leaves such a lesson where it is; the user mends it in the editor.
            line += QStringLiteral(" (left where it is)");
            break;
        default:
            if (p.amount)
                line += QStringLiteral(" (%1)").arg(plural(p.amount, "period", "periods"));
            break;
        }
        out << line;
    }
    for (const gen::Unplaced &u : result_.unplaced) {
        QString who = u.teacher ? QStringLiteral(" (%1)").arg(teacherName(u.teacher)) : QString();
        out << QStringLiteral("%1 %2%3: %4 not placed, %5")
                   .arg(className(u.classId), subjectName(u.subject), who, plural(u.count, "lesson", "lessons"),
                        QString::fromStdString(gen::describe(u.reason)));
    }
    return out;
}

QVector<GenItem> GenerateModel::resultClasses() const
{
    QVector<GenItem> out;
    for (const gen::ClassInput &c : snapshot_.classes)
        out.push_back({c.id, className(c.id)});
    return out;
}

QVector<GenItem> GenerateModel::resultTeachers() const
{
    QSet<int> ids;
    for (const gen::Lesson &l : result_.lessons)
        ids.insert(l.teacher);
    QVector<GenItem> out;
    for (int id : ids)
        out.push_back({id, teacherName(id)});
    std::sort(out.begin(), out.end(), [](const GenItem &a, const GenItem &b) {
        const int c = a.text.compare(b.text, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    return out;
}

QString GenerateModel::teacherName(int teacherId) const
{
    auto it = teacherNames_.find(teacherId);
    if (it == teacherNames_.end()) {
        QString name = TeacherNameById(teacherId);
        it = teacherNames_.insert(teacherId, name.isEmpty() ? QStringLiteral("teacher %1").arg(teacherId) : name);
    }
    return *it;
}

QString GenerateModel::subjectName(int subjectId) const
{
    auto it = subjectNames_.find(subjectId);
    if (it == subjectNames_.end())
        it = subjectNames_.insert(subjectId, SubjectTextByUniqueId(QString::number(subjectId)).trimmed());
    return *it;
}

const gen::Lesson *GenerateModel::lessonAt(int classId, int cell) const
{
    for (const gen::Lesson &l : result_.lessons)
        if (l.classId == classId && l.cell == cell)
            return &l;
    return nullptr;
}

QString GenerateModel::classCaption(int classId, int cell) const
{
    const gen::Lesson *l = lessonAt(classId, cell);
    return l ? tt::JoinCaption({teacherName(l->teacher), subjectName(l->subject)}) : QString();
}

GenCellLook GenerateModel::classLook(int classId, int cell) const
{
    if (const gen::Lesson *l = lessonAt(classId, cell))
        return wasKept(*l) ? GenCellLook::Kept : GenCellLook::Placed;
    for (const gen::ClassInput &c : snapshot_.classes)
        if (c.id == classId)
            return (c.cells & gen::bitOf(cell)) ? GenCellLook::Free : GenCellLook::Outside;
    return GenCellLook::Outside;
}

QString GenerateModel::teacherCaption(int teacherId, int cell) const
{
    for (const gen::Lesson &l : result_.lessons)
        if (l.teacher == teacherId && l.cell == cell)
            return tt::JoinCaption({className(l.classId), subjectName(l.subject)});
    return elsewhere_.value(teacherId).value(cell);
}

GenCellLook GenerateModel::teacherLook(int teacherId, int cell) const
{
    for (const gen::Lesson &l : result_.lessons)
        if (l.teacher == teacherId && l.cell == cell)
            return wasKept(l) ? GenCellLook::Kept : GenCellLook::Placed;
    if (elsewhere_.value(teacherId).contains(cell))
        return GenCellLook::Elsewhere;
    for (const gen::TeacherInput &t : snapshot_.teachers)
        if (t.id == teacherId && (t.unavailable & gen::bitOf(cell)))
            return GenCellLook::Unavailable;
    return GenCellLook::Free;
}

QColor GenerateModel::colourOf(GenCellLook look)
{
    switch (look) {
    case GenCellLook::Free: return tt::ColFree();
    case GenCellLook::Kept: return tt::ColSelected();
    case GenCellLook::Placed: return tt::ColSubject();
    case GenCellLook::Elsewhere: return tt::ColBusy();
    case GenCellLook::Outside:
    case GenCellLook::Unavailable: break;
    }
    return tt::ColUnavailable();
}

QString GenerateModel::lookName(GenCellLook look)
{
    switch (look) {
    case GenCellLook::Outside: return QStringLiteral("Not in the Week");
    case GenCellLook::Free: return QStringLiteral("Free");
    case GenCellLook::Kept: return QStringLiteral("Kept");
    case GenCellLook::Placed: return QStringLiteral("Placed");
    case GenCellLook::Unavailable: return QStringLiteral("Not Available");
    case GenCellLook::Elsewhere: return QStringLiteral("Other Classes");
    }
    return QString();
}

// --- the worker ------------------------------------------------------------------------------

GenerateJob::~GenerateJob()
{
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

void GenerateJob::start(const gen::Snapshot &snapshot, gen::Options options)
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();
    cancel_ = false;
    running_ = true;
    snapshot_ = snapshot;
    options.cancel = &cancel_;
    // Progress comes many times a second; the window needs a few updates a second.
    options.progress = [this](const gen::Progress &p) {
        const long long now = nowMs();
        if (p.phase != gen::Phase::Done && now - lastPost_ < 40)
            return;
        lastPost_ = now;
        QMetaObject::invokeMethod(
            this, [this, p] { emit progressed(int(p.phase), p.placed, p.total, p.spreadFaults, p.gaps); },
            Qt::QueuedConnection);
    };
    thread_ = std::thread([this, options] {
        result_ = gen::Generate(snapshot_, options);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (thread_.joinable())
                    thread_.join();
                running_ = false;
                emit finished();
            },
            Qt::QueuedConnection);
    });
}
