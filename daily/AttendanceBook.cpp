#include "AttendanceBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "SubstitutionBook.h"

const QString AttendanceBook::kPresent = QStringLiteral("Present");
const QString AttendanceBook::kAbsent = QStringLiteral("Absent");
const QString AttendanceBook::kOnLeave = QStringLiteral("On Leave");

namespace {
const QString kPeriodOrder = QStringLiteral("From period can't be grater than to period");

int shownPeriod(const QString &text)
{
    bool ok = false;
    const int p = text.trimmed().toInt(&ok);
    return ok && p >= 1 && p <= 9 ? p : 0;
}
} // namespace

StatusLine AttendanceBook::lineFromControls(int teacherid, const QString &name, const AttendanceControls &c) const
{
    StatusLine l;
    l.status = c.absent ? kAbsent : kPresent;
    l.teacherid = teacherid;
    l.teacherName = name;
    l.perFrom = c.perFrom;
    l.perTo = c.perTo;
    l.date = DisplayDate(c.date);
    return l;
}

bool AttendanceBook::fillList(int teacherid, const AttendanceControls &c)
{
    const QString day = IsoDate(c.date);
    QString sql = QStringLiteral(
        "select ta.teacherid, t.teachername, ta.modetype, ta.fromperiod, ta.toperiod"
        " from teacherattendence ta left join teachers t on t.teacherid = ta.teacherid"
        " where ta.fromdate <= ? and ta.todate >= ?");
    QVariantList params{day, day};
    if (teacherid != -1) {
        sql += QStringLiteral(" and ta.teacherid = ?");
        params << teacherid;
    }
    sql += QStringLiteral(" order by ta.rowid");
    const Recordset rs = OpenRecordset(sql, params);

    // Plain text comparison, as the boxes hold one digit each: an empty to box is smaller.
    if (c.perFrom > c.perTo) {
        hx::MsgBox(kPeriodOrder);
        return false;
    }
    lines_.clear();
    editable_ = true;

    if (rs.eof()) {
        if (teacherid == -1)
            return true;
        const QString name = TeacherNameById(teacherid);
        lines_ << lineFromControls(teacherid, name, c);
        editable_ = true;
        return true;
    }
    for (const QVariantList &row : rs.rows()) {
        StatusLine l;
        l.teacherid = row.value(0).toInt();
        l.teacherName = row.value(1).toString();
        l.onLeave = row.value(2).toString().compare(QLatin1String("Leave"), Qt::CaseInsensitive) == 0;
        l.status = l.onLeave ? kOnLeave : kAbsent;
        l.perFrom = QString::number(row.value(3).toInt() + 1);
        l.perTo = QString::number(row.value(4).toInt() + 1);
        l.date = DisplayDate(c.date);
        // Save writes for the chosen teacher: only that teacher's leave locks it.
        if (l.onLeave && (teacherid != -1 || l.teacherid == c.teacherid))
            editable_ = false;
        lines_ << l;
    }
    // The chosen teacher's single line always shows what Save would write. Another teacher's
    // line keeps its stored status: the controls do not describe that teacher.
    if (lines_.size() == 1) {
        if (lines_[0].onLeave)
            editable_ = false;
        else if (lines_[0].teacherid == c.teacherid)
            lines_[0] = lineFromControls(lines_[0].teacherid, lines_[0].teacherName, c);
    }
    return true;
}

AttendanceBook::Result AttendanceBook::save(const AttendanceControls &c, Focus *focus)
{
    if (focus)
        *focus = Focus::None;
    // The whole day when no period was chosen; half a span is asked for.
    const bool wholeDay = c.perFrom.isEmpty() && c.perTo.isEmpty();
    if (c.absent && !wholeDay && c.perFrom.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select the period from which to mark absent"));
        if (focus)
            *focus = Focus::PerFrom;
        return Result::Refused;
    }
    if (c.absent && !wholeDay && c.perTo.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select the period till which to mark absent"));
        if (focus)
            *focus = Focus::PerTo;
        return Result::Refused;
    }
    if (c.teacherid <= 0) {
        if (lines_.isEmpty())
            return Result::Nothing;
        hx::MsgBox(QStringLiteral("Select the teacher whose attendance is to be marked"));
        return Result::Refused;
    }
    const int from = wholeDay ? 1 : shownPeriod(c.perFrom);
    const int to = wholeDay ? 9 : shownPeriod(c.perTo);
    if (c.absent && (from == 0 || to == 0)) {
        hx::MsgBox(QStringLiteral("Select the period from which to mark absent"));
        if (focus)
            *focus = Focus::PerFrom;
        return Result::Refused;
    }
    if (c.absent && from > to) {
        hx::MsgBox(kPeriodOrder);
        return Result::Refused;
    }

    // What the controls show is written: the teacher and the status come from them, never
    // from whichever line the list happens to show first. The teacher's entries are read
    // again inside the change, so a list filled earlier cannot mislead it.
    Transaction tx;
    const QString day = IsoDate(c.date);
    const Recordset entries = OpenRecordset(QStringLiteral(
        "select rowid, modetype, fromperiod, toperiod, fromdate, todate from teacherattendence"
        " where teacherid = ? and fromdate <= ? and todate >= ? order by rowid"),
        {c.teacherid, day, day});
    const QString name = TeacherNameById(c.teacherid);
    if (c.absent) {
        for (const QVariantList &e : entries.rows()) {
            const bool leave = e.value(1).toString().compare(QLatin1String("Leave"), Qt::CaseInsensitive) == 0;
            const int ef = e.value(2).toInt(), et = e.value(3).toInt();
            if (ef > to - 1 || et < from - 1)
                continue;
            if (!leave && ef == from - 1 && et == to - 1) {
                fillList(-1, c); // recorded already: a second Save adds nothing
                return Result::Saved;
            }
            hx::MsgBox(leave ? QStringLiteral("Absent periods clashing already entered leave information") + QChar(13)
                                   + QStringLiteral("Leave from date ")
                                   + DisplayDate(FromIsoDate(e.value(4).toString())) + QStringLiteral(" to date ")
                                   + DisplayDate(FromIsoDate(e.value(5).toString()))
                             : QStringLiteral("Absent periods clashing already entered absence information") + QChar(13)
                                   + QStringLiteral("Absent from period %1 to period %2").arg(ef + 1).arg(et + 1));
            return Result::Refused;
        }
        const QVector<SubstitutionRecord> booked =
            SubstitutionBook::bookedAsSubstitute(c.teacherid, c.date, c.date, from - 1, to - 1);
        if (!booked.isEmpty() && !SubstitutionBook::askToGiveUp(name, booked))
            return Result::Nothing;
        if (!SubstitutionBook::remove(booked)
            || !ExecuteSql(QStringLiteral("insert into teacherattendence (teacherid,modetype,fromperiod,toperiod,"
                                          "fromdate,todate) values (?,'Absent',?,?,#?#,#?#)"),
                           {c.teacherid, from - 1, to - 1, day, day}))
            return Result::Refused;
    } else {
        // Only absences: a leave is kept and changed in the leave window.
        QVector<qint64> absences;
        for (const QVariantList &e : entries.rows())
            if (e.value(1).toString().compare(QLatin1String("Absent"), Qt::CaseInsensitive) == 0)
                absences << e.value(0).toLongLong();
        if (absences.isEmpty() && !entries.eof())
            return Result::Nothing; // on leave only: nothing to take back here
        const QVector<SubstitutionRecord> covered = SubstitutionBook::losingCover(c.teacherid, absences);
        if (absences.size() > 1 || !covered.isEmpty()) {
            QStringList question;
            if (absences.size() > 1)
                question << QStringLiteral("%1 is marked absent %2 times on %3. All of them are removed.")
                                .arg(name)
                                .arg(absences.size())
                                .arg(DisplayDate(c.date));
            if (!covered.isEmpty())
                question << QStringLiteral("Substitution is marked for the date: %1 period(s). They are removed too.")
                                .arg(covered.size());
            question << QStringLiteral("Mark the teacher present?");
            if (hx::MsgBox(question.join(QChar(13)), hx::MsgButtons::YesNo, hx::MsgIcon::Question)
                != hx::MsgResult::Yes)
                return Result::Nothing;
        }
        if (!absences.isEmpty()
            && (!SubstitutionBook::remove(covered)
                || !ExecuteSql(QStringLiteral("delete from teacherattendence where teacherid = ? and modetype = 'Absent'"
                                              " and fromdate <= #?# and todate >= #?#"),
                               {c.teacherid, day, day})))
            return Result::Refused;
    }
    if (!tx.commit())
        return Result::Refused;
    fillList(-1, c);
    return Result::Saved;
}
