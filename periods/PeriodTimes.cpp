#include "PeriodTimes.h"

#include <QStringList>

void SplitStartTime(const QString &start, int *hour, int *minute)
{
    const QStringList parts = start.split(QLatin1Char(':'));
    *hour = parts.value(0).trimmed().toInt();
    *minute = parts.size() > 1 ? parts.value(1).trimmed().toInt() : 0;
}

QString ClockText(int hour, int minute)
{
    return QString::number(hour) + QLatin1Char(':') + QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
}

QList<PeriodRow> ComputePeriodTimes(const QString &start, int periods, int periodMinutes,
                                    int beforeRecess, int recessMinutes)
{
    int h = 0;
    int m = 0;
    SplitStartTime(start, &h, &m);
    QList<PeriodRow> rows;
    bool recessPending = true;
    for (int i = 1; i <= periods + 1; ++i) {
        const bool recess = recessPending && i > beforeRecess;
        // Without a recess inside the day there is no extra row to make.
        if (!recess && recessPending && i > periods)
            break;
        PeriodRow row;
        row.start = ClockText(h, m);
        m += recess ? recessMinutes : periodMinutes;
        while (m >= 60) {
            m -= 60;
            ++h;
            if (h > 12)
                h -= 12;
        }
        row.end = ClockText(h, m);
        row.recess = recess;
        if (recess) {
            row.period = QStringLiteral("RECESS");
            recessPending = false;
        } else {
            row.period = QString::number(recessPending ? i : i - 1);
        }
        rows << row;
    }
    return rows;
}
