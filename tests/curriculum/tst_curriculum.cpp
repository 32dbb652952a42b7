#include "ClassPeriods.h"
#include "ClassSubjectLogic.h"
#include "TeacherSubjectLogic.h"
#include "Lookups.h"
#include "TestSupport.h"

#include <QTest>

class TestCurriculum : public QObject {
    Q_OBJECT
private slots:
    void weekPeriodsAndLimit();
    void classAssignAndRemove();
    void classHeaders();
    void teacherAssignRemoveSort();
};

static void Seed(TestDatabase &db)
{
    db.exec("insert into classsection (class, section, sortorder) values ('VII','A',1), ('X',NULL,2), ('IX','',3)");
    db.exec("insert into periodsystem values (1,'Regular',8,40,'08:00',4,20,'AM'), (2,'Short',4,30,'08:00',2,10,'AM')");
    db.exec("insert into subjects values ('Maths',1), ('English',2)");
    db.exec("insert into subjtype (subid, subtype) values (1,'I'), (1,'II'), (2,'I')");
}

void TestCurriculum::weekPeriodsAndLimit()
{
    TestDatabase db;
    Seed(db);
    const int vii = ClassIdFromText("VII-A");
    QVERIFY(vii > 0);
    QVERIFY(ClassIdFromText("X-") > 0);   // null section
    QVERIFY(ClassIdFromText("IX-") > 0);  // empty section
    QCOMPARE(LeadingNumber("12abc"), 12);
    QCOMPARE(LeadingNumber("x"), 0);
    QCOMPARE(int(ClassWeekPeriods(vii)), 0);
    db.exec("insert into classperiods values (?,1,'0,1,2,3,4'), (?,1,'5'), (?,2,'5')", {vii, vii, vii});
    db.exec("delete from classperiods where days = '5' and periodsysid = 1");
    QCOMPARE(int(ClassWeekPeriods(vii)), 44);
    QCOMPARE(int(ClassAssignedPeriods(vii)), 0);

    MessageLog log;
    ClassSubjectLogic l;
    QCOMPARE(l.classList(), QStringList{"VII-A"});
    QVERIFY(l.assign({"VII-A"}, {"Maths I"}, "40", "1"));
    QVERIFY(l.assign({"VII-A"}, {"Maths II"}, "4", "2"));
    QVERIFY(log.messages.isEmpty());
    QVERIFY(l.assign({"VII-A"}, {"English I"}, "1", "2"));
    QCOMPARE(log.last(), QString("Period limit exceeded for class VII-A"));
    QCOMPARE(int(ClassAssignedPeriods(vii)), 44);
    QVERIFY(!l.assign({"VII-A"}, {"English I"}, "0", "2"));
    QCOMPARE(log.last(), QString("Assign Periods per Week for subject and the class"));
    QVERIFY(!l.assign({"VII-A"}, {"English I"}, "3", ""));
    QCOMPARE(log.last(), QString("Select the level"));
}

void TestCurriculum::classAssignAndRemove()
{
    TestDatabase db;
    Seed(db);
    const int vii = ClassIdFromText("VII-A"), x = ClassIdFromText("X-");
    db.exec("insert into classperiods values (?,1,'0,1,2,3,4'), (?,2,'0,1,2,3,4,5')", {vii, x});
    MessageLog log;
    ClassSubjectLogic l;
    QCOMPARE(l.classList().size(), 2);
    QVERIFY(l.assign({"VII-A"}, {"Maths I"}, "5", "3"));
    QVERIFY(l.assign({"VII-A", "X-"}, {"Maths I", "Maths II", "English I"}, "5", "3"));
    QCOMPARE(db.count("classsubjects"), 6);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(l.rows().size(), 6);
    const int maths = QueryValue("select uniqueid from subjtype where subid = 1 and subtype = 'I'").toInt();
    for (int p = 0; p < 5; ++p)
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1,?,?,?,0)",
                {maths, vii, p});
    // Select every VII-A row: adjacent rows; the one with periods asks and No stops there.
    QVector<bool> sel;
    for (const QStringList &r : l.rows())
        sel << (r[0] == "VII-A");
    log.answer(hx::MsgResult::No);
    l.remove(sel);
    QVERIFY(log.last().startsWith("A schedule of 5 periods has been allocated to VII-A class for Maths I subject."
                                  "\rDo you want to delete that schedule ?"));
    QCOMPARE(db.count("timeschedule"), 5);
    log.answer(hx::MsgResult::Yes);
    sel.clear();
    for (const QStringList &r : l.rows())
        sel << (r[0] == "VII-A");
    l.remove(sel);
    QCOMPARE(db.count("classsubjects", "classid = ?", {vii}), 0);
    QCOMPARE(db.count("timeschedule"), 0);
    QCOMPARE(l.rows().size(), 3);
    QCOMPARE(l.subjectCount().size(), 1);
}

void TestCurriculum::classHeaders()
{
    TestDatabase db;
    ClassSubjectLogic l;
    l.columnClick(1);
    QCOMPARE(l.headers().mid(0, 3), (QStringList{"Class", "Subject ^", "Period"}));
    l.columnClick(1);
    QCOMPARE(l.headers().mid(0, 3), (QStringList{"Class", "Subject v", "Period"}));
    l.columnClick(3);
    QCOMPARE(l.headers()[1], QString("Subject v"));
}

void TestCurriculum::teacherAssignRemoveSort()
{
    TestDatabase db;
    Seed(db);
    db.exec("insert into teachers (teacherid, uniqueid, Teachername) values (1,'T1','Asha'), (2,'T2','Binu')");
    MessageLog log;
    TeacherSubjectLogic l;
    QCOMPARE(l.assign({"Asha"}, {"Maths I"}, "3", ""), QString("cmbLeastP"));
    QCOMPARE(log.last(), QString("Select Least Prefered Level"));
    QCOMPARE(l.assign({"Asha"}, {"Maths I"}, "", ""), QString("cmbLeastP"));
    QCOMPARE(l.assign({"Asha"}, {"Maths I"}, "", "9"), QString("cmbMostP"));
    QVERIFY(l.assign({"Asha"}, {"Maths I"}, "3", "9").isEmpty());
    QVERIFY(l.assign({"Asha", "Binu"}, {"Maths I", "English I", "Maths II"}, "10", "2").isEmpty());
    QCOMPARE(db.count("teachersubjects"), 6);
    QCOMPARE(l.rows()[1].mid(0, 4), (QStringList{"Asha", "Maths I", "3", "9"}));
    QCOMPARE(l.rows()[1][TeacherSubjectLogic::kTeacherId], QString("1")); // the row knows its teacher by id
    QCOMPARE(db.count("teachersubjects", "mostprf = 3 and leastprf = 9"), 1);
    // Levels sort as text.
    l.columnClick(2);
    QCOMPARE(l.rows().first()[2], QString("10"));
    QCOMPARE(l.headers(), (QStringList{"Teacher", "Subject", "Most Preferred", "Least Preferred"}));
    l.columnClick(0);
    l.columnClick(0);
    QCOMPARE(l.headers()[0], QString("Teacher v"));
    QCOMPARE(l.rows().first()[0], QString("Binu"));

    const int teacher = TeacherIdByName("Binu");
    const int maths = QueryValue("select uniqueid from subjtype where subid = 1 and subtype = 'I'").toInt();
    for (int p = 0; p < 5; ++p)
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?,?,1,?,1)",
                {teacher, maths, p});
    QVector<bool> sel;
    for (const QStringList &r : l.rows())
        sel << (r[0] == "Binu");
    log.answer(hx::MsgResult::No);
    QVERIFY(!l.remove(sel));
    QVERIFY(log.last().startsWith("Binu has been assigned 5 periods for Maths I subject.\r"));
    QCOMPARE(db.count("timeschedule"), 5);
    log.answer(hx::MsgResult::Yes);
    sel.clear();
    for (const QStringList &r : l.rows())
        sel << (r[0] == "Binu");
    QVERIFY(l.remove(sel));
    QCOMPARE(db.count("teachersubjects", "teacherid = ?", {teacher}), 0);
    QCOMPARE(db.count("timeschedule"), 0);
    QCOMPARE(l.teachersWithSubjects(), QStringList{"Asha"});
}

QTEST_MAIN(TestCurriculum)
#include "tst_curriculum.moc"
