// The tight demo school: every teacher allocated exactly the periods they can teach, one in
// ten away a whole day, some lessons kept, and the generator still completes it.
#include "DemoSchool.h"
#include "GenerateModel.h"
#include "TestSupport.h"
#include "TightSchool.h"

#include <QTemporaryDir>
#include <QTest>

class TestTightSchool : public QObject {
    Q_OBJECT
private slots:
    void everyTeacherIsFullAndTheWeekCanBeBuilt();
};

void TestTightSchool::everyTeacherIsFullAndTheWeekCanBeBuilt()
{
    QTemporaryDir dir;
    MessageLog log;
    DemoSchoolOptions o = DemoSchoolOptions::small();
    o.today = QDate(2026, 12, 8);
    DemoSchoolFigures f;
    QString error;
    QVERIFY2(CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, o, &f, &error), qPrintable(error));
    TightSchoolFigures t;
    QVERIFY2(TightenDemoSchool(o.seed, 10, &t, &error), qPrintable(error));
    QCOMPARE(t.lessons, f.lessons);
    QCOMPARE(QueryValue("select count(*) from teachers").toInt(), t.teachers);
    QVERIFY(t.kept > 0 && t.kept < t.lessons / 4);

    // Allocated periods and periods not available make up each teacher's whole week.
    QCOMPARE(QueryValue("select count(*) from teachers te where 54 <> "
                        "(select ifnull(sum(hours), 0) from classsubjectteachers a where a.teacherid = te.teacherid) + "
                        "(select count(*) from teacherunavailable u where u.teacherid = te.teacherid)")
                 .toInt(),
             0);
    QCOMPARE(QueryValue("select sum(hours) from classsubjectteachers").toInt(), t.lessons);
    QCOMPARE(QueryValue("select sum(hours) from classsubjects").toInt(), t.lessons);
    // One teacher in ten cannot teach on one whole day.
    QCOMPARE(QueryValue("select count(distinct teacherid) from (select teacherid, weekday from teacherunavailable "
                        "group by teacherid, weekday having count(*) = 9)")
                     .toInt() >= t.dayOff,
             true);
    QCOMPARE(t.dayOff, (t.teachers + 9) / 10);

    GenerateModel m;
    QVector<int> classes;
    for (const GenItem &c : GenerateModel::classList())
        classes << c.id;
    QVERIFY(m.read(classes, true));
    m.setResult(gen::Generate(m.snapshot(), m.options(1, 0)));
    QCOMPARE(m.result().placed, t.lessons);
    QCOMPARE(m.result().clashes, 0);
    QVERIFY(gen::Validate(m.snapshot(), m.result().lessons, m.result().plan).empty());
    QVERIFY(m.save().saved());
    QVERIFY2(log.texts().isEmpty(), qPrintable(log.texts().join('\n')));
}

QTEST_MAIN(TestTightSchool)
#include "tst_tightschool.moc"
