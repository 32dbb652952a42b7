#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void tablesAndColumnOrder();
    void shippedContent();
    void refusesImpossibleValues();
    void existingFileIsNeverReplaced();
    void olderFileUpgradedNewerRefused();
    void previousVersionGainsAllocationTables();
};

void TestSchema::tablesAndColumnOrder()
{
    TestDatabase db;
    QVERIFY(db.ok());
    const QList<QPair<QString, QString>> expected = {
        {"libdtl", "libname,add1,add2,city,state,phone,contactperson,logopath"},
        {"Class", "Class,SortOrder"},
        {"classsection", "classid,class,section,sortorder"},
        {"teachers", "uniqueid,Teachername,shortname,designation,dom,gender,address,city,state,phone,email,"
                     "doj,bloodgroup,dob,maritalstatus,fathername,mothername,mothertongue,qualification,"
                     "religion,teacherid,stillworking,photopath,husbandname"},
        {"subjects", "subname,subid"},
        {"subjtype", "subid,subtype,uniqueid"},
        {"periodsystem", "periodsysid,ps_name,p_no,p_duration,p_start,p_before_rec,rec_duration,amorpm"},
        {"classperiods", "classid,periodsysid,days"},
        {"classsubjects", "classid,subid,hours,level1"},
        {"teachersubjects", "teacherid,subid,mostprf,leastprf"},
        {"timeschedule", "teacherid,subid,classid,period,weekday,substitute"},
        {"Cummtimeschedule", "ChangeDate,teacherid,subid,classid,period,weekday,substitute"},
        {"teacherattendence", "teacherid,modetype,fromperiod,toperiod,fromdate,todate"},
        {"substitute", "teacherid,period,classid,weekday,dt,subid"},
        {"substitutelimit", "id,dailylimit"},
        {"classsubjectteachers", "classid,subid,teacherid,hours"},
        {"teacherunavailable", "teacherid,weekday,period"},
    };
    for (const auto &[table, columns] : expected) {
        Recordset rs = OpenRecordset("select name from pragma_table_info(?) order by cid", {table});
        QStringList names;
        for (const auto &row : rs.rows())
            names << row[0].toString();
        QCOMPARE(names.join(','), columns);
    }
}

void TestSchema::shippedContent()
{
    TestDatabase db;
    QCOMPARE(db.count("libdtl"), 1);
    QVERIFY(db.count("Class") >= 12);
    // Sort order follows the school's order of classes, every class once.
    QCOMPARE(QueryValue("select count(distinct SortOrder) from Class").toInt(), db.count("Class"));
    QCOMPARE(QueryValue("select Class from Class order by SortOrder desc limit 1").toString(), QString("XII"));
    QCOMPARE(SchoolName, QueryValue("select libname from libdtl").toString());
    QVERIFY(!SchoolName.isEmpty());
}

void TestSchema::refusesImpossibleValues()
{
    TestDatabase db;
    auto refused = [](const QString &sql) { return !QueryQuiet(sql).ok(); };
    QVERIFY(refused("insert into timeschedule values (1, 1, 1, 0, 0, 2)"));        // boolean
    QVERIFY(refused("insert into timeschedule values ('one', 1, 1, 0, 0, 0)"));    // text for a number
    QVERIFY(refused("insert into substitute values (1, 0, 1, 7, '2026-12-05', 2)")); // week-day
    QVERIFY(refused("insert into substitute values (1, 9, 1, 6, '2026-12-05', 2)")); // period
    QVERIFY(refused("insert into teacherattendence values (1, 'Leave', 0, 8, '05/12/2026', '2026-12-06')"));
    QVERIFY(refused("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-02-30', '2026-03-01')"));
    QVERIFY(refused("insert into teacherattendence values (1, 'Holiday', 0, 8, '2026-03-01', '2026-03-01')"));
    QVERIFY(refused("insert into classsection (class, section) values ('VII', 'H')"));
    QVERIFY(refused("insert into periodsystem values (1, 'Long', 10, 40, '08:00', 4, 20, 'AM')"));
    // Numbers written between quotes are taken as numbers, as the windows write them.
    QVERIFY(QueryQuiet("insert into substitute values ('1', '0', '12', 6, '2026-12-06', 2)").ok());
    QCOMPARE(QueryValue("select typeof(classid) from substitute").toString(), QString("integer"));
    QVERIFY(QueryQuiet("insert into timeschedule (teacherid, subid, classid, period, weekday, substitute)"
                       " values (1, 1, 1, 0, 0, true)").ok());
    QCOMPARE(QueryValue("select count(*) from timeschedule where substitute = true").toInt(), 1);
}

void TestSchema::existingFileIsNeverReplaced()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("school.db");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("a school's own data");
    f.close();
    QString error;
    QVERIFY(!CreateDatabaseFile(file, HORALUX_SCHEMA_FILE, &error));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("a school's own data"));
}

static QByteArray Bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestSchema::olderFileUpgradedNewerRefused()
{
    // A school written by the first version, with data in it.
    SetSchemaUpgradesForTest(QVector<QStringList>{});
    TestDatabase db;
    QVERIFY(db.ok());
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 2, 1, 3, 4)");
    const QStringList before = DumpDatabase();
    CloseDatabase();
    const QByteArray v1 = Bytes(db.file());

    auto reopen = [&](QString *error) { return InitializeDatabase(error); };
    auto tables = [] {
        QStringList t;
        const Recordset rs = QueryQuiet("select name from sqlite_master where type = 'table' and name like 'extra%'");
        for (const auto &row : rs.rows())
            t << row[0].toString();
        return t.join(',');
    };

    // A step that fails half-way leaves the file byte for byte as it was, and says why.
    SetSchemaUpgradesForTest(QVector<QStringList>{{"CREATE TABLE extra1 (x INTEGER) STRICT", "CREATE TABLE nonsense ("}});
    QString error;
    QVERIFY(!reopen(&error));
    QVERIFY2(error.contains("could not be brought up to this version") && error.contains("left as it was"),
             qPrintable(error));
    QCOMPARE(Bytes(db.file()), v1);

    // Two steps: both run in one go, the version is raised, every old row is as it was.
    const QVector<QStringList> steps = {{"CREATE TABLE extra1 (x INTEGER) STRICT"},
                                        {"CREATE TABLE extra2 (y TEXT) STRICT", "INSERT INTO extra2 VALUES ('z')"}};
    SetSchemaUpgradesForTest(steps);
    QCOMPARE(SchemaVersion(), 3);
    QVERIFY2(reopen(&error), qPrintable(error));
    QCOMPARE(QueryValue("PRAGMA user_version").toInt(), 3);
    QCOMPARE(tables(), QString("extra1,extra2"));
    QStringList after = DumpDatabase();
    after.removeIf([](const QString &line) { return line.startsWith("extra"); });
    QCOMPARE(after, before);
    CloseDatabase();

    // Opening it again changes nothing; a new file is made at the same version.
    const QByteArray v3 = Bytes(db.file());
    QVERIFY(reopen(&error));
    CloseDatabase();
    QCOMPARE(Bytes(db.file()), v3);
    {
        TestDatabase fresh;
        QVERIFY(fresh.ok());
        QCOMPARE(QueryValue("PRAGMA user_version").toInt(), 3);
        QCOMPARE(tables(), QString("extra1,extra2"));
    }

    // A program that knows only the first step refuses the file and leaves it alone.
    SetSchemaUpgradesForTest(QVector<QStringList>{steps.first()});
    SetProgramFolder(db.folder());
    QVERIFY(!reopen(&error));
    QVERIFY2(error.contains("newer version of Horalux") && error.contains("left as it is"), qPrintable(error));
    QCOMPARE(Bytes(db.file()), v3);
    SetSchemaUpgradesForTest(std::nullopt);
}

void TestSchema::previousVersionGainsAllocationTables()
{
    // A school written by the version before the teaching allocations.
    QVector<QStringList> previous = ShippedSchemaUpgrades();
    previous.removeLast();
    SetSchemaUpgradesForTest(previous);
    TestDatabase db;
    QVERIFY(db.ok());
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('AS1', 'Asha Sharma', 1)");
    db.exec("insert into classsubjects values (1, 2, 6, 7)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 2, 1, 3, 4)");
    auto definitions = [] {
        QStringList out;
        const Recordset rs = QueryQuiet("select type, name, sql from sqlite_master where tbl_name not in "
                                        "('classsubjectteachers', 'teacherunavailable') order by name");
        for (const auto &row : rs.rows())
            out << row[0].toString() + ' ' + row[1].toString() + ' ' + row[2].toString();
        return out;
    };
    const QStringList before = DumpDatabase();
    const QStringList tablesBefore = definitions();
    CloseDatabase();
    SetSchemaUpgradesForTest(std::nullopt);
    const QByteArray v1 = Bytes(db.file());

    // Marked read-only, it cannot be upgraded: refused with the reason, not a byte changed, no
    // journal left beside it.
    const QFile::Permissions rw = QFile::permissions(db.file());
    QVERIFY(QFile::setPermissions(db.file(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QString error;
    QVERIFY(!InitializeDatabase(&error));
    QVERIFY2(error.contains("is read-only") && error.contains("make the file writable"), qPrintable(error));
    QCOMPARE(Bytes(db.file()), v1);
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files), QStringList{"school.db"});

    // Writable again: the two tables are added in one go, the version raised, nothing else touched.
    QVERIFY(QFile::setPermissions(db.file(), rw));
    QVERIFY2(InitializeDatabase(&error), qPrintable(error));
    QCOMPARE(QueryValue("PRAGMA user_version").toInt(), previous.size() + 2);
    QCOMPARE(SchemaVersion(), previous.size() + 2);
    auto columns = [](const QString &table) {
        QStringList names;
        const Recordset rs = QueryQuiet("select name from pragma_table_info(?) order by cid", {table});
        for (const auto &row : rs.rows())
            names << row[0].toString();
        return names.join(',');
    };
    QCOMPARE(columns("classsubjectteachers"), QString("classid,subid,teacherid,hours"));
    QCOMPARE(columns("teacherunavailable"), QString("teacherid,weekday,period"));
    QCOMPARE(DumpDatabase(), before);
    QCOMPARE(definitions(), tablesBefore);
    // STRICT, with their checks and keys.
    QVERIFY(QueryQuiet("insert into classsubjectteachers values (1, 2, 1, 0)").error().contains("CHECK"));
    QVERIFY(!QueryQuiet("insert into classsubjectteachers values (1, 2, 'one', 3)").ok());
    QVERIFY(QueryQuiet("insert into classsubjectteachers values (1, 2, 1, 3)").ok());
    QVERIFY(!QueryQuiet("insert into classsubjectteachers values (1, 2, 1, 2)").ok());
    QVERIFY(!QueryQuiet("insert into teacherunavailable values (1, 6, 0)").ok());
    QVERIFY(!QueryQuiet("insert into teacherunavailable values (1, 0, 9)").ok());
    QVERIFY(QueryQuiet("insert into teacherunavailable values (1, 5, 8)").ok());
    QVERIFY(!QueryQuiet("insert into teacherunavailable values (1, 5, 8)").ok());
    CloseDatabase();

    // An upgraded file marked read-only opens for reading; a change is refused with a message.
    QVERIFY(QFile::setPermissions(db.file(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray v2 = Bytes(db.file());
    QVERIFY2(InitializeDatabase(&error), qPrintable(error));
    QCOMPARE(QueryValue("select count(*) from teacherunavailable").toInt(), 1);
    {
        MessageLog log;
        QVERIFY(!ExecuteSql("delete from teacherunavailable"));
        QVERIFY2(log.last().contains("read-only"), qPrintable(log.last()));
    }
    CloseDatabase();
    QCOMPARE(Bytes(db.file()), v2);
    QVERIFY(QFile::setPermissions(db.file(), rw));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
