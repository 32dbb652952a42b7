#pragma once
// The week of one class-section as the class schedule editor holds it until Save: the lessons
// of each cell (with the ids they were assigned with), the cells the class has, colours,
// selection, busy marks, undo steps, loads and the figures shown beside the grid.
// The window only draws this and forwards the user's actions.
#include "TimetableShared.h"

#include "TimetableStore.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

struct Lesson {
    int teacherId = 0;
    QString teacher;
    int subjectId = 0;
    QString subject;
    bool operator==(const Lesson &) const = default;
};
using Lessons = QVector<Lesson>;

enum class CellColour { Selected, Free, Busy, Subject, Unavailable };

// A choice in one of the boxes: the id kept as item data and the text shown.
struct Pick {
    int id = 0;
    QString text;
    bool chosen() const { return !text.isEmpty(); }
};

struct ChartRow {
    QString subject;
    int scheduled = 0;
    int assigned = 0;
};

class ClassScheduleModel {
public:
    ClassScheduleModel();

    // Classes that have subjects, as shown in the class box: text and classid.
    static QVector<Pick> classList();
    // Subjects of a class (text, uniqueid) and teachers of a subject (name, teacherid).
    static QVector<Pick> subjectList(int classid);
    static QVector<Pick> teacherList(int subjectUniqueId);

    // --- loading and choosing ------------------------------------------------------------
    void loadClass(int classid, const QString &classText);
    int classId() const { return classId_; }
    QString classText() const { return classText_; }
    bool hasClass() const { return classId_ != 0 || !classText_.isEmpty(); }

    // Choosing a subject in box 1 or 2: returns the teachers to offer (none chosen yet).
    // An empty list means the subject has no teacher and nothing else changed.
    QVector<Pick> chooseSubject(int box, const Pick &subject);
    // Choosing a teacher in box 1 or 2 (an empty pick clears the box).
    void chooseTeacher(int box, const Pick &teacher);
    void setTwoSubjects(bool on);
    bool twoSubjects() const { return twoSubjects_; }
    Pick subject(int box) const { return box == 2 ? subject2_ : subject1_; }
    Pick teacher(int box) const { return box == 2 ? teacher2_ : teacher1_; }
    std::optional<int> subjectHours() const { return hours_; }

    // --- the cells -----------------------------------------------------------------------
    // What the cell shows: its lessons, or in teacher view the teacher's other lesson there.
    QString caption(int cell) const;
    QString toolTip(int cell) const;
    // The class's own lessons of the cell, whatever the view.
    const Lessons &lessons(int cell) const { return cells_[cell].lessons; }
    QString lessonCaption(int cell) const;
    bool substituteLook(int cell) const { return cells_[cell].substitute; }
    CellColour colour(int cell) const { return cells_[cell].colour; }
    bool exists(int cell) const { return cells_[cell].exists; }
    // -1: the class has no such period; 0: free; 1: holds a lesson.
    int cellState(int day, int period) const;
    bool teacherBusy(int day, int period) const { return busy_[tt::CellIndex(day, period)]; }
    int selectedCount() const;
    bool selected(int cell) const { return cells_[cell].colour == CellColour::Selected; }

    // --- selection -----------------------------------------------------------------------
    // A press on a cell; returns whether the cell holds something that may be dragged.
    bool press(int cell);
    void periodHeaderClick(int period);
    void resetSelection();
    bool wholePeriodSelected(int period) const { return wholePeriod_[period]; }

    // --- changes -------------------------------------------------------------------------
    enum class AssignResult { Done, NothingSelected, Refused, SameSubject, SameTeacher };
    AssignResult assign();
    // Asks first; false when the user said No.
    bool clearSelected();
    void undo();
    bool canUndo() const { return undoStep_ > 0; }
    int undoStep() const { return undoStep_; }
    // Moves the lessons of `source` to the empty cell `target` when their teachers are free
    // there; returns false (after saying which teacher is busy, if one is) when nothing moved.
    bool drop(int source, int target);
    bool dirty() const { return dirty_; }

    // --- figures -------------------------------------------------------------------------
    int dayLoad(int day) const { return dayLoad_[day]; }
    int periodLoad(int period) const { return periodLoad_[period]; }
    int totalLoad() const { return totalLoad_; }
    QString dayLoadText(int day) const;
    // Cells whose (last) lesson is of the subject.
    int calPeriodAss(int subjectUniqueId) const;
    // Per day, cells whose (last) lesson is of the subject.
    std::array<int, tt::kDays> calStress(int subjectUniqueId) const;
    const QVector<ChartRow> &chart() const { return chart_; }
    QString lblTot() const { return lblTot_; }
    QString lblAss() const { return lblAss_; }

    // "Get Latest Information": fills FreeTeacherList and the free-teacher grid.
    void fillFreeTeacher();
    QString alternateCaption(int cell) const { return altCaption_[cell]; }
    QString alternateToolTip(int cell) const { return altTip_[cell]; }

    // --- teacher view --------------------------------------------------------------------
    void swapView();
    bool showingTeacher() const { return showingTeacher_; }
    QString swapButtonCaption() const;
    QString windowCaption() const;

    // --- saving --------------------------------------------------------------------------
    // Replaces the class's lessons with the grid's through the timetable store and reloads
    // the class. When the store refuses (the week changed elsewhere, or it clashes) or a
    // statement fails, nothing is written, the user is told why and the grid keeps its work,
    // unless the user chose to reload the saved week (then dirty() is false). True when saved.
    bool save();
    // Busy marks and tool-tips drawn again from the saved timetable; the week is untouched.
    void refreshMarks();

    // Used by automatic assignment.
    void recordUndo(int cell, int step);
    void setLessons(int cell, const Lessons &lessons);
    void finishStep(bool changed);
    void markTeacherBusy(int teacherId);
    void showWorkLoad();
    void showChart();
    void refreshAssigned();
    void setDirty() { dirty_ = true; }

private:
    struct Cell {
        Lessons lessons;
        bool exists = false;
        bool substitute = false;
        CellColour colour = CellColour::Free;
        QString tip;           // busy marking: other class, CR, subject
        Lessons undoBefore;    // lessons before the latest step that changed the cell
        Lessons undoAfter;     // what that step put there
        int undoTag = 0;       // that step's number, 0 when none
    };

    // A lesson of the chosen teacher(s) in another class, by cell.
    struct OtherLesson {
        QString cls, subject, teacher;
        bool notAvailable = false; // a period the teacher cannot teach, rather than another lesson
    };
    QVector<int> chosenTeachers() const;
    QHash<int, OtherLesson> otherLessons(const QVector<int> &teachers) const;
    // Colours, busy marks and tool-tips from scratch; a selection survives where the cell
    // stays selectable when keepSelection is set.
    void markCells(bool keepSelection);
    static QString render(const Lessons &lessons);
    void narrowFreeTeachers(const QVector<Pick> &teachers);

    std::array<Cell, tt::kCells> cells_{};
    std::array<bool, tt::kCells> busy_{};
    std::array<bool, tt::kPeriods> wholePeriod_{};
    std::array<int, tt::kDays> dayLoad_{};
    std::array<int, tt::kPeriods> periodLoad_{};
    int totalLoad_ = 0;
    std::array<QString, tt::kCells> altCaption_{};
    std::array<QString, tt::kCells> altTip_{};
    QVector<ChartRow> chart_;
    store::LessonRows loaded_;  // the class's rows as loaded, for the store's stale check
    store::LessonRows outside_; // loaded rows the grid has no cell for, written back as they are

    int classId_ = 0;
    QString classText_;
    Pick subject1_, subject2_, teacher1_, teacher2_;
    bool twoSubjects_ = false;
    std::optional<int> hours_;
    QString lblTot_, lblAss_;
    int undoStep_ = 0;
    bool showingTeacher_ = false;
    bool dirty_ = false;
};
