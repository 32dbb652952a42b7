#include "TestSupport.h"
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
    static void tick(QWidget *w, const QString &classText, const QStringList &days)
    {
        for (QTreeWidgetItem *it : get<QTreeWidget>(w, "lvClass")->findItems(classText, Qt::MatchExactly, 0))
            it->setCheckState(0, Qt::Checked);
        for (const char *d : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat"})
            get<QCheckBox>(w, QString("chk") + d)->setChecked(days.contains(d));
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
    w.show();
    QCOMPARE(w.windowTitle(), QString("Assign Period System to Class"));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvClass")), QStringList({"VI-|2", "VII-A|1"}));
    auto *ps = get<QComboBox>(&w, "cmbPSnm");
    QCOMPARE(ps->itemText(0), QString("Regular")); // by name, the first one shown
    QCOMPARE(w.currentPeriodSysId(), 2);
    auto *detail = get<QTreeWidget>(&w, "lvPSDetail");
    QCOMPARE(detail->topLevelItemCount(), 9);
    QCOMPARE(detail->topLevelItem(4)->foreground(1).color(), QColor(255, 0, 0));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvPSList")), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));

    ps->setCurrentIndex(1);
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
    w.show();
    auto *assign = get<QPushButton>(&w, "cmdAssign");
    auto *list = get<QTreeWidget>(&w, "lvPSList");

    // The preconditions, in order.
    assign->click();
    QCOMPARE(log.last(), QString("Select atleast one Class"));
    QCOMPARE(log.messages.last().title, QString("Assing Class-Period"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Information);
    get<QPushButton>(&w, "Command3")->click(); // Check All classes
    assign->click();
    QCOMPARE(log.last(), QString("Aleast one weekday should be selected"));
    get<QPushButton>(&w, "Command2")->click(); // Check All days
    QCOMPARE(w.PS_Days(), QString("Mon,Tue,Wed,Thu,Fri,Sat"));
    get<QPushButton>(&w, "Command1")->click();
    get<QPushButton>(&w, "Command4")->click();
    QCOMPARE(w.PS_Days(), QString());
    QCOMPARE(list->topLevelItemCount(), 1);

    // Short for VII-A on Saturday and Friday (ticked in that order): Friday is Regular's.
    get<QComboBox>(&w, "cmbPSnm")->setCurrentText("Short");
    tick(&w, "VII-A", {"Sat", "Fri"});
    QCOMPARE(w.PS_Days(), QString("Fri,Sat"));
    log.clear();
    log.answer(hx::MsgResult::Ok);
    assign->click();
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
        w.show();
        auto *list = get<QTreeWidget>(&w, "lvPSList");
        get<QPushButton>(&w, "cmdDel")->click(); // nothing selected: nothing removed
        QCOMPARE(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->topLevelItem(0));
        get<QPushButton>(&w, "cmdDel")->click();
        QCOMPARE(rows(list), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));
        QCOMPARE(db.count("classperiods"), 2);
        get<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(db.count("classperiods"), 1);
        QVERIFY(log.messages.isEmpty());
    }
    for (const hx::MsgResult answer : {hx::MsgResult::No, hx::MsgResult::Yes}) {
        // Exit asks; No drops the change to the list, Yes saves it; the window closes.
        auto *w = new frmClassPeriod;
        QPointer<frmClassPeriod> guard(w);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        tick(w, "VI-", {"Sat"});
        get<QPushButton>(w, "cmdAssign")->click();
        log.answer(answer);
        get<QPushButton>(w, "CmdExit")->click();
        QCOMPARE(log.last(), QString("Do you want to save changes?"));
        QCOMPARE(log.messages.last().title, QString("Save Confirmation"));
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(db.count("classperiods", "classid = 2 and days = '5'"), answer == hx::MsgResult::Yes ? 1 : 0);
    }
    // A save that the database refuses keeps the window open with its list.
    db.exec("create trigger nosave before insert on classperiods begin select raise(abort, 'read only'); end");
    frmClassPeriod w;
    w.show();
    log.answer(hx::MsgResult::Yes);
    get<QPushButton>(&w, "CmdExit")->click();
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
        w.show();
        QCOMPARE(log.texts(), QStringList({"You haven't defined period system. Want to define?"}));
        QCOMPARE(log.messages.last().title, QString("Define Period System"));
        QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
        // Nothing to assign with.
        tick(&w, "VII-A", {"Mon"});
        get<QPushButton>(&w, "cmdAssign")->click();
        QCOMPARE(log.last(), QString("Select period system to assign"));
        QCOMPARE(get<QTreeWidget>(&w, "lvPSList")->topLevelItemCount(), 0);
    }
    QVERIFY(opened.isEmpty());
    log.answer(hx::MsgResult::Yes);
    frmClassPeriod w;
    QCOMPARE(opened, QStringList({"mnuPeriodSystem"}));
    // Once this window is shown, the period-system window is brought in front of it.
    w.show();
    QTRY_COMPARE(opened.size(), 2);
    hx::SetWindowOpener({});
}

QTEST_MAIN(TestFrmClassPeriod)
#include "tst_frmclassperiod.moc"
