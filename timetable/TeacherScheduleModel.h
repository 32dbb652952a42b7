#pragma once
// The teacher's week behind the teacher schedule window: the 54 cells with their lessons,
// colours and selection, the class-side double-booking test, undo, the class details view,
// the load figures and saving. No widgets here, so every rule can be checked directly.
#include "TimetableShared.h"
#include "TimetableStore.h"

#include <QList>
#include <QPair>
#include <QString>
#include <array>

namespace tt {

enum class CellColour { Selected, Free, Busy, Subject, Unavailable };
QColor ToColor(CellColour c);

// What a cell holds for the teacher: the caption the user reads and the ids it was made from,
// so saving never has to guess ids back from the caption text.
struct TeacherLesson {
    QString caption;      // class-section [CR class-section] CR subject text
    QList<int> classIds;  // one or two classes taught together
    int subid = 0;        // the subject title's uniqueid
    bool bold = false;    // loaded from a substitute row
    // The saved rows the cell was loaded from, all of them (three classes, substitutions),
    // written back as they are while the cell is not changed; empty once it is.
    store::LessonRows rows;
    bool isEmpty() const { return caption.isEmpty(); }
};

// One class choice box: its class-section text and classid; empty text means no selection.
struct ClassChoice {
    int id = 0;
    QString text;
    bool chosen() const { return !text.isEmpty(); }
};

struct LoadFigures {
    std::array<qint16, kDays> day{};
    std::array<qint16, kPeriods> period{};
    qint16 total = 0;
};

using ChartRows = QList<QPair<QString, int>>;

class TeacherScheduleModel {
public:
    TeacherScheduleModel();

    // Statements that fill the window's choice boxes (values bound in order).
    static QString TeacherListSql();
    static QString SubjectListSql(); // one value: teacherid
    static QString ClassListSql();   // one value: the subject's uniqueid

    // --- loading and choices ---------------------------------------------------------
    // Rebuilds the grid from the teacher's saved rows; discards unsaved work and undo.
    void loadTeacher(int teacherid, const QString &teacherName);
    int teacherId() const { return teacherId_; }
    QString teacherName() const { return teacherName_; }

    void setSubject(int uniqueid, const QString &text);
    void setClass(int box, const ClassChoice &choice); // box 1 or 2
    ClassChoice classChoice(int box) const { return box == 2 ? class2_ : class1_; }
    QString subjectText() const { return subjectText_; }

    // A class was chosen in box 1 or 2: colours from its period systems, the overlay of both
    // boxes' lessons, and the planned periods. Returns the message to show when the class has
    // no periods of the subject planned, empty otherwise (then the details view may be used).
    QString chooseClass(int box);
    bool classPlanned() const { return classPlanned_; }
    // Lays the chosen classes' saved lessons over the colours and tool tips.
    void fillFreeClass();

    // --- selection -------------------------------------------------------------------
    void clickCell(int cell);
    void clickPeriodHeading(int period);
    void resetSelection();
    bool wholePeriodSelected(int period) const { return wholePeriod_[period]; }

    // --- editing ---------------------------------------------------------------------
    enum class Check { Ok, NoSubject, NoClass, NoSecondClass };
    Check checkAssign(bool twoClasses) const;
    // Assigns the chosen classes and subject to the selected cells free of clashes; returns
    // the clash report ("Clashing with" + one line per clashing cell), empty when none.
    QString assign();
    int undoStep() const { return undoStep_; }
    bool canUndo() const { return undoStep_ > 0; }
    void undo();
    void clearSelected(); // the question is the window's
    void toggleClassDetails();
    bool classDetailsView() const { return classDetails_; }
    // Replaces the teacher's saved rows by the grid through the timetable store. When the
    // store refuses (the week changed elsewhere, or it clashes) or a statement fails, nothing
    // is written, the user is told why and the grid keeps its work, unless the user chose to
    // reload the saved week (then dirty() is false). True when saved.
    bool save();
    // Work in the grid that is not saved yet.
    bool dirty() const { return dirty_; }
    // The teacher's saved lessons and charts read again, the choices and their overlay kept.
    void reload();

    // --- figures ---------------------------------------------------------------------
    LoadFigures loads() const;
    int periodsAssigned(int box) const; // the subject's periods placed for the class of box
    QString totalText() const { return lblTot_; }
    QString assignedText() const { return lblAss_; }
    void refreshAssigned(int box = 1);
    const ChartRows &classChart() const { return classChart_; }
    const ChartRows &subjectChart() const { return subjectChart_; }

    // --- cells as shown --------------------------------------------------------------
    QString shownCaption(int cell) const;
    QString shownToolTip(int cell) const;
    CellColour colour(int cell) const { return colour_[cell]; }
    bool bold(int cell) const;
    bool selected(int cell) const { return colour_[cell] == CellColour::Selected; }
    const TeacherLesson &lesson(int cell) const { return lessons_[cell]; }
    QString overlay(int cell) const { return overlay_[cell]; }

private:
    void clearUndo();
    void readLessons();
    // The periods the teacher cannot teach: closed like a period the class has taken.
    void markNotAvailable();
    // The cells every chosen class has by its period systems.
    std::array<bool, kCells> chosenClassesCells() const;
    void loadCharts();
    int classIdOf(int box) const { return box == 2 ? class2_.id : class1_.id; }

    int teacherId_ = 0;
    QString teacherName_;
    int subjectId_ = 0;
    QString subjectText_;
    ClassChoice class1_, class2_;
    bool classPlanned_ = false;
    bool classDetails_ = false;
    bool dirty_ = false;
    store::LessonRows loaded_; // the teacher's rows as loaded, for the store's stale check
    quint64 notAvailable_ = 0; // bit per cell the teacher cannot teach

    std::array<TeacherLesson, kCells> lessons_;
    std::array<QString, kCells> overlay_;
    std::array<CellColour, kCells> colour_;
    std::array<bool, kPeriods> wholePeriod_{};

    std::array<TeacherLesson, kCells> undoLesson_;
    std::array<int, kCells> undoTag_{};
    int undoStep_ = 0;

    QString lblTot_, lblAss_;
    ChartRows classChart_, subjectChart_;
};

} // namespace tt
