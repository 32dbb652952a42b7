#pragma once
// The timetable generator: a snapshot of the school in, a week and a report out.
// Standard library only, no globals: one call may run on a worker thread while the caller
// reads the database before and writes the result after.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hx::gen {

// Week-days 0 (Monday) .. 5 (Saturday), periods 0 .. 8, cell = period * 6 + week-day.
constexpr int Days = 6;
constexpr int Periods = 9;
constexpr int Cells = Days * Periods;
using CellMask = std::uint64_t; // bit `cell` set: the cell is in the set
constexpr CellMask AllCells = (CellMask(1) << Cells) - 1;

constexpr int cellOf(int weekday, int period) { return period * Days + weekday; }
constexpr int weekdayOf(int cell) { return cell % Days; }
constexpr int periodOf(int cell) { return cell / Days; }
constexpr CellMask bitOf(int cell) { return CellMask(1) << cell; }
// The cells of one week-day, and of the week-days [first, last] in periods [firstPeriod, lastPeriod].
CellMask dayCells(int weekday);
CellMask cellRange(int firstDay, int lastDay, int firstPeriod, int lastPeriod);

struct ClassInput {
    int id = 0;
    CellMask cells = 0; // the periods the class has in its week
    int level = 1;      // 1 .. 12, for the teachers' preferred levels
};

struct TeacherSubject {
    int subject = 0;
    int mostPreferred = 1; // levels 1 .. 12
    int leastPreferred = 12;
};

struct TeacherInput {
    int id = 0;
    CellMask unavailable = 0; // periods the teacher cannot teach
    CellMask taken = 0;       // periods taken by lessons of classes not being generated
    int dayLimit = 0;         // most lessons a day; 0: the generator's limit
    std::vector<TeacherSubject> subjects; // what the teacher teaches
};

struct Allocation {
    int teacher = 0;
    int periods = 0;
    bool operator==(const Allocation &) const = default;
};

// One class-subject of the curriculum. With no allocations the generator chooses the teachers.
struct Requirement {
    int classId = 0;
    int subject = 0;
    int periods = 0; // a week
    std::vector<Allocation> allocations;
};

struct Lesson {
    int classId = 0;
    int teacher = 0;
    int subject = 0;
    int cell = 0;
    bool operator==(const Lesson &) const = default;
    auto operator<=>(const Lesson &) const = default;
};

struct Snapshot {
    std::vector<ClassInput> classes; // the classes whose weeks are built
    std::vector<TeacherInput> teachers;
    std::vector<Requirement> requirements;
    std::vector<Lesson> kept; // lessons of those classes that stay where they are
};

enum class Phase { Checking, Placing, Improving, Done };

struct Progress {
    Phase phase = Phase::Checking;
    int placed = 0;       // lessons in the week (kept ones included)
    int total = 0;        // lessons planned
    int spreadFaults = 0; // of the current week
    int dayExcess = 0;
    int gaps = 0;
    long long iteration = 0;
};

struct Options {
    std::uint64_t seed = 1;
    // Improvement makes at most this many moves, cooling over them (0: 60 per lesson + 20000).
    // The week depends only on the seed and the input as long as the time budget does not cut a
    // phase short.
    long long iterations = 0;
    // Wall-clock budget for the whole run in ms (0: none). When it ends a phase early, the result
    // depends on the machine's speed; give an iteration count and no time budget for a week that
    // is the same on every run. Runs end well before it on their own (see stallIterations); it
    // is a cap for schools where placing is hard.
    int timeBudgetMs = 10000;
    // Placing with chains hands over to a tabu search after this many repairs per lesson (a
    // repair swaps a chain or sends lessons back; 0: at the first lesson that finds no period),
    // which gives up after four times as many moves (at least ten per lesson); what is left
    // then is reported as not placed.
    long long placingEffort = 30;
    // Improvement also stops when the best week has not improved for this many moves (0: never;
    // -1: 40 moves per lesson, at least 10000 and at most 100000).
    long long stallIterations = -1;
    // Most lessons a teacher should have on one day (0: the teacher's week spread evenly over
    // the days the teacher can teach, rounded up). A teacher's own dayLimit comes first.
    int teacherDayLimit = 0;
    std::function<void(const Progress &)> progress; // called from the generating thread
    const std::atomic<bool> *cancel = nullptr;       // set to stop; the best week so far is returned
};

enum class Reason {
    NoCommonPeriod,          // no period free for both the class and the teacher
    TeacherFull,             // the teacher's available periods are already full
    TeacherOverallocated,    // a teacher is allocated more periods than they can teach
    NoTeacher,               // nobody teaches the subject (or has periods left for it)
    ClassOverfull,           // the class's curriculum exceeds its periods
    AllocationAboveCurriculum, // the allocations exceed the subject's periods a week
    UnknownTeacher,          // an allocation or kept lesson names a teacher not in the snapshot
    UnknownClass,            // a requirement or kept lesson names a class not being generated
    KeptLessonInvalid,       // a kept lesson breaks a hard rule itself
    Cancelled,               // stopped before the lesson was placed
};

// A problem of the input found before the search; the search never tries what it rules out.
struct Problem {
    Reason reason = Reason::NoCommonPeriod;
    int classId = 0; // 0 when not about a class
    int teacher = 0; // 0 when not about a teacher
    int subject = 0; // 0 when not about a subject
    int amount = 0;  // the periods too many
};

struct Unplaced {
    int classId = 0;
    int subject = 0;
    int teacher = 0; // 0 when none was found
    int count = 0;   // lessons
    Reason reason = Reason::NoCommonPeriod;
};

struct ClassReport {
    int classId = 0;
    int planned = 0;
    int placed = 0;
    int spreadFaults = 0;
};

struct Quality {
    int spreadFaults = 0;   // lessons above ceil(periods a week / days of the class) on a day
    int dayExcess = 0;      // lessons above the teachers' day limits, summed over teacher-days
    int gaps = 0;           // free periods between lessons in the teachers' days
    int teachersOverLimit = 0;
};

// The teachers of one requirement, as used for the week (given or chosen).
struct RequirementPlan {
    int classId = 0;
    int subject = 0;
    std::vector<Allocation> allocations;
};

struct Result {
    std::vector<Lesson> lessons; // the whole week of the generated classes, kept lessons included
    std::vector<Unplaced> unplaced;
    std::vector<Problem> problems;
    std::vector<ClassReport> classes; // in the order of the snapshot
    std::vector<RequirementPlan> plan; // in the order of the snapshot's requirements
    int planned = 0;
    int placed = 0;
    int clashes = 0;
    Quality quality;
    bool cancelled = false;
    long long iterations = 0;
    double placingMs = 0;
    double totalMs = 0;
};

// Builds the week. Deterministic for a seed (see Options::timeBudgetMs).
Result Generate(const Snapshot &snapshot, const Options &options = {});

// The teachers a requirement without allocations gets: among the teachers who teach the subject,
// those whose preferred levels lie nearest the class's level first, then the lightest load
// (periods allocated against the periods they can teach); one teacher takes the whole
// class-subject when anyone can, otherwise it is shared. Requirements that have allocations keep
// them (kept lessons count towards them). The result follows the order of snapshot.requirements;
// a requirement that nobody can take gets fewer periods than planned (see Problem NoTeacher).
std::vector<RequirementPlan> ChooseTeachers(const Snapshot &snapshot, std::vector<Problem> *problems = nullptr);

// How far a class's level lies from the levels a teacher prefers for a subject: 0 inside the
// range between the most and the least preferred level, else the distance to the nearer end.
// ChooseTeachers ranks by it; windows that offer teachers rank alike.
int levelDistance(int level, const TeacherSubject &ts);

enum class Rule {
    CellNotInClass,
    ClassClash,
    TeacherClash,
    TeacherUnavailable,
    NotInCurriculum,
    AboveCurriculum,
    NotAllocated,
    AboveAllocation,
    KeptLessonMoved,
    UnknownClass,
    UnknownTeacher,
};

struct Violation {
    Rule rule;
    Lesson lesson; // the lesson that breaks the rule
};

// Every hard rule checked on a week: cells the class has, one lesson per class and teacher
// period (taken periods included), availability, curriculum and allocations of the plan, kept
// lessons present. Empty when the week is sound.
std::vector<Violation> Validate(const Snapshot &snapshot, const std::vector<Lesson> &lessons,
                                const std::vector<RequirementPlan> &plan);

// Plain English for logs and the tool: "no period free for both the class and the teacher", ...
std::string describe(Reason reason);
std::string describe(Rule rule);

} // namespace hx::gen
