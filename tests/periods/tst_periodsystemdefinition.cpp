#include "PeriodSystemDefinition.h"
#include "TestSupport.h"

#include <QTest>

using Def = PeriodSystemDefinition;

class TestPeriodSystemDefinition : public QObject {
    Q_OBJECT
private slots:
    void refusesBadInput();
    void addsAndUpdatesByName();
    void fewerPeriodsRemoveLessons();
    void failuresLeaveEverything();
    void deleteEmptiesTimetablesOfItsDays();

private:
    static PeriodSystemInput regular()
    {
        PeriodSystemInput in;
        in.name = "Regular";
        in.hour = "08";
        in.minute = "00";
        in.periods = "8";
        in.duration = "40";
        in.beforeRecess = "4";
        in.recessDuration = "20";
        return in;
    }
    // VII-A follows system 1 on Mon-Fri and system 2 on Saturday, with a lesson in every cell.
    static void classInUse(TestDatabase &db)
    {
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
        db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
        db.exec("insert into periodsystem values (2, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
        db.exec("insert into classperiods values (1, 1, '0,1,2,3,4')");
        db.exec("insert into classperiods values (1, 2, '5')");
        for (int cell = 0; cell < 54; ++cell)
            db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, ?, ?)",
                    {cell / 6, cell % 6});
    }
};

void TestPeriodSystemDefinition::refusesBadInput()
{
    TestDatabase db;
    using F = Def::Field;
    const QList<std::pair<std::function<void(PeriodSystemInput &)>, F>> cases = {
        {[](PeriodSystemInput &i) { i.name = "   "; }, F::Name},
        {[](PeriodSystemInput &i) { i.hour = "13"; }, F::Hour},
        {[](PeriodSystemInput &i) { i.hour = "8a"; }, F::Hour},
        {[](PeriodSystemInput &i) { i.minute = "60"; }, F::Minute},
        {[](PeriodSystemInput &i) { i.minute = "-5"; }, F::Minute},
        {[](PeriodSystemInput &i) { i.duration = ""; }, F::Duration},
        {[](PeriodSystemInput &i) { i.duration = "0"; }, F::Duration},
        {[](PeriodSystemInput &i) { i.duration = "40.5"; }, F::Duration},
        {[](PeriodSystemInput &i) { i.beforeRecess = "9"; }, F::BeforeRecess},
        {[](PeriodSystemInput &i) { i.recessDuration = ""; }, F::RecessDuration},
        {[](PeriodSystemInput &i) { i.recessDuration = "0"; }, F::RecessDuration},
    };
    for (int n = 0; n < cases.size(); ++n) {
        MessageLog log;
        PeriodSystemInput in = regular();
        cases[n].first(in);
        F faulty = F::None;
        QCOMPARE(Def::Save(in, &faulty), Def::SaveResult::Invalid);
        QVERIFY2(faulty == cases[n].second, qPrintable(QString::number(n)));
        QCOMPARE(log.messages.size(), 1);
        QCOMPARE(log.messages[0].buttons, hx::MsgButtons::Ok);
        QCOMPARE(db.count("periodsystem"), 0);
    }
    // The limits are allowed: hour 0 and 12, minute 59, the recess as the last row, and
    // empty start boxes, which are stored as 00.
    PeriodSystemInput edge = regular();
    edge.hour = "12";
    edge.minute = "59";
    edge.beforeRecess = "8";
    QVERIFY(Def::Validate(edge).ok());
    edge.hour = "0";
    QVERIFY(Def::Validate(edge).ok());
    edge.hour.clear();
    edge.minute.clear();
    QVERIFY(Def::Validate(edge).ok());
    QCOMPARE(Def::StartText("", ""), QString("00:00"));
    QCOMPARE(Def::StartText("8", "5"), QString("08:5")); // only the hour is padded
}

void TestPeriodSystemDefinition::addsAndUpdatesByName()
{
    TestDatabase db;
    MessageLog log;
    log.answer(hx::MsgResult::No);
    QCOMPARE(Def::Save(regular()), Def::SaveResult::Cancelled);
    QCOMPARE(log.last(), QString("Add New Period System?"));
    QCOMPARE(log.messages.last().title, QString("Add Confirmation"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(db.count("periodsystem"), 0);

    log.answer(hx::MsgResult::Yes);
    int id = 0;
    PeriodSystemInput in = regular();
    in.name = "O'Brien's ? Früh ";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Added);
    QCOMPARE(id, 1);
    QCOMPARE(FindPeriodSystem("o'brien's ? früh")->name, QString("O'Brien's ? Früh"));

    // The same name in other letters (accented ones too) updates that system, unasked.
    log.clear();
    in.name = "O'BRIEN'S ? FRÜH";
    in.periods = "6";
    in.amPm = "PM";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Updated);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(id, 1);
    const auto ps = FindPeriodSystem("O'Brien's ? Früh");
    QCOMPARE(ps->periods, 6);
    QCOMPARE(ps->amPm, QString("PM"));
    QCOMPARE(ps->name, QString("O'Brien's ? Früh"));
    QCOMPARE(db.count("periodsystem"), 1);
}

void TestPeriodSystemDefinition::fewerPeriodsRemoveLessons()
{
    TestDatabase db;
    MessageLog log;
    classInUse(db);
    PeriodSystemInput in = regular();
    in.periods = "6";
    QCOMPARE(Def::Save(in), Def::SaveResult::Updated);
    // Mon-Fri keep periods 0..5; Saturday follows the other system and keeps everything.
    QCOMPARE(db.count("timeschedule", "weekday < 5"), 5 * 6);
    QCOMPARE(db.count("timeschedule", "weekday < 5 and period >= 6"), 0);
    QCOMPARE(db.count("timeschedule", "weekday = 5"), 9);
    in.periods = "9"; // more periods remove nothing
    QCOMPARE(Def::Save(in), Def::SaveResult::Updated);
    QCOMPARE(db.count("timeschedule"), 5 * 6 + 9);
    QVERIFY(log.messages.isEmpty());
}

void TestPeriodSystemDefinition::failuresLeaveEverything()
{
    TestDatabase db;
    MessageLog log;
    classInUse(db);
    db.exec("create trigger keep before delete on timeschedule begin select raise(abort, 'lessons locked'); end");
    PeriodSystemInput in = regular();
    in.periods = "5";
    in.duration = "45";
    QCOMPARE(Def::Save(in), Def::SaveResult::Failed);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(log.last().contains("lessons locked"));
    // The update went back with the failed removal.
    QCOMPARE(FindPeriodSystem("Regular")->periods, 8);
    QCOMPARE(FindPeriodSystem("Regular")->duration, 40);

    log.clear();
    QVERIFY(!Def::Delete(1));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(FindPeriodSystem("Regular"));
    QCOMPARE(db.count("timeschedule"), 54);
}

void TestPeriodSystemDefinition::deleteEmptiesTimetablesOfItsDays()
{
    TestDatabase db;
    MessageLog log;
    classInUse(db);
    db.exec("insert into classsection (class, section, sortorder) values ('VIII', NULL, 11)");
    db.exec("insert into classperiods values (2, 2, '0,1')");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 2, 0, 0)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 2, 0, 2)");

    QVERIFY(Def::Delete(2));
    // VII-A loses Saturday only; VIII loses Monday and Tuesday but keeps Wednesday.
    QCOMPARE(db.count("timeschedule", "classid = 1"), 45);
    QCOMPARE(db.count("timeschedule", "classid = 1 and weekday = 5"), 0);
    QCOMPARE(db.count("timeschedule", "classid = 2 and weekday = 2"), 1);
    QCOMPARE(db.count("timeschedule", "classid = 2"), 1);
    QCOMPARE(db.count("classperiods", "periodsysid = 2"), 2); // assignments stay behind
    QVERIFY(log.messages.isEmpty());

    // So the deleted system's id is not handed out again: those classes would follow it.
    log.answer(hx::MsgResult::Yes);
    int id = 0;
    PeriodSystemInput in = regular();
    in.name = "Winter";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Added);
    QCOMPARE(id, 3);
}

QTEST_MAIN(TestPeriodSystemDefinition)
#include "tst_periodsystemdefinition.moc"
