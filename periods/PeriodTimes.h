#pragma once
// Turns a bell schedule into its list of periods with start and end times. Both the
// period-system window and the class assignment window show this same list.
#include <QList>
#include <QString>

struct PeriodRow {
    QString period; // "1", "2", ... or "RECESS"
    QString start;  // "8:00"
    QString end;    // "8:40"
    bool recess = false;
};

// "08:30" -> hour 8, minute 30; a text without ":" gives minute 0; non-numbers give 0.
void SplitStartTime(const QString &start, int *hour, int *minute);

// Hour without leading zero, minute with two digits: 9:05.
QString ClockText(int hour, int minute);

// The periods of a day, the recess row after `beforeRecess` periods (last when equal to the
// number of periods). The clock runs on twelve hours: 12 is followed by 1. A recess that
// would come after the last period (beforeRecess > periods) is left out, and the list then
// holds exactly `periods` rows.
QList<PeriodRow> ComputePeriodTimes(const QString &start, int periods, int periodMinutes,
                                    int beforeRecess, int recessMinutes);
