// Random and mutated input for the report component's readers: formulas, selections and
// templates (starting from the shipped ones). No crash; what cannot be read is an error with
// a reason, and what the program writes reads back unchanged. HORALUX_FUZZ_ROUNDS and
// HORALUX_FUZZ_SEED allow longer local runs; CI uses the fixed defaults.
#include "ReportTestSupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

namespace {

QString RandomText(QRandomGenerator &r)
{
    static const QStringList pieces = {"'", "''", "{", "}", "=", " ", "Date (", "2026", ",", ")", "school", "x.y",
                                       "-", "12", "\n", "\t", "[", "]", "#", "|", "?", ":dt", "{selection}",
                                       QString(QChar(0)), QString::fromUtf8("\xf0\x9f\x98\x80"), "a"};
    QString s;
    for (int i = int(r.bounded(12)); i > 0; --i)
        s += pieces[int(r.bounded(pieces.size()))];
    return s;
}

QString Mutate(const QString &text, QRandomGenerator &r)
{
    QStringList lines = text.split('\n');
    for (int k = 1 + int(r.bounded(4)); k > 0 && !lines.isEmpty(); --k) {
        const int i = int(r.bounded(lines.size()));
        switch (r.bounded(6)) {
        case 0: lines.removeAt(i); break;
        case 1: lines.insert(i, lines[int(r.bounded(lines.size()))]); break;
        case 2: lines[i].insert(int(r.bounded(lines[i].size() + 1)), RandomText(r)); break;
        case 3: lines[i] = lines[i].left(int(r.bounded(lines[i].size() + 1))); break;
        case 4: lines.swapItemsAt(i, int(r.bounded(lines.size()))); break;
        default: lines[i] = QLatin1Char(' ') + lines[i]; break;
        }
    }
    return lines.join('\n');
}

} // namespace

class TestFuzzReports : public QObject {
    Q_OBJECT
private slots:
    void formulasAndSelections();
    void mutatedTemplates();
};

void TestFuzzReports::formulasAndSelections()
{
    QRandomGenerator r(FuzzSeed());
    for (int round = 0; round < FuzzRounds(5000); ++round) {
        const QString in = RandomText(r);
        QString name, error, field;
        QVariant v;
        if (!rpt::ParseFormula(in, &name, &v, &error))
            QVERIFY2(!error.isEmpty(), qPrintable(in));
        error.clear();
        if (!rpt::ParseSelection(in, &field, &v, &error))
            QVERIFY2(!error.isEmpty(), qPrintable(in));
        // What the program writes comes back as it was, whatever the text holds.
        const QString text = RandomText(r);
        QVERIFY(rpt::ParseFormula(rpt::TextFormula("school", text), &name, &v, &error));
        QCOMPARE(v.toString(), text);
        const QDate d = QDate(2000, 1, 1).addDays(r.bounded(20000));
        QVERIFY(rpt::ParseFormula(rpt::DateFormula("Dt", d), &name, &v, &error));
        QCOMPARE(v.toDate(), d);
        QVERIFY(rpt::ParseSelection("{Substitute.Dt}=" + rpt::DateLiteral(d), &field, &v, &error));
        QCOMPARE(v.toDate(), d);
    }
}

// Mutations of the shipped templates: parsed or refused with "line N:", and those that parse
// render or fail with a reason, never crash.
void TestFuzzReports::mutatedTemplates()
{
    TestDatabase db;
    QVERIFY(db.ok());
    reporttest::FillSchool(db);
    QVERIFY(reporttest::InstallTemplates());
    MessageLog log;
    const QDir source(QStringLiteral(HORALUX_TEMPLATES_DIR));
    QStringList originals;
    for (const QString &f : source.entryList({"*.rpt"}, QDir::Files)) {
        QFile file(source.filePath(f));
        QVERIFY(file.open(QIODevice::ReadOnly));
        originals << QString::fromUtf8(file.readAll());
        rpt::Template t;
        QString error;
        QVERIFY2(rpt::ParseTemplate(originals.last(), &t, &error), qPrintable(f + ": " + error));
    }
    QRandomGenerator r(FuzzSeed() + 1);
    int rendered = 0;
    for (int round = 0; round < FuzzRounds(400); ++round) {
        const QString text = Mutate(originals[int(r.bounded(originals.size()))], r);
        rpt::Template t;
        QString error;
        if (!rpt::ParseTemplate(text, &t, &error)) {
            QVERIFY2(error.startsWith("line "), qPrintable(error));
            continue;
        }
        if (round % 4)
            continue; // rendering is slower: every fourth one that parses
        QFile out(ReportPath + "fuzz.rpt");
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
        out.close();
        QTextDocument doc;
        QString why;
        if (!reporttest::Render(&doc, "fuzz.rpt", QString(), {rpt::SchoolFormula()}, &why))
            QVERIFY2(!why.isEmpty(), qPrintable(text));
        ++rendered;
    }
    QCOMPARE(log.unexpectedQuestions, 0);
    qInfo("%d mutated templates rendered", rendered);
}

QTEST_MAIN(TestFuzzReports)
#include "tst_fuzzreports.moc"
