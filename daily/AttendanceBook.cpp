#include "AttendanceBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

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
    listedTeacher_ = teacherid;

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
        editable_ = !l.onLeave;
        lines_ << l;
    }
    // The chosen teacher's single line always shows what Save would write. Another teacher's
    // line keeps its stored status: the controls do not describe that teacher.
    if (lines_.size() == 1) {
        if (lines_[0].onLeave) {
            editable_ = false;
        } else {
            editable_ = true;
            if (lines_[0].teacherid == c.teacherid)
                lines_[0] = lineFromControls(lines_[0].teacherid, lines_[0].teacherName, c);
        }
    }
    return true;
}

AttendanceBook::Result AttendanceBook::save(const AttendanceControls &c, Focus *focus)
{
    if (focus)
        *focus = Focus::None;
    if (c.absent && c.perFrom.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select the period from which to mark absent"));
        if (focus)
            *focus = Focus::PerFrom;
        return Result::Refused;
    }
    if (c.absent && c.perTo.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select the period till which to mark absent"));
        if (focus)
            *focus = Focus::PerTo;
        return Result::Refused;
    }
    if (lines_.isEmpty())
        return Result::Nothing;
    if (c.teacherid <= 0) {
        hx::MsgBox(QStringLiteral("Select the teacher whose attendance is to be marked"));
        return Result::Refused;
    }
    // The status written is the one the list shows, so the list must show this teacher's
    // single line; after "Show All" the first line may be someone else's.
    if (lines_.size() != 1 || lines_[0].teacherid != c.teacherid) {
        hx::MsgBox(QStringLiteral("Select the teacher again to show the status to be saved"));
        return Result::Refused;
    }
    const StatusLine &line = lines_[0];
    const QString day = IsoDate(c.date);
    if (line.status == kAbsent) {
        const int from = shownPeriod(c.perFrom);
        const int to = shownPeriod(c.perTo);
        if (from == 0 || to == 0) {
            hx::MsgBox(QStringLiteral("Select the period from which to mark absent"));
            if (focus)
                *focus = Focus::PerFrom;
            return Result::Refused;
        }
        if (from > to) {
            hx::MsgBox(kPeriodOrder);
            return Result::Refused;
        }
        if (!ExecuteSql(QStringLiteral("insert into teacherattendence (teacherid,modetype,fromperiod,toperiod,"
                                       "fromdate,todate) values (?,'Absent',?,?,#?#,#?#)"),
                        {c.teacherid, from - 1, to - 1, day, day}))
            return Result::Refused;
    } else if (line.status == kPresent) {
        // Only absences: a leave is kept and changed in the leave window.
        if (!ExecuteSql(QStringLiteral("delete from teacherattendence where teacherid = ? and modetype = 'Absent'"
                                       " and fromdate <= #?# and todate >= #?#"),
                        {c.teacherid, day, day}))
            return Result::Refused;
    } else {
        return Result::Nothing;
    }
    fillList(-1, c);
    return Result::Saved;
}
