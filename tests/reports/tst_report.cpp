// The report component: formulas, record selection, the template format, faults.
#include "ReportTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace reporttest;

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void formulasAreRead();
    void selectionsAreRead();
    void templateFormatFaults();
    void valuesAreBoundNeverJoined();
    void faultsReachTheUser();
    void templatesOnlyRead();
    void periodTimes();
    void pdfWithoutWindow();

private:
    static QString write(const QString &name, const QString &text)
    {
        QFile f(ReportPath + name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write(text.toUtf8());
        return name;
    }
};

void TestReport::formulasAreRead()
{
    QString name, error;
    QVariant v;
    QVERIFY(rpt::ParseFormula("school = 'St. Mary''s School'", &name, &v, &error));
    QCOMPARE(name, QString("school"));
    QCOMPARE(v.toString(), QString("St. Mary's School"));
    QVERIFY(rpt::ParseFormula("Dt = Date (2026,12,05)", &name, &v, &error));
    QCOMPARE(name, QString("Dt"));
    QCOMPARE(v.toDate(), QDate(2026, 12, 5));
    QVERIFY(rpt::ParseFormula("n=12", &name, &v, &error));
    QCOMPARE(v.toLongLong(), 12LL);
    QVERIFY(rpt::ParseFormula("school = ''", &name, &v, &error));
    QCOMPARE(v.toString(), QString());

    // The assignments the program writes read back unchanged, quotes and all.
    for (const QString &school : {QString("O'Brien's ''Academy'''"), QString("Plain"), QString("a = 'b'")}) {
        QVERIFY(rpt::ParseFormula(rpt::TextFormula("school", school), &name, &v, &error));
        QCOMPARE(v.toString(), school);
    }
    QCOMPARE(rpt::TextFormula("school", "O'Brien"), QString("school = 'O''Brien'"));
    QCOMPARE(rpt::DateFormula("Dt", QDate(2026, 12, 5)), QString("Dt = Date (2026,12,05)"));

    // What cannot be read is refused, never half taken.
    for (const char *bad : {"school 'x'", "= 'x'", "school = 'x", "school = 'x' + 'y'", "school = x",
                            "Dt = Date (2026,2,30)", "Dt = Date (26,12,5)", "1x = 2", "school ="}) {
        QVERIFY2(!rpt::ParseFormula(bad, &name, &v, &error), bad);
        QVERIFY(!error.isEmpty());
    }
}

void TestReport::selectionsAreRead()
{
    QString field, error;
    QVariant v;
    QVERIFY(rpt::ParseSelection("{Substitute.Dt}=Date (2026,12,05)", &field, &v, &error));
    QCOMPARE(field, QString("Substitute.Dt"));
    QCOMPARE(v.toDate(), QDate(2026, 12, 5));
    QVERIFY(rpt::ParseSelection("{classsection.classid} = 12", &field, &v, &error));
    QCOMPARE(field, QString("classsection.classid"));
    QCOMPARE(v.toLongLong(), 12LL);
    QVERIFY(rpt::ParseSelection(" { timeschedule.teacherid }=0 ", &field, &v, &error));
    QCOMPARE(field, QString("timeschedule.teacherid"));
    QVERIFY(rpt::ParseSelection("", &field, &v, &error));
    QVERIFY(field.isEmpty());
    for (const char *bad : {"{classsection.classid} = 12 or 1 = 1", "classsection.classid = 12",
                            "{classid} = 1", "{a.b} = 1; drop table teachers", "{a.b} = Date (2026,13,01)",
                            "{a.b} <> 1", "{a.b} = '1", "{a.b} = 1 and {c.d} = 2"}) {
        QVERIFY2(!rpt::ParseSelection(bad, &field, &v, &error), bad);
        QVERIFY(error.contains("cannot be read"));
    }
}

void TestReport::templateFormatFaults()
{
    rpt::Template t;
    QString error;
    const QString good = "# a comment\ntitle  T\nformula school = ''\n\n[text]\nstyle heading\ntext {school}\n"
                         "  second line\n[table]\nquery select 1 as a\ncolumn A | {a} | right | 20%\n";
    QVERIFY2(rpt::ParseTemplate(good, &t, &error), qPrintable(error));
    QCOMPARE(t.title, QString("T"));
    QCOMPARE(t.blocks.size(), 2);
    QCOMPARE(t.blocks[0].text, QString("{school}\nsecond line"));
    QCOMPARE(t.blocks[1].columns.value(0).align, QString("right"));
    QVERIFY(!t.takesSelection());

    const QList<QPair<QString, QString>> faults = {
        {"title T\n[text]\ncolour red\n", "line 3: unknown key \"colour\" in [text]"},
        {"[picture]\n", "line 1: unknown section [picture]"},
        {"[table]\nquery select 1\n", "line 1: [table] needs at least one column"},
        {"[grid]\ncell {a}\n", "line 1: [grid] needs a query"},
        {"[end]\n", "line 1: [end] without [each]"},
        {"[each]\nquery select 1\n[each]\nquery select 2\n", "line 3: an [each] inside another [each]"},
        {"  indented first\n", "line 1: an indented line must follow a key"},
        {"[text]\nstyle huge\n", "line 2: style must be"},
        {"[table]\nquery select 1\ncolumn A | {a} | middle\n", "line 3: a column's align"},
        {"[text]\n[report]\n", "line 2: [report] comes once, at the top"},
        {"formula = 'x'\n", "line 1: formula needs a name"},
        {"orientation sideways\n", "line 1: orientation must be"},
    };
    for (const auto &f : faults) {
        QVERIFY2(!rpt::ParseTemplate(f.first, &t, &error), qPrintable(f.first));
        QVERIFY2(error.startsWith(f.second), qPrintable(error));
    }
}

void TestReport::valuesAreBoundNeverJoined()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    // A template of a user's own: names looked up through formulas, row values and a
    // selection on a text field; quotes in the values must not change the statements.
    write("own.rpt",
          "title Own\nformula school = ''\nformula who = 'nobody'\nfield teachers.teachername = t.Teachername\n"
          "[text]\ntext {school} / {title}\n"
          "[table]\nquery select t.teacherid as id, t.Teachername as name from teachers t\n"
          "   where {selection} and t.Teachername <> :who order by t.teacherid\n"
          "column Name | {name} ({id}) | left\n"
          "empty Nobody: {who}\n"
          "[text]\nquery select count(*) as n from teachers where Teachername like '%:%'\ntext colons {n}\n");

    QTextDocument doc;
    QString error;
    QVERIFY2(Render(&doc, "own.rpt", QString(), {rpt::SchoolFormula(), "who = 'Bimal Das'"}, &error),
             qPrintable(error));
    QString text = doc.toPlainText();
    QVERIFY(text.startsWith("St. Mary's School / Own"));
    QVERIFY(text.contains("Anita Rao (1)") && !text.contains("Bimal Das"));
    QVERIFY(text.contains("colons 0")); // a mark inside a quoted literal is text, not a value

    QVERIFY(Render(&doc, "own.rpt", "{teachers.Teachername} = 'Chitra O''Neil'", {rpt::SchoolFormula()}, &error));
    text = doc.toPlainText();
    QVERIFY(text.contains("Chitra O'Neil (3)"));
    QVERIFY(!text.contains("Anita Rao"));

    // An attempt to widen the selection through its value finds nobody, and changes nothing.
    QVERIFY(Render(&doc, "own.rpt", "{teachers.teachername} = 'x'' or ''1''=''1'",
                   {rpt::SchoolFormula(), "who = ''' or 1=1; delete from teachers; --'"}, &error));
    QVERIFY(doc.toPlainText().contains("Nobody: ' or 1=1; delete from teachers; --"));
    QCOMPARE(db.count("teachers"), 4);

    // The example of the README works as written.
    write("example.rpt",
          "title        Teachers\nformula      school = ''\nfield        teachers.teacherid = t.teacherid\n\n"
          "[text]\nstyle   heading\nalign   center\ntext    {school}\n\n"
          "[table]\nquery   select t.Teachername as name, count(ts.period) as load\n"
          "          from teachers t left join timeschedule ts on ts.teacherid = t.teacherid\n"
          "         where {selection}\n         group by t.teacherid order by t.Teachername\n"
          "column  Teacher | {name}\ncolumn  Periods a week | {load} | right | 20%\nempty   There is no teacher.\n");
    QVERIFY2(Render(&doc, "example.rpt", "{teachers.teacherid} = 1", {rpt::SchoolFormula()}, &error),
             qPrintable(error));
    QCOMPARE(CellText(Tables(doc).value(0), 1, 1), QString("3"));
    QCOMPARE(Tables(doc).value(0)->rows(), 2);

    // A slot left over from an earlier request goes when the request resets the slots.
    rpt::Report r;
    r.setFormula(1, "who = 'Anita Rao'");
    r.clearFormulas();
    r.setFormula(0, rpt::SchoolFormula());
    r.setReportFileName(ReportPath + "own.rpt");
    r.setConnect(rpt::ConnectString());
    QVERIFY(r.render(&doc));
    QVERIFY(doc.toPlainText().contains("Anita Rao (1)"));
}

void TestReport::faultsReachTheUser()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    MessageLog log;
    rpt::Report::SetPreviewHandler([](rpt::Report &, const QTextDocument &) {});

    // A missing template: the component's description in a message box; the program goes on.
    QVERIFY(QFile::remove(ReportPath + "freeperiod.rpt"));
    QVERIFY(!rpt::RunMenuReport("freeperiod.rpt"));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.last().startsWith("The report template freeperiod.rpt cannot be opened"), qPrintable(log.last()));
    QCOMPARE(log.messages.last().buttons, hx::MsgButtons::Ok);

    // A template with a fault names the file and the line.
    write("broken.rpt", "title B\nformula school = ''\n[table]\nquery select missing from nowhere\ncolumn A | {a}\n");
    QVERIFY(!rpt::RunTemplate("broken.rpt"));
    QVERIFY2(log.last().startsWith("broken.rpt, line 3: the query failed:"), qPrintable(log.last()));
    QVERIFY2(log.last().contains("nowhere"), qPrintable(log.last()));
    write("unknown.rpt", "title U\nformula school = ''\n[text]\ntext {schol}\n");
    QVERIFY(!rpt::RunTemplate("unknown.rpt"));
    QVERIFY(log.last().contains("{schol} is neither a column of the query nor a formula"));
    write("param.rpt", "title P\nformula school = ''\n[text]\nquery select :nothing as x\ntext {x}\n");
    QVERIFY(!rpt::RunTemplate("param.rpt"));
    QVERIFY(log.last().contains(":nothing is neither"));

    // Formulas and selections the component cannot read or use are refused.
    QVERIFY(!rpt::RunTemplate("classtmtable.rpt", "{classsection.classid} = 1 or 1 = 1"));
    QVERIFY(log.last().contains("cannot be read"));
    QVERIFY(!rpt::RunTemplate("classtmtable.rpt", "{teachers.teacherid} = 1"));
    QCOMPARE(log.last(), QString("The report classtmtable.rpt cannot select records by {teachers.teacherid}."));
    QVERIFY(!rpt::RunTemplate("teacherschsumm.rpt", QString(), {"Dt = Date (2026,12,07)"}));
    QCOMPARE(log.last(), QString("The report teacherschsumm.rpt has no formula named Dt."));
    QVERIFY(!rpt::RunTemplate("classtmtable.rpt", QString(), {"Dt = Date (2026,12,32)"}));
    QVERIFY(log.last().startsWith("Formula 1 cannot be read"));
    // Each fault left the selection cleared: the next request prints every class.
    QVERIFY(rpt::SharedReport().selectionFormula().isEmpty());

    // An unknown data source.
    rpt::Report r;
    r.setReportFileName(ReportPath + "classtmtable.rpt");
    r.setConnect("dsn=elsewhere;uid=pilot;pwd=");
    QTextDocument doc;
    QVERIFY(!r.render(&doc));
    QCOMPARE(r.lastError(), QString("The data source elsewhere is not registered."));
    rpt::Report::SetPreviewHandler({});
}

void TestReport::templatesOnlyRead()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    MessageLog log;
    rpt::Report::SetPreviewHandler([](rpt::Report &, const QTextDocument &) {});
    const QStringList before = DumpDatabase();

    // A template whose query writes is refused with its file and line, and nothing changes:
    // not by a plain statement, nor after turning the guard off, nor through a temporary table.
    const QStringList writes = {
        "[text]\nquery delete from teachers returning teachername as x\ntext {x}\n",
        "[text]\nquery pragma query_only = 0\ntext gone\n[text]\nquery update teachers set teachername = 'x' returning 1 as n\ntext {n}\n",
        "[text]\nquery with t as (select 1) insert into substitute select 1, 0, 1, 0, '2026-12-07', 2 from t returning dt\ntext {dt}\n",
        "[text]\nquery create temp table scratch (a)\ntext made\n",
    };
    for (const QString &body : writes) {
        write("writes.rpt", "title W\nformula school = ''\n" + body);
        log.clear();
        QVERIFY2(!rpt::RunTemplate("writes.rpt"), qPrintable(body));
        QCOMPARE(log.messages.size(), 1);
        QVERIFY2(log.last().startsWith("writes.rpt, line "), qPrintable(log.last()));
        QCOMPARE(DumpDatabase(), before);
    }
    QVERIFY2(log.last().contains("line 3: the query would change the school's data"), qPrintable(log.last()));

    // The shipped reports still read as before, and the program's own changes go on afterwards.
    for (const char *t : {"classschsumm.rpt", "teacherschsumm.rpt", "classtmtable.rpt", "tchrtmtable.rpt",
                          "freeperiod.rpt"})
        QVERIFY2(rpt::RunMenuReport(t), qPrintable(log.last()));
    QVERIFY(ExecuteSql("update teachers set designation = ? where teacherid = 4", {"TGT"}));
    QCOMPARE(db.count("teachers", "designation = 'TGT'"), 1);
    rpt::Report::SetPreviewHandler({});
}

void TestReport::periodTimes()
{
    QCOMPARE(rpt::PeriodTimes("08:00", 40, 4, 20, 8),
             QStringList({"8:00-8:40", "8:40-9:20", "9:20-10:00", "10:00-10:40", "11:00-11:40", "11:40-12:20",
                          "12:20-1:00", "1:00-1:40"}));
    QCOMPARE(rpt::PeriodTimes("12:40", 30, 9, 10, 2), QStringList({"12:40-1:10", "1:10-1:40"}));
    QCOMPARE(rpt::PeriodTimes("08:30", 90, 1, 5, 2), QStringList({"8:30-10:00", "10:05-11:35"}));
    QCOMPARE(rpt::PeriodTimes("9", 45, 1, 0, 1), QStringList({"9:00-9:45"}));
}

void TestReport::pdfWithoutWindow()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    QTemporaryDir out;
    // More class-sections: still one page each; a long teacher list flows over pages.
    db.exec("insert into classsection (class, section, sortorder) select Class, 'A', SortOrder from Class"
            " where SortOrder between 4 and 9");
    for (int i = 0; i < 80; ++i)
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values (?, ?, ?)",
                {QString("T%1").arg(i), QString("Teacher %1").arg(i, 2, 10, QChar('0')), 100 + i});
    QCOMPARE(PdfPages("classtmtable.rpt", QString(), out.filePath("c.pdf")), 9);
    QVERIFY(PdfPages("teacherschsumm.rpt", QString(), out.filePath("t.pdf")) >= 2);
    QCOMPARE(PdfPages("tchrtmtable.rpt", QString(), out.filePath("tt.pdf")), 84);

    rpt::Report r;
    r.setFormula(0, rpt::SchoolFormula());
    r.setReportFileName(ReportPath + "classschsumm.rpt");
    r.setConnect(rpt::ConnectString());
    QVERIFY(!r.exportPdf(out.filePath("no/such/folder/x.pdf")));
    QVERIFY(r.lastError().contains("cannot be written"));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
