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
    int subjectId = 0;      // the subject title taught then
    QString subjectText;
    int weekday = 0;        // 0 Monday .. 6 Sunday
    int period = 0;         // stored, from 0
    int substituteId = 0;   // 0 when nobody is recorded
    QString substituteName;
    QString substituteNotFree; // why the recorded substitute cannot take the period; empty when free
};

// One recorded substitution, with the names a message shows.
struct SubstitutionRecord {
    qint64 rowid = 0;
    int teacherid = 0;      // the teacher away
    QString teacherName;
    int substituteId = 0;
    QString substituteName;
    int classid = 0;
    QString classSection;
    int period = 0;         // stored, from 0
    QDate date;
    bool absenceCovers = false; // the teacher away has a leave or absence over that period
    QString substituteAway;     // "Leave" or "Absent" when the substitute is away then

    // "08/12/2026 period 3, VII-B"
    QString where() const;
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
    // substituting then, in name order. The one definition of who may be offered: the
    // ranked box and "Suggest All" take their candidates from here.
    static QVector<FreeTeacher> freeTeachers(const QDate &date, int period);

    // Why the teacher cannot substitute at the date and stored period ("on leave", "absent",
    // "teaches VII-B", "substitutes for Ram Kumar"); empty when free. The substitution of
    // `forTeacher` at that period is the one being decided, so it does not count.
    static QString notFreeReason(const QDate &date, int period, int substituteId, int forTeacher);

    // Substitutions the teacher is recorded to take within the dates and stored periods.
    static QVector<SubstitutionRecord> bookedAsSubstitute(int teacherid, const QDate &from, const QDate &to,
                                                          int fromPeriod, int toPeriod);
    // Substitutions for the teacher that lose their reason when the teacher's leave or
    // absence entries with these row ids go: no other entry of the teacher covers them.
    static QVector<SubstitutionRecord> losingCover(int teacherid, const QVector<qint64> &goingEntries);
    // Every substitution that matches a condition on `s` (the substitute table), in date order.
    static QVector<SubstitutionRecord> records(const QString &condition, const QVariantList &params);
    // Deletes the substitutions; runs inside the caller's transaction.
    static bool remove(const QVector<SubstitutionRecord> &list);

    // Before a leave or absence is recorded for a teacher booked as substitute in its span:
    // asks whether to give up those substitutions, naming their periods and classes.
    static bool askToGiveUp(const QString &teacherName, const QVector<SubstitutionRecord> &booked);

    enum class Result { Refused, Removed, Saved };
    // Records, changes (substituteId > 0) or removes (substituteId 0) the substitute of the
    // absent teacher's period on the date, in one transaction. A period the teacher no longer
    // teaches or is no longer away in is refused with a message.
    static Result save(int absentTeacherId, const QDate &date, int period, int substituteId);

    enum class Refusal { None, NoLesson, NotAway, AlreadyCovered, NotFree, Failed };
    // Checks one substitution against the tables as they are now and writes it, inside the
    // caller's transaction. With `mayChange` false a period that has a substitute recorded
    // is refused rather than changed. `why` says what stands in the way, in words.
    static Refusal record(int absentTeacherId, const QDate &date, int period, int substituteId, bool mayChange,
                          QString *why = nullptr);
};
