#include "LeaveBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

QVector<LeaveLine> LeaveBook::list()
{
    QVector<LeaveLine> out;
    // rowid breaks ties so that of two entries starting the same day the later one leads.
    const Recordset rs = OpenRecordset(QStringLiteral(
        "select ta.teacherid, t.teachername, ta.modetype, ta.fromdate, ta.todate"
        " from teacherattendence ta, teachers t where ta.teacherid = t.teacherid"
        " order by ta.fromdate desc, ta.rowid desc"));
    for (const QVariantList &row : rs.rows()) {
        LeaveLine l;
        l.teacherid = row.value(0).toInt();
        l.teacherName = row.value(1).toString();
        l.modetype = row.value(2).toString();
        l.from = FromIsoDate(row.value(3).toString());
        l.to = FromIsoDate(row.value(4).toString());
        out << l;
    }
    return out;
}

LeaveLine LeaveBook::firstClash(int teacherid, const QDate &from, const QDate &to)
{
    LeaveLine l;
    // Two ranges overlap when each starts no later than the other ends; this also catches a
    // new range that encloses an old one.
    const Recordset rs = OpenRecordset(QStringLiteral(
        "select modetype, fromdate, todate from teacherattendence"
        " where teacherid = ? and fromdate <= ? and todate >= ? order by fromdate, rowid"),
        {teacherid, IsoDate(to), IsoDate(from)});
    if (rs.eof())
        return l;
    l.teacherid = teacherid;
    l.modetype = rs.text(0);
    l.from = FromIsoDate(rs.text(1));
    l.to = FromIsoDate(rs.text(2));
    return l;
}

LeaveBook::Result LeaveBook::save(const QString &teacherName, const QDate &from, const QDate &to)
{
    if (teacherName.isEmpty())
        return Result::Nothing;
    const int id = TeacherIdByName(teacherName);
    if (id == 0) {
        hx::MsgBox(QStringLiteral("Teacher not found. Select the teacher from the list"));
        return Result::Refused;
    }
    if (!from.isValid() || !to.isValid() || to < from) {
        hx::MsgBox(QStringLiteral("From date can't be greater than to date"));
        return Result::Refused;
    }
    const LeaveLine clash = firstClash(id, from, to);
    if (clash.teacherid != 0) {
        hx::MsgBox(QStringLiteral("Leave dates clashing already entered leave information") + QChar(13)
                   + QStringLiteral("Leave from date ") + DisplayDate(clash.from) + QStringLiteral(" to date ")
                   + DisplayDate(clash.to));
        return Result::Refused;
    }
    if (!ExecuteSql(QStringLiteral("insert into teacherattendence (teacherid,modetype,fromperiod,toperiod,"
                                   "fromdate,todate) values (?,'Leave',0,8,#?#,#?#)"),
                    {id, IsoDate(from), IsoDate(to)}))
        return Result::Refused;
    return Result::Done;
}

LeaveBook::Result LeaveBook::remove(const QString &teacherName, const QDate &from)
{
    const int id = teacherName.isEmpty() ? 0 : TeacherIdByName(teacherName);
    const int matching = QueryValue(QStringLiteral("select count(*) from teacherattendence"
                                                   " where teacherid = ? and fromdate = ?"),
                                    {id, IsoDate(from)}, 0)
                             .toInt();
    if (id == 0 || matching == 0) {
        hx::MsgBox(QStringLiteral("No entry of the teacher starts on the date. Nothing deleted."));
        return Result::Refused;
    }
    // Only the substitutes arranged for this teacher within the dates of the entries that
    // would go keep them; other teachers' substitutions are no reason to refuse.
    const int covered = QueryValue(QStringLiteral(
        "select count(*) from substitute s where s.teacherid = ? and exists (select 1 from"
        " teacherattendence ta where ta.teacherid = s.teacherid and ta.fromdate = ?"
        " and s.dt >= ta.fromdate and s.dt <= ta.todate)"),
        {id, IsoDate(from)}, 0).toInt();
    if (covered > 0) {
        hx::MsgBox(QStringLiteral("Substitution is marked for the date. You can't delete entry."));
        return Result::Refused;
    }
    if (!ExecuteSql(QStringLiteral("delete from teacherattendence where teacherid = ? and fromdate = #?#"),
                    {id, IsoDate(from)}))
        return Result::Refused;
    hx::MsgBox(QStringLiteral("Entry Deleted"));
    return Result::Done;
}
