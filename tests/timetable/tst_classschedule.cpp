// The class week as the editor holds it: loading, marking, selecting, assigning, undo,
// moving, loads, free teachers, the teacher view and saving.
#include "ClassScheduleModel.h"
#include "Lookups.h"
#include "tst_classschedule_school.h"

#include <QDate>

class TestClassSchedule : public QObject {
    Q_OBJECT
private slots:
    void loadingAClass();
    void subjectAndTeacherMarking();
    void selectingCells();
    void assigningAndUndo();
    void clearingCells();
    void movingLessons();
    void loadsAndPlacedPeriods();
    void freeTeachers();
    void teacherView();
    void saving();
    void failingSaveKeepsEverything();
};

static void selectCells(ClassScheduleModel &m, std::initializer_list<int> cells)
{
    for (int c : cells)
        m.press(c);
}

void TestClassSchedule::loadingAClass()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 1, 2, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 1, 2, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 3, 0, SmallSchool::Chand, SmallSchool::Physics, true);
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Anita, SmallSchool::Maths);

    const QVector<Pick> classes = ClassScheduleModel::classList();
    QCOMPARE(classes.size(), 2); // VII-A has no subjects
    QCOMPARE(classes[0].text, QString("VI-A"));
    QCOMPARE(classes[1].id, int(SmallSchool::VIB));

    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    int free = 0;
    for (int i = 0; i < tt::kCells; ++i) {
        const bool exists = tt::CellDay(i) < 5 && tt::CellPeriod(i) < 8;
        QCOMPARE(m.exists(i), exists);
        QCOMPARE(m.colour(i), exists ? CellColour::Free : CellColour::Unavailable);
        free += m.cellState(tt::CellDay(i), tt::CellPeriod(i)) == 0;
    }
    QCOMPARE(free, 40 - 2);
    QCOMPARE(m.cellState(5, 0), -1);
    QCOMPARE(m.cellState(0, 8), -1);

    // Two rows of one cell: four lines, the first row's lesson first.
    const int shared = tt::CellIndex(1, 2);
    QCOMPARE(shared, 13);
    QCOMPARE(m.caption(shared), lines({"Anita Rao", "Maths ", "Bela Sen", "English "}));
    QCOMPARE(m.cellState(1, 2), 1);
    QCOMPARE(m.lessons(shared)[1].teacherId, int(SmallSchool::Bela));
    QVERIFY(!m.substituteLook(shared));
    QVERIFY(m.substituteLook(tt::CellIndex(3, 0)));
    QCOMPARE(m.caption(tt::CellIndex(0, 0)), QString()); // VI-B's lesson is not VI-A's
    QCOMPARE(m.undoStep(), 0);
    QVERIFY(!m.dirty());
    QCOMPARE(m.windowCaption(), QString("Schedule of Class VI-A"));
    QVERIFY(log.messages.isEmpty());

    // A lesson whose subject title was removed still shows, as the look-up names it.
    db.exec("delete from subjtype where uniqueid = 3");
    m.loadClass(SmallSchool::VIA, "VI-A");
    QCOMPARE(m.caption(tt::CellIndex(3, 0)), lines({"Chand Das", "0"}));
    QCOMPARE(m.lessons(tt::CellIndex(3, 0))[0].subjectId, int(SmallSchool::Physics));
}

void TestClassSchedule::subjectAndTeacherMarking()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 1, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 2, 1, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 2, 1, SmallSchool::Anita, SmallSchool::Maths); // Maths second: not marked
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIB, 5, 3, SmallSchool::Anita, SmallSchool::Maths); // VI-A has no Saturday
    s.lesson(SmallSchool::VIIA, 4, 7, SmallSchool::Bela, SmallSchool::English);

    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    const QVector<Pick> teachers = m.chooseSubject(1, SmallSchool::maths());
    QCOMPARE(teachers.size(), 2);
    QCOMPARE(teachers[0].text, QString("Anita Rao"));
    QCOMPARE(teachers[1].id, int(SmallSchool::Bela));
    QCOMPARE(m.colour(tt::CellIndex(0, 1)), CellColour::Subject);
    QCOMPARE(m.colour(tt::CellIndex(2, 1)), CellColour::Free);
    QCOMPARE(m.colour(tt::CellIndex(5, 1)), CellColour::Unavailable);
    QCOMPARE(m.subjectHours(), std::optional<int>(5));
    QCOMPARE(m.lblTot(), QString("Total Periods Scheduled for Maths  : 5"));
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for Maths  : 2"));

    m.chooseTeacher(1, SmallSchool::anita());
    QCOMPARE(m.colour(0), CellColour::Busy);
    QCOMPARE(m.toolTip(0), lines({"VI-B", "Maths "}));
    QVERIFY(m.teacherBusy(0, 0));
    // Busy even where the class has no such period.
    const int saturday = tt::CellIndex(5, 3);
    QCOMPARE(m.colour(saturday), CellColour::Busy);
    QVERIFY(m.teacherBusy(5, 3));
    QVERIFY(!m.teacherBusy(4, 7)); // Bela's lesson
    QCOMPARE(m.colour(tt::CellIndex(0, 1)), CellColour::Subject); // the subject mark stays

    // Two teachers count together; choosing again clears the old marks and their tool-tips.
    m.setTwoSubjects(true);
    m.chooseSubject(2, SmallSchool::english());
    m.chooseTeacher(2, SmallSchool::bela());
    QCOMPARE(m.colour(tt::CellIndex(4, 7)), CellColour::Busy);
    QCOMPARE(m.colour(0), CellColour::Busy);
    m.chooseTeacher(1, Pick());
    QCOMPARE(m.colour(0), CellColour::Free);
    QCOMPARE(m.toolTip(0), QString());
    QVERIFY(!m.teacherBusy(0, 0));
    QCOMPARE(m.colour(tt::CellIndex(4, 7)), CellColour::Busy);

    // A subject without planned periods: the message, "0", and the placed count kept.
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for English  : 1")); // the labels follow box II too
    m.chooseSubject(1, SmallSchool::maths());
    db.exec("delete from classsubjects where classid = 1 and subid = 2");
    log.clear();
    m.chooseSubject(1, SmallSchool::english());
    QCOMPARE(log.texts(), QStringList{"No periods scheduled for English  subject"});
    QCOMPARE(m.lblTot(), QString("0"));
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for Maths  : 2"));
    QVERIFY(!m.subjectHours());

    // A subject nobody teaches changes nothing.
    db.exec("delete from teachersubjects where subid = 3");
    log.clear();
    QVERIFY(m.chooseSubject(1, SmallSchool::physics()).isEmpty());
    QVERIFY(log.messages.isEmpty());

    // Loading another class drops the busy marks of the teacher chosen before.
    m.loadClass(SmallSchool::VIB, "VI-B");
    QCOMPARE(m.toolTip(tt::CellIndex(4, 7)), QString());
    QVERIFY(!m.teacherBusy(4, 7));
}

void TestClassSchedule::selectingCells()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIB, 2, 1, SmallSchool::Anita, SmallSchool::Maths);
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::anita());

    // An occupied cell toggles like any other; it can be dragged.
    QVERIFY(m.press(0));
    QCOMPARE(m.colour(0), CellColour::Selected);
    QCOMPARE(m.selected(0), bool(1));
    QVERIFY(m.press(0));
    QCOMPARE(m.colour(0), CellColour::Free);
    QCOMPARE(m.selected(0), bool(0));
    QVERIFY(!m.press(1));
    QCOMPARE(m.colour(1), CellColour::Selected);
    // Busy and unavailable cells are not selected.
    const int busy = tt::CellIndex(2, 1);
    m.press(busy);
    QCOMPARE(m.colour(busy), CellColour::Busy);
    m.press(5);
    QCOMPARE(m.colour(5), CellColour::Unavailable);

    // Column II: Wednesday is busy, Saturday does not exist.
    m.press(tt::CellIndex(0, 1)); // already selected before the header click
    m.periodHeaderClick(1);
    QVERIFY(m.wholePeriodSelected(1));
    for (int d = 0; d < 6; ++d) {
        const CellColour want = d == 2 ? CellColour::Busy : d == 5 ? CellColour::Unavailable : CellColour::Selected;
        QCOMPARE(m.colour(tt::CellIndex(d, 1)), want);
    }
    m.press(tt::CellIndex(1, 1)); // unselected by hand
    m.periodHeaderClick(1);
    QVERIFY(!m.wholePeriodSelected(1));
    for (int d = 0; d < 5; ++d)
        QCOMPARE(m.colour(tt::CellIndex(d, 1)), d == 2 ? CellColour::Busy : CellColour::Free);

    m.resetSelection();
    QCOMPARE(m.selectedCount(), 0);
    QCOMPARE(m.selected(1), bool(0));
}

void TestClassSchedule::assigningAndUndo()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 3, 3, SmallSchool::Chand, SmallSchool::Physics);
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");

    // The checks, in order.
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Refused);
    QCOMPARE(log.last(), QString("Select subject"));
    m.chooseSubject(1, SmallSchool::maths());
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Refused);
    QCOMPARE(log.last(), QString("Select Teacher"));
    m.chooseTeacher(1, SmallSchool::anita());

    // Nothing selected: nothing changes and no step is counted.
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::NothingSelected);
    QVERIFY(!m.canUndo());
    QVERIFY(!m.dirty());

    selectCells(m, {0, 1, tt::CellIndex(3, 3)});
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Done);
    QCOMPARE(m.undoStep(), 1);
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));
    QCOMPARE(m.caption(tt::CellIndex(3, 3)), lines({"Anita Rao", "Maths "}));
    QCOMPARE(m.colour(0), CellColour::Selected); // the selection stays
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for Maths  : 3"));
    QVERIFY(m.dirty());

    // Second assignment to the same cells, with two lessons.
    m.setTwoSubjects(true);
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Refused);
    QCOMPARE(log.last(), QString("Select the second subject!"));
    m.chooseSubject(2, SmallSchool::maths());
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Refused); // teacher II still missing
    m.chooseTeacher(2, SmallSchool::anita());
    QCOMPARE(m.selectedCount(), 0); // choosing a subject ends the selection
    selectCells(m, {0, 1, tt::CellIndex(3, 3)});
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::SameSubject);
    QCOMPARE(log.last(), QString("You cannot assign same subject in a same period !"));
    m.chooseSubject(2, SmallSchool::english());
    m.chooseTeacher(2, SmallSchool::anita());
    selectCells(m, {0, 1, tt::CellIndex(3, 3)});
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::SameTeacher);
    QCOMPARE(log.last(), QString("You cannot assign same teacher !"));
    QCOMPARE(m.undoStep(), 1);
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));
    m.chooseTeacher(2, SmallSchool::bela());
    QCOMPARE(m.colour(0), CellColour::Selected); // still selected after marking
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Done);
    QCOMPARE(m.undoStep(), 2);
    QCOMPARE(m.caption(1), lines({"Anita Rao", "Maths ", "Bela Sen", "English "}));

    // Undo once: the first assignment's captions.
    m.undo();
    QCOMPARE(m.undoStep(), 1);
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));
    QVERIFY(m.canUndo());
    // Undo again: each cell remembered only its latest change, so none of them changes.
    m.undo();
    QCOMPARE(m.undoStep(), 0);
    QVERIFY(!m.canUndo());
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));
    QCOMPARE(m.caption(tt::CellIndex(3, 3)), lines({"Anita Rao", "Maths "}));

    // Undo of an assignment that replaced a lesson brings the lesson back, occupied.
    m.setTwoSubjects(false);
    m.resetSelection();
    const int c = tt::CellIndex(4, 4);
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::anita());
    m.press(tt::CellIndex(3, 3));
    m.press(c);
    m.assign();
    QCOMPARE(m.cellState(3, 3), 1);
    m.undo();
    QCOMPARE(m.caption(tt::CellIndex(3, 3)), lines({"Chand Das", "Science Physics"}));
    QCOMPARE(m.cellState(3, 3), 1);
    QCOMPARE(m.caption(c), QString());
    QCOMPARE(m.cellState(4, 4), 0);
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for Maths  : 0"));
}

void TestClassSchedule::clearingCells()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 1, 0, SmallSchool::Anita, SmallSchool::Maths);
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    selectCells(m, {0});

    log.answer(hx::MsgResult::No);
    QVERIFY(!m.clearSelected());
    QCOMPARE(log.last(), QString("This will clear the assignments. are you sure?"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));

    log.answer(hx::MsgResult::Yes);
    QVERIFY(m.clearSelected());
    QCOMPARE(m.caption(0), QString());
    QCOMPARE(m.colour(0), CellColour::Free);
    QCOMPARE(m.cellState(0, 0), 0);
    QCOMPARE(m.caption(1), lines({"Anita Rao", "Maths "}));
    QCOMPARE(m.totalLoad(), 1);
    QVERIFY(!m.canUndo()); // clearing is no undo step
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestClassSchedule::movingLessons()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 1, 0, SmallSchool::Chand, SmallSchool::Physics);
    s.lesson(SmallSchool::VIB, 2, 0, SmallSchool::Bela, SmallSchool::Maths); // only Bela is busy there
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");

    // Occupied and unavailable targets: nothing, and no message.
    QVERIFY(m.press(0));
    QVERIFY(!m.drop(0, 1));
    QVERIFY(!m.drop(0, 5));
    QVERIFY(!m.drop(0, 0));
    QVERIFY(log.messages.isEmpty());

    // The second teacher is busy at the target.
    QVERIFY(!m.drop(0, 2));
    QCOMPARE(log.texts(), QStringList{"Bela Sen is busy"});
    QCOMPARE(m.caption(2), QString());
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths ", "Bela Sen", "English "}));

    // A free target: the lesson moves, the press on the source is undone.
    QVERIFY(m.drop(0, 3));
    QCOMPARE(m.caption(3), lines({"Anita Rao", "Maths ", "Bela Sen", "English "}));
    QCOMPARE(m.lessons(3)[1].teacherId, int(SmallSchool::Bela));
    QCOMPARE(m.caption(0), QString());
    QCOMPARE(m.colour(0), CellColour::Free);
    QCOMPARE(m.cellState(0, 0), 0);
    QCOMPARE(m.cellState(3, 0), 1);
    QCOMPARE(m.dayLoad(3), 1);
    QVERIFY(!m.canUndo()); // a move is no undo step
    QVERIFY(m.dirty());

    // Undo never throws away a lesson that was moved into a cell after the step.
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::anita());
    m.press(tt::CellIndex(4, 4));
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Done);
    log.answer(hx::MsgResult::Yes);
    m.clearSelected();
    m.press(1);
    QVERIFY(m.drop(1, tt::CellIndex(4, 4)));
    m.undo();
    QCOMPARE(m.caption(tt::CellIndex(4, 4)), lines({"Chand Das", "Science Physics"}));
}

void TestClassSchedule::loadsAndPlacedPeriods()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    for (int p = 0; p < 5; ++p)
        s.lesson(SmallSchool::VIA, 0, p, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 2, 3, SmallSchool::Anita, SmallSchool::Maths);  // Maths first ...
    s.lesson(SmallSchool::VIA, 2, 3, SmallSchool::Bela, SmallSchool::English); // ... English second
    s.lesson(SmallSchool::VIA, 3, 3, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 3, 3, SmallSchool::Anita, SmallSchool::Maths); // Maths second
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    QCOMPARE(m.dayLoad(0), 5);
    QCOMPARE(m.dayLoadText(0), QString("\r\r5"));
    QCOMPARE(m.dayLoad(2), 1); // a two-lesson cell counts once
    QCOMPARE(m.dayLoad(5), 0);
    QCOMPARE(m.periodLoad(3), 3);
    QCOMPARE(m.totalLoad(), 7);
    // Every lesson of the subject counts, first or second in its cell.
    QCOMPARE(m.calPeriodAss(SmallSchool::Maths), 7);
    QCOMPARE(m.calPeriodAss(SmallSchool::English), 2);
    const std::array<int, 6> stress = m.calStress(SmallSchool::Maths);
    QCOMPARE(stress[0], 5);
    QCOMPARE(stress[2], 1);
    QCOMPARE(stress[3], 1);

    // The chart: every planned subject against its placed periods.
    QCOMPARE(m.chart().size(), 3);
    QCOMPARE(m.chart()[0].subject, QString("Maths "));
    QCOMPARE(m.chart()[0].scheduled, 5);
    QCOMPARE(m.chart()[0].assigned, 7);
    QCOMPARE(m.chart()[2].subject, QString("Science Physics"));
    QCOMPARE(m.chart()[2].assigned, 0);
    m.loadClass(SmallSchool::VIIA, "VII-A");
    QVERIFY(m.chart().isEmpty());
}

void TestClassSchedule::freeTeachers()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('EM5', 'Esha Mehta', 5)");
    db.exec("insert into teachersubjects values (5, 1, 6, 8)");
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 1, 0, SmallSchool::Anita, SmallSchool::Maths); // VI-A's own, saved
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::chand());
    m.press(tt::CellIndex(2, 0));
    m.assign(); // the grid's caption counts, unsaved
    m.chooseSubject(1, SmallSchool::physics());
    m.chooseTeacher(1, SmallSchool::chand());
    m.setTwoSubjects(true);
    m.chooseSubject(2, SmallSchool::english());
    m.chooseTeacher(2, SmallSchool::bela());
    m.press(tt::CellIndex(3, 0));
    QCOMPARE(m.assign(), ClassScheduleModel::AssignResult::Done);

    m.fillFreeTeacher();
    // Dev teaches no subject and is never free; Bela teaches VI-B on Monday I.
    QCOMPARE(FreeTeacherList[0], QString("Anita Rao / Chand Das / Esha Mehta"));
    QCOMPARE(m.alternateCaption(0), FreeTeacherList[0]);
    QCOMPARE(m.alternateToolTip(0), FreeTeacherList[0]);
    QCOMPARE(FreeTeacherList[1], QString("Bela Sen / Chand Das / Esha Mehta"));
    QCOMPARE(FreeTeacherList[2], QString("Anita Rao / Bela Sen / Esha Mehta"));
    QCOMPARE(FreeTeacherList[3], QString("Anita Rao / Esha Mehta")); // both lessons of the cell
    QCOMPARE(FreeTeacherList[53], QString("Anita Rao / Bela Sen / Chand Das / Esha Mehta"));

    // Choosing a subject narrows the empty cells to that subject's teachers.
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    QCOMPARE(m.alternateCaption(0), QString("Anita Rao / Esha Mehta"));
    QCOMPARE(m.alternateCaption(53), QString("Anita Rao / Bela Sen / Esha Mehta"));
    QCOMPARE(m.alternateCaption(1), QString("Bela Sen / Chand Das / Esha Mehta")); // has a lesson: kept
    QCOMPARE(m.alternateToolTip(0), FreeTeacherList[0]);
}

void TestClassSchedule::teacherView()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIB, 1, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIIA, 2, 4, SmallSchool::Anita, SmallSchool::Maths);
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::anita());
    QStringList captions, tips;
    for (int i = 0; i < tt::kCells; ++i) {
        captions << m.caption(i);
        tips << m.toolTip(i);
    }
    m.swapView();
    QVERIFY(m.showingTeacher());
    QCOMPARE(m.windowCaption(), QString("Schedule of teacher Anita Rao"));
    QCOMPARE(m.swapButtonCaption(), QString("Show Class Details"));
    QCOMPARE(m.caption(1), lines({"VI-B", "Maths "}));
    QCOMPARE(m.caption(tt::CellIndex(2, 4)), lines({"VII-A", "Maths "}));
    QCOMPARE(m.caption(0), QString());
    QCOMPARE(m.toolTip(0), lines({"Bela Sen", "English "}));
    QCOMPARE(m.totalLoad(), 2); // the teacher's lessons elsewhere
    QCOMPARE(m.dayLoad(0), 0);
    // Nothing of this class can be moved or saved while the teacher's lessons are shown.
    QVERIFY(!m.drop(1, 2));
    QVERIFY(!m.save());
    m.swapView();
    QVERIFY(!m.showingTeacher());
    for (int i = 0; i < tt::kCells; ++i) {
        QCOMPARE(m.caption(i), captions[i]);
        QCOMPARE(m.toolTip(i), tips[i]);
    }
    QCOMPARE(m.totalLoad(), 1);
    QCOMPARE(db.count("timeschedule"), 3);
}

void TestClassSchedule::saving()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 4, 7, SmallSchool::Chand, SmallSchool::Physics, true);
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    // A second teacher of the same name: saving must keep each lesson's own teacher.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('AR9', 'Anita Rao', 9)");
    db.exec("insert into teachersubjects values (9, 2, 6, 8)");

    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::bela());
    for (int i = 0; i < 30; ++i)
        m.press(i + (i >= 5 ? 1 : 0) + (i >= 10 ? 1 : 0) + (i >= 15 ? 1 : 0) + (i >= 20 ? 1 : 0) +
                (i >= 25 ? 1 : 0)); // 30 cells of periods I to VI, Monday to Friday
    QCOMPARE(m.selectedCount(), 30);
    m.assign();
    m.resetSelection();
    m.setTwoSubjects(true);
    m.chooseSubject(2, SmallSchool::english());
    m.chooseTeacher(2, {9, "Anita Rao"});
    m.press(tt::CellIndex(0, 7));
    m.press(tt::CellIndex(1, 7));
    m.assign();
    QCOMPARE(m.caption(tt::CellIndex(4, 7)), lines({"Chand Das", "Science Physics"}));

    QVERIFY(m.save());
    QCOMPARE(db.count("timeschedule", "classid = 1"), 30 + 2 * 2 + 1);
    QCOMPARE(db.count("cummtimeschedule"), 35);
    QCOMPARE(db.count("cummtimeschedule", "changedate = ? and substitute = 0 and classid = 1",
                      {QDate::currentDate().toString(Qt::ISODate)}),
             35);
    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 9 and subid = 2"), 2);
    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 1"), 0);
    QCOMPARE(db.count("timeschedule", "classid = 1 and period = 7 and weekday = 1"), 2);
    QCOMPARE(db.count("timeschedule", "substitute = 1"), 0); // the mark is not kept
    QCOMPARE(db.count("timeschedule", "classid = 2"), 1);    // other classes untouched
    // Reloaded: the substitute lesson shows plainly now, the undo steps start afresh.
    QVERIFY(!m.substituteLook(tt::CellIndex(4, 7)));
    QCOMPARE(m.caption(tt::CellIndex(1, 7)), lines({"Bela Sen", "Maths ", "Anita Rao", "English "}));
    QVERIFY(!m.canUndo());
    QVERIFY(!m.dirty());
    m.setTwoSubjects(false);
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::bela());
    m.press(tt::CellIndex(5, 0)); // VI-A has no Saturday
    m.press(tt::CellIndex(0, 6));
    m.assign();
    QCOMPARE(m.undoStep(), 1);

    // An empty grid: the class's rows go, the history gets nothing.
    m.loadClass(SmallSchool::VIA, "VI-A");
    for (int i = 0; i < tt::kCells; ++i)
        if (m.exists(i))
            m.press(i);
    log.answer(hx::MsgResult::Yes);
    m.clearSelected();
    QCOMPARE(m.totalLoad(), 0);
    QVERIFY(m.save());
    QCOMPARE(db.count("timeschedule", "classid = 1"), 0);
    QCOMPARE(db.count("cummtimeschedule"), 35);
    QCOMPARE(db.count("timeschedule"), 1);
    QVERIFY(log.texts().filter("Error").isEmpty());
}

void TestClassSchedule::failingSaveKeepsEverything()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 1, 0, SmallSchool::Bela, SmallSchool::English);
    db.exec("create trigger refuse before insert on cummtimeschedule when new.period = 5 "
            "begin select raise(abort, 'history is full'); end");
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::physics());
    m.chooseTeacher(1, SmallSchool::chand());
    m.press(tt::CellIndex(2, 1));
    m.press(tt::CellIndex(2, 5));
    m.assign();

    QVERIFY(!m.save());
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(log.last().contains("history is full"));
    // The database as before, the grid with its work and its undo step.
    QCOMPARE(db.count("timeschedule", "classid = 1"), 2);
    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 1 and period = 0 and weekday = 0"), 1);
    QCOMPARE(db.count("cummtimeschedule"), 0);
    QCOMPARE(m.caption(tt::CellIndex(2, 5)), lines({"Chand Das", "Science Physics"}));
    QCOMPARE(m.caption(0), lines({"Anita Rao", "Maths "}));
    QVERIFY(m.canUndo());
    QVERIFY(m.dirty());

    // Once the cause is gone the same grid saves.
    db.exec("drop trigger refuse");
    log.clear();
    QVERIFY(m.save());
    QCOMPARE(db.count("timeschedule", "classid = 1"), 4);
    QCOMPARE(db.count("cummtimeschedule"), 4);
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestClassSchedule)
#include "tst_classschedule.moc"
