#include "SubstituteRanking.h"

#include "Database.h"

#include <QMap>
#include <algorithm>
#include <bit>

namespace {
qint64 pairKey(int a, int b) { return (qint64(a) << 32) | quint32(b); }

// "?,?,?" for an in (...) list of n bound values.
QString marks(int n)
{
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

QString plural(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}
} // namespace

SubstituteRanking::SubstituteRanking(const QDate &date, const QVector<CoverLine> &lines) : date_(date)
{
    const QString day = IsoDate(date);
    const int wd = SubstitutionBook::WeekDayNumber(date);
    QVariantList classes, subjects;
    for (const CoverLine &l : lines) {
        if (!classes.contains(l.classid))
            classes << l.classid;
        if (!subjects.contains(l.subjectId))
            subjects << l.subjectId;
    }
    if (!classes.isEmpty()) {
        const Recordset rs = OpenRecordset(
            QStringLiteral("select distinct classid, teacherid from timeschedule where classid in (%1)")
                .arg(marks(classes.size())),
            classes);
        for (const QVariantList &r : rs.rows())
            classTeachers_.insert(pairKey(r.value(0).toInt(), r.value(1).toInt()));
        // A subject counts when the teacher is given it or teaches it somewhere in the week.
        const Recordset sj = OpenRecordset(
            QStringLiteral("select subid, teacherid from teachersubjects where subid in (%1)"
                           " union select subid, teacherid from timeschedule where subid in (%1)")
                .arg(marks(subjects.size())),
            subjects + subjects);
        for (const QVariantList &r : sj.rows())
            subjectTeachers_.insert(pairKey(r.value(0).toInt(), r.value(1).toInt()));
    }
    const QDate monday = date.addDays(-(date.dayOfWeek() - 1));
    const Recordset week = OpenRecordset(
        QStringLiteral("select subid, count(*), sum(dt = ?) from substitute where dt >= ? and dt <= ? group by subid"),
        {day, IsoDate(monday), IsoDate(monday.addDays(6))});
    for (const QVariantList &r : week.rows()) {
        weekSubs_.insert(r.value(0).toInt(), r.value(1).toInt());
        dateSubs_.insert(r.value(0).toInt(), r.value(2).toInt());
    }
    // The periods each teacher is busy on the date: own lessons, except those an absence
    // takes away, and substitutions.
    QHash<int, int> away;
    const Recordset absent = OpenRecordset(
        QStringLiteral("select teacherid, fromperiod, toperiod from teacherattendence where fromdate <= ? and todate >= ?"),
        {day, day});
    for (const QVariantList &r : absent.rows())
        for (int p = r.value(1).toInt(); p <= r.value(2).toInt() && p <= 8; ++p)
            away[r.value(0).toInt()] |= 1 << std::max(p, 0);
    const Recordset lessons =
        OpenRecordset(QStringLiteral("select distinct teacherid, period from timeschedule where weekday = ?"), {wd});
    for (const QVariantList &r : lessons.rows()) {
        const int t = r.value(0).toInt(), bit = 1 << r.value(1).toInt();
        if (!(away.value(t) & bit))
            busyMask_[t] |= bit;
    }
    const Recordset subs = OpenRecordset(QStringLiteral("select subid, period from substitute where dt = ?"), {day});
    for (const QVariantList &r : subs.rows())
        busyMask_[r.value(0).toInt()] |= 1 << r.value(1).toInt();
}

RankedTeacher SubstituteRanking::describe(const CoverLine &line, const FreeTeacher &t, int order) const
{
    RankedTeacher r;
    r.teacherid = t.teacherid;
    r.name = t.name;
    r.nameOrder = order;
    r.teachesClass = classTeachers_.contains(pairKey(line.classid, t.teacherid));
    r.teachesSubject = line.subjectId > 0 && subjectTeachers_.contains(pairKey(line.subjectId, t.teacherid));
    r.weekSubstitutions = weekSubs_.value(t.teacherid);
    r.dateSubstitutions = dateSubs_.value(t.teacherid);
    const int mask = busyMask_.value(t.teacherid);
    r.periodsToday = std::popcount(unsigned(mask));
    const int with = mask | (1 << line.period);
    int run = 1;
    for (int p = line.period - 1; p >= 0 && (with >> p & 1); --p)
        ++run;
    for (int p = line.period + 1; p <= 8 && (with >> p & 1); ++p)
        ++run;
    r.thirdInRow = run >= 3;
    return r;
}

QVector<RankedTeacher> SubstituteRanking::rank(const CoverLine &line) const
{
    return rank(line, SubstitutionBook::freeTeachers(date_, line.period));
}

QVector<RankedTeacher> SubstituteRanking::rank(const CoverLine &line, const QVector<FreeTeacher> &free) const
{
    QVector<RankedTeacher> out;
    out.reserve(free.size());
    for (int i = 0; i < free.size(); ++i)
        out << describe(line, free[i], i);
    std::sort(out.begin(), out.end(), better);
    return out;
}

qint64 SubstituteRanking::cost(const RankedTeacher &t)
{
    // Mixed radix, most important first: class/subject (4), week (64), third in a row (2),
    // periods today (32), name order (1024). Counts beyond a digit's range stay at its top.
    const qint64 fit = t.teachesClass ? (t.teachesSubject ? 0 : 1) : (t.teachesSubject ? 2 : 3);
    qint64 c = fit;
    c = c * 64 + std::min(t.weekSubstitutions, 63);
    c = c * 2 + (t.thirdInRow ? 1 : 0);
    c = c * 32 + std::min(t.periodsToday, 31);
    c = c * 1024 + std::min(t.nameOrder, 1023);
    return c;
}

bool SubstituteRanking::better(const RankedTeacher &a, const RankedTeacher &b)
{
    return cost(a) < cost(b);
}

QString RankedTeacher::reasons(const CoverLine &line) const
{
    QStringList parts;
    if (teachesClass && teachesSubject && !line.subjectText.isEmpty())
        parts << QStringLiteral("teaches %1 and %2").arg(line.classSection, line.subjectText);
    else if (teachesClass)
        parts << QStringLiteral("teaches ") + line.classSection;
    else if (teachesSubject)
        parts << QStringLiteral("teaches ") + line.subjectText;
    parts << plural(weekSubstitutions, "substitution this week", "substitutions this week");
    parts << plural(periodsToday, "period today", "periods today");
    if (thirdInRow)
        parts << QStringLiteral("third period in a row");
    return parts.join(QStringLiteral(" \u00b7 "));
}
