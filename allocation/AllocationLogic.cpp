#include "AllocationLogic.h"

#include "Database.h"
#include "Generator.h"
#include "Lookups.h"
#include "Platform.h"

#include <QHash>
#include <QMap>
#include <algorithm>
#include <bit>
#include <tuple>

namespace alloc {

namespace {

QString subjectSql()
{
    return QStringLiteral("select st.uniqueid, trim(%1) from subjtype st, subjects s where s.subid = st.subid")
        .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")));
}

QHash<int, QString> idNames(const QString &sql, const QVariantList &params = {})
{
    QHash<int, QString> out;
    const Recordset rs = QueryQuiet(sql, params);
    for (const QVariantList &r : rs.rows())
        out.insert(r[0].toInt(), r[1].toString());
    return out;
}

QHash<int, QString> teacherNames() { return idNames(QStringLiteral("select teacherid, teachername from teachers")); }

QString removedTeacher(int id) { return QStringLiteral("(removed teacher %1)").arg(id); }

// The school's week and who can teach how much of it.
int availableIn(CellMask school, CellMask unavailable) { return std::popcount(school & ~unavailable); }

} // namespace

int CurriculumLine::allocated() const
{
    int n = 0;
    for (const Share &s : teachers)
        n += s.hours;
    return n;
}

QString CurriculumLine::teachersText() const
{
    QStringList parts;
    for (const Share &s : teachers)
        parts << QStringLiteral("%1 %2").arg(s.teacher).arg(s.hours);
    return parts.join(QStringLiteral(", "));
}

QString Offer::text() const { return QStringLiteral("%1 (%2 of %3)").arg(name).arg(allocated).arg(available); }

QVector<Item> AllocationLogic::classList()
{
    QVector<Item> out;
    const Recordset rs = QueryQuiet(QStringLiteral(
        "select cs.classid, %1 from classsection cs where cs.classid in "
        "(select classid from classsubjects union select classid from classsubjectteachers) "
        "order by cs.sortorder, cs.section, cs.classid")
                                        .arg(ClassSectionExpr(QStringLiteral("cs"))));
    for (const QVariantList &r : rs.rows())
        out.push_back({r[0].toInt(), r[1].toString()});
    return out;
}

QVector<Item> AllocationLogic::teacherList()
{
    QVector<Item> out;
    const Recordset rs = QueryQuiet(QStringLiteral("select teacherid, teachername from teachers order by teachername, teacherid"));
    for (const QVariantList &r : rs.rows())
        out.push_back({r[0].toInt(), r[1].toString()});
    return out;
}

void AllocationLogic::loadClass(int classid)
{
    classId_ = classid;
    lines_.clear();
    const QHash<int, QString> subjects = idNames(subjectSql());
    const Recordset cs = QueryQuiet(QStringLiteral("select subid, hours, level1 from classsubjects where classid = ?"), {classid});
    for (const QVariantList &r : cs.rows())
        lines_.push_back({r[0].toInt(), subjects.value(r[0].toInt(), QStringLiteral("(removed subject %1)").arg(r[0].toInt())),
                          r[1].toInt(), r[2].toInt(), true, {}});
    const QHash<int, QString> names = teacherNames();
    for (const Allocation &a : Allocations(classid)) {
        auto it = std::find_if(lines_.begin(), lines_.end(), [&](const CurriculumLine &l) { return l.subjectId == a.subjectId; });
        if (it == lines_.end()) {
            // Left behind when the subject left the curriculum: shown so that it can be removed.
            lines_.push_back({a.subjectId, subjects.value(a.subjectId, QStringLiteral("(removed subject %1)").arg(a.subjectId)),
                              0, 0, false, {}});
            it = lines_.end() - 1;
        }
        it->teachers.push_back({a.teacherId, names.value(a.teacherId, removedTeacher(a.teacherId)), a.hours});
    }
    for (CurriculumLine &l : lines_)
        std::sort(l.teachers.begin(), l.teachers.end(), [](const Share &a, const Share &b) {
            return a.hours != b.hours ? a.hours > b.hours : a.teacher < b.teacher;
        });
    std::sort(lines_.begin(), lines_.end(), [](const CurriculumLine &a, const CurriculumLine &b) {
        return a.inCurriculum != b.inCurriculum ? a.inCurriculum : a.subject.compare(b.subject, Qt::CaseInsensitive) < 0;
    });
}

const CurriculumLine *AllocationLogic::line(int subjectId) const
{
    for (const CurriculumLine &l : lines_)
        if (l.subjectId == subjectId)
            return &l;
    return nullptr;
}

QVector<Offer> AllocationLogic::offers(int subjectId) const
{
    const CurriculumLine *l = line(subjectId);
    const int level = l ? l->level : 0;
    const CellMask school = SchoolWeek(ClassWeeks());
    const QHash<int, CellMask> unavailable = UnavailableByTeacher();
    const QHash<int, int> load = AllocatedByTeacher();
    QVector<Offer> out;
    const Recordset rs = QueryQuiet(QStringLiteral("select t.teacherid, t.teachername, ts.mostprf, ts.leastprf from teachersubjects ts "
                                                   "join teachers t on t.teacherid = ts.teacherid where ts.subid = ?"),
                                    {subjectId});
    QHash<int, int> nearMost;
    for (const QVariantList &r : rs.rows()) {
        Offer o;
        o.teacherId = r[0].toInt();
        o.name = r[1].toString();
        o.allocated = load.value(o.teacherId);
        o.available = availableIn(school, unavailable.value(o.teacherId));
        o.distance = hx::gen::levelDistance(level, {subjectId, r[2].toInt(), r[3].toInt()});
        nearMost.insert(o.teacherId, std::abs(level - r[2].toInt()));
        out.push_back(o);
    }
    // As the generator ranks: the levels first, then the load against what the teacher can teach.
    std::sort(out.begin(), out.end(), [&](const Offer &a, const Offer &b) {
        const auto key = [&](const Offer &o) {
            return std::make_tuple(o.distance, nearMost.value(o.teacherId), (long long)o.allocated * 100000 / std::max(1, o.available),
                                   o.name.toCaseFolded(), o.teacherId);
        };
        return key(a) < key(b);
    });
    return out;
}

bool AllocationLogic::allocate(int subjectId, int teacherId, int periods)
{
    const bool ok = SetHours(classId_, subjectId, teacherId, periods);
    loadClass(classId_);
    return ok;
}

QVector<QStringList> AllocationLogic::teacherAllocations(int teacherid)
{
    QVector<QStringList> out;
    const Recordset rs = QueryQuiet(QStringLiteral("select %1, trim(%2), a.hours from classsubjectteachers a "
                                                   "left join classsection c on c.classid = a.classid "
                                                   "left join subjtype st on st.uniqueid = a.subid "
                                                   "left join subjects s on s.subid = st.subid "
                                                   "where a.teacherid = ? order by c.sortorder, c.section, 2")
                                        .arg(ClassSectionExpr(QStringLiteral("c")),
                                             SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))),
                                    {teacherid});
    for (const QVariantList &r : rs.rows())
        out.push_back({r[0].toString(), r[1].toString(), r[2].toString()});
    return out;
}

QString AllocationLogic::teacherTotal(int teacherid)
{
    const int total = QueryValue(QStringLiteral("select ifnull(sum(hours), 0) from classsubjectteachers where teacherid = ?"),
                                 {teacherid}, 0)
                          .toInt();
    const int can = availableIn(SchoolWeek(ClassWeeks()), TeacherUnavailableCells(teacherid));
    return QStringLiteral("Total: %1 periods allocated, available in %2").arg(total).arg(can);
}

const QVector<PlanLine> &AllocationLogic::suggest(bool wholeSchool)
{
    plan_.clear();
    planNotes_.clear();
    namespace gen = hx::gen;
    gen::Snapshot snap;
    const QHash<int, CellMask> weeks = ClassWeeks();
    const QHash<int, CellMask> unavailable = UnavailableByTeacher();

    // Each class at the level most of its subjects are taught at (the generator takes one per class).
    QHash<int, QVector<int>> levels;
    const Recordset cs = QueryQuiet(QStringLiteral("select classid, subid, hours, level1 from classsubjects order by classid, subid"));
    for (const QVariantList &r : cs.rows())
        levels[r[0].toInt()].push_back(r[3].toInt());
    const QVector<Item> classes = classList();
    for (const Item &c : classes) {
        QVector<int> l = levels.value(c.id);
        std::sort(l.begin(), l.end());
        snap.classes.push_back({c.id, weeks.value(c.id), l.isEmpty() ? 1 : l[l.size() / 2]});
    }
    QHash<int, int> teacherIndex;
    for (const Item &t : teacherList()) {
        teacherIndex.insert(t.id, int(snap.teachers.size()));
        gen::TeacherInput ti;
        ti.id = t.id;
        ti.unavailable = unavailable.value(t.id);
        snap.teachers.push_back(ti);
    }
    const Recordset taught = QueryQuiet(QStringLiteral("select teacherid, subid, mostprf, leastprf from teachersubjects"));
    for (const QVariantList &r : taught.rows()) {
        auto it = teacherIndex.find(r[0].toInt());
        if (it != teacherIndex.end())
            snap.teachers[it.value()].subjects.push_back({r[1].toInt(), r[2].toInt(), r[3].toInt()});
    }
    QMap<QPair<int, int>, std::vector<gen::Allocation>> existing;
    for (const Allocation &a : Allocations())
        existing[{a.classId, a.subjectId}].push_back({a.teacherId, a.hours});
    for (const QVariantList &r : cs.rows()) {
        gen::Requirement req;
        req.classId = r[0].toInt();
        req.subject = r[1].toInt();
        req.allocations = existing.value({req.classId, req.subject});
        int have = 0;
        for (const gen::Allocation &a : req.allocations)
            have += a.periods;
        // Outside the chosen class only what is allocated counts, as load.
        const bool inScope = wholeSchool || req.classId == classId_;
        req.periods = inScope ? r[2].toInt() : std::min(have, r[2].toInt());
        snap.requirements.push_back(req);
    }

    std::vector<gen::Problem> problems;
    const std::vector<gen::RequirementPlan> chosen = gen::ChooseTeachers(snap, &problems);

    QHash<int, QString> classNames;
    for (const Item &c : classes)
        classNames.insert(c.id, c.text);
    const QHash<int, QString> subjects = idNames(subjectSql());
    const QHash<int, QString> names = teacherNames();
    for (size_t i = 0; i < chosen.size(); ++i) {
        const gen::Requirement &req = snap.requirements[i];
        for (const gen::Allocation &a : chosen[i].allocations) {
            int before = 0;
            for (const gen::Allocation &e : req.allocations)
                if (e.teacher == a.teacher)
                    before = e.periods;
            if (a.periods > before)
                plan_.push_back({req.classId, classNames.value(req.classId), req.subject, subjects.value(req.subject),
                                 a.teacher, names.value(a.teacher), a.periods - before});
        }
    }
    std::stable_sort(plan_.begin(), plan_.end(), [&](const PlanLine &a, const PlanLine &b) {
        const int ra = int(std::find_if(classes.begin(), classes.end(), [&](const Item &c) { return c.id == a.classId; }) - classes.begin());
        const int rb = int(std::find_if(classes.begin(), classes.end(), [&](const Item &c) { return c.id == b.classId; }) - classes.begin());
        return ra != rb ? ra < rb : a.subject.compare(b.subject, Qt::CaseInsensitive) < 0;
    });
    for (const gen::Problem &p : problems)
        if (p.reason == gen::Reason::NoTeacher)
            planNotes_ << QStringLiteral("%1 %2: no teacher has room for %3 of its periods.")
                              .arg(classNames.value(p.classId), subjects.value(p.subject))
                              .arg(p.amount);
    return plan_;
}

int AllocationLogic::planPeriods() const
{
    int n = 0;
    for (const PlanLine &l : plan_)
        n += l.periods;
    return n;
}

bool AllocationLogic::savePlan()
{
    QVector<Allocation> lines;
    for (const PlanLine &l : plan_)
        lines.push_back({l.classId, l.subjectId, l.teacherId, l.periods});
    const bool ok = AddPlan(lines);
    if (ok)
        discardPlan();
    loadClass(classId_);
    return ok;
}

void AllocationLogic::discardPlan()
{
    plan_.clear();
    planNotes_.clear();
}

bool AllocationLogic::fromTimetable(bool wholeSchool)
{
    if (!wholeSchool && classId_ == 0)
        return false;
    const QString scope = wholeSchool
        ? QStringLiteral("every class")
        : QueryValue(QStringLiteral("select %1 from classsection where classid = ?").arg(ClassSectionExpr()), {classId_}).toString();
    if (hx::MsgBox(QStringLiteral("Take the teachers of %1 from the current timetable? The allocations recorded for %1 are "
                                  "replaced by who teaches how many periods of each subject now.")
                       .arg(scope),
                   hx::MsgButtons::YesNo, hx::MsgIcon::Question)
        != hx::MsgResult::Yes)
        return false;
    int taken = 0, left = 0;
    const bool ok = TakeFromTimetable(wholeSchool ? 0 : classId_, &taken, &left);
    loadClass(classId_);
    if (ok)
        hx::MsgBox(QStringLiteral("%1 allocations taken from the timetable.").arg(taken) +
                   (left == 1   ? QStringLiteral(" 1 period above the curriculum was left out.")
                    : left > 1 ? QStringLiteral(" %1 periods above the curriculum were left out.").arg(left)
                               : QString()));
    return ok;
}

// --- availability ---------------------------------------------------------------------------

void AvailabilityModel::loadTeacher(int teacherid)
{
    teacherId_ = teacherid;
    unavailable_ = TeacherUnavailableCells(teacherid);
    school_ = SchoolWeek(ClassWeeks());
    allocated_ = QueryValue(QStringLiteral("select ifnull(sum(hours), 0) from classsubjectteachers where teacherid = ?"),
                            {teacherid}, 0)
                     .toInt();
    lessons_.fill(QString());
    const Recordset rs = QueryQuiet(QStringLiteral("select ts.period * 6 + ts.weekday, %1, trim(%2) from timeschedule ts "
                                                   "left join classsection c on c.classid = ts.classid "
                                                   "left join subjtype st on st.uniqueid = ts.subid "
                                                   "left join subjects s on s.subid = st.subid "
                                                   "where ts.teacherid = ? and ts.weekday between 0 and 5 and ts.period between 0 and 8 "
                                                   "order by c.sortorder, c.section")
                                        .arg(ClassSectionExpr(QStringLiteral("c")),
                                             SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))),
                                    {teacherid});
    for (const QVariantList &r : rs.rows()) {
        QString &cell = lessons_[r[0].toInt()];
        if (!cell.isEmpty())
            cell += QChar(13);
        cell += r[1].toString() + QChar(13) + r[2].toString();
    }
}

QString AvailabilityModel::toolTip(int cell) const
{
    QString tip = unavailable(cell) ? QStringLiteral("Not available") : QStringLiteral("Available");
    if (!lessons_[cell].isEmpty())
        tip += (unavailable(cell) ? QStringLiteral(", but teaches ") : QStringLiteral(", teaches ")) +
               QString(lessons_[cell]).replace(QChar(13), QLatin1Char(' '));
    return tip;
}

QVector<int> AvailabilityModel::span(int from, int to)
{
    QVector<int> out;
    if (from < 0 || from >= 54 || to < 0 || to >= 54)
        return out;
    const int d0 = std::min(from % 6, to % 6), d1 = std::max(from % 6, to % 6);
    const int p0 = std::min(from / 6, to / 6), p1 = std::max(from / 6, to / 6);
    for (int p = p0; p <= p1; ++p)
        for (int d = d0; d <= d1; ++d)
            out << p * 6 + d;
    return out;
}

bool AvailabilityModel::apply(int from, int to)
{
    if (teacherId_ == 0)
        return false;
    const QVector<int> cells = span(from, to);
    if (cells.isEmpty())
        return false;
    const bool ok = SetUnavailable(teacherId_, cells, !unavailable(from));
    loadTeacher(teacherId_);
    return ok;
}

QString AvailabilityModel::summary() const
{
    return QStringLiteral("Available in %1 of the school's %2 periods; %3 periods allocated.")
        .arg(availableIn(school_, unavailable_))
        .arg(std::popcount(school_))
        .arg(allocated_);
}

} // namespace alloc
