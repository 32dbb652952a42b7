#pragma once
// Who teaches how many periods of each class-subject (classsubjectteachers), and the periods a
// teacher cannot teach (teacherunavailable): reading them, and every change of them, each one
// transaction checked against what the database holds at that moment.
#include <QHash>
#include <QString>
#include <QVector>

namespace alloc {

using CellMask = quint64; // bit (period * 6 + week-day): the cell is in the set

struct Allocation {
    int classId = 0;
    int subjectId = 0; // a subject title's uniqueid
    int teacherId = 0;
    int hours = 0;
    bool operator==(const Allocation &) const = default;
};

// The cells of each class's week, from its period systems.
QHash<int, CellMask> ClassWeeks();
// The cells where any class has a period: the most a teacher can be asked to teach.
CellMask SchoolWeek(const QHash<int, CellMask> &weeks);
// Teachers with periods they cannot teach.
QHash<int, CellMask> UnavailableByTeacher();
// Allocations of one class, or of the whole school for 0.
QVector<Allocation> Allocations(int classid = 0);
// Allocated periods per teacher over the whole school.
QHash<int, int> AllocatedByTeacher();

// Sets a teacher's periods of a class-subject (0 removes them). Refused, with a message and
// nothing written, when the teacher or the class-subject no longer exists or the class-subject's
// allocations would exceed its periods a week.
bool SetHours(int classid, int subid, int teacherid, int hours);
// Adds the periods of every line to what the teacher has of that class-subject, all or nothing.
bool AddPlan(const QVector<Allocation> &lines);
// Replaces the allocations of the class (0: every class) with who teaches how many periods of each
// class-subject in the timetable now. Periods above a class-subject's curriculum are left out
// (from the teacher with most); `left` tells how many.
bool TakeFromTimetable(int classid, int *taken = nullptr, int *left = nullptr);
// Marks the cells as periods the teacher cannot teach, or clears the marks.
bool SetUnavailable(int teacherid, const QVector<int> &cells, bool unavailable);

} // namespace alloc
