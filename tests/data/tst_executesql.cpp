#include "TestSupport.h"

#include <QSqlQuery>

#include <QTest>

class TestExecuteSql : public QObject {
    Q_OBJECT
private slots:
    void marksBecomeBoundValues();
    void valuesRoundTripUnchanged();
    void shortValueListRunsNothing();
    void failingStatementReportsAndTransactionsRollBack();
};

// The three kinds of mark and empty entries, read off the prepared text and its binds.
void TestExecuteSql::marksBecomeBoundValues()
{
    PreparedStatement p = PrepareMarks("update t set a = '?', b = ? where d = #?#",
                                       {"x", QVariant(), "05/12/2026"});
    QCOMPARE(p.sql, QString("update t set a = ?, b = NULL where d = ?"));
    QCOMPARE(p.binds, QVariantList({"x", "2026-12-05"}));
    QVERIFY(p.error.isEmpty());

    p = PrepareMarks("select * from t where n = '?'", {QVariant()});
    QCOMPARE(p.sql, QString("select * from t where n = ?"));
    QCOMPARE(p.binds, QVariantList({QString("")})); // empty text, not NULL

    p = PrepareMarks("delete from t", {});
    QCOMPARE(p.sql, QString("delete from t"));
    QVERIFY(p.binds.isEmpty() && p.error.isEmpty());

    // A list fills an in (...) list; a mark inside a longer literal builds that literal.
    p = PrepareMarks("delete from t where w in (?) and n like '?%' and q = 'it''s'", {"0,2,4", "ab"});
    QCOMPARE(p.sql, QString("delete from t where w in (?,?,?) and n like ? and q = 'it''s'"));
    QCOMPARE(p.binds, QVariantList({0LL, 2LL, 4LL, "ab%"}));
    // Anywhere else "1,2" is one value, which a number column then refuses; it never
    // becomes two values that shift the marks after it.
    p = PrepareMarks("update t set a = ?, b = ? where c = ?", {"1,2", "3", "4"});
    QCOMPARE(p.sql, QString("update t set a = ?, b = ? where c = ?"));
    QCOMPARE(p.binds, QVariantList({"1,2", 3LL, 4LL}));
    p = PrepareMarks("select * from t where w IN( ?) and x = ?", {"5,6", "7"});
    QCOMPARE(p.binds, QVariantList({5LL, 6LL, 7LL}));

    // Numbers stay numbers; an empty date is NULL; a bad date is an error, not a guess.
    p = PrepareMarks("insert into t values (?, #?#, #?#)", {"12", QVariant(), QDate(2026, 3, 1)});
    QCOMPARE(p.binds, QVariantList({12LL, "2026-03-01"}));
    QVERIFY(p.sql.contains("NULL"));
    p = PrepareMarks("insert into t values (#?#)", {"31/02/2026"});
    QVERIFY(!p.error.isEmpty());
}

void TestExecuteSql::valuesRoundTripUnchanged()
{
    TestDatabase db;
    QVERIFY(db.ok());
    MessageLog log;
    const QString tricky = "O'Brien? asks 'why?' #?# -- ;drop";
    QVERIFY(ExecuteSql("insert into subjects (subname, subid) values ('?', ?)", {tricky, 7}));
    QCOMPARE(QueryValue("select subname from subjects where subid = 7").toString(), tricky);
    // The value after a value holding marks still lands in its own place.
    QVERIFY(ExecuteSql("update libdtl set libname='?',add1='?',city='?'", {"A?B", "x'y", "Jaipur"}));
    Recordset rs = OpenRecordset("select libname, add1, city from libdtl");
    QCOMPARE(rs.text("libname"), QString("A?B"));
    QCOMPARE(rs.text("add1"), QString("x'y"));
    QCOMPARE(rs.text("city"), QString("Jaipur"));
    // An empty entry for a quoted mark is stored as empty text, never as NULL.
    QVERIFY(ExecuteSql("update libdtl set add2='?'", {QVariant()}));
    QVERIFY(ExecuteSql("update libdtl set state='?'", {QString()}));
    QCOMPARE(QueryValue("select count(*) from libdtl where add2 = '' and state = ''").toInt(), 1);
    // Dates go in as dd/mm/yyyy and are kept in calendar order.
    QVERIFY(ExecuteSql("insert into teacherattendence values (?, '?', ?, ?, #?#, #?#)",
                       {1, "Leave", 0, 8, "01/03/2026", "03/03/2026"}));
    QCOMPARE(QueryValue("select fromdate || '|' || todate from teacherattendence").toString(),
             QString("2026-03-01|2026-03-03"));
    QVERIFY(log.messages.isEmpty());
}

void TestExecuteSql::shortValueListRunsNothing()
{
    TestDatabase db;
    MessageLog log;
    QVERIFY(!ExecuteSql("insert into subjects (subname, subid) values ('?', ?)", {"Maths"}));
    QCOMPARE(db.count("subjects"), 0);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(log.last().contains("2 value mark"));
}

void TestExecuteSql::failingStatementReportsAndTransactionsRollBack()
{
    TestDatabase db;
    MessageLog log;
    // The database refuses what cannot be: text in a number column, a day outside the week.
    QVERIFY(!ExecuteSql("insert into timeschedule (teacherid, subid, classid, period, weekday) "
                        "values ('?', 1, 1, 0, 0)", {"abc"}));
    QVERIFY(!ExecuteSql("insert into timeschedule (teacherid, subid, classid, period, weekday) "
                        "values (1, 1, 1, 9, 0)"));
    QVERIFY(!ExecuteSql("insert into timeschedule (teacherid, subid, classid, period, weekday, substitute) "
                        "values (1, 1, 1, 0, 6, false)"));
    QCOMPARE(log.messages.size(), 3);
    for (const auto &m : log.messages)
        QVERIFY(m.text.startsWith("Error :") && m.title == "Horalux");

    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (5, 1, 1, 0, 0)");
    {
        Transaction t;
        QVERIFY(ExecuteSql("delete from timeschedule where classid = ?", {1}));
        QVERIFY(!ExecuteSql("insert into timeschedule (teacherid, subid, classid, period, weekday) "
                            "values (1, 1, 1, 0, 9)"));
        QVERIFY(!t.commit());
    }
    QCOMPARE(db.count("timeschedule", "teacherid = 5"), 1); // the delete was undone
    {
        Transaction t;
        QVERIFY(ExecuteSql("delete from timeschedule where classid = ?", {1}));
        QVERIFY(t.commit());
    }
    QCOMPARE(db.count("timeschedule"), 0);

    // A transaction that cannot begin writes nothing on its own: each statement is refused
    // with the reason, instead of being committed one by one.
    log.clear();
    QSqlQuery outside(Conn());
    QVERIFY(outside.exec("begin"));
    {
        Transaction t;
        QVERIFY(!ExecuteSql("insert into timeschedule (teacherid, subid, classid, period, weekday) "
                            "values (1, 1, 1, 0, 0)"));
        QVERIFY(!t.commit());
    }
    QVERIFY(outside.exec("commit"));
    QCOMPARE(db.count("timeschedule"), 0);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY2(log.last().startsWith("Error :The change could not be started"), qPrintable(log.last()));
}

QTEST_GUILESS_MAIN(TestExecuteSql)
#include "tst_executesql.moc"
