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
    return k;
}

} // namespace

const QVector<Kind> &Kinds()
{
    static const QVector<Kind> kinds = makeKinds();
    return kinds;
}

QString FaultsSql()
{
    QStringList parts;
    for (int i = 0; i < Kinds().size(); ++i)
        parts << QStringLiteral("select %1 as kind, sortkey, weekday, period, fault, mend from (%2)")
                     .arg(i)
                     .arg(Kinds()[i].sql);
    return QStringLiteral("select fault, mend from (") + parts.join(QStringLiteral(" union all "))
        + QStringLiteral(") order by kind, sortkey, weekday, period, fault");
}

QString Fault::line() const { return fault + QStringLiteral(" - mend in ") + mend; }

bool FindFaults(QVector<Fault> *out, QString *error)
{
    out->clear();
    const Recordset rs = QueryQuiet(FaultsSql());
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
