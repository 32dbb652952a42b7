#include "TimetableStore.h"

#include "Database.h"
#include "Lookups.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace store {

namespace {

constexpr int kDays = 6;
constexpr int kPeriods = 9;

int slotOf(const LessonRow &r) { return r.period * kDays + r.weekday; }

LessonRows readRows(const QString &where, const QVariantList &params)
{
    LessonRows out;
    QSqlQuery q(Conn());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select teacherid, subid, classid, period, weekday, substitute from timeschedule ")
              + where + QStringLiteral(" order by rowid"));
    for (const QVariant &p : params)
        q.addBindValue(p);
    if (!q.exec())
        return out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                       q.value(4).toInt(), q.value(5).toBool()});
    return out;
}

bool owns(const WeekChange &c, const LessonRow &r)
{
    return c.owner == WeekChange::Owner::Class ? r.classid == c.id : r.teacherid == c.id;
}

// Names for the messages, looked up once per save.
class Names {
public:
    QString cls(int id)
    {
        return cached(classes_, id, [id] {
            return QueryValue(QStringLiteral("select %1 from classsection where classid = ?").arg(ClassSectionExpr()),
                              {id}, QStringLiteral("class %1").arg(id))
                .toString();
        });
    }
    QString teacher(int id)
    {
        return cached(teachers_, id, [id] {
            const QString n = TeacherNameById(id);
            return n.isEmpty() ? QStringLiteral("teacher %1").arg(id) : n;
        });
    }
    QString subject(int id)
    {
        return cached(subjects_, id, [id] { return SubjectTextByUniqueId(QString::number(id)).trimmed(); });
    }
    // "Period = 1 Day = Monday Class = VI-B Subject = Maths Teacher = Anita Rao", as the
    // teacher editor's clash report words a lesson (periods counted from 1, as the grid heads them).
    QString lesson(const LessonRow &r)
    {
        return where(r) + QStringLiteral(" Class = ") + cls(r.classid) + QStringLiteral(" Subject = ")
            + subject(r.subid) + QStringLiteral(" Teacher = ") + teacher(r.teacherid);
    }
    static QString where(const LessonRow &r)
    {
        return QStringLiteral("Period = ") + QString::number(r.period + 1) + QStringLiteral(" Day = ")
            + DayName(r.weekday);
    }

private:
    template <class F> static QString cached(QHash<int, QString> &h, int id, F look)
    {
        auto it = h.constFind(id);
        if (it != h.constEnd())
            return *it;
        return h.insert(id, look()).value();
    }
    QHash<int, QString> classes_, teachers_, subjects_;
};

// Rows of `a` that `b` lacks, counted as multisets.
LessonRows missingFrom(const LessonRows &a, LessonRows b)
{
    LessonRows out;
    for (const LessonRow &r : a) {
        const auto it = std::find(b.begin(), b.end(), r);
        if (it == b.end())
            out.push_back(r);
        else
            b.erase(it);
    }
    return out;
}

// For each row to write: whether it was loaded and comes back unchanged.
QVector<bool> unchangedRows(const WeekChange &c)
{
    QVector<bool> out(c.rows.size(), false);
    QVector<bool> used(c.loaded.size(), false);
    for (int i = 0; i < c.rows.size(); ++i) {
        for (int j = 0; j < c.loaded.size(); ++j) {
            if (!used[j] && c.loaded[j].sameLesson(c.rows[i])) {
                used[j] = true;
                out[i] = true;
                break;
            }
        }
    }
    return out;
}

// The cells each class has by its period systems: bit (period * 6 + weekday) per class.
QHash<int, quint64> classCells(const QSet<int> &classes)
{
    QHash<int, quint64> out;
    for (int c : classes)
        out.insert(c, 0);
    QSqlQuery q(Conn());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select cp.classid, cp.days, ps.p_no from classperiods cp, periodsystem ps "
                               "where cp.periodsysid = ps.periodsysid")))
        return out;
    while (q.next()) {
        const auto it = out.find(q.value(0).toInt());
        if (it == out.end())
            continue;
        const int periods = qBound(0, q.value(2).toInt(), kPeriods);
        for (const QString &d : q.value(1).toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int day = d.trimmed().toInt(&ok);
            if (!ok || day < 0 || day >= kDays)
                continue;
            for (int p = 0; p < periods; ++p)
                *it |= quint64(1) << (p * kDays + day);
        }
    }
    return out;
}

QString staleReport(const QVector<WeekChange> &changes, Names &names)
{
    QStringList lines;
    for (const WeekChange &c : changes) {
        const LessonRows now = c.owner == WeekChange::Owner::Class ? ClassWeek(c.id) : TeacherWeek(c.id);
        for (const LessonRow &r : missingFrom(now, c.loaded))
            lines << names.lesson(r) + QStringLiteral(" (added)");
        for (const LessonRow &r : missingFrom(c.loaded, now))
            lines << names.lesson(r) + QStringLiteral(" (removed)");
    }
    if (lines.isEmpty())
        return {};
    return QStringLiteral("This week was changed in another window after it was loaded:\n") + lines.join(QLatin1Char('\n'))
        + QStringLiteral("\nNothing was saved. Reload the saved week? (The changes made here are then lost.)");
}

struct Placed {
    LessonRow row;
    int change = -1;    // the change that writes it; -1 for a row that stays as it is
    bool fresh = false; // written by this save and not loaded as it is
};

QString ruleReport(const QVector<WeekChange> &changes, Names &names)
{
    // What the timetable holds once the save is done, as far as the rows written meet it:
    // the rows written, and the other rows of their teachers and classes.
    QVector<Placed> placed;
    QSet<int> classes, teachers;
    for (int ci = 0; ci < changes.size(); ++ci) {
        const QVector<bool> same = unchangedRows(changes[ci]);
        for (int i = 0; i < changes[ci].rows.size(); ++i) {
            placed.push_back({changes[ci].rows[i], ci, !same[i]});
            if (!same[i]) {
                classes.insert(changes[ci].rows[i].classid);
                teachers.insert(changes[ci].rows[i].teacherid);
            }
        }
    }
    if (classes.isEmpty())
        return {};
    QVariantList ids;
    QStringList teacherMarks, classMarks;
    for (int t : teachers) {
        ids << t;
        teacherMarks << QStringLiteral("?");
    }
    for (int c : classes) {
        ids << c;
        classMarks << QStringLiteral("?");
    }
    const LessonRows around = readRows(QStringLiteral("where teacherid in (%1) or classid in (%2)")
                                           .arg(teacherMarks.join(QLatin1Char(',')), classMarks.join(QLatin1Char(','))),
                                       ids);
    for (const LessonRow &r : around) {
        bool replaced = false;
        for (const WeekChange &c : changes)
            replaced = replaced || owns(c, r);
        if (!replaced)
            placed.push_back({r, -1, false});
    }
    QHash<int, QVector<int>> bySlot;
    for (int i = 0; i < placed.size(); ++i)
        bySlot[slotOf(placed[i].row)].push_back(i);
    const QHash<int, quint64> cells = classCells(classes);

    QVector<int> fresh;
    for (int i = 0; i < placed.size(); ++i)
        if (placed[i].fresh)
            fresh.push_back(i);
    std::stable_sort(fresh.begin(), fresh.end(),
                     [&](int a, int b) { return slotOf(placed[a].row) < slotOf(placed[b].row); });

    // The periods each teacher of a written lesson cannot teach.
    QHash<int, quint64> unavailable;
    for (int t : teachers)
        unavailable.insert(t, TeacherUnavailableCells(t));

    QStringList lines;
    QSet<QPair<int, int>> reported; // pairs of rows already named
    QSet<QPair<int, int>> fullCells; // (kind, key) of cells already named as too full
    for (int i : fresh) {
        const LessonRow &r = placed[i].row;
        const int slot = slotOf(r);
        if (r.period < 0 || r.period >= kPeriods || r.weekday < 0 || r.weekday >= kDays
            || !(cells.value(r.classid) & (quint64(1) << slot))) {
            lines << Names::where(r) + QStringLiteral(" Class = ") + names.cls(r.classid)
                    + QStringLiteral(": the class has no such period");
        }
        if (r.period >= 0 && r.period < kPeriods && r.weekday >= 0 && r.weekday < kDays
            && (unavailable.value(r.teacherid) & (quint64(1) << slot))) {
            lines << Names::where(r) + QStringLiteral(" Class = ") + names.cls(r.classid) + QStringLiteral(" Teacher = ")
                    + names.teacher(r.teacherid) + QStringLiteral(": the teacher is not available in this period");
        }
        int inClass = 0;
        QSet<int> teacherClasses;
        for (int j : bySlot.value(slot)) {
            const Placed &o = placed[j];
            if (o.row.classid == r.classid)
                ++inClass;
            if (o.row.teacherid == r.teacherid)
                teacherClasses.insert(o.row.classid);
            if (j == i)
                continue;
            const QPair<int, int> pair(qMin(i, j), qMax(i, j));
            // The teacher in another class then, other than one lesson taught to both together,
            // which only a save that writes both rows makes (the teacher editor's two classes).
            const bool teacherTwice = o.row.teacherid == r.teacherid && o.row.classid != r.classid
                && (o.row.subid != r.subid || o.change < 0);
            // The class already given to a teacher whose week this save does not write.
            const bool classTaken = o.row.classid == r.classid && o.row.teacherid != r.teacherid
                && o.change != placed[i].change;
            if ((teacherTwice || classTaken) && !reported.contains(pair)) {
                reported.insert(pair);
                lines << names.lesson(o.row);
            }
        }
        if (inClass > 2 && !fullCells.contains({0, r.classid * 64 + slot})) {
            fullCells.insert({0, r.classid * 64 + slot});
            lines << Names::where(r) + QStringLiteral(" Class = ") + names.cls(r.classid)
                    + QStringLiteral(": more than two lessons in one period");
        }
        if (teacherClasses.size() > 2 && !fullCells.contains({1, r.teacherid * 64 + slot})) {
            fullCells.insert({1, r.teacherid * 64 + slot});
            lines << Names::where(r) + QStringLiteral(" Teacher = ") + names.teacher(r.teacherid)
                    + QStringLiteral(": more than two classes at once");
        }
    }
    if (lines.isEmpty())
        return {};
    return QStringLiteral("Clashing with\n") + lines.join(QLatin1Char('\n')) + QStringLiteral("\nNothing was saved.");
}

} // namespace

LessonRows ClassWeek(int classid) { return readRows(QStringLiteral("where classid = ?"), {classid}); }
LessonRows TeacherWeek(int teacherid) { return readRows(QStringLiteral("where teacherid = ?"), {teacherid}); }

SaveResult SaveWeeks(const QVector<WeekChange> &changes)
{
    SaveResult result;
    Transaction t;
    Names names;
    result.message = staleReport(changes, names);
    if (!result.message.isEmpty()) {
        result.status = SaveResult::Status::Stale;
        return result; // the guard rolls back; nothing was written
    }
    result.message = ruleReport(changes, names);
    if (!result.message.isEmpty()) {
        result.status = SaveResult::Status::Refused;
        return result;
    }
    const QDate today = QDate::currentDate();
    for (const WeekChange &c : changes) {
        const QString del = c.owner == WeekChange::Owner::Class
            ? QStringLiteral("delete from timeschedule where classid = ?")
            : QStringLiteral("delete from timeschedule where teacherid = ?");
        if (!ExecuteSql(del, {c.id}))
            return result;
    }
    for (const WeekChange &c : changes) {
        for (const LessonRow &r : c.rows) {
            const Values v{r.teacherid, r.subid, r.classid, r.period, r.weekday};
            if (!ExecuteSql(QStringLiteral("insert into timeschedule (teacherid,subid,classid,period,weekday) "
                                           "values (?,?,?,?,?)"),
                            v)
                || !ExecuteSql(QStringLiteral("insert into cummtimeschedule "
                                              "(changedate,teacherid,subid,classid,period,weekday,substitute) "
                                              "values (#?#,?,?,?,?,?,0)"),
                               Values{today} + v))
                return result;
        }
    }
    if (!t.commit())
        return result;
    result.status = SaveResult::Status::Saved;
    return result;
}

bool RemoveClassSubjectLessons(const QVariant &classid, const QVariant &subid)
{
    return ExecuteSql(QStringLiteral("delete from timeschedule where classid = ? and subid = ?"), {classid, subid});
}

bool RemoveTeacherSubjectLessons(const QVariant &teacherid, const QVariant &subid)
{
    return ExecuteSql(QStringLiteral("delete from timeschedule where teacherid = ? and subid = ?"), {teacherid, subid});
}

bool RemoveClassDayLessons(const QVariant &classid, const QVariant &days, const QVariant &fromPeriod)
{
    return ExecuteSql(QStringLiteral("delete from timeschedule where classid = ? and weekday in (?) and period >= ?"),
                      {classid, days, fromPeriod});
}

} // namespace store
