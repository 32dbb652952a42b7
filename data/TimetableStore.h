#pragma once
// The one way the weekly timetable (`timeschedule`) is changed. Every writer goes through here:
// the class and teacher editors' Save, removing a subject from a class or a teacher, shortening
// or deleting a period system, and a whole-school placement. A window's copy of the week can
// always be stale, so the rules that keep the timetable whole are checked here, inside the
// transaction, against what the file holds at that moment.
#include <QString>
#include <QVariant>
#include <QVector>

namespace store {

// One row of `timeschedule`: one lesson of one class.
struct LessonRow {
    int teacherid = 0;
    int subid = 0;
    int classid = 0;
    int period = 0;
    int weekday = 0;
    bool substitute = false;
    bool operator==(const LessonRow &) const = default;
    // The same lesson, whether or not it was marked as a substitution.
    bool sameLesson(const LessonRow &o) const
    {
        return teacherid == o.teacherid && subid == o.subid && classid == o.classid && period == o.period
            && weekday == o.weekday;
    }
};
using LessonRows = QVector<LessonRow>;

// A week replaced as a whole: every row of one class (or of one teacher) goes and `rows` take
// their place. `loaded` are the rows the editor read when it loaded the week; if the file holds
// anything else now, the week was changed elsewhere and nothing is written.
struct WeekChange {
    enum class Owner { Class, Teacher };
    Owner owner = Owner::Class;
    int id = 0;
    LessonRows loaded;
    LessonRows rows;
};

struct SaveResult {
    enum class Status {
        Saved,   // rows and history rows written
        Stale,   // the week changed elsewhere since it was loaded; `message` names the lessons
        Refused, // the week breaks a rule of the timetable; `message` lists every clash
        Failed   // a statement failed; "Error :" has been shown
    };
    Status status = Status::Failed;
    QString message;
    bool saved() const { return status == Status::Saved; }
};

// The rows of a class's or a teacher's week as the file holds them, in stored order.
LessonRows ClassWeek(int classid);
LessonRows TeacherWeek(int teacherid);

// Replaces the given weeks in one transaction (joined with an outer one if there is one):
// checks that none changed since loaded, then that the rows written keep the timetable whole
// (no teacher in two classes at once except a lesson taught to two classes together, i.e. the
// same teacher and subject; no class given to a teacher of another week in a period it already
// has; only periods the class has; no teacher in a period they cannot teach; at most two lessons
// in a class's period and two classes in a teacher's), then writes the rows and one history row each, dated today. Lessons that were
// loaded and are written back unchanged are taken as they are, whatever they break.
SaveResult SaveWeeks(const QVector<WeekChange> &changes);

// The lessons that go with a removed curriculum entry or period system; run inside the
// caller's transaction. False (the error shown) when the statement failed.
bool RemoveClassSubjectLessons(const QVariant &classid, const QVariant &subid);
bool RemoveTeacherSubjectLessons(const QVariant &teacherid, const QVariant &subid);
// The class's lessons on the listed week-days ("0,2,4") from the given period on.
bool RemoveClassDayLessons(const QVariant &classid, const QVariant &days, const QVariant &fromPeriod = 0);

} // namespace store
