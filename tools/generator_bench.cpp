// horalux-genbench [--runs N] [--school-seed N] [--effort STEPS] [--verbose]: times the timetable generator on synthetic schools built in
// memory and prints the medians: a large school with its teachers allocated, the same with the
// generator choosing every teacher, a small school, and a tight school (every teacher allocated
// all the periods they can teach, one in ten unavailable for a whole day, some lessons kept).
#include "Generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace hx::gen;

namespace {

bool verbose = false;
long long effort = 0; // placing steps per lesson; 0: the generator's own

struct SubjectKind {
    int id;
    int periods; // nominal periods a week
};

// A school like a real one: Monday to Friday nine periods, a short Saturday for the seniors,
// most weeks exactly full, subjects of 1 to 8 periods, teachers of 2 to 3 subjects with 24 to
// 36 periods.
Snapshot makeSchool(int classCount, int teacherCount, unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::vector<SubjectKind> kinds = {{1, 8}, {2, 7}, {3, 6}, {4, 6}, {5, 5}, {6, 4}, {7, 3},
                                            {8, 3}, {9, 2}, {10, 2}, {11, 2}, {12, 1}, {13, 1}};
    Snapshot s;
    for (int c = 0; c < classCount; ++c) {
        ClassInput ci;
        ci.id = 100 + c;
        ci.level = 1 + c * 12 / classCount;
        ci.cells = cellRange(0, 4, 0, 8);
        if (ci.level >= 9)
            ci.cells |= cellRange(5, 5, 0, ci.level == 12 ? 8 : 4);
        else if (ci.level >= 5)
            ci.cells |= cellRange(5, 5, 0, 3);
        s.classes.push_back(ci);
        // Curriculum: the nominal periods scaled to the week, most weeks exactly full.
        const int week = std::popcount(ci.cells);
        const int target = pick(0, 9) < 8 ? week : week - pick(1, 4);
        std::vector<int> periods;
        int sum = 0;
        for (const SubjectKind &k : kinds) {
            periods.push_back(k.periods);
            sum += k.periods;
        }
        while (sum != target) {
            const int i = pick(0, int(periods.size()) - 1);
            if (sum < target && periods[i] < 8) {
                ++periods[i];
                ++sum;
            } else if (sum > target && periods[i] > 1) {
                --periods[i];
                --sum;
            }
        }
        for (std::size_t i = 0; i < kinds.size(); ++i)
            s.requirements.push_back({ci.id, kinds[i].id, periods[i], {}});
    }
    // Teachers: a main subject in proportion to the demand, one or two more.
    std::vector<int> demand(kinds.size() + 1, 0);
    for (const Requirement &r : s.requirements)
        demand[r.subject] += r.periods;
    std::vector<int> target(teacherCount), load(teacherCount, 0);
    std::vector<double> left(demand.begin(), demand.end());
    for (int t = 0; t < teacherCount; ++t) {
        TeacherInput ti;
        ti.id = 1000 + t;
        target[t] = pick(24, 36);
        int main = 1;
        for (std::size_t k = 1; k < left.size(); ++k)
            if (left[k] > left[main])
                main = int(k);
        left[main] -= target[t] * 0.6;
        const int lo = pick(1, 8);
        ti.subjects.push_back({main, lo + 2, lo + 4});
        const int more = pick(1, 2);
        for (int i = 0; i < more; ++i) {
            int k = int(kinds[pick(0, int(kinds.size()) - 1)].id);
            bool have = false;
            for (auto &x : ti.subjects)
                have = have || x.subject == k;
            if (!have)
                ti.subjects.push_back({k, lo, lo + 4});
        }
        s.teachers.push_back(ti);
    }
    // Allocations: each class-subject to one teacher of the subject with room, lightest first;
    // failing that, a teacher with room takes the subject on.
    std::vector<int> order(s.requirements.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::shuffle(order.begin(), order.end(), rng);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return s.requirements[a].periods > s.requirements[b].periods; });
    for (int r : order) {
        Requirement &req = s.requirements[r];
        int best = -1;
        for (int t = 0; t < teacherCount; ++t) {
            bool teaches = false;
            for (auto &x : s.teachers[t].subjects)
                teaches = teaches || x.subject == req.subject;
            if (teaches && load[t] + req.periods <= target[t] && (best < 0 || load[t] < load[best]))
                best = t;
        }
        if (best < 0) {
            for (int t = 0; t < teacherCount; ++t)
                if (load[t] + req.periods <= 36 && (best < 0 || load[t] - target[t] < load[best] - target[best]))
                    best = t;
            if (best < 0)
                best = int(std::min_element(load.begin(), load.end()) - load.begin());
            bool teaches = false;
            for (auto &x : s.teachers[best].subjects)
                teaches = teaches || x.subject == req.subject;
            if (!teaches)
                s.teachers[best].subjects.push_back({req.subject, 1, 12});
        }
        load[best] += req.periods;
        req.allocations.push_back({s.teachers[best].id, req.periods});
    }
    return s;
}

Snapshot withoutAllocations(Snapshot s)
{
    for (Requirement &r : s.requirements)
        r.allocations.clear();
    return s;
}

// A school with exactly one kind of week in mind: one in ten teachers away a whole day, each
// teacher available only in the periods of a complete week found for it, some lessons kept.
// everyone: every teacher available only where the week had them; otherwise only the teachers
// away a day, whose week is then exactly their allocation.
bool makeTight(const Snapshot &base, unsigned seed, bool everyone, Snapshot *out)
{
    Snapshot s = base;
    std::mt19937 rng(seed);
    std::vector<int> load(s.teachers.size(), 0);
    for (const Requirement &r : s.requirements)
        for (const Allocation &a : r.allocations)
            load[a.teacher - 1000] += a.periods;
    std::vector<bool> away(s.teachers.size(), false);
    int awayCount = 0;
    for (std::size_t t = 0; t < s.teachers.size() && awayCount < int(s.teachers.size()) / 10; ++t)
        if (load[t] <= 32 && rng() % 3 == 0) {
            s.teachers[t].unavailable |= dayCells(int(rng() % 5));
            away[t] = true;
            ++awayCount;
        }
    Options o;
    o.seed = seed;
    o.timeBudgetMs = 20000;
    const Result week = Generate(s, o);
    if (week.placed != week.planned)
        return false;
    std::vector<CellMask> busy(s.teachers.size(), 0);
    for (const Lesson &l : week.lessons)
        busy[l.teacher - 1000] |= bitOf(l.cell);
    for (std::size_t t = 0; t < s.teachers.size(); ++t)
        if (everyone || away[t])
            s.teachers[t].unavailable = AllCells & ~busy[t];
    for (const Lesson &l : week.lessons)
        if (rng() % 20 == 0)
            s.kept.push_back(l);
    *out = s;
    return true;
}

struct Figures {
    std::vector<double> ms, placingMs;
    int lessons = 0, placed = 0, clashes = 0, spread = 0, dayExcess = 0, gaps = 0, invalid = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void run(const char *what, const Snapshot &school, int runs, double target)
{
    Figures f;
    for (int i = 0; i < runs; ++i) {
        Options o;
        o.seed = 1 + i;
        o.timeBudgetMs = 0;
        if (effort > 0)
            o.placingEffort = effort;
        if (verbose)
            o.progress = [](const Progress &p) {
                if (p.phase == Phase::Placing && p.iteration % 200000 == 0)
                    std::printf("  step %lld: %d of %d placed\n", p.iteration, p.placed, p.total);
            };
        const Result r = Generate(school, o);
        f.ms.push_back(r.totalMs);
        f.placingMs.push_back(r.placingMs);
        // The figures of the last run; every run is checked.
        f.lessons = r.planned;
        f.placed = r.placed;
        f.clashes = r.clashes;
        f.spread = r.quality.spreadFaults;
        f.dayExcess = r.quality.dayExcess;
        f.gaps = r.quality.gaps;
        f.invalid += int(Validate(school, r.lessons, r.plan).size());
        if (i == 0 && verbose) {
            // How evenly the week's lessons fall on the teachers.
            std::vector<int> load(school.teachers.size(), 0);
            for (const Lesson &l : r.lessons)
                ++load[l.teacher - school.teachers.front().id];
            std::printf("  teacher loads: %d to %d\n", *std::min_element(load.begin(), load.end()),
                        *std::max_element(load.begin(), load.end()));
            for (const Problem &p : r.problems)
                std::printf("  problem: %s (class %d, teacher %d, subject %d, %d)\n", describe(p.reason).c_str(),
                            p.classId, p.teacher, p.subject, p.amount);
            for (const Unplaced &u : r.unplaced)
                std::printf("  not placed: %d of class %d subject %d teacher %d: %s\n", u.count, u.classId,
                            u.subject, u.teacher, describe(u.reason).c_str());
        }
    }
    std::printf("%-34s %5d lessons  placed %5d  clashes %d  spread faults %3d (%.2f%%)  day excess %4d  gaps %4d"
                "  invalid %d  placing %7.1f ms  total %7.1f ms (target %.0f)%s\n",
                what, f.lessons, f.placed, f.clashes, f.spread, 100.0 * f.spread / std::max(1, f.lessons),
                f.dayExcess, f.gaps, f.invalid, median(f.placingMs), median(f.ms), target,
                median(f.ms) <= target && f.placed == f.lessons && f.clashes == 0 ? "" : "  MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 5;
    unsigned schoolSeed = 7;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--school-seed") && i + 1 < argc)
            schoolSeed = unsigned(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--effort") && i + 1 < argc)
            effort = std::atoll(argv[++i]);
        else if (!std::strcmp(argv[i], "--verbose"))
            verbose = true;
    const Snapshot large = makeSchool(100, 150, schoolSeed);
    const Snapshot small = makeSchool(12, 25, schoolSeed + 4);
    run("large school, teachers allocated", large, runs, 1000);
    run("large school, generator chooses", withoutAllocations(large), runs, 2000);
    run("small school, teachers allocated", small, runs * 2 + 1, 100);
    Snapshot tight;
    if (makeTight(large, schoolSeed, false, &tight))
        run("tight school", tight, runs, 10000);
    else
        std::printf("tight school: no complete week to derive it from\n");
    if (makeTight(large, schoolSeed, true, &tight))
        run("tight school, every teacher exact", tight, runs, 10000);
    return 0;
}
