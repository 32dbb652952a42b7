// Building the week: the most constrained lessons first; a lesson that finds no period frees
// one by swapping two periods along an alternating chain of class and teacher lessons (as in
// bipartite edge colouring), and when no chain works it takes a period and sends the lessons
// there back to the queue (with a short tabu so they do not return at once). The complete
// week is then improved by simulated annealing over the same chain swaps, which keep every
// hard rule, so the soft rules are the only thing that changes.
#include "Generator.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>
#include <unordered_map>

namespace hx::gen {

CellMask dayCells(int weekday)
{
    CellMask m = 0;
    for (int p = 0; p < Periods; ++p)
        m |= bitOf(cellOf(weekday, p));
    return m;
}

CellMask cellRange(int firstDay, int lastDay, int firstPeriod, int lastPeriod)
{
    CellMask m = 0;
    for (int d = firstDay; d <= lastDay; ++d)
        for (int p = firstPeriod; p <= lastPeriod; ++p)
            m |= bitOf(cellOf(d, p));
    return m;
}

namespace {

using Clock = std::chrono::steady_clock;

// xoshiro256** seeded through splitmix64: fast, and the same sequence everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed)
    {
        for (auto &x : s) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            x = z ^ (z >> 31);
        }
    }
    std::uint64_t next()
    {
        const std::uint64_t result = std::rotl(s[1] * 5, 7) * 9;
        const std::uint64_t t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = std::rotl(s[3], 45);
        return result;
    }
    int below(int n) { return n <= 1 ? 0 : int((next() >> 33) % std::uint64_t(n)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // A random cell of a non-empty mask.
    int cellIn(CellMask m)
    {
        int k = below(std::popcount(m));
        while (k-- > 0)
            m &= m - 1;
        return std::countr_zero(m);
    }

private:
    std::uint64_t s[4];
};

constexpr int WeightSpread = 100;
constexpr int WeightDay = 10;
constexpr int WeightGap = 1;

struct Item {
    int cls, tch, req;
    int cell = -1;
    bool kept = false;
    bool dropped = false; // ruled out before the search
    Reason reason = Reason::NoCommonPeriod;
};

struct Group { // the lessons of one class-subject with one teacher
    int cls, tch, req;
    std::vector<int> items;
    int pending = 0;
};

class Engine {
public:
    Engine(const Snapshot &in, const Options &opt) : in(in), opt(opt), rng(opt.seed) {}
    Result run();

private:
    const Snapshot &in;
    const Options &opt;
    Random rng;
    Clock::time_point start = Clock::now();
    Result res;

    int classCount = 0, teacherCount = 0;
    std::vector<CellMask> classCells, teacherAvail, teacherTaken;
    std::vector<int> dayLimit;
    std::vector<int> reqCls, reqCap, reqSubject;
    std::vector<Item> items;
    std::vector<Group> groups;
    std::vector<int> groupOf;
    std::vector<Lesson> invalidKept; // kept lessons that break a rule: written back untouched

    std::vector<int> classAt, teacherAt; // lesson in (class|teacher) * Cells + cell, or -1
    std::vector<CellMask> classOcc, teacherOcc;
    std::vector<std::uint8_t> reqDay;  // req * Days + day
    std::vector<std::uint16_t> tPat;   // teacher * Days + day: periods taught (taken included)
    std::vector<int> reqCost, tCost;   // cached weighted costs
    long long totalCost = 0;

    std::vector<int> stamp;
    int stampNow = 0;
    std::vector<int> comp;
    std::vector<int> bumped; // lessons sent back by the last ejections
    std::vector<int> bumps;  // how often each lesson was sent back
    std::vector<int> tabuCell; // a lesson sent back does not return to its cell at once
    std::vector<long long> tabuUntil;
    std::vector<int> cuts, chainQueue;
    struct Try {
        int start, a, b, target;
    };
    std::vector<Try> tryList;

    bool stopped = false;

    bool timeUp() const
    {
        return opt.timeBudgetMs > 0 &&
               std::chrono::duration<double, std::milli>(Clock::now() - start).count() >= opt.timeBudgetMs;
    }
    bool shouldStop()
    {
        if (opt.cancel && opt.cancel->load(std::memory_order_relaxed)) {
            res.cancelled = true;
            stopped = true;
        } else if (timeUp())
            stopped = true;
        return stopped;
    }
    double elapsedMs() const { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

    void setUp();
    void dropSurplus(std::vector<int> candidates, int surplus, Reason reason);
    void preCheck();
    void place(int l, int cell);
    void unplace(int l);
    int reqFaults(int r) const;
    int teacherCost(int t) const;
    void recomputeAll();
    bool chain(int startLesson, int a, int b, int limit, bool cut = false);
    void sendBack(int e, long long step);
    void repair(int l, long long step);
    int bestCell(int l, CellMask options);
    void construct();
    bool settle();
    void improve();
    void report(Phase phase, long long iteration);
    void finish();
};

void Engine::setUp()
{
    classCount = int(in.classes.size());
    teacherCount = int(in.teachers.size());
    std::unordered_map<int, int> classIndex, teacherIndex;
    for (int i = 0; i < classCount; ++i) {
        classIndex.emplace(in.classes[i].id, i);
        classCells.push_back(in.classes[i].cells & AllCells);
    }
    for (int i = 0; i < teacherCount; ++i) {
        const TeacherInput &t = in.teachers[i];
        teacherIndex.emplace(t.id, i);
        teacherAvail.push_back(AllCells & ~t.unavailable & ~t.taken);
        teacherTaken.push_back(t.taken & AllCells & ~t.unavailable);
    }
    classAt.assign(classCount * Cells, -1);
    teacherAt.assign(teacherCount * Cells, -1);
    classOcc.assign(classCount, 0);
    teacherOcc.assign(teacherCount, 0);
    tPat.assign(teacherCount * Days, 0);
    for (int t = 0; t < teacherCount; ++t)
        for (CellMask m = teacherTaken[t]; m; m &= m - 1) {
            const int cell = std::countr_zero(m);
            tPat[t * Days + weekdayOf(cell)] |= std::uint16_t(1u << periodOf(cell));
        }

    res.plan = ChooseTeachers(in, &res.problems);

    // Requirements and their lessons; kept lessons take their places first.
    const int reqCount = int(in.requirements.size());
    std::map<std::pair<int, int>, int> reqIndex;
    for (int r = 0; r < reqCount; ++r) {
        const Requirement &req = in.requirements[r];
        auto c = classIndex.find(req.classId);
        const int cls = c == classIndex.end() ? -1 : c->second;
        reqCls.push_back(cls);
        reqSubject.push_back(req.subject);
        int days = 0;
        if (cls >= 0)
            for (int d = 0; d < Days; ++d)
                days += (classCells[cls] & dayCells(d)) ? 1 : 0;
        reqCap.push_back(days ? (req.periods + days - 1) / days : req.periods);
        reqIndex.emplace(std::make_pair(req.classId, req.subject), r);
        if (cls < 0)
            res.problems.push_back({Reason::UnknownClass, req.classId, 0, req.subject, req.periods});
        else
            res.planned += std::max(0, req.periods);
    }
    reqDay.assign(reqCount * Days, 0);

    std::map<std::tuple<int, int>, int> keptOf; // req, teacher -> kept lessons
    for (const Lesson &l : in.kept) {
        auto c = classIndex.find(l.classId);
        auto t = teacherIndex.find(l.teacher);
        auto r = reqIndex.find({l.classId, l.subject});
        if (c == classIndex.end() || t == teacherIndex.end()) {
            res.problems.push_back({c == classIndex.end() ? Reason::UnknownClass : Reason::UnknownTeacher, l.classId,
                                    l.teacher, l.subject, 1});
            invalidKept.push_back(l);
            continue;
        }
        const int cls = c->second, tch = t->second;
        const bool fits = l.cell >= 0 && l.cell < Cells && (classCells[cls] & bitOf(l.cell)) &&
                          (teacherAvail[tch] & bitOf(l.cell)) && classAt[cls * Cells + l.cell] < 0 &&
                          teacherAt[tch * Cells + l.cell] < 0;
        if (!fits || r == reqIndex.end()) {
            res.problems.push_back({Reason::KeptLessonInvalid, l.classId, l.teacher, l.subject, 1});
            invalidKept.push_back(l);
            continue;
        }
        Item it{cls, tch, r->second};
        it.kept = true;
        items.push_back(it);
        groupOf.push_back(-1);
        place(int(items.size()) - 1, l.cell);
        ++keptOf[{r->second, tch}];
    }

    // The lessons to place, grouped by class-subject and teacher.
    for (int r = 0; r < reqCount; ++r) {
        if (reqCls[r] < 0)
            continue;
        int remaining = in.requirements[r].periods;
        for (const Allocation &a : res.plan[r].allocations) {
            auto t = teacherIndex.find(a.teacher);
            if (t != teacherIndex.end())
                remaining -= keptOf[{r, t->second}];
        }
        for (const Allocation &a : res.plan[r].allocations) {
            auto t = teacherIndex.find(a.teacher);
            // Never more than the curriculum asks for, whatever the allocations say.
            const int n = std::min(a.periods - (t == teacherIndex.end() ? 0 : keptOf[{r, t->second}]), remaining);
            remaining -= std::max(0, n);
            if (n <= 0)
                continue;
            if (t == teacherIndex.end()) {
                res.problems.push_back({Reason::UnknownTeacher, in.requirements[r].classId, a.teacher,
                                        in.requirements[r].subject, n});
                res.unplaced.push_back({in.requirements[r].classId, in.requirements[r].subject, a.teacher, n,
                                        Reason::UnknownTeacher});
                continue;
            }
            Group g{reqCls[r], t->second, r, {}, 0};
            for (int i = 0; i < n; ++i) {
                g.items.push_back(int(items.size()));
                items.push_back(Item{reqCls[r], t->second, r});
                groupOf.push_back(int(groups.size()));
            }
            g.pending = n;
            groups.push_back(std::move(g));
        }
    }
    // Periods nobody could be found for.
    for (const Problem &p : res.problems)
        if (p.reason == Reason::NoTeacher)
            res.unplaced.push_back({p.classId, p.subject, 0, p.amount, Reason::NoTeacher});
    dayLimit.assign(teacherCount, 0);
    stamp.assign(items.size(), 0);
}

// Marks `surplus` lessons among the candidates as impossible, from the largest groups, so the
// search does not chase what counting already rules out.
void Engine::dropSurplus(std::vector<int> candidates, int surplus, Reason reason)
{
    std::vector<int> open;
    for (int l : candidates)
        if (!items[l].kept && !items[l].dropped)
            open.push_back(l);
    std::stable_sort(open.begin(), open.end(), [&](int a, int b) {
        const int ga = int(groups[groupOf[a]].items.size()), gb = int(groups[groupOf[b]].items.size());
        return ga > gb;
    });
    for (int i = 0; i < surplus && i < int(open.size()); ++i) {
        Item &it = items[open[i]];
        it.dropped = true;
        it.reason = reason;
        --groups[groupOf[open[i]]].pending;
    }
}

void Engine::preCheck()
{
    // A class whose curriculum exceeds its periods.
    std::vector<std::vector<int>> ofClass(classCount), ofTeacher(teacherCount);
    for (int l = 0; l < int(items.size()); ++l) {
        ofClass[items[l].cls].push_back(l);
        ofTeacher[items[l].tch].push_back(l);
    }
    for (int c = 0; c < classCount; ++c) {
        const int surplus = int(ofClass[c].size()) - std::popcount(classCells[c]);
        if (surplus > 0) {
            res.problems.push_back({Reason::ClassOverfull, in.classes[c].id, 0, 0, surplus});
            dropSurplus(ofClass[c], surplus, Reason::ClassOverfull);
        }
    }
    // A teacher allocated more periods than they can teach in the classes they teach.
    for (int t = 0; t < teacherCount; ++t) {
        CellMask where = 0;
        int n = 0;
        for (int l : ofTeacher[t]) {
            where |= classCells[items[l].cls];
            n += items[l].dropped ? 0 : 1;
        }
        const int surplus = n - std::popcount(where & teacherAvail[t]);
        if (surplus > 0) {
            res.problems.push_back({Reason::TeacherOverallocated, 0, in.teachers[t].id, 0, surplus});
            dropSurplus(ofTeacher[t], surplus, Reason::TeacherFull);
        }
    }
    // A class and a teacher with fewer common periods than lessons together, and a class with
    // more lessons than periods where any of its teachers can come.
    for (int c = 0; c < classCount; ++c) {
        std::map<int, std::vector<int>> byTeacher;
        CellMask reach = 0;
        int n = 0;
        for (int l : ofClass[c]) {
            if (items[l].dropped)
                continue;
            byTeacher[items[l].tch].push_back(l);
            reach |= teacherAvail[items[l].tch];
            ++n;
        }
        for (auto &[t, list] : byTeacher) {
            const int surplus = int(list.size()) - std::popcount(classCells[c] & teacherAvail[t]);
            if (surplus > 0) {
                res.problems.push_back({Reason::NoCommonPeriod, in.classes[c].id, in.teachers[t].id, 0, surplus});
                dropSurplus(list, surplus, Reason::NoCommonPeriod);
                n -= surplus;
            }
        }
        const int surplus = n - std::popcount(classCells[c] & reach);
        if (surplus > 0) {
            res.problems.push_back({Reason::NoCommonPeriod, in.classes[c].id, 0, 0, surplus});
            dropSurplus(ofClass[c], surplus, Reason::NoCommonPeriod);
        }
    }
    // The day limits: a teacher's week spread evenly over the days they can teach, rounded up.
    for (int t = 0; t < teacherCount; ++t) {
        int lessons = std::popcount(teacherTaken[t]), days = 0;
        CellMask where = 0;
        for (int l : ofTeacher[t]) {
            lessons += items[l].dropped ? 0 : 1;
            where |= classCells[items[l].cls];
        }
        for (int d = 0; d < Days; ++d)
            days += ((where & teacherAvail[t]) | teacherTaken[t]) & dayCells(d) ? 1 : 0;
        int limit = days ? (lessons + days - 1) / days : Periods;
        if (opt.teacherDayLimit > 0)
            limit = opt.teacherDayLimit;
        if (in.teachers[t].dayLimit > 0)
            limit = in.teachers[t].dayLimit;
        dayLimit[t] = limit;
    }
}

void Engine::place(int l, int cell)
{
    Item &it = items[l];
    it.cell = cell;
    classAt[it.cls * Cells + cell] = l;
    teacherAt[it.tch * Cells + cell] = l;
    classOcc[it.cls] |= bitOf(cell);
    teacherOcc[it.tch] |= bitOf(cell);
    ++reqDay[it.req * Days + weekdayOf(cell)];
    tPat[it.tch * Days + weekdayOf(cell)] |= std::uint16_t(1u << periodOf(cell));
}

void Engine::unplace(int l)
{
    Item &it = items[l];
    const int cell = it.cell;
    classAt[it.cls * Cells + cell] = -1;
    teacherAt[it.tch * Cells + cell] = -1;
    classOcc[it.cls] &= ~bitOf(cell);
    teacherOcc[it.tch] &= ~bitOf(cell);
    --reqDay[it.req * Days + weekdayOf(cell)];
    tPat[it.tch * Days + weekdayOf(cell)] &= std::uint16_t(~(1u << periodOf(cell)));
    it.cell = -1;
}

int Engine::reqFaults(int r) const
{
    int f = 0;
    for (int d = 0; d < Days; ++d)
        f += std::max(0, int(reqDay[r * Days + d]) - reqCap[r]);
    return f;
}

int Engine::teacherCost(int t) const
{
    int cost = 0;
    for (int d = 0; d < Days; ++d) {
        const unsigned pat = tPat[t * Days + d];
        if (!pat)
            continue;
        const int n = std::popcount(pat);
        const int span = 32 - std::countl_zero(pat) - std::countr_zero(pat);
        cost += WeightDay * std::max(0, n - dayLimit[t]) + WeightGap * (span - n);
    }
    return cost;
}

void Engine::recomputeAll()
{
    totalCost = 0;
    reqCost.assign(reqCls.size(), 0);
    tCost.assign(teacherCount, 0);
    for (int r = 0; r < int(reqCls.size()); ++r)
        totalCost += reqCost[r] = WeightSpread * reqFaults(r);
    for (int t = 0; t < teacherCount; ++t)
        totalCost += tCost[t] = teacherCost(t);
}

// The lessons in cells a and b linked to startLesson through a shared class or teacher: moving
// all of them to the other cell keeps every class and teacher single-booked. They are left in
// `comp`. False when the chain is longer than `limit`, or when one of them is kept or cannot go
// to the other cell; with `cut`, such a lesson (unless kept or the first) is put in `cuts`
// instead, to be sent back to the queue, and the chain goes on without it.
bool Engine::chain(int startLesson, int a, int b, int limit, bool cut)
{
    comp.clear();
    cuts.clear();
    if (++stampNow == 0) {
        std::fill(stamp.begin(), stamp.end(), 0);
        stampNow = 1;
    }
    stamp[startLesson] = stampNow;
    std::vector<int> &queue = chainQueue;
    queue.assign(1, startLesson);
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int x = queue[i];
        const Item &it = items[x];
        const int other = it.cell == a ? b : a;
        if (it.kept || !(classCells[it.cls] & teacherAvail[it.tch] & bitOf(other))) {
            if (!cut || it.kept || x == startLesson)
                return false;
            cuts.push_back(x);
            continue;
        }
        comp.push_back(x);
        for (int next : {classAt[it.cls * Cells + other], teacherAt[it.tch * Cells + other]}) {
            if (next >= 0 && stamp[next] != stampNow) {
                stamp[next] = stampNow;
                queue.push_back(next);
                if (int(queue.size()) > limit)
                    return false;
            }
        }
    }
    return true;
}

void Engine::sendBack(int e, long long step)
{
    tabuCell[e] = items[e].cell;
    tabuUntil[e] = step + 10 + rng.below(10);
    unplace(e);
    ++bumps[e];
    ++groups[groupOf[e]].pending;
    bumped.push_back(e);
}

// Finds a period for lesson l when none is free for both its class and its teacher. The
// candidates: swapping two cells along an alternating chain of class and teacher lessons (as
// in bipartite edge colouring: the class is free in one cell where the teacher is busy, the
// teacher free in the other), where a lesson that cannot take the other cell is sent back
// to the queue; or simply taking a cell and sending back the lessons in it. The cheapest wins:
// nothing sent back best, then the lessons sent back least often so far.
void Engine::repair(int l, long long step)
{
    const Item &it = items[l];
    const CellMask allowed = classCells[it.cls] & teacherAvail[it.tch];
    const CellMask classFree = allowed & ~classOcc[it.cls];
    const CellMask teacherFree = allowed & ~teacherOcc[it.tch];
    std::vector<Try> &tries = tryList;
    tries.clear();
    // From a cell where the lesson's class is free but its teacher busy (or the other way
    // round), the occupant's chain swaps with a cell where the other side is free.
    auto collect = [&](CellMask starts, const int *occupant, CellMask otherSideFree) {
        for (CellMask m = starts; m; m &= m - 1) {
            const int a = std::countr_zero(m);
            const int x = occupant[a];
            if (x < 0 || items[x].kept)
                continue;
            const CellMask fits = classCells[items[x].cls] & teacherAvail[items[x].tch];
            for (CellMask n = otherSideFree & fits; n; n &= n - 1)
                tries.push_back({x, a, std::countr_zero(n), a});
        }
    };
    collect(classFree, &teacherAt[it.tch * Cells], teacherAvail[it.tch] & ~teacherOcc[it.tch]);
    collect(teacherFree, &classAt[it.cls * Cells], classCells[it.cls] & ~classOcc[it.cls]);
    for (int i = int(tries.size()) - 1; i > 0; --i)
        std::swap(tries[i], tries[rng.below(i + 1)]);
    if (tries.size() > 64)
        tries.resize(64);

    auto cost = [&](int e) { return 10 + bumps[e]; };
    int bestKind = -1, bestScore = 0, bestCell = -1;
    Try bestTry{};
    for (const Try &t : tries) {
        if (!chain(t.start, t.a, t.b, 80, true))
            continue;
        int score = rng.below(12);
        for (int e : cuts)
            score += cost(e);
        if (tabuCell[l] == t.target && tabuUntil[l] > step)
            score += 1000;
        if (bestKind < 0 || score < bestScore) {
            bestKind = 0;
            bestScore = score;
            bestTry = t;
        }
        if (cuts.empty() && score < 12)
            break;
    }
    for (CellMask m = allowed; m; m &= m - 1) {
        const int cell = std::countr_zero(m);
        const int ec = classAt[it.cls * Cells + cell], et = teacherAt[it.tch * Cells + cell];
        if ((ec >= 0 && items[ec].kept) || (et >= 0 && items[et].kept))
            continue;
        int score = rng.below(12);
        if (ec >= 0)
            score += cost(ec);
        if (et >= 0 && et != ec)
            score += cost(et);
        if (tabuCell[l] == cell && tabuUntil[l] > step)
            score += 1000;
        if (bestKind < 0 || score < bestScore) {
            bestKind = 1;
            bestScore = score;
            bestCell = cell;
        }
    }
    if (bestKind < 0)
        return; // every allowed period holds a kept lesson: left for the report
    if (bestKind == 1) {
        for (int e : {classAt[it.cls * Cells + bestCell], teacherAt[it.tch * Cells + bestCell]})
            if (e >= 0 && items[e].cell >= 0)
                sendBack(e, step);
        place(l, bestCell);
        --groups[groupOf[l]].pending;
        return;
    }
    chain(bestTry.start, bestTry.a, bestTry.b, 80, true);
    const std::vector<int> out = cuts;
    std::vector<std::pair<int, int>> moves;
    for (int x : comp)
        moves.push_back({x, items[x].cell == bestTry.a ? bestTry.b : bestTry.a});
    for (int e : out)
        sendBack(e, step);
    for (auto &[x, cell] : moves)
        unplace(x);
    for (auto &[x, cell] : moves)
        place(x, cell);
    // The parity of the chain leaves the target free for both; should a chain ever reach back
    // into the lesson's own class or teacher, those lessons go back to the queue as well.
    for (int e : {classAt[it.cls * Cells + bestTry.target], teacherAt[it.tch * Cells + bestTry.target]})
        if (e >= 0 && items[e].cell >= 0)
            sendBack(e, step);
    place(l, bestTry.target);
    --groups[groupOf[l]].pending;
}

// The period for a lesson that has a choice: its subject's lightest day, the teacher's day
// within the limit and without new gaps.
int Engine::bestCell(int l, CellMask options)
{
    const Item &it = items[l];
    int best = -1, bestScore = 0;
    for (CellMask m = options; m; m &= m - 1) {
        const int cell = std::countr_zero(m);
        const int d = weekdayOf(cell);
        const int onDay = reqDay[it.req * Days + d];
        int score = onDay >= reqCap[it.req] ? 1000 * (onDay - reqCap[it.req] + 1) : 20 * onDay;
        const unsigned pat = tPat[it.tch * Days + d];
        const int n = std::popcount(pat);
        if (n >= dayLimit[it.tch])
            score += 100;
        const unsigned after = pat | (1u << periodOf(cell));
        auto gaps = [](unsigned p) {
            return p ? 32 - std::countl_zero(p) - std::countr_zero(p) - std::popcount(p) : 0;
        };
        score += 5 * (gaps(after) - gaps(pat)) + rng.below(4);
        if (best < 0 || score < bestScore) {
            best = cell;
            bestScore = score;
        }
    }
    return best;
}

void Engine::report(Phase phase, long long iteration)
{
    if (!opt.progress)
        return;
    Progress p;
    p.phase = phase;
    p.total = int(items.size());
    for (const Item &it : items)
        p.placed += it.cell >= 0 ? 1 : 0;
    if (phase == Phase::Improving) {
        for (int r = 0; r < int(reqCls.size()); ++r)
            p.spreadFaults += reqFaults(r);
        for (int t = 0; t < teacherCount; ++t)
            for (int d = 0; d < Days; ++d) {
                const unsigned pat = tPat[t * Days + d];
                if (pat) {
                    p.dayExcess += std::max(0, std::popcount(pat) - dayLimit[t]);
                    p.gaps += 32 - std::countl_zero(pat) - std::countr_zero(pat) - std::popcount(pat);
                }
            }
    }
    p.iteration = iteration;
    opt.progress(p);
}

void Engine::construct()
{
    const long long repairs = std::max(0LL, opt.placingEffort) * (long long)items.size();
    long long repaired = 0;
    tabuCell.assign(items.size(), -1);
    tabuUntil.assign(items.size(), 0);
    bumped.clear();
    bumps.assign(items.size(), 0);
    for (long long step = 0;; ++step) {
        if ((step & 63) == 0) {
            if (shouldStop())
                return;
            report(Phase::Placing, step);
        }
        // Lessons just sent back go first (the chain goes on from where it broke); otherwise the
        // most constrained group: fewest periods free for both its class and its teacher.
        int l = -1, g = -1;
        while (!bumped.empty() && l < 0) {
            if (items[bumped.back()].cell < 0)
                l = bumped.back();
            bumped.pop_back();
        }
        if (l >= 0) {
            g = groupOf[l];
        } else {
            int gFree = 0;
            for (int i = 0; i < int(groups.size()); ++i) {
                const Group &gr = groups[i];
                if (gr.pending <= 0)
                    continue;
                const int free = std::popcount(classCells[gr.cls] & teacherAvail[gr.tch] & ~classOcc[gr.cls] &
                                               ~teacherOcc[gr.tch]) -
                                 gr.pending;
                if (g < 0 || free < gFree) {
                    g = i;
                    gFree = free;
                }
            }
            if (g < 0)
                return;
            for (int x : groups[g].items)
                if (items[x].cell < 0 && !items[x].dropped) {
                    l = x;
                    break;
                }
            if (l < 0) { // nothing left to place in the group after all
                groups[g].pending = 0;
                continue;
            }
        }
        const Item &it = items[l];
        const CellMask free = classCells[it.cls] & teacherAvail[it.tch] & ~classOcc[it.cls] & ~teacherOcc[it.tch];
        if (free) {
            place(l, bestCell(l, free));
            --groups[g].pending;
        } else {
            if (repaired++ >= repairs)
                return;
            repair(l, step);
        }
    }
}

// When placing with chains stalls (schools whose teachers can teach only just the periods
// they have lessons in), a tabu search of the classic class-teacher kind takes over: every
// lesson sits in a period its teacher can teach, a teacher never twice in a period, and the
// lessons of one teacher swap periods (or move to a free one) until no class has two lessons
// in a period or one in a period it does not have.
bool Engine::settle()
{
    constexpr int Slots = 8; // lessons of one class in one period during the search, at most
    // Measured on exactly tight schools: a short tabu tenure and a score of candidate lessons a
    // move finish in well under a second where longer tenures keep circling a few faults.
    constexpr int settleSample = 20;
    constexpr int tenureBase = 2;
    const int n = int(items.size());
    std::vector<int> cellOfItem(n, -1);
    std::vector<int> tAt(teacherAt);
    std::vector<CellMask> tOcc(teacherOcc);
    for (int l = 0; l < n; ++l)
        if (!items[l].kept && items[l].cell >= 0) {
            cellOfItem[l] = items[l].cell;
            unplace(l);
        }
    // Lessons still waiting take a free period of their teacher, their class's free ones first.
    for (int l = 0; l < n; ++l) {
        const Item &it = items[l];
        if (it.kept || it.dropped || cellOfItem[l] >= 0)
            continue;
        const CellMask free = teacherAvail[it.tch] & ~tOcc[it.tch];
        if (!free)
            continue;
        CellMask best = free & classCells[it.cls] & ~classOcc[it.cls];
        if (!best)
            best = free & classCells[it.cls];
        if (!best)
            best = free;
        const int cell = rng.cellIn(best);
        cellOfItem[l] = cell;
        tAt[it.tch * Cells + cell] = l;
        tOcc[it.tch] |= bitOf(cell);
    }

    // Class periods: how many lessons, which ones, and the set of the faulty ones.
    std::vector<std::uint8_t> count(classCount * Cells, 0);
    std::vector<int> slot(std::size_t(classCount) * Cells * Slots, -1);
    std::vector<int> faultyPos(classCount * Cells, -1), faulty;
    auto weight = [&](int key, int k) {
        const int c = key / Cells, cell = key % Cells;
        return (classCells[c] & bitOf(cell)) ? std::max(0, k - 1) : k;
    };
    long long total = 0;
    auto touch = [&](int key) {
        const bool bad = weight(key, count[key]) > 0;
        if (bad && faultyPos[key] < 0) {
            faultyPos[key] = int(faulty.size());
            faulty.push_back(key);
        } else if (!bad && faultyPos[key] >= 0) {
            const int last = faulty.back();
            faulty[faultyPos[key]] = last;
            faultyPos[last] = faultyPos[key];
            faulty.pop_back();
            faultyPos[key] = -1;
        }
    };
    auto add = [&](int l, int cell) {
        const int key = items[l].cls * Cells + cell;
        total += weight(key, count[key] + 1) - weight(key, count[key]);
        slot[std::size_t(key) * Slots + count[key]] = l;
        ++count[key];
        touch(key);
    };
    auto remove = [&](int l, int cell) {
        const int key = items[l].cls * Cells + cell;
        total += weight(key, count[key] - 1) - weight(key, count[key]);
        int *s = &slot[std::size_t(key) * Slots];
        for (int i = 0; i < count[key]; ++i)
            if (s[i] == l) {
                s[i] = s[count[key] - 1];
                break;
            }
        --count[key];
        touch(key);
    };
    for (int l = 0; l < n; ++l) {
        const int cell = items[l].kept ? items[l].cell : cellOfItem[l];
        if (cell >= 0)
            add(l, cell);
    }

    std::vector<long long> tabu(std::size_t(n) * Cells, 0);
    long long best = total;
    std::vector<int> bestCells = cellOfItem;
    const long long limit = std::max(10LL, opt.placingEffort * 4) * (long long)n;
    for (long long iter = 1; iter <= limit && total > 0; ++iter) {
        if ((iter & 1023) == 0) {
            if (shouldStop())
                break;
            if ((iter & 65535) == 0 && opt.progress) {
                Progress p;
                p.phase = Phase::Placing;
                p.total = n;
                p.placed = n - int(total);
                p.iteration = iter;
                opt.progress(p);
            }
        }
        // The best move among those of a few lessons in faulty periods.
        int bestMove = -1, bestDelta = 0, ties = 0, l = -1;
        for (int sample = 0; sample < settleSample; ++sample) {
            const int key = faulty[rng.below(int(faulty.size()))];
            const int cand = slot[std::size_t(key) * Slots + rng.below(count[key])];
            if (items[cand].kept)
                continue;
            const int c = items[cand].cls, t = items[cand].tch, a = cellOfItem[cand];
            for (CellMask m = teacherAvail[t] & ~bitOf(a); m; m &= m - 1) {
                const int b = std::countr_zero(m);
                const int other = tAt[t * Cells + b];
                if (other >= 0 && items[other].kept)
                    continue;
                const int ka = c * Cells + a, kb = c * Cells + b;
                if (count[kb] >= Slots)
                    continue;
                int delta = weight(ka, count[ka] - 1) - weight(ka, count[ka]) + weight(kb, count[kb] + 1) -
                            weight(kb, count[kb]);
                if (other >= 0) {
                    const int co = items[other].cls;
                    if (co == c)
                        continue;
                    const int oa = co * Cells + a, ob = co * Cells + b;
                    if (count[oa] >= Slots)
                        continue;
                    delta += weight(ob, count[ob] - 1) - weight(ob, count[ob]) + weight(oa, count[oa] + 1) -
                             weight(oa, count[oa]);
                }
                const bool isTabu = tabu[std::size_t(cand) * Cells + b] > iter ||
                                    (other >= 0 && tabu[std::size_t(other) * Cells + a] > iter);
                if (isTabu && total + delta >= best)
                    continue;
                if (bestMove < 0 || delta < bestDelta) {
                    bestMove = b;
                    bestDelta = delta;
                    l = cand;
                    ties = 1;
                } else if (delta == bestDelta && rng.below(++ties) == 0) {
                    bestMove = b;
                    l = cand;
                }
            }
        }
        if (bestMove < 0)
            continue;
        const int t = items[l].tch, a = cellOfItem[l];
        const int b = bestMove;
        const int other = tAt[t * Cells + b];
        const long long tenure = tenureBase + rng.below(tenureBase) + std::min<long long>(20, int(faulty.size()) / 2);
        remove(l, a);
        add(l, b);
        cellOfItem[l] = b;
        tAt[t * Cells + b] = l;
        tOcc[t] |= bitOf(b);
        tabu[std::size_t(l) * Cells + a] = iter + tenure;
        if (other >= 0) {
            remove(other, b);
            add(other, a);
            cellOfItem[other] = a;
            tAt[t * Cells + a] = other;
            tabu[std::size_t(other) * Cells + b] = iter + tenure;
        } else {
            tAt[t * Cells + a] = -1;
            tOcc[t] &= ~bitOf(a);
        }
        if (total < best) {
            best = total;
            bestCells = cellOfItem;
        }
    }

    if (total > best)
        cellOfItem = bestCells;
    // Back to a sound week: a lesson whose period is taken in its class waits again.
    for (Group &g : groups)
        g.pending = 0;
    for (int l = 0; l < n; ++l) {
        Item &it = items[l];
        if (it.kept || it.dropped)
            continue;
        const int cell = cellOfItem[l];
        if (cell >= 0 && (classCells[it.cls] & bitOf(cell)) && classAt[it.cls * Cells + cell] < 0 &&
            teacherAt[it.tch * Cells + cell] < 0)
            place(l, cell);
        else
            ++groups[groupOf[l]].pending;
    }
    return total == 0;
}

void Engine::improve()
{
    std::vector<int> movable;
    for (int l = 0; l < int(items.size()); ++l)
        if (!items[l].kept && items[l].cell >= 0)
            movable.push_back(l);
    if (movable.empty())
        return;
    recomputeAll();
    long long bestCost = totalCost;
    bool currentIsBest = true;
    std::vector<int> bestCells(items.size(), -1);
    const long long planned = opt.iterations > 0 ? opt.iterations : 60LL * (long long)movable.size() + 20000;
    const double t0 = 3.0, t1 = 0.05;
    const long long stall = opt.stallIterations >= 0
                                ? opt.stallIterations
                                : std::clamp(40LL * (long long)movable.size(), 10000LL, 100000LL);
    long long sinceBest = 0, it = 0;
    std::vector<int> touchedReq, touchedT;
    std::vector<int> reqMark(reqCls.size(), 0), tMark(teacherCount, 0);
    int mark = 0;
    std::vector<std::pair<int, int>> moves;
    double temp = t0;
    report(Phase::Improving, 0);
    for (; it < planned && totalCost > 0; ++it) {
        if ((it & 1023) == 0) {
            temp = t0 * std::pow(t1 / t0, double(it) / double(planned));
            if (shouldStop())
                break;
            if ((it & 65535) == 0 && it > 0)
                report(Phase::Improving, it);
        }
        if (stall > 0 && sinceBest > stall)
            break;
        ++sinceBest;
        const int x = movable[rng.below(int(movable.size()))];
        const Item &item = items[x];
        const int a = item.cell;
        const CellMask to = classCells[item.cls] & teacherAvail[item.tch] & ~bitOf(a);
        if (!to)
            continue;
        const int b = rng.cellIn(to);
        if (!chain(x, a, b, 24))
            continue;
        ++mark;
        touchedReq.clear();
        touchedT.clear();
        long long before = 0;
        for (int l : comp) {
            const Item &c = items[l];
            if (reqMark[c.req] != mark) {
                reqMark[c.req] = mark;
                touchedReq.push_back(c.req);
                before += reqCost[c.req];
            }
            if (tMark[c.tch] != mark) {
                tMark[c.tch] = mark;
                touchedT.push_back(c.tch);
                before += tCost[c.tch];
            }
        }
        moves.clear();
        for (int l : comp)
            moves.push_back({l, items[l].cell == a ? b : a});
        for (auto &[l, cell] : moves)
            unplace(l);
        for (auto &[l, cell] : moves)
            place(l, cell);
        long long after = 0;
        for (int r : touchedReq)
            after += WeightSpread * reqFaults(r);
        for (int t : touchedT)
            after += teacherCost(t);
        const long long delta = after - before;
        if (delta <= 0 || rng.unit() < std::exp(-double(delta) / temp)) {
            if (delta > 0 && currentIsBest) {
                // Leaving the best week: remember it first (moves undone on a copy).
                for (auto &[l, cell] : moves)
                    unplace(l);
                for (auto &[l, cell] : moves)
                    place(l, cell == a ? b : a);
                for (int l = 0; l < int(items.size()); ++l)
                    bestCells[l] = items[l].cell;
                for (auto &[l, cell] : moves)
                    unplace(l);
                for (auto &[l, cell] : moves)
                    place(l, cell);
                currentIsBest = false;
            }
            for (int r : touchedReq)
                reqCost[r] = WeightSpread * reqFaults(r);
            for (int t : touchedT)
                tCost[t] = teacherCost(t);
            totalCost += delta;
            if (totalCost < bestCost) {
                bestCost = totalCost;
                currentIsBest = true;
                sinceBest = 0;
            }
        } else {
            for (auto &[l, cell] : moves)
                unplace(l);
            for (auto &[l, cell] : moves)
                place(l, cell == a ? b : a);
        }
    }
    res.iterations = it;
    if (!currentIsBest) {
        for (int l : movable)
            unplace(l);
        for (int l : movable)
            place(l, bestCells[l]);
    }
}

void Engine::finish()
{
    // The week.
    for (const Item &it : items)
        if (it.cell >= 0)
            res.lessons.push_back({in.classes[it.cls].id, in.teachers[it.tch].id, reqSubject[it.req], it.cell});
    for (const Lesson &l : invalidKept)
        res.lessons.push_back(l);
    std::sort(res.lessons.begin(), res.lessons.end(), [](const Lesson &a, const Lesson &b) {
        return std::tie(a.classId, a.cell, a.teacher, a.subject) < std::tie(b.classId, b.cell, b.teacher, b.subject);
    });

    // What could not be placed, and why.
    std::map<std::tuple<int, int, int, int>, int> missing; // class, subject, teacher, reason
    for (const Item &it : items) {
        if (it.cell >= 0)
            continue;
        Reason reason = it.reason;
        if (!it.dropped) {
            if (res.cancelled)
                reason = Reason::Cancelled;
            else if (!(teacherAvail[it.tch] & classCells[it.cls] & ~teacherOcc[it.tch]))
                reason = Reason::TeacherFull;
            else
                reason = Reason::NoCommonPeriod;
        }
        ++missing[{in.classes[it.cls].id, reqSubject[it.req], in.teachers[it.tch].id, int(reason)}];
    }
    for (auto &[key, n] : missing)
        res.unplaced.push_back(
            {std::get<0>(key), std::get<1>(key), std::get<2>(key), n, Reason(std::get<3>(key))});

    // Figures.
    std::vector<int> planned(classCount, 0), placed(classCount, 0), faults(classCount, 0);
    for (int r = 0; r < int(reqCls.size()); ++r) {
        if (reqCls[r] < 0)
            continue;
        planned[reqCls[r]] += in.requirements[r].periods;
        const int f = reqFaults(r);
        faults[reqCls[r]] += f;
        res.quality.spreadFaults += f;
    }
    for (const Item &it : items)
        placed[it.cls] += it.cell >= 0 ? 1 : 0;
    for (int c = 0; c < classCount; ++c) {
        res.classes.push_back({in.classes[c].id, planned[c], placed[c], faults[c]});
        res.placed += placed[c];
    }
    for (int t = 0; t < teacherCount; ++t) {
        bool over = false;
        for (int d = 0; d < Days; ++d) {
            const unsigned pat = tPat[t * Days + d];
            if (!pat)
                continue;
            const int n = std::popcount(pat);
            res.quality.dayExcess += std::max(0, n - dayLimit[t]);
            over = over || n > dayLimit[t];
            res.quality.gaps += 32 - std::countl_zero(pat) - std::countr_zero(pat) - n;
        }
        res.quality.teachersOverLimit += over ? 1 : 0;
    }
    for (const Violation &v : Validate(in, res.lessons, res.plan))
        res.clashes += (v.rule == Rule::ClassClash || v.rule == Rule::TeacherClash) ? 1 : 0;
}

Result Engine::run()
{
    report(Phase::Checking, 0);
    setUp();
    preCheck();
    report(Phase::Placing, 0);
    construct();
    bool complete = true;
    for (const Group &g : groups)
        complete = complete && g.pending <= 0;
    if (!complete && !stopped)
        settle();
    res.placingMs = elapsedMs();
    if (!stopped)
        improve();
    finish();
    res.totalMs = elapsedMs();
    if (opt.progress) {
        Progress p;
        p.phase = Phase::Done;
        p.placed = res.placed;
        p.total = int(items.size());
        p.spreadFaults = res.quality.spreadFaults;
        p.dayExcess = res.quality.dayExcess;
        p.gaps = res.quality.gaps;
        p.iteration = res.iterations;
        opt.progress(p);
    }
    return std::move(res);
}

} // namespace

Result Generate(const Snapshot &snapshot, const Options &options)
{
    Engine engine(snapshot, options);
    return engine.run();
}

} // namespace hx::gen
