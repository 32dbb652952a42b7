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
    static void tickClass(QWidget *w, const QString &text, bool on = true)
    {
        auto *lv = get<QTreeWidget>(w, "lvClass");
        const auto found = lv->findItems(text, Qt::MatchExactly, 0);
        QCOMPARE(found.size(), 1);
        found.first()->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    static void tickDays(QWidget *w, const QStringList &days)
    {
        for (const char *d : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat"})
            get<QCheckBox>(w, QString("chk") + d)->setChecked(days.contains(d));
    }
    static void school(TestDatabase &db)
    {
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
        db.exec("insert into classsection (class, section, sortorder) values ('VI', NULL, 9)");
        db.exec("insert into periodsystem values (1, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
        db.exec("insert into periodsystem values (2, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    }
};

void TestFrmClassPeriod::loadsListsAndShowsSystem()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into classperiods values (1, 2, '0,1,2,3,4')");
    frmClassPeriod w;
    w.show();
    QCOMPARE(w.windowTitle(), QString("Assign Period System to Class"));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvClass")), QStringList({"VI-|2", "VII-A|1"}));
    auto *ps = get<QComboBox>(&w, "cmbPSnm");
    QCOMPARE(ps->count(), 2);
    QCOMPARE(ps->itemText(0), QString("Regular")); // by name
    QCOMPARE(ps->currentText(), QString("Regular"));
    QCOMPARE(w.currentPeriodSysId(), 2);
    auto *detail = get<QTreeWidget>(&w, "lvPSDetail");
    QCOMPARE(detail->topLevelItemCount(), 9);
    QCOMPARE(detail->topLevelItem(4)->text(0), QString("RECESS"));
    QCOMPARE(detail->topLevelItem(4)->foreground(1).color(), QColor(255, 0, 0));
    QCOMPARE(rows(get<QTreeWidget>(&w, "lvPSList")), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));

    ps->setCurrentIndex(1);
    QCOMPARE(w.currentPeriodSysId(), 1);
    QCOMPARE(detail->topLevelItemCount(), 6);
    QCOMPARE(rows(detail).at(3), QString("RECESS|9:30|9:40"));
    QCOMPARE(rows(detail).at(5), QString("5|10:10|10:40"));
    QVERIFY(log.messages.isEmpty());
}

void TestFrmClassPeriod::assignThroughControls()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into classperiods values (1, 2, '0,1,2,3,4')");
    frmClassPeriod w;
    w.show();
    auto *assign = get<QPushButton>(&w, "cmdAssign");
    auto *list = get<QTreeWidget>(&w, "lvPSList");

    // The three preconditions, in order.
    assign->click();
    QCOMPARE(log.last(), QString("Select atleast one Class"));
    QCOMPARE(log.messages.last().title, QString("Assing Class-Period"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Information);
    get<QPushButton>(&w, "Command3")->click(); // Check All classes
    assign->click();
    QCOMPARE(log.last(), QString("Aleast one weekday should be selected"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Information);
    QCOMPARE(list->topLevelItemCount(), 1);
    get<QPushButton>(&w, "Command4")->click(); // Uncheck All classes
    get<QPushButton>(&w, "Command2")->click(); // Check All days
    QCOMPARE(w.PS_Days(), QString("Mon,Tue,Wed,Thu,Fri,Sat"));
    get<QPushButton>(&w, "Command1")->click(); // Uncheck All days
    QCOMPARE(w.PS_Days(), QString());

    // Ticked in any order, the days read Monday first.
    get<QCheckBox>(&w, "chkSat")->setChecked(true);
    get<QCheckBox>(&w, "chkFri")->setChecked(true);
    QCOMPARE(w.PS_Days(), QString("Fri,Sat"));

    // Short for VII-A on Friday and Saturday: Friday is taken by Regular.
    get<QComboBox>(&w, "cmbPSnm")->setCurrentText("Short");
    tickClass(&w, "VII-A");
    log.clear();
    log.answer(hx::MsgResult::Ok);
    assign->click();
    QCOMPARE(log.texts(), QStringList({"Fri are already occupied for class VII-A\nAssign Sat ?"}));
    QCOMPARE(rows(list).last(), QString("VII-A|Short|Sat|1|1"));
    // The ticks stay for the next assignment.
    QCOMPARE(w.PS_Days(), QString("Fri,Sat"));

    // Regular again for both classes: VII-A's row takes the days left (Mon), VI- gets a row.
    get<QComboBox>(&w, "cmbPSnm")->setCurrentText("Regular");
    tickDays(&w, {"Mon", "Sat"});
    tickClass(&w, "VI-");
    log.clear();
    log.answer(hx::MsgResult::Ok);
    assign->click();
    QCOMPARE(log.texts(), QStringList({"Sat are already occupied for class VII-A\nAssign Mon ?"}));
    QCOMPARE(rows(list), QStringList({"VII-A|Regular|Mon|1|2", "VII-A|Short|Sat|1|1", "VI-|Regular|Mon,Sat|2|2"}));
    QCOMPARE(db.count("classperiods"), 1); // nothing written yet
}

void TestFrmClassPeriod::removeSaveAndExit()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into classperiods values (1, 2, '0,1,2,3,4')");
    db.exec("insert into classperiods values (2, 1, '5')");
    {
        frmClassPeriod w;
        w.show();
        auto *list = get<QTreeWidget>(&w, "lvPSList");
        QCOMPARE(list->topLevelItemCount(), 2);
        get<QPushButton>(&w, "cmdDel")->click(); // nothing selected: nothing removed
        QCOMPARE(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->topLevelItem(0));
        get<QPushButton>(&w, "cmdDel")->click();
        QCOMPARE(rows(list), QStringList({"VII-A|Regular|Mon,Tue,Wed,Thu,Fri|1|2"}));
        QCOMPARE(db.count("classperiods"), 2);
        get<QPushButton>(&w, "cmdSave")->click();
        QCOMPARE(db.count("classperiods"), 1);
        QCOMPARE(db.count("classperiods", "classid = 1 and periodsysid = 2 and days = '0,1,2,3,4'"), 1);
        QVERIFY(log.messages.isEmpty());
    }
    for (const hx::MsgResult answer : {hx::MsgResult::No, hx::MsgResult::Yes}) {
        // Exit asks; No drops the change to the list, Yes saves it; the window closes.
        auto *w = new frmClassPeriod;
        QPointer<frmClassPeriod> guard(w);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        tickClass(w, "VI-");
        tickDays(w, {"Sat"});
        get<QPushButton>(w, "cmdAssign")->click();
        log.answer(answer);
        get<QPushButton>(w, "CmdExit")->click();
        QCOMPARE(log.last(), QString("Do you want to save changes?"));
        QCOMPARE(log.messages.last().title, QString("Save Confirmation"));
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(db.count("classperiods", "classid = 2 and periodsysid = 2 and days = '5'"),
                 answer == hx::MsgResult::Yes ? 1 : 0);
    }
    {
        // A save that the database refuses keeps the window open with its list.
        db.exec("create trigger nosave before insert on classperiods begin select raise(abort, 'read only'); end");
        auto *w = new frmClassPeriod;
        QPointer<frmClassPeriod> guard(w);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        log.clear();
        log.answer(hx::MsgResult::Yes);
        get<QPushButton>(w, "CmdExit")->click();
        QCoreApplication::processEvents();
        QVERIFY(!guard.isNull());
        QVERIFY(log.last().startsWith("Error :"));
        QCOMPARE(db.count("classperiods"), 2);
        delete w;
    }
}

void TestFrmClassPeriod::offersToDefineSystem()
{
    TestDatabase db;
    MessageLog log;
    QStringList opened;
    hx::SetWindowOpener([&](const QString &menu) {
        opened << menu;
        return nullptr;
    });
    {
        log.answer(hx::MsgResult::No);
        frmClassPeriod w;
        w.show();
        QCoreApplication::processEvents();
        QCOMPARE(log.texts(), QStringList({"You haven't defined period system. Want to define?"}));
        QCOMPARE(log.messages.last().title, QString("Define Period System"));
        QCOMPARE(log.messages.last().buttons, hx::MsgButtons::YesNo);
        QVERIFY(opened.isEmpty());
    }
    {
        log.clear();
        log.answer(hx::MsgResult::Yes);
        frmClassPeriod w;
        QCOMPARE(opened, QStringList({"mnuPeriodSystem"}));
        w.show();
        // Once shown, the period-system window is brought in front of this one, once.
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(opened.last(), QString("mnuPeriodSystem"));
    }
    {
        // A class and days but no system to choose.
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
        log.clear();
        log.answer(hx::MsgResult::No);
        frmClassPeriod w;
        w.show();
        tickClass(&w, "VII-A");
        tickDays(&w, {"Mon"});
        get<QPushButton>(&w, "cmdAssign")->click();
        QCOMPARE(log.last(), QString("Select period system to assign"));
        QCOMPARE(log.messages.last().buttons, hx::MsgButtons::Ok);
        QCOMPARE(get<QTreeWidget>(&w, "lvPSList")->topLevelItemCount(), 0);
    }
    hx::SetWindowOpener({});
}

QTEST_MAIN(TestFrmClassPeriod)
#include "tst_frmclassperiod.moc"
