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
};

// With no period system yet, the class window offers to define one and the period-system
// window ends up in front of it; each menu entry then brings its own window forward.
void TestPeriodMenus::menuOpensWindows()
{
    TestDatabase db;
    MessageLog log;
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));
    for (const char *menu : {"mnuPeriodSystem", "mnuAssignPStoClass"}) {
        QAction *a = main.menuAction(menu);
        QVERIFY(a);
        QVERIFY2(a->isEnabled(), menu);
    }
    log.answer(hx::MsgResult::Yes);
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuAssignPStoClass")));
    QCOMPARE(log.texts(), QStringList({"You haven't defined period system. Want to define?"}));
    QVERIFY(main.openWindowNamed("frmClassPeriod"));
    QVERIFY(main.openWindowNamed("frmDefinePeriodSys"));
    QTRY_VERIFY(main.mdiArea()->activeSubWindow()
                && main.mdiArea()->activeSubWindow()->widget()->objectName() == "frmDefinePeriodSys");
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);

    log.clear();
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuAssignPStoClass")));
    QCOMPARE(main.mdiArea()->activeSubWindow()->windowTitle(), QString("Assign Period System to Class"));
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuPeriodSystem")));
    QCOMPARE(main.mdiArea()->activeSubWindow()->windowTitle(), QString("Period System"));
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestPeriodMenus)
#include "tst_periodmenus.moc"
