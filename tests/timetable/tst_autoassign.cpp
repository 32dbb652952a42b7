// Automatic placing of a subject's missing periods in the class's week.
#include "AutoAssign.h"
#include "tst_classschedule_school.h"

class TestAutoAssign : public QObject {
    Q_OBJECT
private slots:
    void spreadsOverTheWeek();
    void busyTeacherAndFullDays();
    void runEndsWhenNothingFits();
    void refusals();
    void oneUndoStepPerRun();
};

static QList<int> cellsOf(const ClassScheduleModel &m, int subject)
{
    QList<int> out;
    for (int i = 0; i < tt::kCells; ++i)
        if (!m.lessons(i).isEmpty() && m.lessons(i).last().subjectId == subject)
            out << i;
    return out;
}

static void prepare(ClassScheduleModel &m, int classid, const QString &text)
{
    m.loadClass(classid, text);
    m.chooseSubject(1, SmallSchool::maths());
    m.chooseTeacher(1, SmallSchool::anita());
}

void TestAutoAssign::spreadsOverTheWeek()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    ClassScheduleModel m;
    prepare(m, SmallSchool::VIA, "VI-A");

    AutoAssign run(m);
    QCOMPARE(run.run(), AutoAssign::Result::Done);
    QCOMPARE(run.placed(), 5);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{0, 1, 2, 3, 4}));
    QCOMPARE(m.caption(2), lines({"Anita Rao", "Maths "}));
    QCOMPARE(m.lessons(2)[0].teacherId, int(SmallSchool::Anita));
    QCOMPARE(m.lblAss(), QString("Total Periods Assigned for Maths  : 5"));
    QCOMPARE(m.totalLoad(), 5);
    QCOMPARE(m.chart()[0].assigned, 5);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(run.run(), AutoAssign::Result::AlreadyAssigned);
    QCOMPARE(log.texts(), QStringList{"Periods already assigned"});
    QCOMPARE(m.undoStep(), 1);

    // Seven periods: the sixth to Monday II, the seventh to Tuesday II.
    db.exec("update classsubjects set hours = 7 where classid = 1 and subid = 1");
    prepare(m, SmallSchool::VIA, "VI-A");
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::Done);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{0, 1, 2, 3, 4, 6, 7}));

    // Periods placed before the run count: only the missing ones are added.
    prepare(m, SmallSchool::VIA, "VI-A");
    m.press(tt::CellIndex(2, 5));
    m.press(tt::CellIndex(4, 6));
    m.assign();
    AutoAssign again(m);
    QCOMPARE(again.run(), AutoAssign::Result::Done);
    QCOMPARE(again.placed(), 5);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{0, 1, 3, 6, 7, tt::CellIndex(2, 5), tt::CellIndex(4, 6)}));
}

void TestAutoAssign::busyTeacherAndFullDays()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    ClassScheduleModel m;
    prepare(m, SmallSchool::VIA, "VI-A");
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::Done);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{1, 2, 3, 4, 6}));

    // The busy marks are read again at the start of the run, not only at the teacher's choice.
    prepare(m, SmallSchool::VIA, "VI-A");
    s.lesson(SmallSchool::VIIA, 1, 0, SmallSchool::Anita, SmallSchool::Maths);
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::Done);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{2, 3, 4, 6, 7}));

    // A day showing 8 lessons takes none, even with a period free; a run that cannot place
    // everything says how many it placed.
    db.exec("insert into periodsystem values (2, 'Long', 9, 35, '08:00', 5, 15, 'AM')");
    db.exec("update classperiods set periodsysid = 2, days = '0,1' where classid = 3");
    db.exec("insert into classsubjects values (3, 1, 11, 7), (3, 2, 8, 7)");
    for (int p = 0; p < 8; ++p)
        s.lesson(SmallSchool::VIIA, 0, p, SmallSchool::Bela, SmallSchool::English);
    prepare(m, SmallSchool::VIIA, "VII-A");
    QCOMPARE(m.dayLoad(0), 8);
    AutoAssign run(m);
    QCOMPARE(run.run(), AutoAssign::Result::Partly);
    QCOMPARE(log.last(), QString("Only 8 are assigned")); // Tuesday I already held Maths
    QCOMPARE(run.placed(), 8);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{1, 7, 13, 19, 25, 31, 37, 43, 49}));
    QCOMPARE(m.cellState(0, 8), 0); // Monday IX stays free
    QCOMPARE(m.dayLoad(1), 9);      // loads refreshed at the end
    QCOMPARE(m.undoStep(), 1);
}

void TestAutoAssign::runEndsWhenNothingFits()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    // VI-A's Tuesday to Friday are full; on Monday the teacher teaches VI-B in every period.
    for (int d = 1; d < 5; ++d)
        for (int p = 0; p < 8; ++p)
            s.lesson(SmallSchool::VIA, d, p, SmallSchool::Bela, SmallSchool::English);
    for (int p = 0; p < 8; ++p)
        s.lesson(SmallSchool::VIB, 0, p, SmallSchool::Anita, SmallSchool::Maths);
    ClassScheduleModel m;
    prepare(m, SmallSchool::VIA, "VI-A");
    AutoAssign run(m);
    QCOMPARE(run.run(), AutoAssign::Result::Partly);
    QCOMPARE(log.texts(), QStringList{"Only 0 are assigned"});
    QCOMPARE(run.placed(), 0);
    QCOMPARE(m.undoStep(), 0);
    QVERIFY(!m.canUndo());

    // Some of Monday free for the teacher: those cells are taken, then the run ends.
    db.exec("delete from timeschedule where classid = 2 and period in (3, 6)");
    prepare(m, SmallSchool::VIA, "VI-A");
    log.clear();
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::Partly);
    QCOMPARE(log.texts(), QStringList{"Only 2 are assigned"});
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{18, 36}));

    // The last free cells of the week filled: "No periods left ".
    db.exec("delete from timeschedule where classid = 2");
    db.exec("delete from timeschedule where classid = 1 and weekday = 1 and period = 7");
    for (int p = 2; p < 8; ++p)
        s.lesson(SmallSchool::VIA, 0, p, SmallSchool::Chand, SmallSchool::Physics);
    prepare(m, SmallSchool::VIA, "VI-A");
    log.clear();
    AutoAssign last(m);
    QCOMPARE(last.run(), AutoAssign::Result::NoPeriodsLeft);
    QCOMPARE(log.texts(), QStringList{"No periods left "});
    QCOMPARE(last.placed(), 3);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{0, 6, tt::CellIndex(1, 7)}));
}

void TestAutoAssign::refusals()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIA, "VI-A");
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::NoSubject);
    QCOMPARE(log.last(), QString("Select Subject"));
    m.chooseSubject(1, SmallSchool::maths());
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::NoTeacher);
    QCOMPARE(log.last(), QString("Select teacher"));

    db.exec("delete from classsubjects where subid = 1");
    log.clear();
    prepare(m, SmallSchool::VIA, "VI-A");
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::NotPlanned);
    QCOMPARE(log.texts(), (QStringList{"No periods scheduled for Maths  subject", "Period not assigned"}));
    QCOMPARE(m.totalLoad(), 0);
    QVERIFY(!m.dirty());
}

void TestAutoAssign::oneUndoStepPerRun()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    db.exec("update classsubjects set hours = 3 where classid = 1 and subid = 1");
    s.lesson(SmallSchool::VIA, 2, 0, SmallSchool::Chand, SmallSchool::Physics);
    ClassScheduleModel m;
    prepare(m, SmallSchool::VIA, "VI-A");
    m.press(tt::CellIndex(4, 7));
    m.assign(); // step 1, one Maths period by hand
    QCOMPARE(AutoAssign(m).run(), AutoAssign::Result::Done);
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{0, 1, tt::CellIndex(4, 7)}));
    QCOMPARE(m.undoStep(), 2);
    m.undo();
    QCOMPARE(cellsOf(m, SmallSchool::Maths), (QList<int>{tt::CellIndex(4, 7)}));
    QCOMPARE(m.caption(2), lines({"Chand Das", "Science Physics"}));
    QCOMPARE(m.undoStep(), 1);
    m.undo();
    QVERIFY(cellsOf(m, SmallSchool::Maths).isEmpty());
    QVERIFY(!m.canUndo());
}

QTEST_MAIN(TestAutoAssign)
#include "tst_autoassign.moc"
