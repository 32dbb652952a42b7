#include "AllocationSchool.h"
#include "FrmAllocation.h"
#include "FrmClassSchedule.h"
#include "FrmTeacherSchedule.h"
#include "MDISchedule.h"
#include "TimetableShared.h"
#include "UserInput.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace school;

class TestAllocationWindow : public QObject {
    Q_OBJECT
private slots:
    void teachersForSubjects();
    void availabilityByClickAndDrag();
    void editorsKeepOutOfUnavailablePeriods();
};

namespace {

// The window as the user opens it: from its entry in the Schedule Management menu.
FrmAllocation *Open(MDISchedule &main)
{
    if (!main.MDIForm_Load())
        return nullptr;
    main.resize(1400, 950);
    if (!ShowInFront(&main))
        return nullptr;
    main.menuAction("MnuAllocation")->trigger();
    return qobject_cast<FrmAllocation *>(main.openWindowNamed("FrmAllocation"));
}

QStringList Column(QTreeWidget *t, int column)
{
    QStringList out;
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        out << t->topLevelItem(i)->text(column);
    return out;
}

QStringList Items(QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

QStringList Lines(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

void ClickTab(QTabWidget *tabs, int index)
{
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
}

QColor Background(QLabel *l) { return l->palette().color(QPalette::Window); }

// The entry of a box that reads `text` once blanks around it are left aside ("Maths " for Maths).
QString Entry(QComboBox *c, const QString &text)
{
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).trimmed() == text)
            return c->itemText(i);
    return {};
}

} // namespace

void TestAllocationWindow::teachersForSubjects()
{
    TestDatabase db;
    Seed(db);
    for (int p = 0; p < 4; ++p)
        Place(db, VIA, 0, p, Ravi, Maths);
    Place(db, XIA, 1, 0, Meena, English);
    MessageLog log;
    MDISchedule main;
    // Below a separator after the entries that were there, which keep their order.
    QStringList captions;
    for (QAction *a : main.findChild<QMenu *>("MnuSchooltime")->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(captions, QStringList({"Assign Period System to Class", "Assign Subjects to Class", "Assign Subjects to Teacher",
                                    "Class Schedule", "Teacher Schedule", "-", "Teaching Allocation",
                                    "Generate Timetable"}));
    FrmAllocation *w = Open(main);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Teaching Allocation"));
    auto *tabs = w->findChild<QTabWidget *>("SSTab1");
    QCOMPARE(tabs->tabText(0), QString("Teachers for Subjects"));
    QCOMPARE(tabs->tabText(1), QString("Availability"));
    auto *cls = w->findChild<QComboBox *>("CmbClass");
    auto *curriculum = w->findChild<QTreeWidget *>("LvwCurriculum");
    auto *teacher = w->findChild<QComboBox *>("CmbTeacher");
    auto *periods = w->findChild<QLineEdit *>("TxtPeriods");
    auto *allocate = w->findChild<QPushButton *>("cmdAllocate");
    auto *problems = w->findChild<QListWidget *>("LstProblems");
    auto *view = w->findChild<QTreeWidget *>("LvwTeacherView");
    QCOMPARE(Items(cls), QStringList({"VI-A", "VI-B", "XI-A", "XI-B"}));
    QCOMPARE(cls->currentText(), QString("VI-A"));
    QCOMPARE(Column(curriculum, 0), QStringList({"English", "Maths"}));
    QCOMPARE(Column(curriculum, 4), QStringList({"5", "6"}));
    QCOMPARE(Lines(problems), QStringList{"No problems: every class-subject can be given its teachers."});
    QCOMPARE(teacher->accessibleName(), QString("Teacher"));

    // Maths of VI-A: the teacher who prefers juniors first.
    QVERIFY(ClickRow(curriculum, "Maths"));
    QCOMPARE(Items(teacher), QStringList({"Ravi Rao (0 of 30)", "Asha Sharma (0 of 30)"}));
    QCOMPARE(periods->text(), QString("6"));
    QVERIFY(input::ArrowTo(teacher, "Ravi Rao (0 of 30)"));
    Retype(periods, "4");
    input::Click(allocate);
    QCOMPARE(Hours(VIA, Maths, Ravi), 4);
    QCOMPARE(Column(curriculum, 3), QStringList({"", "Ravi Rao 4"}));
    QCOMPARE(Column(curriculum, 4), QStringList({"5", "2"}));
    QCOMPARE(Items(teacher).first(), QString("Ravi Rao (4 of 30)"));
    QCOMPARE(Column(view, 0), QStringList{"VI-A"});
    QCOMPARE(w->findChild<QLabel *>("LblTeacherTotal")->text(), QString("Total: 4 periods allocated, available in 30"));

    // More than the curriculum: refused where it is written, nothing saved.
    QVERIFY(input::ArrowTo(teacher, "Asha Sharma (0 of 30)"));
    QCOMPARE(periods->text(), QString("2"));
    Retype(periods, "3");
    AltKey(w, 'a', allocate);
    QCOMPARE(log.last(), QString("Nothing was saved: VI-A Maths would have 7 periods allocated, but its curriculum has 6 a week."));
    QCOMPARE(Hours(VIA, Maths, Asha), 0);

    // "Suggest Teachers" for the class: the plan first, saved only on Save Plan.
    auto *plan = w->findChild<QGroupBox *>("fraPlan");
    auto *planList = w->findChild<QTreeWidget *>("LvwPlan");
    QVERIFY(!plan->isVisible());
    input::Click(w->findChild<QPushButton *>("cmdSuggest"));
    QVERIFY(plan->isVisible());
    QCOMPARE(Column(planList, 1), QStringList({"English", "Maths"}));
    QCOMPARE(Column(planList, 2), QStringList({"Meena Iyer", "Ravi Rao"}));
    QCOMPARE(Column(planList, 3), QStringList({"5", "2"}));
    QCOMPARE(db.count("classsubjectteachers"), 1);
    input::Click(w->findChild<QPushButton *>("cmdSavePlan"));
    QVERIFY(!plan->isVisible());
    QCOMPARE(Hours(VIA, Maths, Ravi), 6);
    QCOMPARE(Hours(VIA, English, Meena), 5);
    QCOMPARE(Column(curriculum, 4), QStringList({"0", "0"}));

    // The whole school: discarded once, then saved.
    input::Click(w->findChild<QCheckBox *>("ChkWholeSchool"));
    input::Click(w->findChild<QPushButton *>("cmdSuggest"));
    QCOMPARE(planList->topLevelItemCount(), 6);
    input::Click(w->findChild<QPushButton *>("cmdDiscardPlan"));
    QVERIFY(!plan->isVisible());
    QCOMPARE(db.count("classsubjectteachers"), 2);
    input::Click(w->findChild<QPushButton *>("cmdSuggest"));
    input::Click(w->findChild<QPushButton *>("cmdSavePlan"));
    QCOMPARE(db.count("classsubjectteachers"), 8);
    QCOMPARE(Hours(XIB, Maths, Asha), 6);

    // Removing the chosen teacher's periods.
    QVERIFY(ClickRow(curriculum, "Maths"));
    QVERIFY(input::ArrowTo(teacher, "Ravi Rao (12 of 30)"));
    input::Click(w->findChild<QPushButton *>("cmdRemove"));
    QCOMPARE(Hours(VIA, Maths, Ravi), 0);
    QCOMPARE(Column(curriculum, 4), QStringList({"0", "6"}));

    // "From Timetable" asks first; No keeps everything.
    log.answer(hx::MsgResult::No);
    input::Click(w->findChild<QPushButton *>("cmdFromTimetable"));
    QCOMPARE(db.count("classsubjectteachers"), 7);
    log.answer(hx::MsgResult::Yes);
    input::Click(w->findChild<QPushButton *>("cmdFromTimetable"));
    QCOMPARE(log.last(), QString("2 allocations taken from the timetable."));
    QCOMPARE(db.count("classsubjectteachers"), 2);
    QCOMPARE(Hours(VIA, Maths, Ravi), 4);
    QCOMPARE(Hours(XIA, English, Meena), 1);
    QCOMPARE(Column(curriculum, 3), QStringList({"", "Ravi Rao 4"}));
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestAllocationWindow::availabilityByClickAndDrag()
{
    TestDatabase db;
    Seed(db);
    Place(db, VIA, 0, 0, Ravi, Maths);
    Place(db, VIB, 1, 1, Ravi, Maths);
    db.exec("insert into classsubjectteachers values (1, 1, 2, 6)");
    MessageLog log;
    MDISchedule main;
    FrmAllocation *w = Open(main);
    QVERIFY(w);
    ClickTab(w->findChild<QTabWidget *>("SSTab1"), 1);
    auto *teacher = w->findChild<QComboBox *>("CmbAvailTeacher");
    QVERIFY(input::ArrowTo(teacher, "Ravi Rao"));
    auto *summary = w->findChild<QLabel *>("LblAvailability");
    QCOMPARE(summary->text(), QString("Available in 30 of the school's 30 periods; 6 periods allocated."));
    QCOMPARE(w->Avail(0)->text(), QString("VI-A\nMaths"));
    QCOMPARE(Background(w->Avail(0)), tt::ColFree());
    QCOMPARE(Background(w->Avail(53)), tt::ColUnavailable()); // no class has Saturday IX

    // A click marks one period, a second click clears it.
    QTest::mouseClick(w->Avail(12), Qt::LeftButton);
    QCOMPARE(db.count("teacherunavailable", "teacherid = 2 and weekday = 0 and period = 2"), 1);
    QCOMPARE(Background(w->Avail(12)), QColor(96, 96, 96));
    QCOMPARE(w->Avail(12)->toolTip(), QString("Not available"));
    QTest::mouseClick(w->Avail(12), Qt::LeftButton);
    QCOMPARE(db.count("teacherunavailable"), 0);

    // A drag from Tuesday I to Wednesday IV marks the eight periods between, the lesson among them shown as a clash.
    QTest::mousePress(w->Avail(1), Qt::LeftButton);
    QTest::mouseMove(w->Avail(20));
    QCOMPARE(Background(w->Avail(14)), tt::ColSelected()); // shown while dragging
    QCOMPARE(db.count("teacherunavailable"), 0);
    QTest::mouseRelease(w->Avail(20), Qt::LeftButton);
    QCOMPARE(db.count("teacherunavailable", "teacherid = 2"), 8);
    QCOMPARE(db.count("teacherunavailable", "weekday between 1 and 2 and period between 0 and 3"), 8);
    QCOMPARE(Background(w->Avail(7)), tt::ColBusy());
    QCOMPARE(w->Avail(7)->toolTip(), QString("Not available, but teaches VI-B Maths"));
    QCOMPARE(Background(w->Avail(14)), QColor(96, 96, 96));
    QCOMPARE(summary->text(), QString("Available in 22 of the school's 30 periods; 6 periods allocated."));
    QCOMPARE(Lines(w->findChild<QListWidget *>("LstProblems")),
             QStringList{"Teacher Ravi Rao teaches VI-B Maths on Tuesday in period II, which is marked not available. "
                         "Move the lesson in \"Class Schedule\" or clear the mark on the \"Availability\" tab."});

    // Dragging from a marked period clears: Tuesday I and II become available again.
    QTest::mousePress(w->Avail(1), Qt::LeftButton);
    QTest::mouseMove(w->Avail(7));
    QTest::mouseRelease(w->Avail(7), Qt::LeftButton);
    QCOMPARE(db.count("teacherunavailable", "teacherid = 2"), 6);
    QCOMPARE(Background(w->Avail(7)), tt::ColFree());
    QCOMPARE(Lines(w->findChild<QListWidget *>("LstProblems")),
             QStringList{"No problems: every class-subject can be given its teachers."});
    QVERIFY(log.messages.isEmpty());
}

void TestAllocationWindow::editorsKeepOutOfUnavailablePeriods()
{
    TestDatabase db;
    Seed(db);
    Place(db, VIB, 0, 3, Ravi, Maths);
    MessageLog log;
    MDISchedule main;
    // Ravi cannot teach on Monday in period III: marked in Teaching Allocation...
    FrmAllocation *w = Open(main);
    QVERIFY(w);
    ClickTab(w->findChild<QTabWidget *>("SSTab1"), 1);
    QVERIFY(input::ArrowTo(w->findChild<QComboBox *>("CmbAvailTeacher"), "Ravi Rao"));
    QTest::mouseClick(w->Avail(12), Qt::LeftButton);
    QCOMPARE(db.count("teacherunavailable"), 1);

    // ... so the class editor closes that period to him like a busy one.
    main.menuAction("MnuClassSchedule")->trigger();
    auto *cs = qobject_cast<FrmClassSchedule *>(main.openWindowNamed("FrmClassSchedule"));
    QVERIFY(cs);
    QTRY_COMPARE(cs->windowTitle(), QString("Schedule of Class VI-A"));
    auto *subject = cs->findChild<QComboBox *>("CmbSubject");
    QVERIFY(input::ArrowTo(subject, Entry(subject, "Maths")));
    QVERIFY(input::ArrowTo(cs->findChild<QComboBox *>("CmbTeacher"), "Ravi Rao"));
    QCOMPARE(Background(cs->Period(12)), tt::ColBusy());
    QCOMPARE(cs->Period(12)->toolTip(), QString("Not available"));
    QCOMPARE(Background(cs->Period(18)), tt::ColBusy()); // Monday IV: VI-B's lesson
    QCOMPARE(cs->Period(18)->toolTip(), QString("VI-B\nMaths "));
    QTest::mouseClick(cs->Period(12), Qt::LeftButton); // not selectable
    QCOMPARE(Background(cs->Period(12)), tt::ColBusy());
    QTest::mouseClick(cs->Period(6), Qt::LeftButton);  // Monday II is
    QCOMPARE(Background(cs->Period(6)), tt::ColSelected());
    input::Click(cs->findChild<QPushButton *>("cmdAssign"));
    input::Click(cs->findChild<QPushButton *>("cmdSave"));
    QCOMPARE(db.count("timeschedule", "classid = ? and teacherid = ?", {VIA, Ravi}), 1);

    // The teacher editor shows the period too.
    main.menuAction("MnuTeacherSchedule")->trigger();
    auto *ts = qobject_cast<FrmTeacherSchedule *>(main.openWindowNamed("FrmTeacherSchedule"));
    QVERIFY(ts);
    QVERIFY(input::ArrowTo(ts->findChild<QComboBox *>("CmbTeacher"), "Ravi Rao"));
    QCOMPARE(Background(ts->cell(12)), tt::ColBusy());
    QCOMPARE(ts->cell(12)->toolTip(), QString("Not available"));
    QCOMPARE(ts->cell(6)->text(), QString("VI-A\nMaths "));
    QTest::mouseClick(ts->cell(12), Qt::LeftButton);
    QCOMPARE(Background(ts->cell(12)), tt::ColBusy());
    QVERIFY2(log.messages.isEmpty(), qPrintable(log.texts().join('|')));
}

QTEST_MAIN(TestAllocationWindow)
#include "tst_allocationwindow.moc"
