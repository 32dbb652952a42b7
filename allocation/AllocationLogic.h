#pragma once
// What "Teaching Allocation" does, apart from drawing it: a class's curriculum with its
// teachers, the teachers to offer for a subject, the per-teacher view, "Suggest Teachers",
// "From Timetable", and a teacher's week of availability.
#include "AllocationBook.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace alloc {

// An entry of a box: the id kept as item data and the text shown.
struct Item {
    int id = 0;
    QString text;
};

struct Share {
    int teacherId = 0;
    QString teacher;
    int hours = 0;
};

// One subject of the chosen class: its curriculum and who takes its periods.
struct CurriculumLine {
    int subjectId = 0;
    QString subject;
    int periods = 0; // a week; 0 when the subject left the curriculum but still has allocations
    int level = 0;
    bool inCurriculum = true;
    QVector<Share> teachers;
    int allocated() const;
    int unallocated() const { return std::max(0, periods - allocated()); }
    QString teachersText() const; // "Asha Sharma 4, Ravi Rao 2"
};

// A teacher offered for a class-subject, with what they carry.
struct Offer {
    int teacherId = 0;
    QString name;
    int allocated = 0; // periods over the whole school
    int available = 0; // periods of the school's week the teacher can teach
    int distance = 0;  // of the class's level from the teacher's preferred levels
    QString text() const; // "Asha Sharma (24 of 48)"
};

struct PlanLine {
    int classId = 0;
    QString classText;
    int subjectId = 0;
    QString subject;
    int teacherId = 0;
    QString teacher;
    int periods = 0;
};

class AllocationLogic {
public:
    // Class-sections that have a curriculum or allocations, in the school's order.
    static QVector<Item> classList();
    static QVector<Item> teacherList();

    void loadClass(int classid);
    int classId() const { return classId_; }
    const QVector<CurriculumLine> &lines() const { return lines_; }
    const CurriculumLine *line(int subjectId) const;

    // The teachers who teach the subject, best first: preferred levels nearest the class-subject's
    // level, then the lightest load against their availability.
    QVector<Offer> offers(int subjectId) const;
    // Sets the teacher's periods of the chosen class's subject (0 removes them) and reloads.
    bool allocate(int subjectId, int teacherId, int periods);

    // The per-teacher view: class, subject, periods; and the line under it.
    static QVector<QStringList> teacherAllocations(int teacherid);
    static QString teacherTotal(int teacherid);

    // Teachers for every class-subject of the chosen class (or of the whole school) that is not
    // fully allocated, chosen as the generator chooses them. Nothing is written until savePlan.
    const QVector<PlanLine> &suggest(bool wholeSchool);
    const QVector<PlanLine> &plan() const { return plan_; }
    QStringList planNotes() const { return planNotes_; }
    int planPeriods() const;
    bool savePlan();
    void discardPlan();

    // Asks first; replaces the allocations of the class (or school) with the timetable's.
    bool fromTimetable(bool wholeSchool);

private:
    int classId_ = 0;
    QVector<CurriculumLine> lines_;
    QVector<PlanLine> plan_;
    QStringList planNotes_;
};

// A teacher's week on the "Availability" tab.
class AvailabilityModel {
public:
    void loadTeacher(int teacherid);
    int teacherId() const { return teacherId_; }
    bool unavailable(int cell) const { return (unavailable_ >> cell) & 1; }
    bool inSchoolWeek(int cell) const { return (school_ >> cell) & 1; }
    // The teacher's lessons in the cell, "VII-A" CR "Maths" (several joined).
    QString lessons(int cell) const { return lessons_[cell]; }
    QString toolTip(int cell) const;
    // The cells of the rectangle between two cells of the grid (one cell for a click).
    static QVector<int> span(int from, int to);
    // A click or a drag from `from` to `to`: every cell of the span becomes the opposite of what
    // `from` was. Written at once; false when nothing was written.
    bool apply(int from, int to);
    QString summary() const;

private:
    int teacherId_ = 0;
    CellMask unavailable_ = 0;
    CellMask school_ = 0;
    int allocated_ = 0;
    std::array<QString, 54> lessons_{};
};

} // namespace alloc
