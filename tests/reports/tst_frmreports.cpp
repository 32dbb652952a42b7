// The substitution slip window, the menu reports and the schedule editors' printing, as
// the main window runs them.
#include "ChildWindows.h"
#include "FrmReports.h"
#include "MDISchedule.h"
#include "ReportTestSupport.h"
#include "UserInput.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace reporttest;

namespace {
// What reached the preview: one entry per report shown.
struct Shown {
    QString title;
    QString text;
    QString slot0, slot1;
    QString selection;
    bool maximised = false;
};

struct PreviewLog {
    QList<Shown> shown;
    PreviewLog()
    {
        rpt::Report::SetPreviewHandler([this](rpt::Report &r, const QTextDocument &doc) {
            shown << Shown{r.title(), doc.toPlainText(), r.formula(0), r.formula(1), r.selectionFormula(),
                           r.windowState() == rpt::Report::Maximized};
        });
    }
    ~PreviewLog() { rpt::Report::SetPreviewHandler({}); }
    Shown last() const { return shown.value(shown.size() - 1); }
};
} // namespace

class TestFrmReports : public QObject {
    Q_OBJECT
private slots:
    void slipWindow();
    void menuReportsAfterASlip();
    void editorsPrintThroughTheHook();
};

void TestFrmReports::slipWindow()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    MessageLog log;
    PreviewLog preview;

    QCOMPARE(SubstitutionSlip::Selection(QDate(2026, 12, 5)), QString("{Substitute.Dt}=Date (2026,12,05)"));
    QCOMPARE(SubstitutionSlip::Formulas(QDate(2026, 12, 5)), QStringList({"Dt = Date (2026,12,05)"}));

    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuSubstitute")));
    auto *w = qobject_cast<FrmReports *>(main.openWindowNamed("FrmReports"));
    QVERIFY(w);
    QCOMPARE(w->objectName(), QString("FrmReports"));
    QCOMPARE(w->windowTitle(), QString("Substitution Slip"));
    QCOMPARE(w->findChild<QLabel *>("Label1")->text(), QString("Date"));
    QCOMPARE(w->DTP->date(), QDate::currentDate());
    QCOMPARE(w->DTP->objectName(), QString("DTP"));
    QCOMPARE(w->CmdPrint->text(), QString("&Print "));
    QCOMPARE(w->CmdExit->text(), QString("E&xit"));

    // The slip of a date: both the school and the date reach it, its records only.
    QVERIFY(input::TypeDate(w->DTP, QDate(2026, 12, 7)));
    QTest::mouseClick(w->CmdPrint, Qt::LeftButton);
    QCOMPARE(preview.shown.size(), 1);
    Shown s = preview.last();
    QCOMPARE(s.title, QString("Substitution Slip"));
    QCOMPARE(s.slot0, QString("school = 'St. Mary''s School'"));
    QCOMPARE(s.slot1, QString("Dt = Date (2026,12,07)"));
    QCOMPARE(s.selection, QString("{Substitute.Dt}=Date (2026,12,07)"));
    QVERIFY(s.maximised);
    QVERIFY(s.text.startsWith("St. Mary's School\nSubstitution Slip\nMonday, 07/12/2026"));
    QVERIFY(s.text.contains("Anita Rao") && s.text.contains("Dev Mehta") && s.text.contains("Chitra O'Neil"));
    // Tuesday's substitution (Anita's period II, Dev) belongs to another slip.
    QCOMPARE(s.text.count("Dev Mehta"), 1);
    QVERIFY(rpt::SharedReport().selectionFormula().isEmpty());

    // A date without substitutions.
    QVERIFY(input::TypeDate(w->DTP, QDate(2026, 12, 12)));
    QTest::mouseClick(w->CmdPrint, Qt::LeftButton);
    QVERIFY(preview.last().text.contains("Saturday, 12/12/2026"));
    QVERIFY(preview.last().text.contains("No substitutions are recorded for this date."));
    QVERIFY(log.messages.isEmpty());

    QPointer<FrmReports> gone(w);
    QTest::mouseClick(w->CmdExit, Qt::LeftButton);
    QTRY_VERIFY(gone.isNull());
}

void TestFrmReports::menuReportsAfterASlip()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    MessageLog log;
    PreviewLog preview;
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));

    QVERIFY(SubstitutionSlip::Print(QDate(2026, 12, 7)));
    // Every report entry of the menu runs its own template with the school formula alone
    // and all records.
    const QList<QPair<QString, QString>> entries = {
        {"MnuClassSchSumm", "Class Schedule Summary"},
        {"MnuTeacherschsumm", "Teacher Schedule Summary"},
        {"MnuTmTable", "Class Time Table"},
        {"MnuTchrTmTable", "Teacher Time Table"},
        {"MnuFreePeriod", "Free Periods Due to Leave"},
        {"mnuTimetableCheck", "Timetable Check"},
    };
    for (const auto &e : entries) {
        QAction *a = main.menuAction(e.first);
        QVERIFY2(a && a->isEnabled(), qPrintable(e.first));
        QVERIFY(input::ChooseMenu(main.menuBar(), a));
        const Shown s = preview.last();
        QCOMPARE(s.title, e.second);
        QCOMPARE(s.slot0, QString("school = 'St. Mary''s School'"));
        QVERIFY(s.slot1.isEmpty());
        QVERIFY(s.selection.isEmpty());
        QVERIFY(s.maximised);
        QVERIFY(s.text.startsWith("St. Mary's School"));
    }
    QCOMPARE(preview.shown.size(), 7);
    QVERIFY(preview.shown[6].text.contains("VII-B: Maths has 3 periods placed and 6 planned"));
    // The class time table after the slip shows every class, the free periods every entry.
    QVERIFY(preview.shown[3].text.contains("VII-B") && preview.shown[3].text.contains("VIII-A")
            && preview.shown[3].text.contains("IX-"));
    QVERIFY(preview.shown[5].text.contains("Anita Rao: Leave") && preview.shown[5].text.contains("Chitra O'Neil: Absent"));
    QVERIFY(preview.shown[5].text.contains("08/12/2026"));
    QVERIFY(log.messages.isEmpty());

    // A template gone from the reports folder: a message, and the program carries on.
    QVERIFY(QFile::remove(ReportPath + "classschsumm.rpt"));
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("MnuClassSchSumm")));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().contains("classschsumm.rpt cannot be opened"));
    QCOMPARE(preview.shown.size(), 7);
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("MnuTmTable")));
    QCOMPARE(preview.shown.size(), 8);
}

void TestFrmReports::editorsPrintThroughTheHook()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    const School school = FillSchool(db);
    MessageLog log;
    PreviewLog preview;
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));

    // The class editor's Print Schedule.
    hx::RunReport("classtmtable.rpt", QString("{classsection.classid} = %1").arg(school.vii));
    QCOMPARE(preview.shown.size(), 1);
    Shown s = preview.last();
    QCOMPARE(s.title, QString("Class Time Table"));
    QVERIFY(s.maximised);
    QVERIFY(s.text.startsWith("St. Mary's School\nClass Time Table: VII-B"));
    QVERIFY(!s.text.contains("VIII-A"));
    QVERIFY(rpt::SharedReport().selectionFormula().isEmpty());

    // The template named with the folder in front, as the old editors wrote it.
    hx::RunReport("\\reports\\classtmtable.rpt", QString("{classsection.classid} = %1").arg(school.viii));
    QCOMPARE(preview.shown.size(), 2);
    QVERIFY(preview.last().text.contains("Class Time Table: VIII-A"));

    // The teacher editor's.
    hx::RunReport("tchrtmtable.rpt", "{timeschedule.teacherid} = 3");
    s = preview.last();
    QVERIFY(s.text.contains("Teacher Time Table: Chitra O'Neil"));
    QVERIFY(!s.text.contains("Anita Rao"));
    QVERIFY(s.text.contains("Load: 2 periods a week"));

    // A selection the component cannot read is refused with a message, nothing is shown.
    hx::RunReport("classtmtable.rpt", "{classsection.classid} = 1 or 1=1");
    QCOMPARE(preview.shown.size(), 3);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().contains("cannot be read"));
    // ... and the following menu report runs on all records.
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("MnuTmTable")));
    QVERIFY(preview.last().text.contains("VIII-A"));
}

QTEST_MAIN(TestFrmReports)
#include "tst_frmreports.moc"
