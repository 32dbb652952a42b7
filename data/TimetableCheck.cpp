#include "TimetableCheck.h"

#include "Database.h"
#include "Lookups.h"

#include <QStringList>

namespace check {

namespace {

QString dayOf(const QString &col)
{
    return QStringLiteral("case %1 when 0 then 'Monday' when 1 then 'Tuesday' when 2 then 'Wednesday' "
                          "when 3 then 'Thursday' when 4 then 'Friday' when 5 then 'Saturday' else 'day ' || %1 end")
        .arg(col);
}

QString periodOf(const QString &col)
{
    return QStringLiteral("case %1 when 0 then 'I' when 1 then 'II' when 2 then 'III' when 3 then 'IV' "
                          "when 4 then 'V' when 5 then 'VI' when 6 then 'VII' when 7 then 'VIII' "
                          "when 8 then 'IX' else '' || (%1 + 1) end")
        .arg(col);
}

// "VI-A", or "class 7" for a class-section that is gone.
QString classOf(const QString &sec, const QString &idCol)
{
    return QStringLiteral("case when %1.classid is null then 'class ' || %2 else %3 end")
        .arg(sec, idCol, ClassSectionExpr(sec));
}

QString teacherOf(const QString &t, const QString &idCol)
{
    return QStringLiteral("ifnull(%1.teachername, 'teacher ' || %2)").arg(t, idCol);
}

QString subjectOf(const QString &s, const QString &st, const QString &idCol)
{
    return QStringLiteral("case when %2.uniqueid is null then 'subject ' || %3 else trim(%1) end")
        .arg(SubjectTextExpr(s, st), st, idCol);
}

// " on Monday in period I"
QString when(const QString &row)
{
    return QStringLiteral("' on ' || %1 || ' in period ' || %2")
        .arg(dayOf(row + QStringLiteral(".weekday")), periodOf(row + QStringLiteral(".period")));
}

// "1 period", "5 periods".
QString periods(const QString &n)
{
    return QStringLiteral("case when %1 = 1 then '1 period' else (%1) || ' periods' end").arg(n);
}

// The classes in the school's order.
QString classKey(const QString &sec, const QString &idCol)
{
    return QStringLiteral("substr('000000' || ifnull(%1.sortorder, 999999), -6) || ifnull(%1.section, '') || "
                          "substr('00000000' || %2, -8)")
        .arg(sec, idCol);
}

// The 54 cells of the week, the cells of each class's week and the cells any class has.
QString weekCells()
{
    return QStringLiteral(
        "with recursive cells(c) as (select 0 union all select c + 1 from cells where c < 53), "
        "classcells as (select distinct cp.classid, cells.c from classperiods cp "
        "join periodsystem ps on ps.periodsysid = cp.periodsysid "
        "join cells on ps.p_no > cells.c / 6 and ',' || replace(cp.days, ' ', '') || ',' like '%,' || (cells.c % 6) || ',%'), "
        "schoolcells as (select distinct c from classcells) ");
}

// Problems of who teaches what and when teachers can teach: they stand in the way of building
// the week and are listed under the tabs of "Teaching Allocation" as well.
void appendAllocationKinds(QVector<Kind> &k)
{
    const QString cls = classOf(QStringLiteral("c"), QStringLiteral("k.classid"));
    const QString subject = subjectOf(QStringLiteral("s"), QStringLiteral("st"), QStringLiteral("k.subid"));
    const QString subjectJoin = QStringLiteral(" left join classsection c on c.classid = k.classid "
                                               "left join subjtype st on st.uniqueid = k.subid "
                                               "left join subjects s on s.subid = st.subid ");
    k.push_back({QStringLiteral("curriculum above the class's week"),
                 weekCells() + QStringLiteral(
                     "select %1 as sortkey, null as weekday, null as period, 'Class ' || %2 || ': the curriculum asks for ' "
                     "|| %3 || ' a week, but the class has only ' || ifnull(w.n, 0) || '. Lower the periods in "
                     "\"Assign Subjects to Class\" or give the class more periods in \"Assign Period System to Class\".' "
                     "as fault, 'Assign Subjects to Class' as mend "
                     "from (select classid, sum(hours) as total from classsubjects group by classid) k "
                     "join classsection c on c.classid = k.classid "
                     "left join (select classid, count(*) as n from classcells group by classid) w on w.classid = k.classid "
                     "where k.total > ifnull(w.n, 0)")
                     .arg(classKey(QStringLiteral("c"), QStringLiteral("k.classid")), cls, periods(QStringLiteral("k.total"))),
                 true});
    k.push_back({QStringLiteral("teacher allocated above availability"),
                 weekCells() + QStringLiteral(
                     "select %1 as sortkey, null as weekday, null as period, 'Teacher ' || %1 || ': ' || %2 || "
                     "' allocated, but available in only ' || k.can || '. Mark more periods available on the "
                     "\"Availability\" tab or give some of the periods to another teacher on the \"Teachers for "
                     "Subjects\" tab.' as fault, 'Teaching Allocation' as mend "
                     "from (select a.teacherid, sum(a.hours) as total, (select count(*) from schoolcells sc where not exists "
                     "(select 1 from teacherunavailable u where u.teacherid = a.teacherid and u.period * 6 + u.weekday = sc.c)) as can "
                     "from classsubjectteachers a group by a.teacherid) k left join teachers t on t.teacherid = k.teacherid "
                     "where k.total > k.can")
                     .arg(teacherOf(QStringLiteral("t"), QStringLiteral("k.teacherid")), periods(QStringLiteral("k.total"))),
                 true});
    k.push_back({QStringLiteral("allocations above the curriculum"),
                 QStringLiteral(
                     "select %1 as sortkey, null as weekday, null as period, 'Class ' || %2 || ', ' || %3 || ': ' || %4 || "
                     "case when cs.hours is null then ' allocated, but the subject is no longer in the class''s curriculum. "
                     "Remove the allocations on the \"Teachers for Subjects\" tab.' else ' allocated, but the curriculum has ' "
                     "|| %5 || ' a week. Remove ' || %6 || ' on the \"Teachers for Subjects\" tab.' end as fault, "
                     "'Teaching Allocation' as mend "
                     "from (select classid, subid, sum(hours) as total from classsubjectteachers group by classid, subid) k "
                     "left join classsubjects cs on cs.classid = k.classid and cs.subid = k.subid %7"
                     "where cs.hours is null or k.total > cs.hours")
                     .arg(classKey(QStringLiteral("c"), QStringLiteral("k.classid")), cls, subject,
                          periods(QStringLiteral("k.total")), periods(QStringLiteral("cs.hours")),
                          periods(QStringLiteral("k.total - cs.hours")), subjectJoin),
                 true});
    k.push_back({QStringLiteral("class-subject nobody teaches"),
                 QStringLiteral(
                     "select %1 as sortkey, null as weekday, null as period, 'Class ' || %2 || ', ' || %3 || "
                     "': no teacher teaches this subject. Give it to a teacher in \"Assign Subjects to Teacher\".' as fault, "
                     "'Assign Subjects to Teacher' as mend from classsubjects k %4"
                     "where k.hours > 0 and c.classid is not null and not exists (select 1 from teachersubjects ts "
                     "join teachers t on t.teacherid = ts.teacherid where ts.subid = k.subid)")
                     .arg(classKey(QStringLiteral("c"), QStringLiteral("k.classid")), cls, subject, subjectJoin),
                 true});
    k.push_back({QStringLiteral("allocated teacher no longer teaches the subject"),
                 QStringLiteral(
                     "select %1 as sortkey, null as weekday, null as period, 'Class ' || %2 || ', ' || %3 || ': ' || %4 || "
                     "' is allocated ' || %5 || ' but no longer teaches the subject. Give the subject back in \"Assign "
                     "Subjects to Teacher\" or remove the allocation on the \"Teachers for Subjects\" tab.' as fault, "
                     "'Teaching Allocation' as mend from classsubjectteachers k %6"
                     "left join teachers t on t.teacherid = k.teacherid "
                     "where not exists (select 1 from teachersubjects ts where ts.teacherid = k.teacherid and ts.subid = k.subid)")
                     .arg(classKey(QStringLiteral("c"), QStringLiteral("k.classid")), cls, subject,
                          teacherOf(QStringLiteral("t"), QStringLiteral("k.teacherid")), periods(QStringLiteral("k.hours")),
                          subjectJoin),
                 true});
    k.push_back({QStringLiteral("lesson in an unavailable period"),
                 QStringLiteral(
                     "select %1 as sortkey, k.weekday as weekday, k.period as period, 'Teacher ' || %1 || ' teaches ' || %2 "
                     "|| ' ' || %3 || %4 || ', which is marked not available. Move the lesson in \"Class Schedule\" or "
                     "clear the mark on the \"Availability\" tab.' as fault, 'Class Schedule' as mend "
                     "from timeschedule k join teacherunavailable u on u.teacherid = k.teacherid and u.weekday = k.weekday "
                     "and u.period = k.period %5left join teachers t on t.teacherid = k.teacherid")
                     .arg(teacherOf(QStringLiteral("t"), QStringLiteral("k.teacherid")), cls, subject, when(QStringLiteral("k")),
                          subjectJoin),
                 true});
}

QVector<Kind> makeKinds()
{
    QVector<Kind> k;
    // A teacher in two classes in one period; one lesson taught to two classes together (the
    // same subject) is no fault.
    k.push_back({QStringLiteral("teacher in two classes"),
                 QStringLiteral("select distinct %1 as sortkey, a.weekday as weekday, a.period as period, "
                                "%1 || ' teaches ' || %2 || ' (' || %4 || ') and ' || %3 || ' (' || %5 || ')'"
                                " || %6 || ' at once' as fault, 'Class Schedule' as mend "
                                "from timeschedule a join timeschedule b on a.teacherid = b.teacherid "
                                "and a.weekday = b.weekday and a.period = b.period and a.classid < b.classid "
                                "and a.subid <> b.subid "
                                "left join teachers t on t.teacherid = a.teacherid "
                                "left join classsection ca on ca.classid = a.classid "
                                "left join classsection cb on cb.classid = b.classid "
                                "left join subjtype sta on sta.uniqueid = a.subid left join subjects sa on sa.subid = sta.subid "
                                "left join subjtype stb on stb.uniqueid = b.subid left join subjects sb on sb.subid = stb.subid")
                     .arg(teacherOf(QStringLiteral("t"), QStringLiteral("a.teacherid")),
                          classOf(QStringLiteral("ca"), QStringLiteral("a.classid")),
                          classOf(QStringLiteral("cb"), QStringLiteral("b.classid")),
                          subjectOf(QStringLiteral("sa"), QStringLiteral("sta"), QStringLiteral("a.subid")),
                          subjectOf(QStringLiteral("sb"), QStringLiteral("stb"), QStringLiteral("b.subid")),
                          when(QStringLiteral("a")))});
    // A lesson in a period the class's period systems no longer give it.
    k.push_back({QStringLiteral("period the class does not have"),
                 QStringLiteral("select %1 as sortkey, ts.weekday as weekday, ts.period as period, "
                                "%1 || ' has ' || %2 || ' with ' || %3 || %4 || ', a period the class does not have'"
                                " as fault, 'Class Schedule' as mend "
                                "from timeschedule ts join classsection c on c.classid = ts.classid "
                                "left join teachers t on t.teacherid = ts.teacherid "
                                "left join subjtype st on st.uniqueid = ts.subid left join subjects s on s.subid = st.subid "
                                "where not exists (select 1 from classperiods cp join periodsystem ps "
                                "on ps.periodsysid = cp.periodsysid where cp.classid = ts.classid "
                                "and ps.p_no > ts.period "
                                "and ',' || replace(cp.days, ' ', '') || ',' like '%,' || ts.weekday || ',%')")
                     .arg(ClassSectionExpr(QStringLiteral("c")),
                          subjectOf(QStringLiteral("s"), QStringLiteral("st"), QStringLiteral("ts.subid")),
                          teacherOf(QStringLiteral("t"), QStringLiteral("ts.teacherid")), when(QStringLiteral("ts")))});
    // A lesson whose class, teacher or subject title was deleted.
    k.push_back({QStringLiteral("lesson of something deleted"),
                 QStringLiteral("select %1 as sortkey, ts.weekday as weekday, ts.period as period, "
                                "'The lesson of ' || %1 || %2 || ' names ' || "
                                "case when c.classid is null then 'a class-section' "
                                "when t.teacherid is null then 'a teacher' else 'a subject title' end"
                                " || ' that no longer exists (' || "
                                "case when c.classid is null then 'class id ' || ts.classid "
                                "when t.teacherid is null then 'teacher id ' || ts.teacherid "
                                "else 'subject id ' || ts.subid end || ')' as fault, "
                                "case when c.classid is null then 'Class Section' else 'Class Schedule' end as mend "
                                "from timeschedule ts left join classsection c on c.classid = ts.classid "
                                "left join teachers t on t.teacherid = ts.teacherid "
                                "left join subjtype st on st.uniqueid = ts.subid "
                                "where c.classid is null or t.teacherid is null or st.uniqueid is null")
                     .arg(classOf(QStringLiteral("c"), QStringLiteral("ts.classid")), when(QStringLiteral("ts")))});
    // A subject of a class whose placed periods are not the periods planned for it.
    k.push_back({QStringLiteral("placed periods differ from the plan"),
                 QStringLiteral("select %1 as sortkey, null as weekday, null as period, "
                                "%1 || ': ' || %2 || ' has ' || ifnull(n.placed, 0) || ' periods placed and ' "
                                "|| ifnull(cs.hours, 0) || ' planned' as fault, "
                                "case when cs.hours is null then 'Assign Subjects to Class' else 'Class Schedule' end as mend "
                                "from (select classid, subid from classsubjects union "
                                "select classid, subid from timeschedule) k "
                                "join classsection c on c.classid = k.classid "
                                "join subjtype st on st.uniqueid = k.subid left join subjects s on s.subid = st.subid "
                                "left join classsubjects cs on cs.classid = k.classid and cs.subid = k.subid "
                                "left join (select classid, subid, count(*) as placed from timeschedule "
                                "group by classid, subid) n on n.classid = k.classid and n.subid = k.subid "
                                "where ifnull(n.placed, 0) <> ifnull(cs.hours, 0)")
                     .arg(ClassSectionExpr(QStringLiteral("c")),
                          subjectOf(QStringLiteral("s"), QStringLiteral("st"), QStringLiteral("k.subid")))});
    // Recorded substitutions that no longer make sense: the absent teacher is at school after
    // all, or the substitute is away too. Both leave a period of the day wrongly covered.
    const QString substitution = QStringLiteral(
        "'On ' || substr(s.dt, 9, 2) || '/' || substr(s.dt, 6, 2) || '/' || substr(s.dt, 1, 4) || ' in period ' || %1"
        " || ', ' || %2 || ': ' || %3 || ' substitutes for ' || %4")
        .arg(periodOf(QStringLiteral("s.period")), classOf(QStringLiteral("c"), QStringLiteral("s.classid")),
             teacherOf(QStringLiteral("sub"), QStringLiteral("s.subid")), teacherOf(QStringLiteral("t"), QStringLiteral("s.teacherid")));
    const QString substitutionFrom = QStringLiteral(
        " from substitute s left join classsection c on c.classid = s.classid"
        " left join teachers t on t.teacherid = s.teacherid left join teachers sub on sub.teacherid = s.subid ");
    auto awayThen = [](const QString &teacher) {
        return QStringLiteral("(select ta.modetype from teacherattendence ta where ta.teacherid = %1"
                              " and ta.fromdate <= s.dt and ta.todate >= s.dt"
                              " and ta.fromperiod <= s.period and ta.toperiod >= s.period limit 1)")
            .arg(teacher);
    };
    k.push_back({QStringLiteral("substitution without an absence"),
                 QStringLiteral("select s.dt as sortkey, null as weekday, s.period as period, %1 ||"
                                " ', who is not on leave or absent then' as fault, 'Daily Substitution' as mend %2"
                                "where %3 is null")
                     .arg(substitution, substitutionFrom, awayThen(QStringLiteral("s.teacherid")))});
    k.push_back({QStringLiteral("substitute away"),
                 QStringLiteral("select s.dt as sortkey, null as weekday, s.period as period, %1 ||"
                                " ', but is ' || case lower(%2) when 'leave' then 'on leave' else 'absent' end"
                                " || ' then' as fault, 'Daily Substitution' as mend %3where %2 is not null")
                     .arg(substitution, awayThen(QStringLiteral("s.subid")), substitutionFrom)});
    appendAllocationKinds(k);
    return k;
}

} // namespace

const QVector<Kind> &Kinds()
{
    static const QVector<Kind> kinds = makeKinds();
    return kinds;
}

QString FaultsSql(bool allocationOnly)
{
    QStringList parts;
    for (int i = 0; i < Kinds().size(); ++i)
        if (Kinds()[i].allocation || !allocationOnly)
            parts << QStringLiteral("select %1 as kind, sortkey, weekday, period, fault, mend from (%2)")
                     .arg(i)
                     .arg(Kinds()[i].sql);
    return QStringLiteral("select fault, mend from (") + parts.join(QStringLiteral(" union all "))
        + QStringLiteral(") order by kind, sortkey, weekday, period, fault");
}

QString Fault::line() const { return fault + QStringLiteral(" - mend in ") + mend; }

bool FindFaults(QVector<Fault> *out, QString *error, bool allocationOnly)
{
    out->clear();
    const Recordset rs = QueryQuiet(FaultsSql(allocationOnly));
    if (!rs.ok()) {
        if (error)
            *error = rs.error();
        return false;
    }
    for (const QVariantList &row : rs.rows())
        out->push_back({row.value(0).toString(), row.value(1).toString()});
    return true;
}

QString NoFaultsText() { return QStringLiteral("The timetable has no faults."); }

QString NamedQuery(const QString &name)
{
    if (name.compare(QLatin1String("timetablecheck"), Qt::CaseInsensitive) == 0)
        return FaultsSql();
    return {};
}

} // namespace check
