#include "TeacherRegister.h"
#include "TestSupport.h"

#include <QTest>

class TestTeacher : public QObject {
    Q_OBJECT
private slots:
    void teacherCodes();
    void dateChecks();
    void addChangeDelete();
    void photoAndTyping();
};

void TestTeacher::teacherCodes()
{
    TestDatabase db;
    MessageLog log;
    QCOMPARE(TeacherRegister::Initials("Ram Prasad Sharma"), QString("RPS"));
    QCOMPARE(TeacherRegister::Initials("Ram  Kumar"), QString("RK")); // empty part adds nothing
    QCOMPARE(TeacherRegister::NextUniqueId("Ram Prasad Sharma"), QString("RPS-01"));
    QCOMPARE(TeacherRegister::NextUniqueId("   "), QString());
    // Whole characters only: an emoji or a letter with its combining accent is one initial.
    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");
    const QString eAcute = QString::fromUtf8("e\xcc\x81");
    QCOMPARE(TeacherRegister::Initials(smile + "x Rao " + eAcute + "mile"), smile + "R" + eAcute);
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values (?, 'A smile', 20)",
            {smile + "R-04"});
    QCOMPARE(TeacherRegister::NextUniqueId(smile + " Rao"), smile + "R-05");
    QCOMPARE(QueryValue("select count(*) from teachers where uniqueid = ?", {smile + "R-04"}).toInt(), 1);
    db.exec("delete from teachers");

    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RPS-01', 'Ram Prasad Sharma', 1),"
            " ('RP-07', 'Ravi Pal', 2)");
    QCOMPARE(TeacherRegister::NextUniqueId("Rita Pooja Singh"), QString("RPS-02"));
    // "RP-" does not take the longer initials' codes, and a lower-case code counts too.
    QCOMPARE(TeacherRegister::NextUniqueId("Raj Pandey"), QString("RP-08"));
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('rps-05', 'rita p s', 3)");
    QCOMPARE(TeacherRegister::NextUniqueId("Rupa Pal Sen"), QString("RPS-06"));

    // Two digits: the 99th is the last; a hundredth is refused with a reason, not a clash.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('AB-98', 'A B', 10)");
    QCOMPARE(TeacherRegister::NextUniqueId("Anil Bose"), QString("AB-99"));
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('AB-99', 'A B', 11)");
    QString refusal;
    QCOMPARE(TeacherRegister::NextUniqueId("Anil Bose", &refusal), QString());
    QVERIFY(refusal.contains("99"));
    TeacherRecord r = TeacherRegister::Defaults(QDate(2026, 1, 1));
    r.teachername = "Anil Bose";
    r.dob = QDate(1990, 1, 1);
    QCOMPARE(TeacherRegister::Insert(r), 0);
    QCOMPARE(db.count("teachers", "Teachername = 'Anil Bose'"), 0);
    QCOMPARE(log.last(), refusal);
}

void TestTeacher::dateChecks()
{
    const QDate today(2026, 6, 15);
    TeacherRecord r = TeacherRegister::Defaults(today);
    QVERIFY(TeacherRegister::CheckEmpty(r).has_value());
    QCOMPARE(TeacherRegister::CheckEmpty(r)->title, QString("Incomplete Data"));
    QCOMPARE(TeacherRegister::CheckEmpty(r)->icon, hx::MsgIcon::Information);
    r.teachername = "Sita Devi";
    QVERIFY(!TeacherRegister::CheckEmpty(r));

    const QString born = "Teacher must have been born to teach in this school";
    // The default (today) birth date fails; the year counts, not the day.
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text, born);
    r.dob = QDate(2021, 12, 31);
    QVERIFY(!TeacherRegister::CheckDates(r, today));
    r.dob = QDate(2022, 1, 1);
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text, born);
    r.dob = QDate(1926, 1, 1);
    QVERIFY(!TeacherRegister::CheckDates(r, today));
    r.dob = QDate(1925, 12, 31);
    QCOMPARE(TeacherRegister::CheckDates(r, today)->icon, hx::MsgIcon::Critical);

    r.dob = QDate(1980, 5, 5);
    r.doj = today.addDays(1);
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text,
             QString("Date of Join should not be more than current Date"));
    r.doj = today;

    // Marriage on the birth day: refused for the married only.
    r.dom = r.dob;
    r.maritalstatus = "Single";
    QVERIFY(!TeacherRegister::CheckDates(r, today));
    r.maritalstatus = "MARRIED";
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text,
             QString("Date of marriage can not be less than date of birth"));
    r.dom = today.addDays(1);
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text,
             QString("Date of marriage can not be more than current date"));
    r.dom = QDate(); // no date of marriage given
    QVERIFY(!TeacherRegister::CheckDates(r, today));
    // The first failing check is the one reported.
    r.dob = today;
    r.doj = today.addDays(3);
    QCOMPARE(TeacherRegister::CheckDates(r, today)->text, born);
}

void TestTeacher::addChangeDelete()
{
    TestDatabase db;
    MessageLog log;
    QVERIFY(TeacherRegister::List().isEmpty());

    TeacherRecord r = TeacherRegister::Defaults(QDate(2026, 6, 15));
    r.teachername = "O'Brien ?Müller";
    r.dob = QDate(1980, 2, 29);
    r.dom = QDate(2005, 11, 20);
    r.photopath = "/tmp/a b/o'brien.jpg";
    r.husbandname = "Sean";
    QCOMPARE(TeacherRegister::Insert(r), 1); // the first teacher in an empty table
    QCOMPARE(r.uniqueid, QString("O?-01"));
    QCOMPARE(db.count("teachers", "teacherid = 1 and stillworking = 'Y' and dob = '1980-02-29'"
                                  " and dom = '2005-11-20' and doj = '2026-06-15' and city = 'Jaipur'"),
             1);
    auto loaded = TeacherRegister::Load(1);
    QVERIFY(loaded.has_value());
    QCOMPARE(loaded->teachername, r.teachername);
    QCOMPARE(loaded->photopath, r.photopath);
    QCOMPARE(loaded->dom, r.dom);
    QCOMPARE(loaded->state, QString("Rajasthan"));

    TeacherRecord b = TeacherRegister::Defaults(QDate(2026, 6, 15));
    b.teachername = "Anita Bose";
    b.uniqueid = TeacherRegister::NextUniqueId(b.teachername);
    b.dob = QDate(1985, 1, 1);
    QCOMPARE(TeacherRegister::Insert(b), 2);
    QCOMPARE(db.count("teachers", "teacherid = 2 and dom is null"), 1);

    const auto list = TeacherRegister::List();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[0].text, QString("Anita Bose(AB-01)"));
    QCOMPARE(list[0].teacherid, 2);
    QCOMPARE(list[1].text, QString("O'Brien ?Müller(O?-01)"));

    // Change by code; the marriage date can be taken away again.
    loaded->city = "Ajmer";
    loaded->dom = QDate();
    QVERIFY(TeacherRegister::Update(*loaded));
    QCOMPARE(db.count("teachers", "teacherid = 1 and city = 'Ajmer' and dom is null"), 1);
    QVERIFY(log.messages.isEmpty());
    // A code no row has is reported, not passed off as saved.
    loaded->uniqueid = "ZZ-01";
    QVERIFY(!TeacherRegister::Update(*loaded));
    QVERIFY(log.last().startsWith("Error :"));

    // A failing insert leaves nothing behind and says why.
    log.clear();
    TeacherRecord dup = b;
    dup.teachername = "Anita Bose Second";
    QCOMPARE(TeacherRegister::Insert(dup), 0); // the code AB-01 is taken
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("teachers"), 2);
    // The same name again is refused before anything is written.
    log.clear();
    dup = b;
    dup.uniqueid.clear();
    QCOMPARE(TeacherRegister::Insert(dup), 0);
    QCOMPARE(log.last(), TeacherRegister::DuplicateNameMessage());
    QCOMPARE(db.count("teachers"), 2);

    // Anita (2) leaves subjects behind when she goes.
    db.exec("insert into teachersubjects values (2, 1, 7, 8)");
    QVERIFY(TeacherRegister::Remove("AB-01"));
    QVERIFY(TeacherRegister::Remove("O?-01"));
    QVERIFY(TeacherRegister::List().isEmpty());
    QCOMPARE(TeacherRegister::ListCaption(0), QString("Teachers (0)"));
    // A new teacher never gets an id that rows still refer to: not Anita's 2.
    QCOMPARE(TeacherRegister::Insert(b), 3);
}

void TestTeacher::photoAndTyping()
{
    QVERIFY(TeacherRegister::IsPhotoFile("C:/x/Photo.BMP"));
    QVERIFY(TeacherRegister::IsPhotoFile("/x/p.jpg"));
    QVERIFY(TeacherRegister::IsPhotoFile("/x/p.jpeg"));
    QVERIFY(TeacherRegister::IsPhotoFile("/x/p.png"));
    QVERIFY(!TeacherRegister::IsPhotoFile("/x/p.gif"));
    QVERIFY(!TeacherRegister::IsPhotoFile("/x/bmp"));

    QCOMPARE(TeacherRegister::NameKeyCase("", 'r'), QChar('R'));
    QCOMPARE(TeacherRegister::NameKeyCase("Ram ", 'k'), QChar('K'));
    QCOMPARE(TeacherRegister::NameKeyCase("Ram K", 'U'), QChar('u'));

    QVERIFY(TeacherRegister::HusbandApplies("Female", "married"));
    QVERIFY(!TeacherRegister::HusbandApplies("Male", "Married"));
    QVERIFY(!TeacherRegister::HusbandApplies("Female", "Single"));
    QCOMPARE(TeacherRegister::States().size(), 32);
}

QTEST_MAIN(TestTeacher)
#include "tst_teacher.moc"
