#include "PeriodTimes.h"

#include <QTest>

// Rows as "label start-end" so a whole day compares in one line.
static QStringList day(const QList<PeriodRow> &rows)
{
    QStringList out;
    for (const PeriodRow &r : rows)
        out << r.period + QLatin1Char(' ') + r.start + QLatin1Char('-') + r.end;
    return out;
}

class TestPeriodTimes : public QObject {
    Q_OBJECT
private slots:
    void schoolDayWithRecess();
    void twelveHourClock();
    void recessPlacement();
    void longPeriodsCarryWholeHours();
    void startTimeForms();
};

void TestPeriodTimes::schoolDayWithRecess()
{
    const QList<PeriodRow> rows = ComputePeriodTimes("08:00", 8, 40, 4, 20);
    QCOMPARE(day(rows), QStringList({"1 8:00-8:40", "2 8:40-9:20", "3 9:20-10:00", "4 10:00-10:40",
                                     "RECESS 10:40-11:00", "5 11:00-11:40", "6 11:40-12:20", "7 12:20-1:00",
                                     "8 1:00-1:40"}));
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].recess, i == 4);
}

void TestPeriodTimes::twelveHourClock()
{
    // After 12 comes 1, with no switch of half-day.
    QCOMPARE(day(ComputePeriodTimes("12:40", 2, 30, 2, 10)),
             QStringList({"1 12:40-1:10", "2 1:10-1:40", "RECESS 1:40-1:50"}));
    // 12 itself stays 12 and only passes to 1 once the hour is full.
    QCOMPARE(day(ComputePeriodTimes("11:30", 2, 30, 1, 15)),
             QStringList({"1 11:30-12:00", "RECESS 12:00-12:15", "2 12:15-12:45"}));
    // A long day goes round the clock more than once without leaving 1..12.
    const QList<PeriodRow> rows = ComputePeriodTimes("10:00", 9, 120, 9, 60);
    QCOMPARE(rows.last().end, QString("5:00"));
    for (const PeriodRow &r : rows) {
        const int h = r.end.section(':', 0, 0).toInt();
        QVERIFY2(h >= 1 && h <= 12, qPrintable(r.end));
    }
    // Minutes always show two digits, hours never a leading zero.
    QCOMPARE(ClockText(9, 5), QString("9:05"));
    QCOMPARE(ClockText(10, 40), QString("10:40"));
    QCOMPARE(ClockText(0, 0), QString("0:00"));
}

void TestPeriodTimes::recessPlacement()
{
    // Recess after the last period: it is the last row.
    QCOMPARE(day(ComputePeriodTimes("09:00", 3, 45, 3, 15)),
             QStringList({"1 9:00-9:45", "2 9:45-10:30", "3 10:30-11:15", "RECESS 11:15-11:30"}));
    // Recess after the first period: the numbers after it still run 2, 3.
    QCOMPARE(day(ComputePeriodTimes("09:00", 3, 45, 1, 15)),
             QStringList({"1 9:00-9:45", "RECESS 9:45-10:00", "2 10:00-10:45", "3 10:45-11:30"}));
    // A one-period day.
    QCOMPARE(day(ComputePeriodTimes("07:50", 1, 10, 1, 10)), QStringList({"1 7:50-8:00", "RECESS 8:00-8:10"}));
    // More periods before the recess than in the day: the day has no recess and no
    // phantom tenth period.
    const QList<PeriodRow> noRecess = ComputePeriodTimes("08:00", 4, 30, 6, 20);
    QCOMPARE(day(noRecess), QStringList({"1 8:00-8:30", "2 8:30-9:00", "3 9:00-9:30", "4 9:30-10:00"}));
}

void TestPeriodTimes::longPeriodsCarryWholeHours()
{
    QCOMPARE(day(ComputePeriodTimes("08:30", 1, 90, 1, 150)),
             QStringList({"1 8:30-10:00", "RECESS 10:00-12:30"}));
    // Minutes at 59 plus a period spill over exactly once.
    QCOMPARE(day(ComputePeriodTimes("08:59", 1, 61, 1, 1)), QStringList({"1 8:59-10:00", "RECESS 10:00-10:01"}));
    // Several hours in one step pass 12 on the way.
    QCOMPARE(day(ComputePeriodTimes("11:15", 1, 185, 1, 5)), QStringList({"1 11:15-2:20", "RECESS 2:20-2:25"}));
}

void TestPeriodTimes::startTimeForms()
{
    int h = -1, m = -1;
    SplitStartTime("08:05", &h, &m);
    QCOMPARE(h, 8);
    QCOMPARE(m, 5);
    SplitStartTime("9", &h, &m); // no minute part
    QCOMPARE(h, 9);
    QCOMPARE(m, 0);
    SplitStartTime("00:00", &h, &m);
    QCOMPARE(h, 0);
    QCOMPARE(day(ComputePeriodTimes("9", 1, 30, 1, 5)), QStringList({"1 9:00-9:30", "RECESS 9:30-9:35"}));
    // A start as stored with a one-digit minute shows padded.
    QCOMPARE(ComputePeriodTimes("08:5", 1, 30, 1, 5).first().start, QString("8:05"));
}

QTEST_APPLESS_MAIN(TestPeriodTimes)
#include "tst_periodtimes.moc"
