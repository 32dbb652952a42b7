#include "Generator.h"

#include <QTest>
#include <algorithm>
#include <atomic>

using namespace hx::gen;

namespace {

// Options that make a run independent of the machine's speed.
Options fixed(std::uint64_t seed = 1)
{
    Options o;
    o.seed = seed;
    o.timeBudgetMs = 0;
    o.iterations = 20000;
    return o;
}

int count(const std::vector<Lesson> &lessons, int classId, int teacher = 0)
{
    return int(std::count_if(lessons.begin(), lessons.end(), [&](const Lesson &l) {
        return l.classId == classId && (teacher == 0 || l.teacher == teacher);
    }));
}

// Every class and every teacher exactly full: six classes of 54 periods, each taught 9 periods
// by each of six teachers, who therefore teach every period of the week.
Snapshot fullWeek()
{
    Snapshot s;
    for (int c = 1; c <= 6; ++c)
        s.classes.push_back({c, AllCells, 6});
    for (int t = 1; t <= 6; ++t)
        s.teachers.push_back({10 + t, 0, 0, 0, {{100 + t, 1, 12}}});
    for (int c = 1; c <= 6; ++c)
        for (int t = 1; t <= 6; ++t)
            s.requirements.push_back({c, 100 + t, 9, {{10 + t, 9}}});
    return s;
}

// Placing lessons one by one in the first period free for both sides, as a person would.
int firstFitPlaced(const Snapshot &s)
{
    std::vector<CellMask> classBusy(64, 0), teacherBusy(64, 0);
    int placed = 0;
    for (const Requirement &r : s.requirements)
        for (int i = 0; i < r.periods; ++i) {
            const int t = r.allocations[0].teacher - 10;
            const CellMask free = AllCells & ~classBusy[r.classId] & ~teacherBusy[t];
            if (!free)
                continue;
            const int cell = std::countr_zero(free);
            classBusy[r.classId] |= bitOf(cell);
            teacherBusy[t] |= bitOf(cell);
            ++placed;
        }
    return placed;
}

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT
private slots:
    void exactlyFullWeekIsCompleted();
    void teachersAvailableOnlyInTheirPeriods();
    void impossibleInputsAreNamed();
    void keptLessonsAvailabilityAndAllocations();
    void sameSeedSameWeek();
    void cancellationKeepsAValidWeek();
    void teacherChoice();
    void validatorFindsBrokenRules();
};

void TestGenerator::exactlyFullWeekIsCompleted()
{
    const Snapshot s = fullWeek();
    QVERIFY(firstFitPlaced(s) < 6 * 54); // placing alone gets stuck
    for (std::uint64_t seed : {1, 2, 3}) {
        const Result r = Generate(s, fixed(seed));
        QCOMPARE(r.planned, 6 * 54);
        QCOMPARE(r.placed, 6 * 54);
        QVERIFY(r.unplaced.empty());
        QVERIFY(r.problems.empty());
        QCOMPARE(r.clashes, 0);
        QVERIFY(Validate(s, r.lessons, r.plan).empty());
        for (const ClassReport &c : r.classes) {
            QCOMPARE(c.placed, 54);
            QCOMPARE(c.planned, 54);
        }
    }
}

void TestGenerator::teachersAvailableOnlyInTheirPeriods()
{
    // A week found first; then each teacher can teach only the periods it gave them, and the
    // week must be found again from nothing, with the chains given almost no room.
    Snapshot s = fullWeek();
    for (Requirement &r : s.requirements)
        r.periods = r.allocations[0].periods = 7 + (r.classId + r.subject) % 3;
    const Result first = Generate(s, fixed(3));
    QCOMPARE(first.placed, first.planned);
    for (TeacherInput &t : s.teachers) {
        t.unavailable = AllCells;
        for (const Lesson &l : first.lessons)
            if (l.teacher == t.id)
                t.unavailable &= ~bitOf(l.cell);
    }
    s.kept = {first.lessons[0], first.lessons[100]};
    for (std::uint64_t seed : {1, 2, 3, 4}) {
        Options o = fixed(seed);
        o.placingEffort = 0; // straight to the tabu search
        const Result r = Generate(s, o);
        QCOMPARE(r.placed, r.planned);
        QVERIFY(r.unplaced.empty());
        QVERIFY(Validate(s, r.lessons, r.plan).empty());
    }
}

void TestGenerator::impossibleInputsAreNamed()
{
    const CellMask weekdays = cellRange(0, 4, 0, 8); // 45 periods
    Snapshot s;
    s.classes = {{1, weekdays, 5}, {2, weekdays, 5}, {3, weekdays, 5}};
    // Teacher 11 can teach only Monday; teacher 12 everything; subject 103 has nobody.
    s.teachers = {{11, AllCells & ~dayCells(0), 0, 0, {{101, 1, 12}}}, {12, 0, 0, 0, {{102, 1, 12}}},
                  {13, 0, 0, 0, {{102, 1, 12}}}};
    s.requirements = {
        {1, 102, 50, {{13, 50}}},    // 50 periods in a week of 45
        {2, 101, 12, {{11, 12}}},    // 12 periods from a teacher with 9
        {3, 103, 4, {}},             // nobody teaches it
        {3, 102, 6, {{12, 4}, {12, 0}}},
    };
    Options o = fixed();
    const Result r = Generate(s, o);
    auto hasProblem = [&](Reason reason, int classId, int teacher, int amount) {
        return std::any_of(r.problems.begin(), r.problems.end(), [&](const Problem &p) {
            return p.reason == reason && p.classId == classId && p.teacher == teacher && p.amount == amount;
        });
    };
    auto unplaced = [&](Reason reason, int classId) {
        int n = 0;
        for (const Unplaced &u : r.unplaced)
            n += (u.reason == reason && u.classId == classId) ? u.count : 0;
        return n;
    };
    QVERIFY(hasProblem(Reason::ClassOverfull, 1, 0, 5));
    QCOMPARE(unplaced(Reason::ClassOverfull, 1), 5);
    QVERIFY(hasProblem(Reason::TeacherOverallocated, 0, 11, 3));
    QCOMPARE(unplaced(Reason::TeacherFull, 2), 3);
    QVERIFY(hasProblem(Reason::NoTeacher, 3, 0, 4));
    QCOMPARE(unplaced(Reason::NoTeacher, 3), 4);
    // Whatever can be placed is placed, and soundly; the rest of subject 102 in class 3 is
    // chosen from the teachers of the subject.
    QCOMPARE(count(r.lessons, 1), 45);
    QCOMPARE(count(r.lessons, 2), 9);
    QCOMPARE(count(r.lessons, 3), 6);
    QVERIFY(Validate(s, r.lessons, r.plan).empty());
    QCOMPARE(describe(Reason::NoCommonPeriod), std::string("no period free for both the class and the teacher"));

    // Nothing to do, a class without periods, a lesson kept in a period the class lacks, a
    // requirement of a class that is not being built.
    const Result empty = Generate(Snapshot{}, o);
    QVERIFY(empty.lessons.empty() && empty.problems.empty() && empty.unplaced.empty());
    Snapshot odd;
    odd.classes = {{1, 0, 5}, {2, weekdays, 5}};
    odd.teachers = {{11, 0, 0, 0, {{101, 1, 12}}}};
    odd.requirements = {{1, 101, 3, {}}, {2, 101, 0, {}}, {9, 101, 2, {{11, 2}}}};
    odd.kept = {{2, 11, 101, cellOf(5, 0)}};
    const Result r2 = Generate(odd, o);
    QCOMPARE(count(r2.lessons, 1), 0);
    QCOMPARE(r2.planned, 3);
    QVERIFY(std::any_of(r2.problems.begin(), r2.problems.end(),
                        [](const Problem &p) { return p.reason == Reason::ClassOverfull && p.classId == 1; }));
    QVERIFY(std::any_of(r2.problems.begin(), r2.problems.end(),
                        [](const Problem &p) { return p.reason == Reason::KeptLessonInvalid && p.classId == 2; }));
    QVERIFY(std::any_of(r2.problems.begin(), r2.problems.end(),
                        [](const Problem &p) { return p.reason == Reason::UnknownClass && p.classId == 9; }));
    // The kept lesson is handed back as it was, for the user to see and mend.
    QVERIFY(std::find(r2.lessons.begin(), r2.lessons.end(), odd.kept[0]) != r2.lessons.end());
}

void TestGenerator::keptLessonsAvailabilityAndAllocations()
{
    Snapshot s = fullWeek();
    // Teacher 11 away on Saturday, teacher 12 busy elsewhere on Monday's first three periods:
    // their classes need less of them then.
    s.teachers[0].unavailable = dayCells(5);
    s.teachers[1].taken = cellRange(0, 0, 0, 2);
    for (Requirement &r : s.requirements) {
        if (r.subject == 101) {
            r.periods = 7;
            r.allocations = {{11, 7}};
        }
        if (r.subject == 102 && r.classId <= 3) {
            r.periods = 8;
            r.allocations = {{12, 5}, {13, 3}};
        }
        if (r.subject == 103 && r.classId <= 3)
            r.periods = r.allocations[0].periods = 6; // teacher 13 stays at 54 periods
    }
    s.kept = {{1, 14, 104, cellOf(2, 4)}, {2, 14, 104, cellOf(3, 4)}, {3, 15, 105, cellOf(0, 0)}};
    const Result r = Generate(s, fixed(5));
    QVERIFY(r.problems.empty());
    QVERIFY(r.unplaced.empty());
    QCOMPARE(r.placed, r.planned);
    QVERIFY(Validate(s, r.lessons, r.plan).empty());
    for (const Lesson &k : s.kept)
        QVERIFY(std::find(r.lessons.begin(), r.lessons.end(), k) != r.lessons.end());
    for (const Lesson &l : r.lessons) {
        if (l.teacher == 11)
            QVERIFY(weekdayOf(l.cell) != 5);
        if (l.teacher == 12)
            QVERIFY(!(s.teachers[1].taken & bitOf(l.cell)));
    }
    auto taught = [&](int classId, int teacher, int subject) {
        return int(std::count_if(r.lessons.begin(), r.lessons.end(), [&](const Lesson &l) {
            return l.classId == classId && l.teacher == teacher && l.subject == subject;
        }));
    };
    for (int c = 1; c <= 3; ++c) {
        QCOMPARE(taught(c, 12, 102), 5);
        QCOMPARE(taught(c, 13, 102), 3);
        QCOMPARE(taught(c, 11, 101), 7);
    }
}

void TestGenerator::sameSeedSameWeek()
{
    Snapshot s = fullWeek();
    for (Requirement &r : s.requirements)
        r.periods = r.allocations[0].periods = 7; // room to move: the improvement has choices
    const Result a = Generate(s, fixed(42));
    const Result b = Generate(s, fixed(42));
    QCOMPARE(a.placed, int(s.requirements.size()) * 7);
    QVERIFY(a.lessons == b.lessons);
    QCOMPARE(a.quality.gaps, b.quality.gaps);
    QCOMPARE(a.iterations, b.iterations);
}

void TestGenerator::cancellationKeepsAValidWeek()
{
    const Snapshot s = fullWeek();
    // Stopped while placing: a partial week, sound, the rest reported as stopped.
    {
        std::atomic<bool> stop{false};
        Options o = fixed();
        o.cancel = &stop;
        int calls = 0;
        o.progress = [&](const Progress &p) {
            if (p.phase == Phase::Placing && ++calls == 2)
                stop = true;
        };
        const Result r = Generate(s, o);
        QVERIFY(r.cancelled);
        QVERIFY(r.placed < r.planned);
        QVERIFY(Validate(s, r.lessons, r.plan).empty());
        int stopped = 0;
        for (const Unplaced &u : r.unplaced) {
            QCOMPARE(u.reason, Reason::Cancelled);
            stopped += u.count;
        }
        QCOMPARE(stopped, r.planned - r.placed);
    }
    // Stopped while improving: the whole week, the best one found.
    {
        Snapshot loose = s;
        for (Requirement &r : loose.requirements)
            r.periods = r.allocations[0].periods = 7;
        std::atomic<bool> stop{false};
        Options o = fixed();
        o.iterations = 10000000;
        o.stallIterations = 0;
        o.cancel = &stop;
        bool sawImproving = false;
        o.progress = [&](const Progress &p) {
            if (p.phase == Phase::Improving) {
                sawImproving = true;
                stop = true;
            }
        };
        const Result r = Generate(loose, o);
        QVERIFY(sawImproving);
        QVERIFY(r.cancelled);
        QCOMPARE(r.placed, r.planned);
        QVERIFY(r.iterations < 10000000);
        QVERIFY(Validate(loose, r.lessons, r.plan).empty());
    }
}

void TestGenerator::teacherChoice()
{
    const CellMask weekdays = cellRange(0, 4, 0, 8);
    Snapshot s;
    s.classes = {{1, weekdays, 2}, {2, weekdays, 10}, {3, weekdays, 10}, {4, weekdays, 10}};
    // Teacher 11 prefers the juniors, 12 and 13 the seniors; 14 teaches another subject.
    s.teachers = {{11, 0, 0, 0, {{7, 1, 4}}}, {12, 0, 0, 0, {{7, 9, 12}}}, {13, 0, 0, 0, {{7, 9, 12}}},
                  {14, 0, 0, 0, {{8, 1, 12}}}};
    s.requirements = {{1, 7, 6, {}}, {2, 7, 6, {}}, {3, 7, 6, {}}, {4, 7, 6, {{11, 6}}}, {4, 9, 3, {}}};
    s.kept = {{2, 13, 7, cellOf(0, 0)}};
    std::vector<Problem> problems;
    const std::vector<RequirementPlan> plan = ChooseTeachers(s, &problems);
    QCOMPARE(plan.size(), s.requirements.size());
    QCOMPARE(plan[0].allocations, (std::vector<Allocation>{{11, 6}})); // nearest level
    // A kept lesson's teacher keeps the class-subject; the other senior class goes to the
    // senior teacher with the lighter load.
    QCOMPARE(plan[1].allocations, (std::vector<Allocation>{{13, 6}}));
    QCOMPARE(plan[2].allocations, (std::vector<Allocation>{{12, 6}}));
    QCOMPARE(plan[3].allocations, (std::vector<Allocation>{{11, 6}})); // given allocations stay
    QVERIFY(plan[4].allocations.empty());
    QCOMPARE(problems.size(), std::size_t(1));
    QCOMPARE(problems[0].reason, Reason::NoTeacher);
    QCOMPARE(problems[0].subject, 9);
}

void TestGenerator::validatorFindsBrokenRules()
{
    Snapshot s;
    s.classes = {{1, cellRange(0, 4, 0, 8), 5}, {2, cellRange(0, 4, 0, 8), 5}};
    s.teachers = {{11, dayCells(1), bitOf(cellOf(2, 0)), 0, {{7, 1, 12}}}, {12, 0, 0, 0, {{7, 1, 12}}}};
    s.requirements = {{1, 7, 2, {{11, 1}, {12, 1}}}, {2, 7, 1, {{12, 1}}}};
    s.kept = {{2, 12, 7, cellOf(4, 4)}};
    const std::vector<RequirementPlan> plan = ChooseTeachers(s);
    auto rules = [&](const std::vector<Lesson> &week) {
        std::vector<Rule> out;
        for (const Violation &v : Validate(s, week, plan))
            out.push_back(v.rule);
        return out;
    };
    QVERIFY(rules({{1, 11, 7, cellOf(0, 0)}, {1, 12, 7, cellOf(0, 1)}, {2, 12, 7, cellOf(4, 4)}}).empty());
    QCOMPARE(rules({{1, 11, 7, cellOf(5, 0)}, {2, 12, 7, cellOf(4, 4)}}), std::vector<Rule>{Rule::CellNotInClass});
    QCOMPARE(rules({{1, 11, 7, cellOf(0, 0)}, {1, 12, 7, cellOf(0, 0)}, {2, 12, 7, cellOf(4, 4)}}),
             std::vector<Rule>{Rule::ClassClash});
    QCOMPARE(rules({{1, 12, 7, cellOf(4, 4)}, {2, 12, 7, cellOf(4, 4)}}),
             (std::vector<Rule>{Rule::TeacherClash}));
    QCOMPARE(rules({{1, 11, 7, cellOf(1, 3)}, {2, 12, 7, cellOf(4, 4)}}), std::vector<Rule>{Rule::TeacherUnavailable});
    QCOMPARE(rules({{1, 11, 7, cellOf(2, 0)}, {2, 12, 7, cellOf(4, 4)}}), std::vector<Rule>{Rule::TeacherClash});
    QCOMPARE(rules({{1, 11, 7, cellOf(0, 0)}, {1, 11, 7, cellOf(0, 1)}, {2, 12, 7, cellOf(4, 4)}}),
             std::vector<Rule>{Rule::AboveAllocation});
    QCOMPARE(rules({{2, 11, 7, cellOf(0, 0)}}), (std::vector<Rule>{Rule::NotAllocated, Rule::KeptLessonMoved}));
    QCOMPARE(rules({{1, 12, 8, cellOf(0, 0)}, {2, 12, 7, cellOf(4, 4)}}), std::vector<Rule>{Rule::NotInCurriculum});
}

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
