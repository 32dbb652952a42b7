#pragma once
// What the period-system window does with the database: check the inputs, add or update a
// system by name, delete one together with the lessons that depended on it.
#include "PeriodSystemData.h"

// The inputs as the user typed or chose them.
struct PeriodSystemInput {
    QString name;
    QString hour;
    QString minute;
    QString amPm = QStringLiteral("AM");
    QString periods = QStringLiteral("1");
    QString duration;
    QString beforeRecess = QStringLiteral("1");
    QString recessDuration;
};

class PeriodSystemDefinition {
public:
    enum class Field { None, Name, Hour, Minute, Periods, Duration, BeforeRecess, RecessDuration };
    enum class SaveResult { Invalid, Cancelled, Updated, Added, Failed };

    struct Check {
        QString message;
        Field field = Field::None;
        bool ok() const { return message.isEmpty(); }
    };

    // A one-character hour gets its leading zero ("8" -> "08").
    static QString IncZero(const QString &hour);
    // Hour and minute as stored: "08:30"; an empty box counts as "00".
    static QString StartText(const QString &hour, const QString &minute);

    // The first fault of the inputs, with the box to go back to; ok() when there is none.
    static Check Validate(const PeriodSystemInput &in);

    // Updates the system of that name (any letter case), removing lessons beyond a smaller
    // number of periods, or after the user's Yes adds a new one. Shows its own messages;
    // on Invalid, *faulty names the box at fault. *savedId gets the system's id.
    static SaveResult Save(const PeriodSystemInput &in, Field *faulty = nullptr, int *savedId = nullptr);

    // Empties the timetables of the classes that follow the system on its days, then
    // removes the system; all or nothing.
    static bool Delete(int periodsysid);

    // The id a new system gets.
    static int NextId();
};
