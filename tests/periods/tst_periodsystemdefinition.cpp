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
    void failedUpdateLeavesEverything();
    void deleteEmptiesTimetablesOfItsDays();
    void newIdsAfterDeletion();

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
    // A class VII-A following system 1 on Mon-Fri and system 2 on Saturday, with a lesson in
    // every period 0..8 of every day.
    static void classInUse(TestDatabase &db)
    {
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
        db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
        db.exec("insert into periodsystem values (2, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
        db.exec("insert into classperiods values (1, 1, '0,1,2,3,4')");
        db.exec("insert into classperiods values (1, 2, '5')");
        for (int d = 0; d < 6; ++d)
            for (int p = 0; p < 9; ++p)
                db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, ?, ?)",
                        {p, d});
    }
};

void TestPeriodSystemDefinition::refusesBadInput()
{
    TestDatabase db;
    QVERIFY(db.ok());
    struct Case {
        const char *what;
        std::function<void(PeriodSystemInput &)> change;
        Def::Field field;
    };
    const QList<Case> cases = {
        {"blank name", [](PeriodSystemInput &i) { i.name = "   "; }, Def::Field::Name},
        {"hour 13", [](PeriodSystemInput &i) { i.hour = "13"; }, Def::Field::Hour},
        {"hour text", [](PeriodSystemInput &i) { i.hour = "8a"; }, Def::Field::Hour},
        {"minute 60", [](PeriodSystemInput &i) { i.minute = "60"; }, Def::Field::Minute},
        {"minute negative", [](PeriodSystemInput &i) { i.minute = "-5"; }, Def::Field::Minute},
        {"empty duration", [](PeriodSystemInput &i) { i.duration = ""; }, Def::Field::Duration},
        {"zero duration", [](PeriodSystemInput &i) { i.duration = "0"; }, Def::Field::Duration},
        {"fraction duration", [](PeriodSystemInput &i) { i.duration = "40.5"; }, Def::Field::Duration},
        {"recess before too late", [](PeriodSystemInput &i) { i.beforeRecess = "9"; }, Def::Field::BeforeRecess},
        {"empty recess", [](PeriodSystemInput &i) { i.recessDuration = ""; }, Def::Field::RecessDuration},
        {"zero recess", [](PeriodSystemInput &i) { i.recessDuration = "0"; }, Def::Field::RecessDuration},
    };
    for (const Case &c : cases) {
        MessageLog log;
        PeriodSystemInput in = regular();
        c.change(in);
        Def::Field faulty = Def::Field::None;
        QCOMPARE(Def::Save(in, &faulty), Def::SaveResult::Invalid);
        QVERIFY2(faulty == c.field, c.what);
        QCOMPARE(log.messages.size(), 1);
        QCOMPARE(log.messages[0].buttons, hx::MsgButtons::Ok);
        QCOMPARE(log.messages[0].icon, hx::MsgIcon::None);
        QCOMPARE(db.count("periodsystem"), 0);
    }
    // The limits themselves are allowed: hour 0 and 12, minute 59, recess as the last row,
    // and empty start boxes, which are stored as 00.
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
    QCOMPARE(Def::StartText("8", "5"), QString("08:5")); // the minute keeps its one digit
    QCOMPARE(Def::IncZero("8"), QString("08"));
    QCOMPARE(Def::IncZero("10"), QString("10"));
    QCOMPARE(Def::IncZero(""), QString(""));
}

void TestPeriodSystemDefinition::addsAndUpdatesByName()
{
    TestDatabase db;
    MessageLog log;

    // No to the question: nothing at all.
    log.answer(hx::MsgResult::No);
    QCOMPARE(Def::Save(regular()), Def::SaveResult::Cancelled);
    QCOMPARE(log.last(), QString("Add New Period System?"));
    QCOMPARE(log.messages.last().title, QString("Add Confirmation"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(db.count("periodsystem"), 0);

    log.answer(hx::MsgResult::Yes);
    int id = 0;
    PeriodSystemInput in = regular();
    in.hour = "8";
    in.minute = "5";
    in.name = "O'Brien's ? Früh ";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Added);
    QCOMPARE(id, 1);
    auto ps = FindPeriodSystem("o'brien's ? früh");
    QVERIFY(ps);
    QCOMPARE(ps->name, QString("O'Brien's ? Früh")); // quotes, marks and accents kept; blanks trimmed
    QCOMPARE(ps->start, QString("08:5"));
    QCOMPARE(ps->periods, 8);
    QCOMPARE(ps->amPm, QString("AM"));

    // The same name in other letters updates that system, without a question.
    log.clear();
    in.name = "O'BRIEN'S ? FRÜH";
    in.periods = "6";
    in.amPm = "PM";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Updated);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(id, 1);
    QCOMPARE(db.count("periodsystem"), 1);
    ps = FindPeriodSystem("O'Brien's ? Früh");
    QCOMPARE(ps->periods, 6);
    QCOMPARE(ps->amPm, QString("PM"));
    QCOMPARE(ps->name, QString("O'Brien's ? Früh"));

    log.answer(hx::MsgResult::Yes);
    in.name = "Short";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Added);
    QCOMPARE(id, 2);
    QCOMPARE(PeriodSystemNames(false), QStringList({"O'Brien's ? Früh", "Short"}));
}

void TestPeriodSystemDefinition::fewerPeriodsRemoveLessons()
{
    TestDatabase db;
    MessageLog log;
    classInUse(db);
    PeriodSystemInput in = regular();
    in.periods = "6";
    QCOMPARE(Def::Save(in), Def::SaveResult::Updated);
    // Mon-Fri keep periods 0..5; Saturday follows the other system and keeps all it had.
    QCOMPARE(db.count("timeschedule", "weekday < 5 and period >= 6"), 0);
    QCOMPARE(db.count("timeschedule", "weekday < 5"), 5 * 6);
    QCOMPARE(db.count("timeschedule", "weekday = 5"), 9);
    // More periods again remove nothing.
    in.periods = "9";
    QCOMPARE(Def::Save(in), Def::SaveResult::Updated);
    QCOMPARE(db.count("timeschedule"), 5 * 6 + 9);
    QVERIFY(log.messages.isEmpty());
}

void TestPeriodSystemDefinition::failedUpdateLeavesEverything()
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
    QCOMPARE(db.count("timeschedule"), 54);

    // The same holds for a deletion.
    log.clear();
    QVERIFY(!Def::Delete(1));
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(FindPeriodSystem("Regular"));
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
    QCOMPARE(db.count("timeschedule", "classid = 1 and weekday = 5"), 0);
    QCOMPARE(db.count("timeschedule", "classid = 1"), 45);
    QCOMPARE(db.count("timeschedule", "classid = 2"), 1);
    QCOMPARE(db.count("timeschedule", "classid = 2 and weekday = 2"), 1);
    QCOMPARE(db.count("periodsystem"), 1);
    QCOMPARE(db.count("classperiods", "periodsysid = 2"), 2); // assignments stay behind
    QVERIFY(log.messages.isEmpty());

    // A system nobody follows goes without touching lessons.
    db.exec("insert into periodsystem values (3, 'Exam', 3, 60, '09:00', 2, 30, 'AM')");
    QVERIFY(Def::Delete(3));
    QCOMPARE(db.count("timeschedule"), 46);
}

void TestPeriodSystemDefinition::newIdsAfterDeletion()
{
    TestDatabase db;
    MessageLog log;
    QCOMPARE(Def::NextId(), 1);
    classInUse(db);
    QCOMPARE(Def::NextId(), 3);
    // After the newest system goes, its id is not handed out again while classes still
    // name it, so they do not start following the next new system.
    QVERIFY(Def::Delete(2));
    log.answer(hx::MsgResult::Yes);
    int id = 0;
    PeriodSystemInput in = regular();
    in.name = "Winter";
    QCOMPARE(Def::Save(in, nullptr, &id), Def::SaveResult::Added);
    QCOMPARE(id, 3);
}

QTEST_MAIN(TestPeriodSystemDefinition)
#include "tst_periodsystemdefinition.moc"
