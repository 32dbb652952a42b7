#include "AllocationBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

#include <QMap>
#include <QSet>
#include <algorithm>

namespace alloc {

namespace {

using Key = QPair<int, int>; // classid, subid

QString classText(int classid)
{
    return QueryValue(QStringLiteral("select %1 from classsection where classid = ?").arg(ClassSectionExpr()), {classid},
                      QStringLiteral("class %1").arg(classid))
        .toString();
}

// The class-subjects among `keys` whose allocations exceed their periods a week, as sentences.
QStringList overCurriculum(const QSet<Key> &keys)
{
    QStringList out;
    const Recordset rs = QueryQuiet(QStringLiteral(
        "select a.classid, a.subid, sum(a.hours), ifnull(cs.hours, 0) from classsubjectteachers a "
        "left join classsubjects cs on cs.classid = a.classid and cs.subid = a.subid "
        "group by a.classid, a.subid having sum(a.hours) > ifnull(cs.hours, 0)"));
    for (const QVariantList &r : rs.rows()) {
        const Key k{r[0].toInt(), r[1].toInt()};
        if (!keys.contains(k))
            continue;
        out << QStringLiteral("%1 %2 would have %3 periods allocated, but its curriculum has %4 a week.")
                   .arg(classText(k.first), SubjectTextByUniqueId(QString::number(k.second)).trimmed())
                   .arg(r[2].toInt())
                   .arg(r[3].toInt());
    }
    return out;
}

// Ends a change: commits when it was written and keeps the data whole, else rolls back and says why.
bool finish(Transaction &tx, bool written, const QSet<Key> &touched)
{
    if (!written) {
        tx.rollback();
        return false;
    }
    const QStringList over = overCurriculum(touched);
    if (!over.isEmpty()) {
        tx.rollback();
        hx::MsgBox(QStringLiteral("Nothing was saved: ") + over.join(QLatin1Char(' ')));
        return false;
    }
    return tx.commit();
}

bool insertHours(const Allocation &a)
{
    return ExecuteSql(QStringLiteral("insert into classsubjectteachers (classid, subid, teacherid, hours) values (?, ?, ?, ?) "
                                     "on conflict (classid, subid, teacherid) do update set hours = hours + excluded.hours"),
                      {a.classId, a.subjectId, a.teacherId, a.hours});
}

} // namespace

QHash<int, CellMask> ClassWeeks()
{
    QHash<int, CellMask> weeks;
    const Recordset rs = QueryQuiet(QStringLiteral(
        "select cp.classid, cp.days, ps.p_no from classperiods cp, periodsystem ps where cp.periodsysid = ps.periodsysid"));
    for (const QVariantList &r : rs.rows()) {
        CellMask &m = weeks[r[0].toInt()];
        const int periods = std::clamp(r[2].toInt(), 0, 9);
        for (const QString &d : r[1].toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int day = d.toInt();
            if (day < 0 || day > 5)
                continue;
            for (int p = 0; p < periods; ++p)
                m |= CellMask(1) << (p * 6 + day);
        }
    }
    return weeks;
}

CellMask SchoolWeek(const QHash<int, CellMask> &weeks)
{
    CellMask all = 0;
    for (CellMask m : weeks)
        all |= m;
    return all;
}

QHash<int, CellMask> UnavailableByTeacher()
{
    QHash<int, CellMask> out;
    const Recordset rs = QueryQuiet(QStringLiteral("select teacherid, period * 6 + weekday from teacherunavailable "
                                                   "where weekday between 0 and 5 and period between 0 and 8"));
    for (const QVariantList &r : rs.rows())
        out[r[0].toInt()] |= CellMask(1) << r[1].toInt();
    return out;
}

QVector<Allocation> Allocations(int classid)
{
    QVector<Allocation> out;
    const Recordset rs = classid
        ? QueryQuiet(QStringLiteral("select classid, subid, teacherid, hours from classsubjectteachers where classid = ?"), {classid})
        : QueryQuiet(QStringLiteral("select classid, subid, teacherid, hours from classsubjectteachers"));
    for (const QVariantList &r : rs.rows())
        out.push_back({r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()});
    return out;
}

QHash<int, int> AllocatedByTeacher()
{
    QHash<int, int> out;
    const Recordset rs = QueryQuiet(QStringLiteral("select teacherid, sum(hours) from classsubjectteachers group by teacherid"));
    for (const QVariantList &r : rs.rows())
        out.insert(r[0].toInt(), r[1].toInt());
    return out;
}

bool SetHours(int classid, int subid, int teacherid, int hours)
{
    Transaction tx;
    if (hours > 0) {
        // Checked here, inside the change: the window's lists may be older than the database.
        if (!TeacherExists(teacherid)) {
            hx::MsgBox(QStringLiteral("The teacher no longer exists; nothing was saved."));
            return false;
        }
        if (QueryQuiet(QStringLiteral("select 1 from classsubjects where classid = ? and subid = ?"), {classid, subid}).eof()) {
            hx::MsgBox(QStringLiteral("The subject is no longer in the class's curriculum; nothing was saved."));
            return false;
        }
    }
    bool ok = ExecuteSql(QStringLiteral("delete from classsubjectteachers where classid = ? and subid = ? and teacherid = ?"),
                         {classid, subid, teacherid});
    if (ok && hours > 0)
        ok = insertHours({classid, subid, teacherid, hours});
    return finish(tx, ok, {{classid, subid}});
}

bool AddPlan(const QVector<Allocation> &lines)
{
    Transaction tx;
    QSet<Key> touched;
    bool ok = true;
    for (const Allocation &a : lines) {
        if (a.hours <= 0)
            continue;
        touched.insert({a.classId, a.subjectId});
        ok = ok && insertHours(a);
    }
    return finish(tx, ok, touched);
}

bool TakeFromTimetable(int classid, int *taken, int *left)
{
    // Who teaches how many periods of each class-subject of the curriculum now, by teachers
    // still in the register.
    const Recordset rs = QueryQuiet(QStringLiteral(
        "select ts.classid, ts.subid, ts.teacherid, count(*), cs.hours from timeschedule ts "
        "join classsubjects cs on cs.classid = ts.classid and cs.subid = ts.subid "
        "join teachers t on t.teacherid = ts.teacherid "
        "where (? = 0 or ts.classid = ?) group by ts.classid, ts.subid, ts.teacherid "
        "order by ts.classid, ts.subid, count(*) desc, ts.teacherid"),
                                    {classid, classid});
    QMap<Key, QVector<Allocation>> bySubject;
    QHash<Key, int> curriculum;
    for (const QVariantList &r : rs.rows()) {
        const Key k{r[0].toInt(), r[1].toInt()};
        bySubject[k].push_back({k.first, k.second, r[2].toInt(), r[3].toInt()});
        curriculum.insert(k, r[4].toInt());
    }
    QVector<Allocation> lines;
    int trimmed = 0;
    for (auto it = bySubject.begin(); it != bySubject.end(); ++it) {
        QVector<Allocation> &list = it.value();
        int total = 0;
        for (const Allocation &a : list)
            total += a.hours;
        // Above the curriculum: the teacher with most gives up periods first.
        for (int excess = total - curriculum.value(it.key()); excess > 0; --excess, ++trimmed)
            std::max_element(list.begin(), list.end(), [](const Allocation &a, const Allocation &b) {
                return a.hours < b.hours;
            })->hours--;
        for (const Allocation &a : list)
            if (a.hours > 0)
                lines << a;
    }
    Transaction tx;
    bool ok = classid ? ExecuteSql(QStringLiteral("delete from classsubjectteachers where classid = ?"), {classid})
                      : ExecuteSql(QStringLiteral("delete from classsubjectteachers"));
    QSet<Key> touched;
    for (const Allocation &a : lines) {
        touched.insert({a.classId, a.subjectId});
        ok = ok && insertHours(a);
    }
    if (!finish(tx, ok, touched))
        return false;
    if (taken)
        *taken = int(lines.size());
    if (left)
        *left = trimmed;
    return true;
}

bool SetUnavailable(int teacherid, const QVector<int> &cells, bool unavailable)
{
    Transaction tx;
    if (unavailable && !TeacherExists(teacherid)) {
        hx::MsgBox(QStringLiteral("The teacher no longer exists; nothing was saved."));
        return false;
    }
    bool ok = true;
    for (int cell : cells) {
        if (cell < 0 || cell >= 54)
            continue;
        const Values v{teacherid, cell % 6, cell / 6};
        ok = ok && ExecuteSql(unavailable ? QStringLiteral("insert or ignore into teacherunavailable (teacherid, weekday, period) values (?, ?, ?)")
                                          : QStringLiteral("delete from teacherunavailable where teacherid = ? and weekday = ? and period = ?"),
                              v);
    }
    if (!ok) {
        tx.rollback();
        return false;
    }
    return tx.commit();
}

} // namespace alloc
