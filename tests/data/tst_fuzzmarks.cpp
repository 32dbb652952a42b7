// Random statements and value lists through the ?-mark filling: nothing crashes, every mark
// is either bound or the statement is refused before it reaches the database.
// HORALUX_FUZZ_ROUNDS raises the number of rounds and HORALUX_FUZZ_SEED changes the seed
// for a longer local run; CI uses the fixed defaults so that a failure repeats.
#include "TestSupport.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Placeholders SQLite will see: ? outside single-quoted literals ('' stays inside).
int Placeholders(const QString &sql)
{
    int n = 0;
    bool quoted = false;
    for (int i = 0; i < sql.size(); ++i) {
        if (sql[i] == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && sql[i] == QLatin1Char('?'))
            ++n;
    }
    return n;
}

class Gen {
public:
    explicit Gen(quint32 seed) : r_(seed) {}
    int below(int n) { return int(r_.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }

    QString pick(const QStringList &l) { return l[below(l.size())]; }

    // Text that a user could type, marks and quotes included.
    QString text()
    {
        static const QStringList pieces = {"a", "O'Brien", "?", "#?#", "''", "'", "%", "_", ";--", "\"", "x y",
                                           QString(QChar(0)), QString::fromUtf8("\xd9\x85\xd8\xaf"),
                                           QString::fromUtf8("\xf0\x9f\x98\x80"), "12", "-3", ",", "NULL"};
        QString s;
        for (int i = below(5); i > 0; --i)
            s += pick(pieces);
        return s;
    }

    QVariant value()
    {
        switch (below(8)) {
        case 0: return QVariant();
        case 1: return below(1000) - 500;
        case 2: return QString::number(below(100));
        case 3: return QDate(2020 + below(10), 1 + below(12), 1 + below(28));
        case 4: return QDate(2020, 1, 1).addDays(below(3000)).toString("dd/MM/yyyy");
        case 5: return QString("%1,%2,%3").arg(below(6)).arg(below(6)).arg(below(6));
        default: return text();
        }
    }

    QString garbage()
    {
        static const QStringList pieces = {"?", "#?#", "'", "''", "'?'", "#", "\"", " ", "a", ",", "(", ")",
                                           "--", ";", "?%", "in (?)", "'a?b?c'", "x = ?", "\n"};
        QString s;
        for (int i = below(14); i > 0; --i)
            s += pick(pieces);
        return s;
    }

private:
    QRandomGenerator r_;
};

QString Text(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return v.toString();
}

} // namespace

class TestFuzzMarks : public QObject {
    Q_OBJECT
private slots:
    void randomTextNeverRunsWithAnOpenMark();
    void randomInsertsStoreEveryValueInItsPlace();
};

// Garbage statements: the count of marks is the count of '?' typed, a short list always
// refuses, and a filled statement has exactly one bound value per placeholder.
void TestFuzzMarks::randomTextNeverRunsWithAnOpenMark()
{
    TestDatabase db;
    QVERIFY(db.ok());
    MessageLog log;
    Gen g(FuzzSeed());
    const int rounds = FuzzRounds(4000);
    for (int round = 0; round < rounds; ++round) {
        const QString sql = g.garbage();
        Values values;
        for (int i = g.below(8); i > 0; --i)
            values << g.value();
        const PreparedStatement p = PrepareMarks(sql, values);
        const QString where = QString("round %1: [%2] with %3 value(s)").arg(round).arg(sql).arg(values.size());
        QVERIFY2(p.marks == sql.count(QLatin1Char('?')), qPrintable(where));
        if (p.marks > values.size()) {
            QVERIFY2(!p.error.isEmpty(), qPrintable(where));
            // Refused before the database sees it: the message is ours, not a syntax error.
            log.clear();
            QVERIFY2(!ExecuteSql(sql, values), qPrintable(where));
            QVERIFY2(LastDatabaseError() == p.error, qPrintable(where + " gave " + LastDatabaseError()));
            QCOMPARE(log.messages.size(), 1);
            QVERIFY(log.last().startsWith("Error :"));
        } else if (p.error.isEmpty()) {
            // Comments and quoted names are no places for marks (no statement of the program
            // has them); elsewhere every placeholder has its value.
            const bool plain = !sql.contains("--") && !sql.contains(QLatin1Char('"'));
            if (plain)
                QVERIFY2(Placeholders(p.sql) == p.binds.size(),
                         qPrintable(where + QString(" -> [%1] with %2 bind(s)").arg(p.sql).arg(p.binds.size())));
            // Whatever SQLite makes of it, a statement whose placeholders and values do not
            // fit never runs: it fails with a message.
            log.clear();
            const bool ran = ExecuteSql(sql, values);
            if (LastDatabaseError().contains("count mismatch", Qt::CaseInsensitive))
                QVERIFY2(!ran && log.last().startsWith("Error :"), qPrintable(where));
            QVERIFY2(ran == LastDatabaseError().isEmpty(), qPrintable(where));
        }
    }
    QCOMPARE(log.unexpectedQuestions, 0);
}

// Inserts built from the kinds of mark, with values full of marks, quotes and odd text:
// each column holds exactly what its mark promises, or the insert is refused as a whole.
void TestFuzzMarks::randomInsertsStoreEveryValueInItsPlace()
{
    TestDatabase db;
    QVERIFY(db.ok());
    db.exec("create table fz (k integer, c0, c1, c2, c3, c4, c5)");
    MessageLog log;
    Gen g(FuzzSeed() + 1);
    const int rounds = FuzzRounds(1500);
    for (int round = 0; round < rounds; ++round) {
        const int columns = 1 + g.below(6);
        QStringList items;
        QVariantList expected; // the value each column should hold; an invalid entry means NULL
        Values values{round};
        bool dateFault = false;
        for (int c = 0; c < columns; ++c) {
            const QVariant v = g.value();
            switch (g.below(5)) {
            case 0: // text mark
                items << "'?'";
                values << v;
                expected << Text(v);
                break;
            case 1: { // a mark inside a longer literal, with a doubled quote around it
                items << "'<''?''>'";
                values << v;
                expected << QString("<'%1'>").arg(Text(v));
                break;
            }
            case 2: { // date mark
                items << "#?#";
                const QVariant d = g.chance(80) ? QVariant(QDate(2026, 1 + g.below(12), 1 + g.below(28)))
                                                : QVariant(g.text());
                values << d;
                if (d.typeId() == QMetaType::QDate)
                    expected << d.toDate().toString(Qt::ISODate);
                else if (d.toString().trimmed().isEmpty())
                    expected << QVariant();
                else if (ToIsoDateText(d).isEmpty())
                    dateFault = true;
                else
                    expected << ToIsoDateText(d);
                break;
            }
            case 3: { // number mark
                items << "?";
                const QVariant n = g.chance(15) ? QVariant() : QVariant(g.below(100000) - 50000);
                values << n;
                expected << n;
                break;
            }
            default: { // two marks inside one literal, between fixed text
                items << "'it''s ? #?#'";
                const QString a = g.text(), b = g.text();
                values << a << b;
                expected << QString("it's %1 #%2#").arg(a, b);
                break;
            }
            }
        }
        QStringList names;
        for (int c = 0; c < columns; ++c)
            names << QString("c%1").arg(c);
        const QString sql = QString("insert into fz (k, %1) values (?, %2)").arg(names.join(", "), items.join(", "));
        const bool shortList = g.chance(10) && values.size() > 1;
        if (shortList)
            values.removeLast();
        log.clear();
        const bool ok = ExecuteSql(sql, values);
        const QString where = QString("round %1: %2").arg(round).arg(sql);
        const int rows = db.count("fz", "k = ?", {round});
        if (shortList || dateFault) {
            QVERIFY2(!ok && rows == 0, qPrintable(where));
            QVERIFY(log.last().startsWith("Error :"));
            continue;
        }
        QVERIFY2(ok, qPrintable(where + " failed: " + LastDatabaseError()));
        QCOMPARE(rows, 1);
        Recordset rs = QueryQuiet(QString("select %1 from fz where k = ?").arg(names.join(", ")), {round});
        for (int c = 0; c < columns; ++c) {
            const QVariant got = rs.value(c);
            const QVariant want = expected[c];
            if (!want.isValid() || want.isNull()) {
                QVERIFY2(got.isNull(), qPrintable(where + QString(" c%1 = %2").arg(c).arg(got.toString())));
            } else {
                QVERIFY2(!got.isNull() && got.toString() == want.toString(),
                         qPrintable(where + QString(" c%1: %2 instead of %3").arg(c).arg(got.toString(), want.toString())));
            }
        }
    }
    // A list fills an in (...) list and nothing else: each round deletes exactly its rows.
    QVERIFY(ExecuteSql("delete from fz where k in (?)", {"0,1,2"}));
    QCOMPARE(db.count("fz", "k in (0, 1, 2)"), 0);
    QCOMPARE(log.unexpectedQuestions, 0);
}

QTEST_GUILESS_MAIN(TestFuzzMarks)
#include "tst_fuzzmarks.moc"
