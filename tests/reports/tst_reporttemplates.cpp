// The shipped report templates filled from a known school.
#include "ReportTestSupport.h"
#include "TimetableCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace reporttest;

class TestReportTemplates : public QObject {
    Q_OBJECT
private slots:
    void init();
    void classTimeTable();
    void teacherTimeTable();
    void scheduleSummaries();
    void freePeriodsDueToLeave();
    void substitutionSlip();
    void timetableCheck();
    void everyTemplateMakesAPdf();

private:
    // Where the PDFs go; HORALUX_REPORT_PDF_DIR keeps them for a look at the pages.
    QString pdfFile(const QString &name) const
    {
        const QString keep = qEnvironmentVariable("HORALUX_REPORT_PDF_DIR");
        return (keep.isEmpty() ? pdfDir_.path() : keep) + QLatin1Char('/') + name;
    }
    QTemporaryDir pdfDir_;
};

void TestReportTemplates::init() { QVERIFY(pdfDir_.isValid()); }

void TestReportTemplates::classTimeTable()
{
    TestDatabase db;
    QVERIFY(db.ok());
    QVERIFY(InstallTemplates());
    const School s = FillSchool(db);

    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "classtmtable.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    const QString text = doc.toPlainText();
    // The school's name with its quote, printed as typed, once per class page.
    QCOMPARE(text.count("St. Mary's School"), 3);
    QVERIFY(text.contains("Class Time Table: VII-B"));
    QVERIFY(text.contains("Class Time Table: VIII-A"));
    QVERIFY(text.contains("Class Time Table: IX-"));
    QVERIFY(text.indexOf("VII-B") < text.indexOf("VIII-A")); // class order
    QVERIFY(text.contains("Printed on " + DisplayDate(QDate::currentDate())));

    const QList<QTextTable *> grids = Tables(doc);
    QCOMPARE(grids.size(), 3);
    QTextTable *vii = grids[0];
    QCOMPARE(vii->rows(), 7);        // heads and Monday .. Saturday
    QCOMPARE(vii->columns(), 1 + 8); // day column and the class's 8 periods
    QCOMPARE(CellText(vii, 1, 0), QString("Monday"));
    QCOMPARE(CellText(vii, 6, 0), QString("Saturday"));
    QCOMPARE(CellText(vii, 1, 1), QString("Maths\nAnita Rao"));
    QCOMPARE(CellText(vii, 1, 2), QString("English\nChitra O'Neil"));
    QCOMPARE(CellText(vii, 2, 2), QString("Maths\nAnita Rao")); // Tuesday II
    const QString shared = CellText(vii, 3, 3);                  // Wednesday III, two lessons
    QVERIFY(shared.contains("Anita Rao") && shared.contains("Bimal Das"));
    QVERIFY(CellText(vii, 1, 3).trimmed().isEmpty());
    // One period system all week: the heads carry its bell times, recess after IV.
    QCOMPARE(CellText(vii, 0, 1), QString("I\n8:00-8:40"));
    QCOMPARE(CellText(vii, 0, 5), QString("V\n11:00-11:40"));
    QCOMPARE(CellText(vii, 0, 8), QString("VIII\n1:00-1:40"));
    // Two period systems (weekdays and Saturday): no times, but room for the longer day.
    QTextTable *viii = grids[1];
    QCOMPARE(viii->columns(), 1 + 8);
    QCOMPARE(CellText(viii, 0, 1), QString("I"));
    QCOMPARE(CellText(viii, 6, 5), QString("Science Physics\nChitra O'Neil"));
    // A class without any period system still gets the whole week, also with a lesson.
    QCOMPARE(grids[2]->columns(), 1 + 9);
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (4, 1, ?, 0, 0)", {s.ix});
    QVERIFY(Render(&doc, "classtmtable.rpt", QString("{classsection.classid} = %1").arg(s.ix)));
    QCOMPARE(Tables(doc).value(0)->columns(), 1 + 9);
    QCOMPARE(CellText(Tables(doc).value(0), 1, 1), QString("Maths\nDev Mehta"));
    db.exec("delete from timeschedule where classid = ?", {s.ix});

    // The class editor's selection prints that class alone, on one page.
    QVERIFY2(Render(&doc, "classtmtable.rpt", QString("{classsection.classid} = %1").arg(s.viii),
                    {rpt::SchoolFormula()}, &error),
             qPrintable(error));
    QVERIFY(doc.toPlainText().contains("Class Time Table: VIII-A"));
    QVERIFY(!doc.toPlainText().contains("VII-B"));
    QCOMPARE(PdfPages("classtmtable.rpt", QString("{classsection.classid} = %1").arg(s.viii),
                      pdfFile("classtmtable-one.pdf")),
             1);
    QCOMPARE(PdfPages("classtmtable.rpt", QString(), pdfFile("classtmtable.pdf")), 3);

    // A class id that no class has gives a report that says so.
    QVERIFY(Render(&doc, "classtmtable.rpt", "{classsection.classid} = 0"));
    QVERIFY(doc.toPlainText().contains("There is no class-section to print."));
}

void TestReportTemplates::teacherTimeTable()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);

    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "tchrtmtable.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    const QString text = doc.toPlainText();
    for (const char *name : {"Anita Rao", "Bimal Das", "Chitra O'Neil", "Dev Mehta"})
        QVERIFY2(text.contains(QString("Teacher Time Table: ") + name), name);
    QCOMPARE(PdfPages("tchrtmtable.rpt", QString(), pdfFile("tchrtmtable.pdf")), 4);

    // The teacher editor's selection: Anita's week and load only.
    QVERIFY(Render(&doc, "tchrtmtable.rpt", "{timeschedule.teacherid} = 1"));
    const QString anita = doc.toPlainText();
    QVERIFY(anita.contains("Teacher Time Table: Anita Rao"));
    QVERIFY(anita.contains("PGT Maths"));
    QVERIFY(!anita.contains("Teacher Time Table: Bimal Das"));
    QVERIFY(anita.contains("Load: 3 periods a week (Monday 1, Tuesday 1, Wednesday 1, Thursday 0, Friday 0, "
                           "Saturday 0)"));
    QTextTable *grid = Tables(doc).value(0);
    QVERIFY(grid);
    QCOMPARE(grid->columns(), 1 + 8); // the longest day of the school's period systems
    QCOMPARE(CellText(grid, 1, 1), QString("VII-B\nMaths"));
    QCOMPARE(CellText(grid, 3, 3), QString("VII-B\nMaths"));
    QVERIFY(CellText(grid, 1, 2).trimmed().isEmpty());
    QCOMPARE(PdfPages("tchrtmtable.rpt", "{timeschedule.teacherid} = 1", pdfFile("tchrtmtable-one.pdf")), 1);

    // A teacher with no lessons gets an empty week and a load of 0.
    QVERIFY(Render(&doc, "tchrtmtable.rpt", "{timeschedule.teacherid} = 4"));
    QVERIFY(doc.toPlainText().contains("Load: 0 periods a week"));
}

void TestReportTemplates::scheduleSummaries()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    const School s = FillSchool(db);

    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "classschsumm.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    QString text = doc.toPlainText();
    QVERIFY(text.startsWith("St. Mary's School"));
    QVERIFY(text.contains("VII-B: planned 15, placed 5"));
    QVERIFY(text.contains("VIII-A: planned 6, placed 2"));
    QVERIFY(text.contains("No subjects are planned or placed for this class.")); // IX
    QList<QTextTable *> tables = Tables(doc);
    QCOMPARE(tables.size(), 2);
    // VII-B by subject: planned against placed, checked against the database.
    QTextTable *vii = tables[0];
    QCOMPARE(vii->rows(), 4);
    auto placed = [&](int classid, int subid) {
        return QString::number(db.count("timeschedule", "classid = ? and subid = ?", {classid, subid}));
    };
    QCOMPARE(CellText(vii, 1, 0), QString("English"));
    QCOMPARE(CellText(vii, 1, 1), QString("5"));
    QCOMPARE(CellText(vii, 1, 2), placed(s.vii, 2));
    QCOMPARE(CellText(vii, 1, 3), QString("3"));
    QCOMPARE(CellText(vii, 1, 4), QString("Bimal Das, Chitra O'Neil"));
    QCOMPARE(CellText(vii, 2, 0), QString("Maths"));
    QCOMPARE(CellText(vii, 2, 2), placed(s.vii, 1));
    QCOMPARE(CellText(vii, 2, 4), QString("Anita Rao"));
    QCOMPARE(CellText(vii, 3, 0), QString("Science Physics"));
    QCOMPARE(CellText(vii, 3, 2), QString("0"));
    // VIII-A: a subject placed without being planned still shows, planned 0.
    QTextTable *viii = tables[1];
    QCOMPARE(CellText(viii, 2, 0), QString("Science Physics"));
    QCOMPARE(CellText(viii, 2, 1), QString("0"));
    QCOMPARE(CellText(viii, 2, 2), QString("1"));
    QCOMPARE(CellText(viii, 2, 3), QString("-1"));

    // Anita teaches VIII-A on Tuesday II together with VII-B: still one period of hers.
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, ?, 1, 1)", {s.viii});
    QVERIFY2(Render(&doc, "teacherschsumm.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    text = doc.toPlainText();
    QVERIFY(text.startsWith("St. Mary's School"));
    QVERIFY(text.contains("7 periods a week placed, taught by 3 teachers."));
    tables = Tables(doc);
    QCOMPARE(tables.size(), 1);
    QTextTable *t = tables[0];
    QCOMPARE(t->rows(), 5);
    QCOMPARE(CellText(t, 1, 0), QString("Anita Rao"));
    QCOMPARE(CellText(t, 1, 1), QString("1")); // Monday
    QCOMPARE(CellText(t, 1, 2), QString("1")); // Tuesday
    QCOMPARE(CellText(t, 1, 3), QString("1")); // Wednesday
    QCOMPARE(CellText(t, 1, 7), QString("3"));
    QCOMPARE(CellText(t, 1, 8), QString("VII-B Maths (3); VIII-A Maths (1)"));
    QCOMPARE(CellText(t, 2, 0), QString("Bimal Das"));
    QCOMPARE(CellText(t, 2, 8), QString("VII-B English (1); VIII-A Maths (1)"));
    QCOMPARE(CellText(t, 3, 6), QString("1")); // Chitra's Saturday
    QCOMPARE(CellText(t, 3, 8), QString("VII-B English (1); VIII-A Science Physics (1)"));
    QCOMPARE(CellText(t, 4, 0), QString("Dev Mehta"));
    QCOMPARE(CellText(t, 4, 7), QString("0"));
    QCOMPARE(CellText(t, 4, 8), QString(""));
}

void TestReportTemplates::freePeriodsDueToLeave()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    // A leave whose dates fall on a Sunday only: no periods.
    db.exec("insert into teacherattendence values (2, 'Leave', 0, 8, '2026-12-13', '2026-12-13')");

    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "freeperiod.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    const QString text = doc.toPlainText();
    QVERIFY(text.startsWith("St. Mary's School"));
    QVERIFY(text.contains("Anita Rao: Leave from 07/12/2026 to 08/12/2026, periods 1 to 9"));
    QVERIFY(text.contains("Chitra O'Neil: Absent from 07/12/2026 to 07/12/2026, periods 2 to 3"));
    QVERIFY(text.contains("Bimal Das: Leave from 13/12/2026 to 13/12/2026"));
    QVERIFY(text.contains("No timetable periods fall on these dates."));

    const QList<QTextTable *> tables = Tables(doc);
    QCOMPARE(tables.size(), 2);
    // Anita: Monday I (Dev substitutes) and Tuesday II (Dev); her Wednesday lies outside.
    QTextTable *anita = tables[0];
    QCOMPARE(anita->rows(), 3);
    QCOMPARE(CellText(anita, 1, 0), QString("07/12/2026"));
    QCOMPARE(CellText(anita, 1, 1), QString("Monday"));
    QCOMPARE(CellText(anita, 1, 2), QString("1"));
    QCOMPARE(CellText(anita, 1, 3), QString("VII-B"));
    QCOMPARE(CellText(anita, 1, 4), QString("Maths"));
    QCOMPARE(CellText(anita, 1, 5), QString("Dev Mehta"));
    QCOMPARE(CellText(anita, 2, 0), QString("08/12/2026"));
    QCOMPARE(CellText(anita, 2, 1), QString("Tuesday"));
    QCOMPARE(CellText(anita, 2, 2), QString("2"));
    // Chitra: only Monday II lies in her span (her Saturday lesson is another day).
    QTextTable *chitra = tables[1];
    QCOMPARE(chitra->rows(), 2);
    QCOMPARE(CellText(chitra, 1, 2), QString("2"));
    QCOMPARE(CellText(chitra, 1, 4), QString("English"));
    QCOMPARE(CellText(chitra, 1, 5), QString("Bimal Das"));

    // A period without a substitute shows an empty "Substituted by".
    db.exec("delete from substitute where teacherid = 3");
    QVERIFY(Render(&doc, "freeperiod.rpt"));
    QCOMPARE(CellText(Tables(doc)[1], 1, 5), QString(""));
}

void TestReportTemplates::substitutionSlip()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    const QDate monday(2026, 12, 7);

    QTextDocument doc;
    QString error;
    const QStringList formulas = {rpt::SchoolFormula(), rpt::DateFormula("Dt", monday)};
    QVERIFY2(Render(&doc, "substitute.rpt", "{Substitute.Dt}=Date (2026,12,07)", formulas, &error),
             qPrintable(error));
    QString text = doc.toPlainText();
    QVERIFY(text.startsWith("St. Mary's School"));
    QVERIFY(text.contains("Monday, 07/12/2026"));
    QList<QTextTable *> tables = Tables(doc);
    QCOMPARE(tables.size(), 1);
    QTextTable *slip = tables[0];
    QCOMPARE(slip->rows(), 3); // two substitutions of the Monday, not the Tuesday one
    QCOMPARE(CellText(slip, 1, 0), QString("1"));
    QCOMPARE(CellText(slip, 1, 1), QString("VII-B"));
    QCOMPARE(CellText(slip, 1, 2), QString("Anita Rao"));
    QCOMPARE(CellText(slip, 1, 3), QString("Maths"));
    QCOMPARE(CellText(slip, 1, 4), QString("Dev Mehta"));
    QCOMPARE(CellText(slip, 2, 0), QString("2"));
    QCOMPARE(CellText(slip, 2, 2), QString("Chitra O'Neil"));
    QCOMPARE(CellText(slip, 2, 4), QString("Bimal Das"));
    QCOMPARE(PdfPages("substitute.rpt", "{Substitute.Dt}=Date (2026,12,07)", pdfFile("substitute.pdf")), 1);

    // A date without substitutions gives a slip that says so.
    QVERIFY(Render(&doc, "substitute.rpt", "{Substitute.Dt}=Date (2026,12,09)",
                   {rpt::SchoolFormula(), rpt::DateFormula("Dt", QDate(2026, 12, 9))}));
    text = doc.toPlainText();
    QVERIFY(text.contains("Wednesday, 09/12/2026"));
    QVERIFY(text.contains("No substitutions are recorded for this date."));
    QVERIFY(Tables(doc).isEmpty());
}

void TestReportTemplates::timetableCheck()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    const School s = FillSchool(db);
    // Bimal in two classes at once on Monday I, besides the subjects not placed as planned.
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 2, ?, 0, 0)", {s.vii});
    // Every subject has a teacher; one class-subject is given more periods than it has.
    db.exec("insert into teachersubjects select distinct 1, subid, 1, 12 from classsubjects");
    db.exec("insert into classsubjectteachers select classid, subid, 1, hours + 1 from classsubjects limit 1");

    QVector<check::Fault> faults;
    QVERIFY(check::FindFaults(&faults));
    QCOMPARE(faults.size(), 7);
    QVERIFY(faults.last().fault.contains("allocated, but the curriculum has"));
    QCOMPARE(faults.last().mend, QString("Teaching Allocation"));
    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "timetablecheck.rpt", QString(), {rpt::SchoolFormula()}, &error), qPrintable(error));
    QVERIFY(doc.toPlainText().startsWith("St. Mary's School"));
    QVERIFY(doc.toPlainText().contains("7 faults."));
    QTextTable *t = Tables(doc).value(0);
    QVERIFY(t);
    QCOMPARE(t->rows(), 1 + 7);
    QCOMPARE(CellText(t, 1, 0), QString("Bimal Das teaches VII-B (English) and VIII-A (Maths) on Monday in period I "
                                        "at once"));
    for (int i = 0; i < faults.size(); ++i) {
        QCOMPARE(CellText(t, i + 1, 0), faults[i].fault);
        QCOMPARE(CellText(t, i + 1, 1), faults[i].mend);
    }

    // Nothing to mend.
    db.exec("delete from timeschedule");
    db.exec("delete from classsubjects");
    db.exec("delete from classsubjectteachers");
    QVERIFY(Render(&doc, "timetablecheck.rpt"));
    QVERIFY(Tables(doc).isEmpty());
    QVERIFY(doc.toPlainText().contains("The timetable has no faults."));
    QVERIFY(doc.toPlainText().contains("0 faults."));
}

void TestReportTemplates::everyTemplateMakesAPdf()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    for (const char *name : {"classschsumm.rpt", "teacherschsumm.rpt", "classtmtable.rpt", "tchrtmtable.rpt",
                             "freeperiod.rpt", "substitute.rpt", "timetablecheck.rpt", "substats.rpt"}) {
        const QString file = pdfFile(QString(name).replace(".rpt", "-all.pdf"));
        QVERIFY2(PdfPages(name, QString(), file) >= 1, name);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QVERIFY(f.size() > 1000);
    }
}

QTEST_MAIN(TestReportTemplates)
#include "tst_reporttemplates.moc"
