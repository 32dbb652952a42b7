#include "MDISchedule.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>

// The two period windows as the user reaches them: from the menu of the main window.
class TestPeriodMenus : public QObject {
    Q_OBJECT
private slots:
    void menuOpensWindows();
    void definitionComesForwardWhenOffered();
};

void TestPeriodMenus::menuOpensWindows()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));
    for (const char *menu : {"mnuPeriodSystem", "mnuAssignPStoClass"}) {
        QAction *a = main.menuAction(menu);
        QVERIFY(a);
        QVERIFY2(a->isEnabled(), menu);
    }
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuPeriodSystem")));
    QWidget *def = main.openWindowNamed("frmDefinePeriodSys");
    QVERIFY(def);
    QCOMPARE(main.mdiArea()->activeSubWindow()->windowTitle(), QString("Period System"));
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuAssignPStoClass")));
    QVERIFY(main.openWindowNamed("frmClassPeriod"));
    QCOMPARE(main.mdiArea()->activeSubWindow()->windowTitle(), QString("Assign Period System to Class"));
    QVERIFY(log.messages.isEmpty());
}

void TestPeriodMenus::definitionComesForwardWhenOffered()
{
    TestDatabase db;
    MessageLog log;
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));
    log.answer(hx::MsgResult::Yes);
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuAssignPStoClass")));
    QCOMPARE(log.texts(), QStringList({"You haven't defined period system. Want to define?"}));
    QVERIFY(main.openWindowNamed("frmClassPeriod"));
    QVERIFY(main.openWindowNamed("frmDefinePeriodSys"));
    // The period-system window ends up in front of the class window.
    QTRY_VERIFY(main.mdiArea()->activeSubWindow()
                && main.mdiArea()->activeSubWindow()->widget()->objectName() == "frmDefinePeriodSys");
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
}

QTEST_MAIN(TestPeriodMenus)
#include "tst_periodmenus.moc"
