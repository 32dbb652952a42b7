// Choosing teachers for class-subjects that have none: preferred levels first, then balance.
#include "Generator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <tuple>
#include <unordered_map>

namespace hx::gen {

int levelDistance(int level, const TeacherSubject &ts)
{
    const int lo = std::min(ts.mostPreferred, ts.leastPreferred);
    const int hi = std::max(ts.mostPreferred, ts.leastPreferred);
    if (level < lo)
        return lo - level;
    if (level > hi)
        return level - hi;
    return 0;
}

std::vector<RequirementPlan> ChooseTeachers(const Snapshot &snapshot, std::vector<Problem> *problems)
{
    std::unordered_map<int, const ClassInput *> classById;
    CellMask schoolCells = 0;
    for (const ClassInput &c : snapshot.classes) {
        classById[c.id] = &c;
        schoolCells |= c.cells;
    }
    std::unordered_map<int, int> teacherIndex;
    for (int i = 0; i < int(snapshot.teachers.size()); ++i)
        teacherIndex.emplace(snapshot.teachers[i].id, i);
    const int teacherCount = int(snapshot.teachers.size());

    // What each teacher can teach at most, and what is already theirs.
    // A teacher's periods count only where the classes they teach have lessons.
    std::vector<int> capacity(teacherCount), load(teacherCount, 0);
    std::vector<CellMask> avail(teacherCount), where(teacherCount, 0);
    for (int i = 0; i < teacherCount; ++i) {
        const TeacherInput &t = snapshot.teachers[i];
        avail[i] = AllCells & ~t.unavailable & ~t.taken;
        capacity[i] = std::popcount(schoolCells & avail[i]);
    }
    auto cellsOf = [&](int classId) {
        auto c = classById.find(classId);
        return c == classById.end() ? CellMask(0) : c->second->cells;
    };

    // Kept lessons per class-subject and teacher.
    std::map<std::tuple<int, int, int>, int> keptCount;
    for (const Lesson &l : snapshot.kept)
        ++keptCount[{l.classId, l.subject, l.teacher}];

    const int reqCount = int(snapshot.requirements.size());
    std::vector<RequirementPlan> plan(reqCount);
    std::vector<int> need(reqCount, 0);
    for (int r = 0; r < reqCount; ++r) {
        const Requirement &req = snapshot.requirements[r];
        RequirementPlan &p = plan[r];
        p.classId = req.classId;
        p.subject = req.subject;
        p.allocations = req.allocations;
        // A kept lesson by a teacher outside the allocations still teaches the class-subject.
        for (auto it = keptCount.lower_bound({req.classId, req.subject, INT32_MIN});
             it != keptCount.end() && std::get<0>(it->first) == req.classId && std::get<1>(it->first) == req.subject;
             ++it) {
            const int teacher = std::get<2>(it->first);
            auto a = std::find_if(p.allocations.begin(), p.allocations.end(),
                                  [&](const Allocation &x) { return x.teacher == teacher; });
            if (a == p.allocations.end())
                p.allocations.push_back({teacher, it->second});
            else
                a->periods = std::max(a->periods, it->second);
        }
        int sum = 0;
        for (const Allocation &a : p.allocations) {
            sum += a.periods;
            auto t = teacherIndex.find(a.teacher);
            if (t != teacherIndex.end()) {
                load[t->second] += a.periods;
                where[t->second] |= cellsOf(req.classId);
            }
        }
        if (sum > req.periods && problems)
            problems->push_back({Reason::AllocationAboveCurriculum, req.classId, 0, req.subject, sum - req.periods});
        need[r] = std::max(0, req.periods - sum);
    }

    // Candidates per subject.
    std::map<int, std::vector<std::pair<int, const TeacherSubject *>>> candidates;
    for (int i = 0; i < teacherCount; ++i)
        for (const TeacherSubject &ts : snapshot.teachers[i].subjects)
            candidates[ts.subject].push_back({i, &ts});

    // What each teacher would carry if the open periods were shared out one by one to whoever
    // is least loaded for what they can teach, the scarcest subjects first. A teacher above that
    // loses preference by as much as they would carry above it (a fifth, at least 6, is free), so the
    // loads stay even and the levels decide among the teachers with room.
    std::map<int, int> demand;
    for (int r = 0; r < reqCount; ++r)
        if (need[r] > 0)
            demand[snapshot.requirements[r].subject] += need[r];
    std::vector<std::tuple<double, int, int>> scarcity; // supply per period asked, subject, demand
    for (auto &[subject, periods] : demand) {
        auto list = candidates.find(subject);
        if (list == candidates.end())
            continue;
        double supply = 0;
        for (auto &[t, ts] : list->second)
            supply += std::max(0, capacity[t] - load[t]);
        scarcity.emplace_back(supply / periods, subject, periods);
    }
    std::sort(scarcity.begin(), scarcity.end());
    std::vector<int> target = load;
    for (auto &[ratio, subject, periods] : scarcity) {
        const auto &list = candidates[subject];
        for (int unit = 0; unit < periods; ++unit) {
            int best = -1;
            for (auto &[t, ts] : list)
                if (target[t] < capacity[t] &&
                    (best < 0 || (long long)(target[t] + 1) * capacity[best] < (long long)(target[best] + 1) * capacity[t]))
                    best = t;
            if (best < 0)
                break;
            ++target[best];
        }
    }
    std::vector<int> balanced(teacherCount);
    for (int i = 0; i < teacherCount; ++i)
        balanced[i] = target[i] + std::max(6, target[i] / 5);

    // The hardest requirements choose first: fewest candidates, then most periods.
    std::vector<int> order;
    for (int r = 0; r < reqCount; ++r)
        if (need[r] > 0)
            order.push_back(r);
    auto candidateCount = [&](int r) {
        auto it = candidates.find(snapshot.requirements[r].subject);
        return it == candidates.end() ? 0 : int(it->second.size());
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ca = candidateCount(a), cb = candidateCount(b);
        if (ca != cb)
            return ca < cb;
        return need[a] > need[b];
    });

    for (int r : order) {
        const Requirement &req = snapshot.requirements[r];
        auto cls = classById.find(req.classId);
        const int level = cls == classById.end() ? 1 : cls->second->level;
        auto list = candidates.find(req.subject);
        while (need[r] > 0 && list != candidates.end()) {
            int best = -1;
            std::tuple<int, int, int, int, int, long long, int> bestKey;
            const CellMask classCells = cellsOf(req.classId);
            for (auto &[t, ts] : list->second) {
                const int reach = std::popcount(avail[t] & (where[t] | classCells));
                const int room = reach - load[t];
                if (room <= 0)
                    continue;
                // A teacher who already has the class-subject (a kept lesson) keeps it.
                const bool already = std::any_of(plan[r].allocations.begin(), plan[r].allocations.end(),
                                                 [&](const Allocation &a) { return a.teacher == snapshot.teachers[t].id; });
                const int after = load[t] + need[r];
                // A teacher filled to the last period leaves the week no room to move.
                const bool nearlyFull = after * 10 > reach * 9;
                const auto key = std::make_tuple(room < need[r] ? 1 : 0, already ? 0 : 1, std::max(0, after - balanced[t]) + nearlyFull,
                                                 levelDistance(level, *ts), std::abs(level - ts->mostPreferred),
                                                 (long long)after * 100000 / std::max(1, capacity[t]),
                                                 snapshot.teachers[t].id);
                if (best < 0 || key < bestKey) {
                    best = t;
                    bestKey = key;
                }
            }
            if (best < 0)
                break;
            const int take = std::min(need[r], std::popcount(avail[best] & (where[best] | classCells)) - load[best]);
            where[best] |= classCells;
            auto own = std::find_if(plan[r].allocations.begin(), plan[r].allocations.end(),
                                    [&](const Allocation &a) { return a.teacher == snapshot.teachers[best].id; });
            if (own != plan[r].allocations.end())
                own->periods += take;
            else
                plan[r].allocations.push_back({snapshot.teachers[best].id, take});
            load[best] += take;
            need[r] -= take;
        }
        if (need[r] > 0 && problems)
            problems->push_back({Reason::NoTeacher, req.classId, 0, req.subject, need[r]});
    }
    return plan;
}

} // namespace hx::gen
