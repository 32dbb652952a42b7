#pragma once
// One period system as stored, read by its name, and the list view that shows its periods.
#include "PeriodTimes.h"

#include <QStringList>
#include <optional>

class QTreeWidget;

struct PeriodSystem {
    int id = 0;
    QString name;
    int periods = 0;
    int duration = 0;
    QString start; // "08:30"
    int beforeRecess = 0;
    int recessDuration = 0;
    QString amPm;

    QList<PeriodRow> times() const
    {
        return ComputePeriodTimes(start, periods, duration, beforeRecess, recessDuration);
    }
};

// The id of the system of that name (without regard to case or surrounding blanks), 0 if none.
int PeriodSystemIdByName(const QString &name);
// The system of that name (without regard to case or surrounding blanks), if any.
std::optional<PeriodSystem> FindPeriodSystem(const QString &name);

// All names, in the order given (`byName` false: the order the systems were made in).
QStringList PeriodSystemNames(bool byName);

// Fills a "Period" / "Start Time" / "End Time" list; the recess row is drawn in red.
void ShowPeriodTimes(QTreeWidget *list, const QList<PeriodRow> &rows);
// Sets up the three columns of such a list.
void SetUpPeriodList(QTreeWidget *list);
