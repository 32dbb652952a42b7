#include "SubstitutionBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

int SubstitutionBook::WeekDayNumber(const QDate &date)
{
    return date.isValid() ? date.dayOfWeek() - 1 : -1;
}

QString SubstitutionBook::DayLabel(int weekday)
{
    static const char *const names[] = {"Monday", "Tuesday", "Wednesday", "Thrusday",
                                        "Friday", "Saturday", "Sunday"};
    return weekday >= 0 && weekday <= 6 ? QString::fromLatin1(names[weekday]) : QString();
}

QVector<CoverLine> SubstitutionBook::periodsToCover(const QDate &date)
{
    QVector<CoverLine> out;
    const int wd = WeekDayNumber(date);
    if (wd < 0)
        return out;
    const QString day = IsoDate(date);
    // One statement for the whole date: the lessons of the week-day whose teacher has an
    // entry covering the date and the period. Two entries over the same period, or two lessons
    // of one teacher in one class and period, still give one line.
    const Recordset rs = OpenRecordset(
        QStringLiteral(
            "select x.teacherid, t.teachername, x.classid, ") + ClassSectionExpr("c") +
            QStringLiteral(" as classsec, x.period, x.subid, st.teachername as subname from"
            " (select distinct ts.teacherid, ts.classid, ts.period,"
            "   (select s.subid from substitute s where s.teacherid = ts.teacherid and s.period = ts.period"
            "    and s.weekday = ? and s.dt = ? order by s.rowid limit 1) as subid"
            "  from timeschedule ts where ts.weekday = ? and exists (select 1 from teacherattendence ta"
            "   where ta.teacherid = ts.teacherid and ta.fromdate <= ? and ta.todate >= ?"
            "   and ta.fromperiod <= ts.period and ta.toperiod >= ts.period)) x"
            " left join teachers t on t.teacherid = x.teacherid"
            " left join classsection c on c.classid = x.classid"
            " left join teachers st on st.teacherid = x.subid"
            " order by t.teachername, x.teacherid, x.period, classsec"),
        {wd, day, wd, day, day});
    for (const QVariantList &row : rs.rows()) {
        CoverLine l;
        l.teacherid = row.value(0).toInt();
        l.teacherName = row.value(1).toString();
        l.classid = row.value(2).toInt();
        l.classSection = row.value(2).isNull() ? QString() : row.value(3).toString();
        l.weekday = wd;
        l.period = row.value(4).toInt();
        l.substituteId = row.value(5).toInt();
        l.substituteName = row.value(6).toString();
        out << l;
    }
    return out;
}

AwayStatus SubstitutionBook::awayStatus(int teacherid, const QDate &date, int period)
{
    AwayStatus a;
    const QString day = IsoDate(date);
    const Recordset rs = OpenRecordset(QStringLiteral(
        "select modetype, fromperiod, toperiod from teacherattendence where teacherid = ?"
        " and fromdate <= ? and todate >= ? and fromperiod <= ? and toperiod >= ? order by rowid"),
        {teacherid, day, day, period, period});
    if (rs.eof())
        return a;
    a.found = true;
    a.modetype = rs.text(0);
    a.perFrom = rs.integer(1) + 1;
    a.perTo = rs.integer(2) + 1;
    return a;
}

static const QString kFreeTeacherSql = QStringLiteral(
    "select t.teachername, t.teacherid from teachers t"
    " where not exists (select 1 from timeschedule ts where ts.weekday = ? and ts.period = ?"
    "   and ts.teacherid = t.teacherid)"
    " and not exists (select 1 from teacherattendence ta where ta.teacherid = t.teacherid"
    "   and ta.fromdate <= ? and ta.todate >= ? and ta.fromperiod <= ? and ta.toperiod >= ?)"
    " and not exists (select 1 from substitute s where s.subid = t.teacherid and s.period = ?"
    "   and s.weekday = ? and s.dt = ?)");

static QVariantList freeParams(const QDate &date, int period)
{
    const int wd = SubstitutionBook::WeekDayNumber(date);
    const QString day = IsoDate(date);
    return {wd, period, day, day, period, period, period, wd, day};
}

QVector<FreeTeacher> SubstitutionBook::freeTeachers(const QDate &date, int period)
{
    QVector<FreeTeacher> out;
    const Recordset rs = OpenRecordset(kFreeTeacherSql + QStringLiteral(" order by t.teachername, t.teacherid"),
                                       freeParams(date, period));
    for (const QVariantList &row : rs.rows())
        out << FreeTeacher{row.value(1).toInt(), row.value(0).toString()};
    return out;
}

SubstitutionBook::Result SubstitutionBook::save(int absentTeacherId, const QDate &date, int period,
                                                int substituteId)
{
    if (absentTeacherId <= 0 || !date.isValid() || period < 0 || period > 8) {
        hx::MsgBox(QStringLiteral("Please select a teacher from the list to substitute"));
        return Result::Refused;
    }
    const int wd = WeekDayNumber(date);
    const QString day = IsoDate(date);
    if (substituteId <= 0) {
        if (!ExecuteSql(QStringLiteral("delete from substitute where teacherid = ? and weekday = ? and period = ?"
                                       " and dt = #?#"),
                        {absentTeacherId, wd, period, day}))
            return Result::Refused;
        return Result::Removed;
    }

    Transaction tx;
    // The list may be older than the timetable or the attendance: check again before writing.
    const Recordset lesson = OpenRecordset(QStringLiteral(
        "select classid from timeschedule where teacherid = ? and weekday = ? and period = ? order by rowid"),
        {absentTeacherId, wd, period});
    if (lesson.eof()) {
        hx::MsgBox(QStringLiteral("The teacher has no class in this period any more. The list is refreshed."));
        return Result::Refused;
    }
    if (!awayStatus(absentTeacherId, date, period).found) {
        hx::MsgBox(QStringLiteral("The teacher is not away in this period any more. The list is refreshed."));
        return Result::Refused;
    }
    const Recordset recorded = OpenRecordset(QStringLiteral("select subid from substitute where teacherid = ?"
                                                            " and period = ? and weekday = ? and dt = ?"),
                                             {absentTeacherId, period, wd, day});
    if (!recorded.eof() && recorded.RecordCount() == 1 && recorded.integer(0) == substituteId)
        return Result::Saved; // already so
    QVariantList params = freeParams(date, period);
    params << substituteId;
    if (QueryQuiet(kFreeTeacherSql + QStringLiteral(" and t.teacherid = ?"), params).eof()) {
        hx::MsgBox(QStringLiteral("The substitute is not free in this period. Choose another teacher."));
        return Result::Refused;
    }
    bool ok;
    if (!recorded.eof()) {
        ok = ExecuteSql(QStringLiteral("update substitute set subid = ? where teacherid = ? and weekday = ?"
                                       " and period = ? and dt = #?#"),
                        {substituteId, absentTeacherId, wd, period, day});
    } else {
        ok = ExecuteSql(QStringLiteral("insert into substitute (teacherid,period,classid,weekday,dt,subid)"
                                       " values (?,?,?,?,#?#,?)"),
                        {absentTeacherId, period, lesson.integer(0), wd, day, substituteId});
    }
    if (!ok || !tx.commit())
        return Result::Refused;
    return Result::Saved;
}
