// The "Class Schedule" window driven through its controls, and reached from the menu.
#include "ChildWindows.h"
#include "FrmClassSchedule.h"
#include "MDISchedule.h"
#include "tst_classschedule_school.h"

#include "UserInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QApplication>
#include <QDropEvent>
#include <QPushButton>
#include <QTabWidget>

class TestClassScheduleWindow : public QObject {
    Q_OBJECT
private slots:
    void buildingAWeek();
    void activationKeepsUnsavedWork();
    void teacherViewAndActivation();
    void saveFailureAndPrint();
    void draggingALesson();
    void openedFromTheMenu();
};

template <typename T> static T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no control %s", name);
    return c;
}

static void choose(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

// The class window opened from the menu of a main window of its own.
static FrmClassSchedule *openInMain(MDISchedule &main)
{
    if (!main.MDIForm_Load())
        return nullptr;
    if (!input::Show(&main) || !input::ChooseMenu(main.menuBar(), main.menuAction("MnuClassSchedule")))
        return nullptr;
    return qobject_cast<FrmClassSchedule *>(main.openWindowNamed("FrmClassSchedule"));
}

// Another window to the front, then a click on the class window's title bar: the person comes
// back to it.
static void comeBack(MDISchedule &main, QWidget *w)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    QVERIFY(sub);
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("MnuTeacherSchedule")));
    QTRY_VERIFY(main.mdiArea()->activeSubWindow() != sub);
    QTest::mouseClick(sub, Qt::LeftButton, {}, QPoint(sub->width() / 2, 6));
    QTRY_COMPARE(main.mdiArea()->activeSubWindow(), sub);
}

static QString shown(std::initializer_list<const char *> parts) { return lines(parts).replace(QChar(13), '\n'); }

void TestClassScheduleWindow::buildingAWeek()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIB, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 4, 7, SmallSchool::Chand, SmallSchool::Physics, true);
    FrmClassSchedule w;
    w.show();
    QCOMPARE(w.windowTitle(), QString("Schedule of Class VI-A")); // first class on the first activation
    auto *cls = child<QComboBox>(&w, "CmbClass");
    auto *subject = child<QComboBox>(&w, "CmbSubject");
    auto *teacher = child<QComboBox>(&w, "CmbTeacher");
    auto *assign = child<QPushButton>(&w, "cmdAssign");
    auto *undo = child<QPushButton>(&w, "CmdUndo");
    auto *autoAssign = child<QPushButton>(&w, "Command1");
    QCOMPARE(cls->count(), 2);
    QCOMPARE(child<QTabWidget>(&w, "SSTab1")->tabText(1), QString(" Subject Assigned"));
    QVERIFY(!assign->isEnabled() && !undo->isEnabled() && !autoAssign->isEnabled());
    QVERIFY(!child<QComboBox>(&w, "CmbSubject2")->isEnabled());
    QCOMPARE(w.Period(0)->palette().color(QPalette::Window), tt::ColFree());
    QCOMPARE(w.Period(5)->palette().color(QPalette::Window), tt::ColUnavailable());
    QCOMPARE(w.Period(tt::CellIndex(4, 7))->text(), shown({"Chand Das", "Science Physics"}));
    QVERIFY(w.Period(tt::CellIndex(4, 7))->font().bold());
    QCOMPARE(w.Period(tt::CellIndex(4, 7))->palette().color(QPalette::WindowText), tt::ColSubstitute());
    QCOMPARE(w.DayLoad(4)->text(), QString("\n\n1"));
    QVERIFY(!child<QWidget>(&w, "MSChart1")->isHidden());

    choose(subject, "Maths ");
    QCOMPARE(teacher->count(), 2);
    QCOMPARE(teacher->currentIndex(), -1);
    QVERIFY(!autoAssign->isEnabled());
    QCOMPARE(child<QLabel>(&w, "LblTot")->text(), QString("Total Periods Scheduled for Maths  : 5"));
    choose(teacher, "Anita Rao");
    QVERIFY(assign->isEnabled() && autoAssign->isEnabled());
    QVERIFY(child<QPushButton>(&w, "CmdSwap")->isEnabled());
    QCOMPARE(w.Period(0)->palette().color(QPalette::Window), tt::ColBusy());
    QCOMPARE(w.Period(0)->toolTip(), shown({"VI-B", "Maths "}));

    // Busy cells ignore presses; free ones select.
    click(w.Period(0));
    QCOMPARE(w.Period(0)->palette().color(QPalette::Window), tt::ColBusy());
    click(w.Period(1));
    click(w.Period(2));
    QCOMPARE(w.Period(1)->palette().color(QPalette::Window), tt::ColSelected());
    click(w.Label4(1)); // column II: Monday to Friday
    QCOMPARE(w.Period(6)->palette().color(QPalette::Window), tt::ColSelected());
    click(assign);
    QCOMPARE(w.Period(1)->text(), shown({"Anita Rao", "Maths "}));
    QCOMPARE(w.Period(tt::CellIndex(4, 1))->text(), shown({"Anita Rao", "Maths "}));
    QCOMPARE(child<QLabel>(&w, "LblAss")->text(), QString("Total Periods Assigned for Maths  : 7"));
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("8"));
    QCOMPARE(w.PeriodLoad(1)->text(), QString("5"));
    QVERIFY(undo->isEnabled());
    click(undo);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(w.Period(1)->text(), QString());
    click(child<QPushButton>(&w, "CmdReset"));
    QCOMPARE(w.Period(1)->palette().color(QPalette::Window), tt::ColFree());

    // Two lessons in one cell.
    click(w.Period(3));
    child<QCheckBox>(&w, "ChkAssign")->click();
    QVERIFY(child<QComboBox>(&w, "CmbSubject2")->isEnabled());
    choose(child<QComboBox>(&w, "CmbSubject2"), "English ");
    choose(child<QComboBox>(&w, "CmbTeacher2"), "Bela Sen");
    click(w.Period(3));
    click(assign);
    QCOMPARE(w.Period(3)->text(), shown({"Anita Rao", "Maths ", "Bela Sen", "English "}));
    child<QCheckBox>(&w, "ChkAssign")->click();
    QCOMPARE(child<QComboBox>(&w, "CmbSubject2")->currentIndex(), -1);

    // Automatic assignment fills the rest of Maths.
    click(autoAssign);
    QCOMPARE(child<QLabel>(&w, "LblAss")->text(), QString("Total Periods Assigned for Maths  : 5"));
    QVERIFY(undo->isEnabled());

    // Free teachers on request.
    click(child<QPushButton>(&w, "CmdLatest"));
    QCOMPARE(w.Alternate(0)->text(), QString("Bela Sen / Chand Das"));

    click(child<QPushButton>(&w, "cmdSave"));
    // Maths placed in five cells, one of them beside English: six rows with English.
    QCOMPARE(db.count("timeschedule", "classid = 1"), 7);
    QCOMPARE(db.count("timeschedule", "classid = 1 and subid = 1"), 5);
    QCOMPARE(db.count("cummtimeschedule"), 7);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(teacher->count(), 0);
    QVERIFY(!w.Period(tt::CellIndex(4, 7))->font().bold());
    QVERIFY(log.texts().filter("Error").isEmpty());
}

void TestClassScheduleWindow::activationKeepsUnsavedWork()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    MDISchedule main;
    FrmClassSchedule *win = openInMain(main);
    QVERIFY(win);
    FrmClassSchedule &w = *win;
    auto *cls = child<QComboBox>(&w, "CmbClass");
    choose(cls, "VI-B");
    QCOMPARE(w.windowTitle(), QString("Schedule of Class VI-B"));
    // Nothing unsaved: coming back shows what was saved meanwhile, for the class shown.
    s.lesson(SmallSchool::VIB, 5, 0, SmallSchool::Anita, SmallSchool::Maths);
    comeBack(main, &w);
    QCOMPARE(cls->currentText(), QString("VI-B"));
    QCOMPARE(w.Period(5)->text(), shown({"Anita Rao", "Maths "}));

    // Unsaved work survives an activation.
    choose(child<QComboBox>(&w, "CmbSubject"), "Maths ");
    choose(child<QComboBox>(&w, "CmbTeacher"), "Bela Sen");
    click(w.Period(0));
    click(child<QPushButton>(&w, "cmdAssign"));
    comeBack(main, &w);
    QCOMPARE(w.Period(0)->text(), shown({"Bela Sen", "Maths "}));
    QVERIFY(child<QPushButton>(&w, "CmdUndo")->isEnabled());
    QCOMPARE(child<QComboBox>(&w, "CmbTeacher")->currentText(), QString("Bela Sen"));

    // Choosing the class again drops it, as the user asked.
    choose(cls, "VI-B");
    QCOMPARE(w.Period(0)->text(), QString());
}

void TestClassScheduleWindow::teacherViewAndActivation()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIB, 1, 0, SmallSchool::Anita, SmallSchool::Maths);
    MDISchedule main;
    FrmClassSchedule *win = openInMain(main);
    QVERIFY(win);
    FrmClassSchedule &w = *win;
    choose(child<QComboBox>(&w, "CmbSubject"), "Maths ");
    choose(child<QComboBox>(&w, "CmbTeacher"), "Anita Rao");
    auto *swap = child<QPushButton>(&w, "CmdSwap");
    click(swap);
    QCOMPARE(swap->text(), QString("Show Class Details"));
    QCOMPARE(w.windowTitle(), QString("Schedule of teacher Anita Rao"));
    QCOMPARE(w.Period(1)->text(), shown({"VI-B", "Maths "}));
    QCOMPARE(w.Period(0)->toolTip(), shown({"Bela Sen", "English "}));
    for (const char *name : {"CmbTeacher", "CmbClass", "CmbSubject", "CmdReset", "CmdClear", "cmdAssign", "cmdSave",
                             "Command1", "CmdUndo"})
        QVERIFY2(!child<QWidget>(&w, name)->isEnabled(), name);
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("1"));
    click(w.Period(2)); // no selection in this view
    QCOMPARE(w.Period(2)->palette().color(QPalette::Window), tt::ColFree());

    // Swap twice: back where it was.
    click(swap);
    QCOMPARE(swap->text(), QString("Show Teacher's Details"));
    QCOMPARE(w.Period(0)->text(), shown({"Bela Sen", "English "}));
    QCOMPARE(w.Period(1)->toolTip(), shown({"VI-B", "Maths "}));
    QVERIFY(child<QWidget>(&w, "cmdSave")->isEnabled());
    QVERIFY(child<QWidget>(&w, "Command1")->isEnabled());

    // Activated while the teacher's lessons are shown: the class view comes back, usable.
    click(swap);
    comeBack(main, &w);
    QCOMPARE(swap->text(), QString("Show Teacher's Details"));
    QCOMPARE(w.windowTitle(), QString("Schedule of Class VI-A"));
    QCOMPARE(w.Period(0)->text(), shown({"Bela Sen", "English "}));
    for (const char *name : {"CmbTeacher", "CmbClass", "CmbSubject", "CmdReset", "CmdClear", "cmdSave"})
        QVERIFY2(child<QWidget>(&w, name)->isEnabled(), name);
}

void TestClassScheduleWindow::saveFailureAndPrint()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    db.exec("create trigger refuse before insert on timeschedule when new.weekday = 3 "
            "begin select raise(abort, 'locked'); end");
    QString report, selection;
    hx::SetReportRunner([&](const QString &t, const QString &sel) {
        report = t;
        selection = sel;
    });
    FrmClassSchedule w;
    w.show();
    choose(child<QComboBox>(&w, "CmbSubject"), "English ");
    choose(child<QComboBox>(&w, "CmbTeacher"), "Bela Sen");
    click(w.Period(3));
    click(child<QPushButton>(&w, "cmdAssign"));
    click(child<QPushButton>(&w, "cmdSave"));
    QCOMPARE(log.texts(), QStringList{"Error :locked"});
    QCOMPARE(w.Period(3)->text(), shown({"Bela Sen", "English "}));
    QVERIFY(child<QPushButton>(&w, "CmdUndo")->isEnabled());
    QCOMPARE(db.count("timeschedule"), 1);

    // Printing shows the class's saved week through its template.
    click(child<QPushButton>(&w, "CmdPrint"));
    QCOMPARE(report, QString("classtmtable.rpt"));
    QCOMPARE(selection, QString("{classsection.classid} = 1"));
    hx::SetReportRunner({});
}

static void dropOn(QWidget *target, int source) { DropCell(target, source); }

void TestClassScheduleWindow::draggingALesson()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIB, 2, 0, SmallSchool::Anita, SmallSchool::Maths);
    FrmClassSchedule w;
    w.show();
    QTest::mousePress(w.Period(0), Qt::LeftButton);
    QCOMPARE(w.dragSource(), 0);
    QTest::mouseRelease(w.Period(0), Qt::LeftButton); // never left the cell: no drag
    QCOMPARE(w.dragSource(), -1);
    QCOMPARE(w.Period(0)->palette().color(QPalette::Window), tt::ColSelected());

    dropOn(w.Period(2), 0);
    QCOMPARE(log.texts(), QStringList{"Anita Rao is busy"});
    QCOMPARE(w.Period(0)->text(), shown({"Anita Rao", "Maths "}));
    dropOn(w.Period(1), 0);
    QCOMPARE(w.Period(1)->text(), shown({"Anita Rao", "Maths "}));
    QCOMPARE(w.Period(0)->text(), QString());
    QCOMPARE(w.Period(0)->palette().color(QPalette::Window), tt::ColFree());
    QCOMPARE(w.DayLoad(1)->text(), QString("\n\n1"));
    // Dropped on a Saturday the class does not have: nothing.
    dropOn(w.Period(5), 1);
    QCOMPARE(w.Period(1)->text(), shown({"Anita Rao", "Maths "}));
    QCOMPARE(w.Period(5)->text(), QString());
}

void TestClassScheduleWindow::openedFromTheMenu()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    main.show();
    QVERIFY(main.menuAction("MnuClassSchedule")->isEnabled());
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("MnuClassSchedule")));
    auto *w = qobject_cast<FrmClassSchedule *>(main.openWindowNamed("FrmClassSchedule"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Schedule of Class VI-A"));
    QCOMPARE(w->parentWidget()->windowTitle(), QString("Schedule of Class VI-A"));

    // Another window in front and this one back again: reloaded, since nothing is unsaved.
    ChildWindowEntries().push_back({"mnuOther", "frmOther", [] { return new QWidget; }});
    auto *cls = child<QComboBox>(w, "CmbClass");
    choose(cls, "VI-B");
    s.lesson(SmallSchool::VIB, 2, 0, SmallSchool::Anita, SmallSchool::Maths);
    QVERIFY(main.openChild("mnuOther"));
    QVERIFY(main.openChild("MnuClassSchedule"));
    QCOMPARE(w->Period(2)->text(), shown({"Anita Rao", "Maths "}));
    QCOMPARE(w->parentWidget()->pos(), QPoint(0, 0));
    ChildWindowEntries().pop_back();

    click(child<QPushButton>(w, "CmdExit"));
    QTRY_VERIFY(main.openWindowNamed("FrmClassSchedule") == nullptr);
}

QTEST_MAIN(TestClassScheduleWindow)
#include "tst_classschedulewindow.moc"
