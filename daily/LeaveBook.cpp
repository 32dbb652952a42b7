#include "LeaveBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "SubstitutionBook.h"

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

LeaveBook::Result LeaveBook::save(int teacherid, const QDate &from, const QDate &to)
{
    const QString name = teacherid > 0 ? TeacherNameById(teacherid) : QString();
    if (name.isEmpty()) {
        hx::MsgBox(QStringLiteral("Teacher not found. Select the teacher from the list"));
        return Result::Refused;
    }
    if (!from.isValid() || !to.isValid() || to < from) {
        hx::MsgBox(QStringLiteral("From date can't be greater than to date"));
        return Result::Refused;
    }
    Transaction tx;
    const LeaveLine clash = firstClash(teacherid, from, to);
    if (clash.teacherid != 0) {
        hx::MsgBox(QStringLiteral("Leave dates clashing already entered leave information") + QChar(13)
                   + QStringLiteral("Leave from date ") + DisplayDate(clash.from) + QStringLiteral(" to date ")
                   + DisplayDate(clash.to));
        return Result::Refused;
    }
    // A teacher on leave cannot stand in for anybody during it.
    const QVector<SubstitutionRecord> booked = SubstitutionBook::bookedAsSubstitute(teacherid, from, to, 0, 8);
    if (!booked.isEmpty() && !SubstitutionBook::askToGiveUp(name, booked))
        return Result::Nothing;
    if (!SubstitutionBook::remove(booked)
        || !ExecuteSql(QStringLiteral("insert into teacherattendence (teacherid,modetype,fromperiod,toperiod,"
                                      "fromdate,todate) values (?,'Leave',0,8,#?#,#?#)"),
                       {teacherid, IsoDate(from), IsoDate(to)})
        || !tx.commit())
        return Result::Refused;
    return Result::Done;
}

LeaveBook::Result LeaveBook::remove(int teacherid, const QDate &from)
{
    Transaction tx;
    QVector<qint64> going;
    if (teacherid > 0) {
        const Recordset rs = OpenRecordset(QStringLiteral("select rowid from teacherattendence"
                                                          " where teacherid = ? and fromdate = ?"),
                                           {teacherid, IsoDate(from)});
        for (const QVariantList &row : rs.rows())
            going << row.value(0).toLongLong();
    }
    if (going.isEmpty()) {
        hx::MsgBox(QStringLiteral("No entry of the teacher starts on the date. Nothing deleted."));
        return Result::Refused;
    }
    // The substitutes arranged for this teacher within the entries would be left standing
    // in for someone who is at school: they go with the entry, if the user agrees.
    const QVector<SubstitutionRecord> covered = SubstitutionBook::losingCover(teacherid, going);
    if (!covered.isEmpty()
        && hx::MsgBox(QStringLiteral("Substitution is marked for the date: %1 period(s)."
                                     " Delete the entry and these substitutions?").arg(covered.size()),
                      hx::MsgButtons::YesNo, hx::MsgIcon::Question) != hx::MsgResult::Yes)
        return Result::Nothing;
    if (!SubstitutionBook::remove(covered)
        || !ExecuteSql(QStringLiteral("delete from teacherattendence where teacherid = ? and fromdate = #?#"),
                       {teacherid, IsoDate(from)})
        || !tx.commit())
        return Result::Refused;
    hx::MsgBox(QStringLiteral("Entry Deleted"));
    return Result::Done;
}
