#pragma once
// The periods that teachers away on a date leave uncovered, the teachers free to take them,
// and the substitutes recorded for them.
#include <QDate>
#include <QString>
#include <QVector>

struct CoverLine {
    int teacherid = 0;      // the teacher away
    QString teacherName;
    int classid = 0;
    QString classSection;
    int weekday = 0;        // 0 Monday .. 6 Sunday
    int period = 0;         // stored, from 0
    int substituteId = 0;   // 0 when nobody is recorded
    QString substituteName;
};

struct AwayStatus {
    bool found = false;
    QString modetype;       // "Leave" or "Absent"
    int perFrom = 0;        // shown, from 1
    int perTo = 0;
};

struct FreeTeacher {
    int teacherid = 0;
    QString name;
};

class SubstitutionBook {
public:
    // 0 for Monday up to 6 for Sunday.
    static int WeekDayNumber(const QDate &date);
    // The week-day label of the window, "Monday" .. "Sunday".
    static QString DayLabel(int weekday);

    // Every timetable period of the date's week-day that falls within a leave or absence of
    // its teacher, each once, with the substitute recorded for that date.
    static QVector<CoverLine> periodsToCover(const QDate &date);

    // The first leave or absence of the teacher that covers the date and the stored period.
    static AwayStatus awayStatus(int teacherid, const QDate &date, int period);

    // Teachers with no class at that week-day and period, not away then, and not already
    // substituting then.
    static QVector<FreeTeacher> freeTeachers(const QDate &date, int period);

    enum class Result { Refused, Removed, Saved };
    // Records, changes (substituteId > 0) or removes (substituteId 0) the substitute of the
    // absent teacher's period on the date, in one transaction. A period the teacher no longer
    // teaches or is no longer away in is refused with a message.
    static Result save(int absentTeacherId, const QDate &date, int period, int substituteId);
};
