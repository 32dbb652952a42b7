// The hard rules of a week, checked lesson by lesson.
#include "Generator.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

namespace hx::gen {

std::vector<Violation> Validate(const Snapshot &snapshot, const std::vector<Lesson> &lessons,
                                const std::vector<RequirementPlan> &plan)
{
    std::vector<Violation> out;
    std::unordered_map<int, const ClassInput *> classById;
    for (const ClassInput &c : snapshot.classes)
        classById[c.id] = &c;
    std::unordered_map<int, const TeacherInput *> teacherById;
    for (const TeacherInput &t : snapshot.teachers)
        teacherById[t.id] = &t;

    std::map<std::pair<int, int>, int> periods; // class-subject -> periods a week
    for (const Requirement &r : snapshot.requirements)
        periods[{r.classId, r.subject}] += r.periods;
    std::map<std::tuple<int, int, int>, int> allocated; // class, subject, teacher -> periods
    for (const RequirementPlan &p : plan)
        for (const Allocation &a : p.allocations)
            allocated[{p.classId, p.subject, a.teacher}] += a.periods;

    std::unordered_map<int, CellMask> classBusy, teacherBusy;
    for (const TeacherInput &t : snapshot.teachers)
        teacherBusy[t.id] = t.taken;
    std::map<std::pair<int, int>, int> perSubject;
    std::map<std::tuple<int, int, int>, int> perTeacher;

    for (const Lesson &l : lessons) {
        auto c = classById.find(l.classId);
        auto t = teacherById.find(l.teacher);
        if (c == classById.end()) {
            out.push_back({Rule::UnknownClass, l});
            continue;
        }
        if (t == teacherById.end()) {
            out.push_back({Rule::UnknownTeacher, l});
            continue;
        }
        if (l.cell < 0 || l.cell >= Cells || !(c->second->cells & bitOf(l.cell))) {
            out.push_back({Rule::CellNotInClass, l});
            continue;
        }
        const CellMask bit = bitOf(l.cell);
        if (classBusy[l.classId] & bit)
            out.push_back({Rule::ClassClash, l});
        classBusy[l.classId] |= bit;
        if (teacherBusy[l.teacher] & bit)
            out.push_back({Rule::TeacherClash, l});
        teacherBusy[l.teacher] |= bit;
        if (t->second->unavailable & bit)
            out.push_back({Rule::TeacherUnavailable, l});

        auto p = periods.find({l.classId, l.subject});
        if (p == periods.end()) {
            out.push_back({Rule::NotInCurriculum, l});
            continue;
        }
        if (++perSubject[{l.classId, l.subject}] > p->second)
            out.push_back({Rule::AboveCurriculum, l});
        auto a = allocated.find({l.classId, l.subject, l.teacher});
        if (a == allocated.end())
            out.push_back({Rule::NotAllocated, l});
        else if (++perTeacher[{l.classId, l.subject, l.teacher}] > a->second)
            out.push_back({Rule::AboveAllocation, l});
    }

    // Every kept lesson is still there, as often as it was kept.
    std::vector<Lesson> have = lessons, kept = snapshot.kept;
    std::sort(have.begin(), have.end());
    std::sort(kept.begin(), kept.end());
    std::vector<Lesson> missing;
    std::set_difference(kept.begin(), kept.end(), have.begin(), have.end(), std::back_inserter(missing));
    for (const Lesson &l : missing)
        out.push_back({Rule::KeptLessonMoved, l});
    return out;
}

std::string describe(Reason reason)
{
    switch (reason) {
    case Reason::NoCommonPeriod: return "no period free for both the class and the teacher";
    case Reason::TeacherFull: return "the teacher's available periods are already full";
    case Reason::TeacherOverallocated: return "the teacher is allocated more periods than they can teach";
    case Reason::NoTeacher: return "no teacher for the subject";
    case Reason::ClassOverfull: return "the class's curriculum exceeds its periods";
    case Reason::AllocationAboveCurriculum: return "the allocations exceed the subject's periods a week";
    case Reason::UnknownTeacher: return "the teacher is not known";
    case Reason::UnknownClass: return "the class is not being generated";
    case Reason::KeptLessonInvalid: return "a kept lesson breaks a rule";
    case Reason::Cancelled: return "stopped before it was placed";
    }
    return {};
}

std::string describe(Rule rule)
{
    switch (rule) {
    case Rule::CellNotInClass: return "a lesson in a period the class does not have";
    case Rule::ClassClash: return "two lessons in one period of a class";
    case Rule::TeacherClash: return "a teacher in two places at once";
    case Rule::TeacherUnavailable: return "a lesson in a period the teacher cannot teach";
    case Rule::NotInCurriculum: return "a subject the class does not study";
    case Rule::AboveCurriculum: return "more lessons than the subject's periods a week";
    case Rule::NotAllocated: return "a teacher not allocated to the class-subject";
    case Rule::AboveAllocation: return "more lessons than the teacher's allocation";
    case Rule::KeptLessonMoved: return "a kept lesson was moved or removed";
    case Rule::UnknownClass: return "a class not being generated";
    case Rule::UnknownTeacher: return "a teacher not known";
    }
    return {};
}

} // namespace hx::gen
