// The timetable check, as the tool prints it: one line per fault with the window that mends
// it, a count, and the exit status scripts rely on.
#include "TestSupport.h"
#include "TimetableCheck.h"

#include <QProcess>
#include <QTest>

class TestTimetableCheck : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfFault();
};

static QStringList runTool(const QString &folder, int *status)
{
    QProcess p;
    p.start(QStringLiteral(HORALUX_CHECK_TOOL), {folder});
    if (!p.waitForFinished(60000))
        return {QStringLiteral("the tool did not finish")};
    *status = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestTimetableCheck::everyKindOfFault()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (classid, class, section, sortorder) values (1, 'VI', 'A', 9), (2, 'VI', 'B', 9)");
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:30', 4, 20, 'AM')");
    db.exec("insert into classperiods values (1, 1, '0,1,2,3,4'), (2, 1, '0,1,2,3,4,5')");
    db.exec("insert into subjects values ('Maths', 1), ('English', 2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2)");
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('AR1', 'Anita Rao', 1), ('BS2', 'Bela Sen', 2)");
    db.exec("insert into classsubjects values (1, 1, 3, 6), (1, 2, 1, 6), (2, 2, 2, 6), (2, 1, 1, 6)");
    db.exec("insert into teachersubjects values (1, 1, 1, 12), (2, 2, 1, 12)");
    // teacher, subject, class, period, weekday
    const QList<QVariantList> lessons = {
        {1, 1, 1, 0, 0}, {1, 2, 2, 0, 0}, // Anita in two classes on Monday I
        {2, 2, 1, 0, 1}, {2, 2, 2, 0, 1}, // Bela teaches VI-A and VI-B together on Tuesday I: no fault
        {2, 1, 1, 1, 5},                  // VI-A has no Saturday
        {9, 1, 2, 0, 2},                  // a teacher deleted from the register
        {1, 1, 7, 2, 4},                  // a class-section deleted
    };
    for (const QVariantList &l : lessons)
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)", l);

    const QStringList expected = {
        "Anita Rao teaches VI-A (Maths) and VI-B (English) on Monday in period I at once - mend in Class Schedule",
        "VI-A has Maths with Bela Sen on Saturday in period II, a period the class does not have - mend in Class "
        "Schedule",
        "The lesson of VI-B on Wednesday in period I names a teacher that no longer exists (teacher id 9) - mend in "
        "Class Schedule",
        "The lesson of class 7 on Friday in period III names a class-section that no longer exists (class id 7) - "
        "mend in Class Section",
        "VI-A: Maths has 2 periods placed and 3 planned - mend in Class Schedule",
    };
    QVector<check::Fault> faults;
    QString error;
    QVERIFY2(check::FindFaults(&faults, &error), qPrintable(error));
    QStringList lines;
    for (const check::Fault &f : faults)
        lines << f.line();
    QCOMPARE(lines, expected);

    int status = -1;
    QCOMPARE(runTool(db.folder(), &status), expected + QStringList{"5 faults"});
    QCOMPARE(status, 1);

    // Mended: a class with its subject's periods all placed, and nothing else.
    db.exec("delete from timeschedule where not (weekday = 1 and period = 0)");
    db.exec("delete from classsubjects where not (classid = 2 and subid = 2)");
    db.exec("update classsubjects set hours = 1");
    db.exec("delete from timeschedule where classid = 1");
    QVERIFY(check::FindFaults(&faults));
    QVERIFY(faults.isEmpty());
    QCOMPARE(runTool(db.folder(), &status), QStringList({"The timetable has no faults.", "0 faults"}));
    QCOMPARE(status, 0);
    QCOMPARE(runTool(db.folder() + "/nothing-here", &status).size(), 0);
    QCOMPARE(status, 2);
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestTimetableCheck)
#include "tst_timetablecheck.moc"
