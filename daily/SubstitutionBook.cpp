#include "SubstitutionBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

#include <algorithm>

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
            QStringLiteral(" as classsec, x.period, x.subid, st.teachername as subname, x.subject, ") +
            SubjectTextExpr(QStringLiteral("sg"), QStringLiteral("sj")) +
            QStringLiteral(" from"
            " (select ts.teacherid, ts.classid, ts.period, min(ts.subid) as subject,"
            "   (select s.subid from substitute s where s.teacherid = ts.teacherid and s.period = ts.period"
            "    and s.weekday = ? and s.dt = ? order by s.rowid limit 1) as subid"
            "  from timeschedule ts where ts.weekday = ? and exists (select 1 from teacherattendence ta"
            "   where ta.teacherid = ts.teacherid and ta.fromdate <= ? and ta.todate >= ?"
            "   and ta.fromperiod <= ts.period and ta.toperiod >= ts.period)"
            "  group by ts.teacherid, ts.classid, ts.period) x"
            " left join teachers t on t.teacherid = x.teacherid"
            " left join classsection c on c.classid = x.classid"
            " left join teachers st on st.teacherid = x.subid"
            " left join subjtype sj on sj.uniqueid = x.subject left join subjects sg on sg.subid = sj.subid"
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
        l.subjectId = row.value(7).toInt();
        l.subjectText = row.value(8).toString().trimmed();
        if (l.substituteId > 0)
            l.substituteNotFree = notFreeReason(date, l.period, l.substituteId, l.teacherid);
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

QString SubstitutionRecord::where() const
{
    return QStringLiteral("%1 period %2, %3").arg(DisplayDate(date)).arg(period + 1).arg(classSection);
}

QString SubstitutionBook::notFreeReason(const QDate &date, int period, int substituteId, int forTeacher)
{
    const QString day = IsoDate(date);
    if (TeacherNameById(substituteId).isEmpty())
        return QStringLiteral("not a teacher");
    const Recordset away = OpenRecordset(QStringLiteral(
        "select modetype from teacherattendence where teacherid = ? and fromdate <= ? and todate >= ?"
        " and fromperiod <= ? and toperiod >= ? order by rowid limit 1"),
        {substituteId, day, day, period, period});
    if (!away.eof())
        return away.text(0).compare(QLatin1String("Leave"), Qt::CaseInsensitive) == 0 ? QStringLiteral("on leave")
                                                                                        : QStringLiteral("absent");
    const int wd = WeekDayNumber(date);
    if (wd >= 0 && wd < 6 && period >= 0 && period < 9 && ((TeacherUnavailableCells(substituteId) >> (period * 6 + wd)) & 1))
        return QStringLiteral("not available in this period");
    const Recordset lesson = OpenRecordset(QStringLiteral("select ") + ClassSectionExpr(QStringLiteral("c")) +
        QStringLiteral(" from timeschedule ts left join classsection c on c.classid = ts.classid"
                       " where ts.teacherid = ? and ts.weekday = ? and ts.period = ? order by ts.rowid limit 1"),
        {substituteId, WeekDayNumber(date), period});
    if (!lesson.eof())
        return QStringLiteral("teaches ") + lesson.text(0);
    const Recordset other = OpenRecordset(QStringLiteral(
        "select t.teachername from substitute s left join teachers t on t.teacherid = s.teacherid"
        " where s.subid = ? and s.dt = ? and s.period = ? and s.teacherid <> ? order by s.rowid limit 1"),
        {substituteId, day, period, forTeacher});
    if (!other.eof())
        return QStringLiteral("substitutes for ") + other.text(0);
    return QString();
}

QVector<SubstitutionRecord> SubstitutionBook::records(const QString &condition, const QVariantList &params)
{
    QVector<SubstitutionRecord> out;
    const Recordset rs = OpenRecordset(
        QStringLiteral("select s.rowid, s.teacherid, t.teachername, s.subid, st.teachername, s.classid, ") +
            ClassSectionExpr(QStringLiteral("c")) +
            QStringLiteral(", s.period, s.dt,"
            " exists (select 1 from teacherattendence ta where ta.teacherid = s.teacherid and ta.fromdate <= s.dt"
            "  and ta.todate >= s.dt and ta.fromperiod <= s.period and ta.toperiod >= s.period),"
            " (select ta.modetype from teacherattendence ta where ta.teacherid = s.subid and ta.fromdate <= s.dt"
            "  and ta.todate >= s.dt and ta.fromperiod <= s.period and ta.toperiod >= s.period"
            "  order by ta.rowid limit 1)"
            " from substitute s left join teachers t on t.teacherid = s.teacherid"
            " left join teachers st on st.teacherid = s.subid left join classsection c on c.classid = s.classid"
            " where ") + condition + QStringLiteral(" order by s.dt, s.period, t.teachername, s.rowid"),
        params);
    for (const QVariantList &row : rs.rows()) {
        SubstitutionRecord r;
        r.rowid = row.value(0).toLongLong();
        r.teacherid = row.value(1).toInt();
        r.teacherName = row.value(2).toString();
        r.substituteId = row.value(3).toInt();
        r.substituteName = row.value(4).toString();
        r.classid = row.value(5).toInt();
        r.classSection = row.value(5).isNull() ? QString() : row.value(6).toString();
        r.period = row.value(7).toInt();
        r.date = FromIsoDate(row.value(8).toString());
        r.absenceCovers = row.value(9).toInt() != 0;
        r.substituteAway = row.value(10).toString();
        out << r;
    }
    return out;
}

QVector<SubstitutionRecord> SubstitutionBook::bookedAsSubstitute(int teacherid, const QDate &from, const QDate &to,
                                                                 int fromPeriod, int toPeriod)
{
    return records(QStringLiteral("s.subid = ? and s.dt >= ? and s.dt <= ? and s.period >= ? and s.period <= ?"),
                   {teacherid, IsoDate(from), IsoDate(to), fromPeriod, toPeriod});
}

QVector<SubstitutionRecord> SubstitutionBook::losingCover(int teacherid, const QVector<qint64> &goingEntries)
{
    struct Entry {
        qint64 rowid;
        QDate from, to;
        int fromPeriod, toPeriod;
        bool covers(const SubstitutionRecord &r) const
        {
            return from <= r.date && to >= r.date && fromPeriod <= r.period && toPeriod >= r.period;
        }
    };
    QVector<Entry> going, staying;
    const Recordset rs = OpenRecordset(QStringLiteral(
        "select rowid, fromdate, todate, fromperiod, toperiod from teacherattendence where teacherid = ?"),
        {teacherid});
    for (const QVariantList &row : rs.rows()) {
        const Entry e{row.value(0).toLongLong(), FromIsoDate(row.value(1).toString()),
                      FromIsoDate(row.value(2).toString()), row.value(3).toInt(), row.value(4).toInt()};
        (goingEntries.contains(e.rowid) ? going : staying) << e;
    }
    QVector<SubstitutionRecord> out;
    if (going.isEmpty())
        return out;
    for (const SubstitutionRecord &r : records(QStringLiteral("s.teacherid = ?"), {teacherid})) {
        const auto covered = [&r](const Entry &e) { return e.covers(r); };
        if (std::any_of(going.begin(), going.end(), covered) && std::none_of(staying.begin(), staying.end(), covered))
            out << r;
    }
    return out;
}

bool SubstitutionBook::remove(const QVector<SubstitutionRecord> &list)
{
    for (const SubstitutionRecord &r : list)
        if (!ExecuteSql(QStringLiteral("delete from substitute where rowid = ?"), {r.rowid}))
            return false;
    return true;
}

bool SubstitutionBook::askToGiveUp(const QString &teacherName, const QVector<SubstitutionRecord> &booked)
{
    QStringList lines{teacherName + QStringLiteral(" is marked as substitute then:")};
    for (const SubstitutionRecord &r : booked)
        lines << r.where() + QStringLiteral(" for ") + r.teacherName;
    lines << QStringLiteral("Remove these substitutions and save?");
    return hx::MsgBox(lines.join(QChar(13)), hx::MsgButtons::YesNo, hx::MsgIcon::Question) == hx::MsgResult::Yes;
}

// Who may substitute at a date and period: not teaching then, not away, not covering another
// class, and available then (not in a period the teacher cannot teach); notFreeReason checks
// the same where a substitute is written.
static const QString kFreeTeacherSql = QStringLiteral(
    "select t.teachername, t.teacherid from teachers t"
    " where not exists (select 1 from timeschedule ts where ts.weekday = ? and ts.period = ?"
    "   and ts.teacherid = t.teacherid)"
    " and not exists (select 1 from teacherattendence ta where ta.teacherid = t.teacherid"
    "   and ta.fromdate <= ? and ta.todate >= ? and ta.fromperiod <= ? and ta.toperiod >= ?)"
    " and not exists (select 1 from substitute s where s.subid = t.teacherid and s.period = ?"
    "   and s.weekday = ? and s.dt = ?)"
    " and not exists (select 1 from teacherunavailable u where u.teacherid = t.teacherid"
    "   and u.weekday = ? and u.period = ?)");

static QVariantList freeParams(const QDate &date, int period)
{
    const int wd = SubstitutionBook::WeekDayNumber(date);
    const QString day = IsoDate(date);
    return {wd, period, day, day, period, period, period, wd, day, wd, period};
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
    if (substituteId <= 0) {
        if (!ExecuteSql(QStringLiteral("delete from substitute where teacherid = ? and weekday = ? and period = ?"
                                       " and dt = #?#"),
                        {absentTeacherId, WeekDayNumber(date), period, IsoDate(date)}))
            return Result::Refused;
        return Result::Removed;
    }
    Transaction tx;
    switch (record(absentTeacherId, date, period, substituteId, true)) {
    case Refusal::None:
        break;
    case Refusal::NoLesson:
        hx::MsgBox(QStringLiteral("The teacher has no class in this period any more. The list is refreshed."));
        return Result::Refused;
    case Refusal::NotAway:
        hx::MsgBox(QStringLiteral("The teacher is not away in this period any more. The list is refreshed."));
        return Result::Refused;
    case Refusal::NotFree:
    case Refusal::AlreadyCovered: // not reached when a change is allowed
        hx::MsgBox(QStringLiteral("The substitute is not free in this period. Choose another teacher."));
        return Result::Refused;
    case Refusal::Failed:
        return Result::Refused;
    }
    return tx.commit() ? Result::Saved : Result::Refused;
}

SubstitutionBook::Refusal SubstitutionBook::record(int absentTeacherId, const QDate &date, int period,
                                                   int substituteId, bool mayChange, QString *why)
{
    const int wd = WeekDayNumber(date);
    const QString day = IsoDate(date);
    const auto refuse = [why](Refusal r, const QString &text) {
        if (why)
            *why = text;
        return r;
    };
    // The list may be older than the timetable or the attendance: check again before writing.
    const Recordset lesson = OpenRecordset(QStringLiteral(
        "select classid from timeschedule where teacherid = ? and weekday = ? and period = ? order by rowid"),
        {absentTeacherId, wd, period});
    if (lesson.eof())
        return refuse(Refusal::NoLesson, QStringLiteral("the teacher away has no class then any more"));
    if (!awayStatus(absentTeacherId, date, period).found)
        return refuse(Refusal::NotAway, QStringLiteral("the teacher is not away then any more"));
    const Recordset recorded = OpenRecordset(QStringLiteral("select subid from substitute where teacherid = ?"
                                                            " and period = ? and weekday = ? and dt = ?"),
                                             {absentTeacherId, period, wd, day});
    if (!recorded.eof() && !mayChange)
        return refuse(Refusal::AlreadyCovered,
                      TeacherNameById(recorded.integer(0)) + QStringLiteral(" is recorded for it already"));
    // Checked here, where the choice is written: the window's list of free teachers may be
    // older than a leave, an absence or a timetable change.
    const QString busy = notFreeReason(date, period, substituteId, absentTeacherId);
    if (!busy.isEmpty())
        return refuse(Refusal::NotFree, busy);
    if (!recorded.eof() && recorded.RecordCount() == 1 && recorded.integer(0) == substituteId)
        return Refusal::None; // already so
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
    return ok ? Refusal::None : refuse(Refusal::Failed, LastDatabaseError());
}
