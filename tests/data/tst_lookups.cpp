#include "Lookups.h"
#include "TestSupport.h"

#include <QComboBox>

#include <QTest>

class TestLookups : public QObject {
    Q_OBJECT
private slots:
    void classSections();
    void teachersAndSubjects();
    void dayNamesAndSafeText();
    void removeSurplusPeriods();
};

void TestLookups::classSections()
{
    TestDatabase db;
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10), ('IX', NULL, 12),"
            " ('X', '', 13)");
    const int vii = QueryValue("select classid from classsection where class = 'VII'").toInt();
    const int ix = QueryValue("select classid from classsection where class = 'IX'").toInt();
    const int x = QueryValue("select classid from classsection where class = 'X'").toInt();
    QVERIFY(vii > 0 && ix > 0 && x > 0);
    QCOMPARE(ClassIdByClassSection("VII-B"), vii);
    QCOMPARE(ClassIdByClassSection("VII-B-1"), vii);
    QCOMPARE(ClassIdByClassSection("VII"), 0);
    QCOMPARE(ClassIdByClassSection("IX"), ix);   // null section
    QCOMPARE(ClassIdByClassSection("X"), x);     // empty section
    QCOMPARE(ClassIdByClassSection("X-"), x);    // empty text after the dash
    QCOMPARE(ClassIdByClassSection("IX-"), ix);  // the shown form finds a null section too
    QCOMPARE(ClassIdByClassSection("XII-A"), 0);
    // The shown form of a class without section keeps its dash.
    QCOMPARE(QueryValue("select " + ClassSectionExpr("c") + " from classsection c where classid = ?", {ix})
                 .toString(),
             QString("IX-"));
    // Ids of removed class-sections are never given again.
    db.exec("delete from classsection where class = 'X'");
    db.exec("insert into classsection (class, section, sortorder) values ('XI', 'A', 14)");
    QVERIFY(ClassIdByClassSection("XI-A") > x);
}

void TestLookups::teachersAndSubjects()
{
    TestDatabase db;
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK01', 'Ram Kumar', 3)");
    db.exec("insert into subjects values ('Maths', 1), ('English', 2)");
    db.exec("insert into subjtype (subid, subtype) values (1, 'Algebra'), (2, '')");
    LoadSubjectSnapshot();
    QCOMPARE(TeacherIdByName("Ram Kumar"), 3);
    QCOMPARE(TeacherIdByName(" ram KUMAR "), 3); // blanks around and letter case do not count
    QCOMPARE(TeacherIdByName("O'Hara?"), 0);
    QCOMPARE(TeacherNameById(3), QString("Ram Kumar"));
    QCOMPARE(TeacherNameById(99), QString());

    QCOMPARE(SubjectIdByName(" English "), 2);
    QCOMPARE(SubjectIdByName("Hindi"), 0);
    QCOMPARE(SubjectNameById(1), QString("Maths"));
    QCOMPARE(SubjectNameById(5), QString());

    const int algebra = QueryValue("select uniqueid from subjtype where subtype = 'Algebra'").toInt();
    const int english = QueryValue("select uniqueid from subjtype where subid = 2").toInt();
    QCOMPARE(SubjectUniqueIdByText("Maths Algebra"), algebra);
    QCOMPARE(SubjectUniqueIdByText("English "), english); // trimmed both sides
    QCOMPARE(SubjectUniqueIdByText("English"), english);
    QCOMPARE(SubjectUniqueIdByText("Maths"), 0);
    QCOMPARE(SubjectTextByUniqueId(QString::number(algebra)), QString("Maths Algebra"));
    QCOMPARE(SubjectTextByUniqueId(QString::number(english)), QString("English ")); // untrimmed
    QCOMPARE(SubjectTextByUniqueId("999"), QString("0"));
    QCOMPARE(SubjectTextByUniqueId(""), QString("0"));

    // Letter case of any alphabet, not only the English one.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('ÉM-01', 'Élodie Martin', 4)");
    db.exec("insert into subjects values ('Éveil', 3)");
    db.exec("insert into subjtype (subid, subtype) values (3, 'Ökologie')");
    QCOMPARE(TeacherIdByName("élodie martin"), 4);
    QVERIFY(SubjectUniqueIdByText("éveil ökologie") > 0);
    QVERIFY(SameName(" Élodie ", "élodie"));
    QVERIFY(!SameName("Élodie", "Elodie"));

    // A filled combo box has nothing chosen until the user chooses.
    QComboBox combo;
    FillComboWithIds(&combo, "select teachername, teacherid from teachers order by 1");
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(combo.itemData(combo.findText("Ram Kumar")).toInt(), 3);
    FillCombo(&combo, "select subname from subjects");
    QCOMPARE(combo.currentIndex(), -1);
}

void TestLookups::dayNamesAndSafeText()
{
    QCOMPARE(DayName(0), QString("Monday"));
    QCOMPARE(DayName(3), QString("Thursday"));
    QCOMPARE(DayName(5), QString("Saturday"));
    QCOMPARE(DayName(6), QString());
    QCOMPARE(DayName(-1), QString());
    QCOMPARE(SqlSafeText("it's ok?"), QString("it''s ok"));
    QCOMPARE(SqlSafeText("a??b"), QString("ab"));
}

void TestLookups::removeSurplusPeriods()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into periodsystem values (1, 'Summer', 6, 40, '08:00', 4, 20, 'AM'),"
            " (2, 'Winter', 8, 35, '09:00', 4, 20, 'AM')");
    db.exec("insert into classperiods values (10, 1, '0,1,2'), (10, 2, '3,4,5'), (11, 1, '5')");
    // Lessons in periods 5..8 of every day for classes 10 and 11.
    for (int cls : {10, 11})
        for (int day = 0; day < 6; ++day)
            for (int period = 4; period <= 8; ++period)
                db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, ?, ?, ?)",
                        {cls, period, day});
    const int before = db.count("timeschedule");
    QVERIFY(RemoveSurplusPeriods(3)); // no class follows it
    QCOMPARE(db.count("timeschedule"), before);
    QVERIFY(RemoveSurplusPeriods(1));
    // Class 10: days 0..2 lose periods 6..8 (p_no 6); days 3..5 (the other system) keep theirs.
    QCOMPARE(db.count("timeschedule", "classid = 10 and weekday in (0,1,2) and period >= 6"), 0);
    QCOMPARE(db.count("timeschedule", "classid = 10 and weekday in (0,1,2) and period < 6"), 3 * 2);
    QCOMPARE(db.count("timeschedule", "classid = 10 and weekday in (3,4,5)"), 3 * 5);
    // Class 11 follows it on Saturday only.
    QCOMPARE(db.count("timeschedule", "classid = 11 and weekday = 5 and period >= 6"), 0);
    QCOMPARE(db.count("timeschedule", "classid = 11 and weekday = 4"), 5);
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestLookups) // the combo fillers need widgets
#include "tst_lookups.moc"
