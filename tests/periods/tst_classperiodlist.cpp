#include "ClassPeriodList.h"
#include "TestSupport.h"

#include <QTest>

class TestClassPeriodList : public QObject {
    Q_OBJECT
private slots:
    void dayConversions();
    void assignLeavesOutOccupiedDays();
    void loadAndSave();
    void saveProblems();

private:
    static QStringList lines(const ClassPeriodList &l)
    {
        QStringList out;
        for (const ClassPeriodRow &r : l.rows())
            out << QString("%1 %2 %3 %4 %5").arg(r.classText, r.periodSystem, r.days).arg(r.classId).arg(r.periodSysId);
        return out;
    }
    static void school(TestDatabase &db)
    {
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)"); // 1
        db.exec("insert into classsection (class, section, sortorder) values ('VI', NULL, 9)");  // 2
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10)"); // 3
        db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM')");
        db.exec("insert into periodsystem values (2, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
    }
};

void TestClassPeriodList::dayConversions()
{
    QCOMPARE(ClassPeriodList::ConstToDays("0,5"), QString("Mon,Sat"));
    QCOMPARE(ClassPeriodList::DaysToConst("Tue,Thu"), QString("1,3"));
    // The order given is kept; anything outside the six days is skipped.
    QCOMPARE(ClassPeriodList::DaysToConst("Sat,Mon"), QString("5,0"));
    QCOMPARE(ClassPeriodList::DaysToConst("Sun,Mon,,Fri"), QString("0,4"));
    QCOMPARE(ClassPeriodList::ConstToDays("6,2,x,10"), QString("Wed"));
    QCOMPARE(ClassPeriodList::ConstToDays(""), QString());
}

void TestClassPeriodList::assignLeavesOutOccupiedDays()
{
    TestDatabase db;
    MessageLog log;
    ClassPeriodList l;
    const ClassChoice viiA{"VII-A", 1}, viiB{"VII-B", 3}, vi{"VI-", 2};

    l.assign({viiA, viiB}, "Regular", 1, {"Mon", "Tue", "Wed", "Thu", "Fri"});
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(lines(l), QStringList({"VII-A Regular Mon,Tue,Wed,Thu,Fri 1 1", "VII-B Regular Mon,Tue,Wed,Thu,Fri 3 1"}));

    // Cancel skips that class only; the next class still gets its row.
    log.answer(hx::MsgResult::Cancel);
    l.assign({viiB, vi}, "Short", 2, {"Thu", "Sat"});
    QCOMPARE(log.texts(), QStringList({"Thu are already occupied for class VII-B\nAssign Sat ?"}));
    QCOMPARE(lines(l).last(), QString("VI- Short Thu,Sat 2 2"));
    QCOMPARE(l.rows().size(), 3);

    // Regular again on Monday only: the row's days become Mon (the others are not kept).
    log.clear();
    l.assign({viiA}, "Regular", 1, {"Mon"});
    QCOMPARE(lines(l).first(), QString("VII-A Regular Mon 1 1"));
    // Every ticked day held by another system: no question, no row.
    l.assign({vi}, "Regular", 1, {"Sat"});
    QCOMPARE(log.texts(), QStringList({"All days are already assigned"}));
    QCOMPARE(l.rows().size(), 3);

    // The occupied days are named Monday first, whatever order they came in.
    log.clear();
    log.answer(hx::MsgResult::Ok);
    l.assign({vi}, "Regular", 1, {"Sat", "Tue", "Thu"});
    QCOMPARE(log.last(), QString("Thu,Sat are already occupied for class VI-\nAssign Tue ?"));
    QCOMPARE(lines(l).last(), QString("VI- Regular Tue 2 1"));

    l.remove(-1);
    l.remove(4);
    QCOMPARE(l.rows().size(), 4);
    l.remove(0);
    QCOMPARE(lines(l).first(), QString("VII-B Regular Mon,Tue,Wed,Thu,Fri 3 1"));
}

void TestClassPeriodList::loadAndSave()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into classperiods values (1, 1, '0,1,2,3,4')");
    db.exec("insert into classperiods values (2, 2, '5')");
    db.exec("insert into classperiods values (9, 1, '0')"); // a class that has gone: not listed
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 7, 0)");

    ClassPeriodList l;
    l.load();
    QCOMPARE(lines(l), QStringList({"VI- Short Sat 2 2", "VII-A Regular Mon,Tue,Wed,Thu,Fri 1 1"}));
    l.assign({{"VII-A", 1}}, "Regular", 1, {"Mon", "Tue"});
    l.assign({{"VI-", 2}}, "Regular", 1, {"Wed", "Mon"});
    QVERIFY(l.save());
    QCOMPARE(db.count("classperiods"), 3);
    QCOMPARE(db.count("classperiods", "classid = 1 and periodsysid = 1 and days = '0,1'"), 1);
    QCOMPARE(db.count("classperiods", "classid = 2 and periodsysid = 1 and days = '0,2'"), 1);
    QCOMPARE(db.count("classperiods", "classid = 2 and periodsysid = 2 and days = '5'"), 1);
    QCOMPARE(db.count("timeschedule"), 1); // the timetable is left alone
    QVERIFY(log.messages.isEmpty());

    // An empty list saves nothing: the table keeps its rows.
    QVERIFY(ClassPeriodList().save());
    QCOMPARE(db.count("classperiods"), 3);

    // A class without section is found whether its section is null or empty.
    QCOMPARE(ClassPeriodList::ClassIdOf("VI-"), 2);
    db.exec("update classsection set section = '' where classid = 2");
    QCOMPARE(ClassPeriodList::ClassIdOf("VI-"), 2);
    QCOMPARE(ClassPeriodList::ClassIdOf("VII-B"), 3);
    QCOMPARE(ClassPeriodList::ClassIdOf("VII-"), 0);
}

void TestClassPeriodList::saveProblems()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    ClassPeriodList l;
    l.assign({{"VII-A", 1}, {"VII-B", 3}}, "Regular", 1, {"Mon"});
    l.assign({{"VII-A", 1}}, "Short", 2, {"Sat"});
    // Meanwhile another window removed VII-B and the Short system: those rows are left
    // out and named, never stored under another row's ids.
    db.exec("delete from classsection where classid = 3");
    db.exec("delete from periodsystem where periodsysid = 2");
    QVERIFY(l.save());
    QCOMPARE(db.count("classperiods"), 1);
    QCOMPARE(db.count("classperiods", "classid = 1 and periodsysid = 1 and days = '0'"), 1);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().contains("VII-B Regular Mon"));
    QVERIFY(log.last().contains("VII-A Short Sat"));
    QVERIFY(!log.last().contains("VII-A Regular"));

    // A failing insert takes the whole save back: the old rows stay, the list is kept.
    log.clear();
    db.exec("create trigger nosat before insert on classperiods when new.days like '%5%' "
            "begin select raise(abort, 'no saturdays'); end");
    db.exec("insert into periodsystem values (2, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
    l.setRows({});
    l.assign({{"VII-A", 1}}, "Regular", 1, {"Tue"});
    l.assign({{"VII-A", 1}}, "Short", 2, {"Sat"});
    QVERIFY(!l.save());
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("classperiods", "classid = 1 and periodsysid = 1 and days = '0'"), 1);
    QCOMPARE(db.count("classperiods"), 1);
    QCOMPARE(l.rows().size(), 2);
}

QTEST_MAIN(TestClassPeriodList)
#include "tst_classperiodlist.moc"
