// "Substitution Statistics": its counts against the database, and its window as the menu
// opens it.
#include "FrmSubstitutionStats.h"
#include "MDISchedule.h"
#include "ReportTestSupport.h"
#include "UserInput.h"

#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

using namespace reporttest;

namespace {
const QDate kWednesday(2026, 12, 9);
const QDate kSince(2026, 11, 1);

// The rows the report must show, counted here from the records one by one.
QStringList expectedRows(const QDate &today, const QDate &since)
{
    struct Counts {
        QString name;
        int week = 0, month = 0, since = 0, periods = 0;
    };
    QMap<int, Counts> by;
    const Recordset teachers = OpenRecordset("select teacherid, Teachername from teachers");
    for (const QVariantList &t : teachers.rows())
        by[t.value(0).toInt()].name = t.value(1).toString();
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    const Recordset subs = OpenRecordset("select subid, dt from substitute");
    for (const QVariantList &s : subs.rows()) {
        if (!by.contains(s.value(0).toInt()))
            continue;
        Counts &c = by[s.value(0).toInt()];
        const QDate d = FromIsoDate(s.value(1).toString());
        c.week += d >= monday && d <= monday.addDays(6);
        c.month += d.year() == today.year() && d.month() == today.month();
        c.since += d >= since;
    }
    const Recordset lessons = OpenRecordset("select teacherid from timeschedule");
    for (const QVariantList &l : lessons.rows())
        if (by.contains(l.value(0).toInt()))
            ++by[l.value(0).toInt()].periods;
    QList<Counts> list = by.values();
    std::sort(list.begin(), list.end(), [](const Counts &a, const Counts &b) {
        if (a.since != b.since)
            return a.since > b.since;
        if (a.month != b.month)
            return a.month > b.month;
        if (a.week != b.week)
            return a.week > b.week;
        return a.name < b.name;
    });
    QStringList out;
    for (const Counts &c : list)
        out << QStringLiteral("%1|%2|%3|%4|%5").arg(c.name).arg(c.week).arg(c.month).arg(c.since).arg(c.periods);
    return out;
}

QStringList tableRows(QTextTable *t)
{
    QStringList out;
    for (int r = 1; t && r < t->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columns(); ++c)
            cells << CellText(t, r, c);
        out << cells.join('|');
    }
    return out;
}

void moreSubstitutions(TestDatabase &db, const School &s)
{
    // Besides the school's three: Dev the Monday before (November), Bimal on 1 December (this
    // month, not this week), Chitra in October (before the date since), Anita on Sunday of
    // this week, Bimal twice more this week.
    db.exec("insert into substitute values (1, 0, ?, 0, '2026-11-30', 4), (1, 2, ?, 1, '2026-12-01', 2),"
            " (1, 0, ?, 3, '2026-10-15', 3), (3, 4, ?, 6, '2026-12-13', 1), (1, 3, ?, 2, '2026-12-09', 2),"
            " (1, 4, ?, 3, '2026-12-10', 2)",
            {s.vii, s.vii, s.vii, s.viii, s.vii, s.vii});
}
} // namespace

class TestSubstitutionStats : public QObject {
    Q_OBJECT
private slots:
    void countsAgainstTheDatabase();
    void windowFromTheMenu();
};

void TestSubstitutionStats::countsAgainstTheDatabase()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    moreSubstitutions(db, FillSchool(db));
    MessageLog log;
    QTextDocument doc;
    QString error;
    for (const QDate &since : {kSince, QDate(2026, 12, 8), QDate(2026, 1, 1)}) {
        QVERIFY2(Render(&doc, "substats.rpt", QString(),
                        QStringList{rpt::SchoolFormula()} + SubstitutionStatistics::Formulas(since, kWednesday), &error),
                 qPrintable(error));
        const QList<QTextTable *> tables = Tables(doc);
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tableRows(tables[0]), expectedRows(kWednesday, since));
    }
    // Read by hand for the first date: Bimal stood in most since November.
    QVERIFY(Render(&doc, "substats.rpt", QString(),
                   QStringList{rpt::SchoolFormula()} + SubstitutionStatistics::Formulas(kSince, kWednesday)));
    QCOMPARE(tableRows(Tables(doc).value(0)),
             QStringList({"Bimal Das|3|4|4|2", "Dev Mehta|2|2|3|0", "Anita Rao|1|1|1|3", "Chitra O'Neil|0|0|0|2"}));
    QVERIFY(doc.toPlainText().contains("Week 07/12/2026 to 13/12/2026, month 12/2026, since 01/11/2026"));
    // A month's turn inside the week: Monday 30 November to Sunday 6 December, month December.
    QVERIFY(Render(&doc, "substats.rpt", QString(),
                   QStringList{rpt::SchoolFormula()} + SubstitutionStatistics::Formulas(kSince, QDate(2026, 12, 2))));
    QCOMPARE(tableRows(Tables(doc).value(0)), expectedRows(QDate(2026, 12, 2), kSince));
    QVERIFY(log.messages.isEmpty());
}

void TestSubstitutionStats::windowFromTheMenu()
{
    TestDatabase db;
    QVERIFY(InstallTemplates());
    FillSchool(db);
    MessageLog log;
    QStringList shown;
    rpt::Report::SetPreviewHandler([&shown](rpt::Report &r, const QTextDocument &doc) {
        shown << r.title() + "\n" + r.formula(1) + "\n" + r.formula(2) + "\n" + doc.toPlainText();
    });
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    // Below a separator after the menu's own entries.
    auto *reports = main.findChild<QMenu *>("MnuRep");
    QVERIFY(reports);
    const QList<QAction *> entries = reports->actions();
    const int at = entries.indexOf(main.menuAction("mnuSubstStats"));
    QVERIFY(at >= 2);
    QCOMPARE(entries[at]->text(), QString("Substitution Statistics"));
    const int separator = entries.indexOf(main.menuAction("mnuSubstitute")) + 1;
    QVERIFY(entries.value(separator)->isSeparator());
    QVERIFY(at > separator);

    QVERIFY(input::Show(&main));
    QVERIFY(input::ChooseMenu(main.menuBar(), main.menuAction("mnuSubstStats")));
    auto *w = qobject_cast<FrmSubstitutionStats *>(main.openWindowNamed("FrmSubstitutionStats"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Substitution Statistics"));
    QVERIFY(input::TypeDate(w->DTPSince, kSince));
    input::Click(w->CmdPrint);
    QCOMPARE(shown.size(), 1);
    const QStringList parts = shown[0].split('\n');
    QCOMPARE(parts.value(0), QString("Substitution Statistics"));
    QCOMPARE(parts.value(1), rpt::DateFormula("Dt", QDate::currentDate()));
    QCOMPARE(parts.value(2), QString("Since = Date (2026,11,01)"));
    QVERIFY(shown[0].contains("since 01/11/2026"));
    QVERIFY(shown[0].contains("Dev Mehta"));
    QVERIFY(log.messages.isEmpty());
    QPointer<FrmSubstitutionStats> gone(w);
    input::Click(w->CmdExit);
    QTRY_VERIFY(gone.isNull());
    rpt::Report::SetPreviewHandler({});
}

QTEST_MAIN(TestSubstitutionStats)
#include "tst_substats.moc"
