#include "TestSupport.h"
#include "UserInput.h"
#include "frmClassPeriod.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class TestFrmClassPeriod : public QObject {
    Q_OBJECT
private slots:
    void loadsListsAndShowsSystem();
    void assignThroughControls();
    void removeSaveAndExit();
    void offersToDefineSystem();

private:
    template <class T> static T *get(QWidget *w, const QString &name)
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    static QStringList rows(QTreeWidget *lv)
    {
        QStringList out;
        for (int i = 0; i < lv->topLevelItemCount(); ++i) {
            QStringList cols;
            for (int c = 0; c < lv->columnCount(); ++c)
                cols << lv->topLevelItem(i)->text(c);
            out << cols.join('|');
        }
        return out;
    }
    // Ticks the class, then the day boxes in the order given.
    static void tick(QWidget *w, const QString &classText, const QStringList &days)
    {
        QVERIFY(ToggleTick(get<QTreeWidget>(w, "lvClass"), classText));
        for (const QString &d : days)
            input::Click(get<QCheckBox>(w, "chk" + d));
    }
    static void school(TestDatabase &db)
    {
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
        db.exec("insert into classsection (class, section, sortorder) values ('VI', NULL, 9)");
        db.exec("insert into periodsystem values (1, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
        db.exec("insert into periodsystem values (2, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
        db.exec("insert into classperiods values (1, 2, '0,1,2,3,4')");
    }
};

void TestFrmClassPeriod::loadsListsAndShowsSystem()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    frmClassPeriod w;
    QVERIFY(ShowInFront(&w));
    QCOMPARE(w.windowTitle(), QString("Assign Period System to Class"));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvClass")), QStringList({"VI-|2", "VII-A|1"}));
    auto *ps = get<QComboBox>(&w, "cmbPSnm");
    QCOMPARE(ps->itemText(0), QString("Regular")); // by name, the first one shown
    QCOMPARE(w.currentPeriodSysId(), 2);
    auto *detail = get<QTreeWidget>(&w, "lvPSDetail");
    QCOMPARE(detail->topLevelItemCount(), 9);
    QCOMPARE(detail->topLevelItem(4)->foreground(1).color(), QColor(255, 0, 0));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvPSList")), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));

    QVERIFY(input::Pick(ps, ps->itemText(1)));
    QCOMPARE(w.currentPeriodSysId(), 1);
    QCOMPARE(rows(detail).mid(3), QStringList({"RECESS|9:30|9:40", "4|9:40|10:10", "5|10:10|10:40"}));
    QVERIFY(log.messages.isEmpty());
}

void TestFrmClassPeriod::assignThroughControls()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    frmClassPeriod w;
    QVERIFY(ShowInFront(&w));
    auto *assign = get<QPushButton>(&w, "cmdAssign");
    auto *list = get<QTreeWidget>(&w, "lvPSList");

    // The preconditions, in order.
    input::Click(assign);
    QCOMPARE(log.last(), QString("Select atleast one Class"));
    QCOMPARE(log.messages.last().title, QString("Assing Class-Period"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Information);
    input::Click(get<QPushButton>(&w, "Command3")); // Check All classes
    input::Click(assign);
    QCOMPARE(log.last(), QString("Aleast one weekday should be selected"));
    input::Click(get<QPushButton>(&w, "Command2")); // Check All days
    QCOMPARE(w.PS_Days(), QString("Mon,Tue,Wed,Thu,Fri,Sat"));
    input::Click(get<QPushButton>(&w, "Command1"));
    input::Click(get<QPushButton>(&w, "Command4"));
    QCOMPARE(w.PS_Days(), QString());
    QCOMPARE(list->topLevelItemCount(), 1);

    // Short for VII-A on Saturday and Friday (ticked in that order): Friday is Regular's.
    QVERIFY(input::Pick(get<QComboBox>(&w, "cmbPSnm"), "Short"));
    tick(&w, "VII-A", {"Sat", "Fri"});
    QCOMPARE(w.PS_Days(), QString("Fri,Sat"));
    log.clear();
    log.answer(hx::MsgResult::Ok);
    input::Click(assign);
    QCOMPARE(log.texts(), QStringList({"Fri are already occupied for class VII-A\nAssign Sat ?"}));
    QCOMPARE(rows(list).last(), QString("VII-A|Short|Sat|1|1"));
    QCOMPARE(w.PS_Days(), QString("Fri,Sat")); // ticks stay
    QCOMPARE(db.count("classperiods"), 1);     // nothing written yet
}

void TestFrmClassPeriod::removeSaveAndExit()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into classperiods values (2, 1, '5')");
    {
        frmClassPeriod w;
        QVERIFY(ShowInFront(&w));
        auto *list = get<QTreeWidget>(&w, "lvPSList");
        input::Click(get<QPushButton>(&w, "cmdDel")); // nothing selected: nothing removed
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(ClickRow(list, list->topLevelItem(0)->text(0)));
        input::Click(get<QPushButton>(&w, "cmdDel"));
        QCOMPARE(rows(list), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));
        QCOMPARE(db.count("classperiods"), 2);
        input::Click(get<QPushButton>(&w, "cmdSave"));
        QCOMPARE(db.count("classperiods"), 1);
        QVERIFY(log.messages.isEmpty());
    }
    for (const hx::MsgResult answer : {hx::MsgResult::No, hx::MsgResult::Yes}) {
        // Exit asks; No drops the change to the list, Yes saves it; the window closes.
        auto *w = new frmClassPeriod;
        QPointer<frmClassPeriod> guard(w);
        w->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(ShowInFront(w));
        tick(w, "VI-", {"Sat"});
        input::Click(get<QPushButton>(w, "cmdAssign"));
        log.answer(answer);
        input::Click(get<QPushButton>(w, "CmdExit"));
        QCOMPARE(log.last(), QString("Do you want to save changes?"));
        QCOMPARE(log.messages.last().title, QString("Save Confirmation"));
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(db.count("classperiods", "classid = 2 and days = '5'"), answer == hx::MsgResult::Yes ? 1 : 0);
    }
    // A save that the database refuses keeps the window open with its list.
    db.exec("create trigger nosave before insert on classperiods begin select raise(abort, 'read only'); end");
    frmClassPeriod w;
    QVERIFY(ShowInFront(&w));
    log.answer(hx::MsgResult::Yes);
    input::Click(get<QPushButton>(&w, "CmdExit"));
    QCoreApplication::processEvents();
    QVERIFY(w.isVisible());
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("classperiods"), 2);
}

void TestFrmClassPeriod::offersToDefineSystem()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    QStringList opened;
    hx::SetWindowOpener([&](const QString &menu) {
        opened << menu;
        return nullptr;
    });
    {
        log.answer(hx::MsgResult::No);
        frmClassPeriod w;
        QVERIFY(ShowInFront(&w));
        QCOMPARE(log.texts(), QStringList({"You haven't defined period system. Want to define?"}));
        QCOMPARE(log.messages.last().title, QString("Define Period System"));
        QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
        // Nothing to assign with.
        tick(&w, "VII-A", {"Mon"});
        input::Click(get<QPushButton>(&w, "cmdAssign"));
        QCOMPARE(log.last(), QString("Select period system to assign"));
        QCOMPARE(get<QTreeWidget>(&w, "lvPSList")->topLevelItemCount(), 0);
    }
    QVERIFY(opened.isEmpty()); // Yes, through the menu: tst_periodmenus
    hx::SetWindowOpener({});
}

QTEST_MAIN(TestFrmClassPeriod)
#include "tst_frmclassperiod.moc"
