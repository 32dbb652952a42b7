#include "Lookups.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "frmDefinePeriodSys.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class TestFrmDefinePeriodSys : public QObject {
    Q_OBJECT
private slots:
    void loadsAndShowsChosenSystem();
    void savesTypedSystem();
    void deletesWithQuestion();
    void typedNameDoesNotOverwriteTypedNumbers();
    void shorteningFailsWhenTheClassesCannotBeRead();

private:
    template <class T> static T *get(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    static QStringList listRows(QTreeWidget *lv)
    {
        QStringList out;
        for (int i = 0; i < lv->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *it = lv->topLevelItem(i);
            out << it->text(0) + " " + it->text(1) + "-" + it->text(2);
        }
        return out;
    }
    static void choose(QComboBox *combo, const QString &name) { QVERIFY(input::Pick(combo, name)); }
};

void TestFrmDefinePeriodSys::loadsAndShowsChosenSystem()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into periodsystem values (2, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    db.exec("insert into periodsystem values (1, 'Afternoon', 2, 30, '12:40', 2, 10, 'PM')");
    frmDefinePeriodSys w;
    QVERIFY(ShowInFront(&w));
    QCOMPARE(w.windowTitle(), QString("Period System"));
    auto *name = get<QComboBox>(&w, "cmbPeriodSysName");
    auto *list = get<QTreeWidget>(&w, "lvPSDetail");
    QCOMPARE(name->count(), 2);
    QCOMPARE(name->itemText(0), QString("Afternoon")); // in the order the systems were made
    QCOMPARE(name->currentText(), QString());
    QCOMPARE(get<QComboBox>(&w, "cmbPeriodNumber")->currentText(), QString("1"));
    QCOMPARE(get<QComboBox>(&w, "cmbAMPM")->currentText(), QString("AM"));
    QCOMPARE(list->topLevelItemCount(), 0);

    choose(name, "Regular");
    QCOMPARE(w.currentPeriodSysId(), 2);
    QCOMPARE(get<QLineEdit>(&w, "txtStHr")->text(), QString("08"));
    QCOMPARE(get<QComboBox>(&w, "cmbPeriodNumber")->currentText(), QString("8"));
    QCOMPARE(get<QLineEdit>(&w, "txtPeriodDuration")->text(), QString("40"));
    QCOMPARE(get<QComboBox>(&w, "cmbPBeforeRec")->currentText(), QString("4"));
    QCOMPARE(get<QLineEdit>(&w, "txtRecDuration")->text(), QString("20"));
    QCOMPARE(list->topLevelItemCount(), 9);
    QCOMPARE(listRows(list).at(4), QString("RECESS 10:40-11:00"));
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(list->topLevelItem(4)->foreground(c).color(), QColor(255, 0, 0));
        QVERIFY(list->topLevelItem(3)->foreground(c).color() != QColor(255, 0, 0));
    }

    choose(name, "Afternoon");
    QCOMPARE(get<QComboBox>(&w, "cmbAMPM")->currentText(), QString("PM"));
    QCOMPARE(listRows(list), QStringList({"1 12:40-1:10", "2 1:10-1:40", "RECESS 1:40-1:50"}));

    // Typing a name that begins like an existing one keeps what was typed.
    QVERIFY(input::TypeOver(name, "Reg"));

    // Emptying the name (blanks count as empty) empties the inputs and the list.
    QVERIFY(input::TypeOver(name, "  "));
    QCOMPARE(w.currentPeriodSysId(), 0);
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(get<QLineEdit>(&w, "txtStHr")->text(), QString());
    QCOMPARE(get<QComboBox>(&w, "cmbAMPM")->currentText(), QString("AM"));
    QVERIFY(log.messages.isEmpty());
}

void TestFrmDefinePeriodSys::savesTypedSystem()
{
    TestDatabase db;
    MessageLog log;
    frmDefinePeriodSys w;
    QVERIFY(ShowInFront(&w));
    auto *name = get<QComboBox>(&w, "cmbPeriodSysName");
    auto *hour = get<QLineEdit>(&w, "txtStHr");
    auto *duration = get<QLineEdit>(&w, "txtPeriodDuration");
    QVERIFY(input::TypeOver(name, "Regular"));
    // A one-digit hour gets its zero when the box is left.
    Retype(hour, "8");
    Retype(get<QLineEdit>(&w, "txtStMin"), "5");
    QCOMPARE(hour->text(), QString("08"));
    choose(get<QComboBox>(&w, "cmbPeriodNumber"), "8");
    choose(get<QComboBox>(&w, "cmbPBeforeRec"), "8");
    Retype(get<QLineEdit>(&w, "txtRecDuration"), "20");

    // A bad number is refused before anything is written; the input stays, the box gets the focus.
    Retype(duration, "forty");
    input::Click(get<QPushButton>(&w, "cmdSave"));
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(db.count("periodsystem"), 0);
    QCOMPARE(name->currentText(), QString("Regular"));
    QVERIFY(duration->hasFocus());

    log.clear();
    Retype(duration, "40");
    log.answer(hx::MsgResult::Yes);
    input::Click(get<QPushButton>(&w, "cmdSave"));
    QCOMPARE(log.texts(), QStringList({"Add New Period System?"}));
    QCOMPARE(db.count("periodsystem", "ps_name = 'Regular' and p_start = '08:5' and p_no = 8 and p_before_rec = 8"),
             1);
    // The inputs are empty again, the name is in the list, and the saved periods stay in view
    // (minute padded on screen only) with the recess last.
    QCOMPARE(name->currentText(), QString());
    QCOMPARE(name->count(), 1);
    QCOMPARE(hour->text(), QString());
    QCOMPARE(w.currentPeriodSysId(), 0);
    const QStringList rows = listRows(get<QTreeWidget>(&w, "lvPSDetail"));
    QCOMPARE(rows.size(), 9);
    QCOMPARE(rows.first(), QString("1 8:05-8:45"));
    QCOMPARE(rows.last(), QString("RECESS 1:25-1:45"));
}

void TestFrmDefinePeriodSys::deletesWithQuestion()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    db.exec("insert into classperiods values (1, 1, '0,1')");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 0, 0)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 0, 3)");
    frmDefinePeriodSys w;
    QVERIFY(ShowInFront(&w));
    auto *name = get<QComboBox>(&w, "cmbPeriodSysName");
    auto *del = get<QPushButton>(&w, "CmdDelete");

    input::Click(del); // nothing typed: nothing asked
    QVERIFY(log.messages.isEmpty());

    choose(name, "Regular");
    log.answer(hx::MsgResult::No);
    input::Click(del);
    QCOMPARE(log.last(), QString("Are you sure you want to DELETE 'Regular' period system?"));
    QCOMPARE(log.messages.last().title, QString("Period System"));
    QCOMPARE(log.messages.last().buttons, hx::MsgButtons::YesNo);
    QCOMPARE(db.count("periodsystem"), 1);
    QCOMPARE(name->currentText(), QString("Regular"));

    log.answer(hx::MsgResult::Yes);
    input::Click(del);
    QCOMPARE(db.count("periodsystem"), 0);
    QCOMPARE(db.count("timeschedule"), 1); // Thursday was not the system's day
    QCOMPARE(name->count(), 0);
    QCOMPARE(name->currentText(), QString());
    QCOMPARE(get<QTreeWidget>(&w, "lvPSDetail")->topLevelItemCount(), 0);
}

// Numbers typed first and then the name of a stored system: leaving the name box asks before
// the stored numbers replace the typed ones, and No lets Save store what was typed.
void TestFrmDefinePeriodSys::typedNameDoesNotOverwriteTypedNumbers()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    frmDefinePeriodSys w;
    QVERIFY(ShowInFront(&w));
    auto *name = get<QComboBox>(&w, "cmbPeriodSysName");
    auto *duration = get<QLineEdit>(&w, "txtPeriodDuration");
    Retype(get<QLineEdit>(&w, "txtStHr"), "9");
    Retype(duration, "35");
    Retype(get<QLineEdit>(&w, "txtRecDuration"), "15");
    auto *periods = get<QComboBox>(&w, "cmbPeriodNumber");
    periods->setFocus();
    QTest::keyClicks(periods, "6");
    QCOMPARE(periods->currentText(), QString("6"));

    name->setFocus();
    QTest::keyClicks(name, "Regular");
    log.answer(hx::MsgResult::No);
    QTest::keyClick(name, Qt::Key_Tab); // leaving the box
    QCOMPARE(log.texts(), QStringList{"Replace the values typed with those saved for period system 'Regular'?"});
    QCOMPARE(log.messages.last().buttons, hx::MsgButtons::YesNo);
    QCOMPARE(duration->text(), QString("35"));
    QCOMPARE(periods->currentText(), QString("6"));

    AltKey(&w, 's', get<QPushButton>(&w, "cmdSave"));
    QCOMPARE(db.count("periodsystem", "periodsysid = 1 and p_no = 6 and p_duration = 35 and p_start = '09:00'"
                                      " and rec_duration = 15"),
             1);

    // Picked from the list with nothing typed, the system loads at once.
    log.clear();
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Down);
    QCOMPARE(name->currentText(), QString("Regular"));
    QCOMPARE(duration->text(), QString("35"));
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(log.unexpectedQuestions, 0);
}

// Saving fewer periods removes the lessons beyond them; when the classes that follow the
// system cannot be read, the save fails and says so instead of leaving those lessons.
void TestFrmDefinePeriodSys::shorteningFailsWhenTheClassesCannotBeRead()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
    db.exec("insert into classperiods values (1, 1, '0,1')");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 7, 0)");
    db.exec("alter table classperiods rename to classperiods_away");
    QVERIFY(!RemoveSurplusPeriods(1));
    QVERIFY(log.last().startsWith("Error :"));

    frmDefinePeriodSys w;
    QVERIFY(ShowInFront(&w));
    choose(get<QComboBox>(&w, "cmbPeriodSysName"), "Regular");
    auto *periods = get<QComboBox>(&w, "cmbPeriodNumber");
    periods->setFocus();
    QTest::keyClicks(periods, "6");
    log.clear();
    AltKey(&w, 's', get<QPushButton>(&w, "cmdSave"));
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("periodsystem", "p_no = 8"), 1);
    QCOMPARE(periods->currentText(), QString("6")); // the user's work stays for another try
    db.exec("alter table classperiods_away rename to classperiods");
    AltKey(&w, 's', get<QPushButton>(&w, "cmdSave"));
    QCOMPARE(db.count("periodsystem", "p_no = 6"), 1);
    QCOMPARE(db.count("timeschedule"), 0);
}

QTEST_MAIN(TestFrmDefinePeriodSys)
#include "tst_frmdefineperiodsys.moc"
