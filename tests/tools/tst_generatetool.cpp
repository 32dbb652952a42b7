// horalux-generate on a crafted school: its last line, its exit status, and what it writes.
#include "GenerateSchool.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString last;
};

Run generate(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(HORALUX_GENERATE_TOOL), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.last = lines.value(lines.size() - 1);
    return r;
}

QString withoutTime(const QString &line)
{
    static const QRegularExpression time(QStringLiteral(", in \\d+ ms$"));
    QString s = line;
    return s.contains(time) ? s.remove(time) : QStringLiteral("no time in: ") + line;
}

} // namespace

class TestGenerateTool : public QObject {
    Q_OBJECT
private slots:
    void buildsSavesAndTellsHowItWent();
};

void TestGenerateTool::buildsSavesAndTellsHowItWent()
{
    TestDatabase db;
    QVERIFY(db.ok());
    GenerateSchool s(db);
    MessageLog log;
    s.lesson(s.VIA, s.MonI, s.Anita, s.Maths);
    db.exec("insert into classsubjectteachers values (3, 1, 3, 1)");
    const QStringList before = DumpDatabase();

    Run r = generate({QStringLiteral("--dry-run"), db.folder()});
    QCOMPARE(withoutTime(r.last), QStringLiteral("placed 13 of 13 lessons, 0 clashes, 0 spread faults"));
    QCOMPARE(r.status, 0);
    QCOMPARE(DumpDatabase(), before);

    r = generate({QStringLiteral("--keep-lessons"), QStringLiteral("--seed"), QStringLiteral("3"), db.folder()});
    QCOMPARE(withoutTime(r.last), QStringLiteral("placed 13 of 13 lessons, 0 clashes, 0 spread faults"));
    QCOMPARE(r.status, 0);
    QCOMPARE(db.count("timeschedule"), 13);
    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 1 and subid = 1 and weekday = 0 and period = 0"), 1);
    QCOMPARE(s.teacherClashes(), 0);

    // --keep-teachers: the allocations come from the timetable first (the dry run writes none).
    const QString teachers = QStringLiteral("select group_concat(classid || '/' || subid || '/' || teacherid || '/' || n) "
                                            "from (select classid, subid, teacherid, count(*) n from timeschedule "
                                            "group by 1, 2, 3 order by 1, 2, 3)");
    const QString byTimetable = QueryValue(teachers).toString();
    db.exec("delete from classsubjectteachers");
    r = generate({QStringLiteral("--keep-teachers"), QStringLiteral("--dry-run"), db.folder()});
    QCOMPARE(r.status, 0);
    QCOMPARE(db.count("classsubjectteachers"), 0);
    r = generate({QStringLiteral("--keep-teachers"), db.folder()});
    QCOMPARE(withoutTime(r.last), QStringLiteral("placed 13 of 13 lessons, 0 clashes, 0 spread faults"));
    QCOMPARE(r.status, 0);
    QCOMPARE(db.count("classsubjectteachers"), 5);
    QCOMPARE(QueryValue(teachers).toString(), byTimetable);

    // A week that cannot be completed: exit status 1, and what was placed is said.
    db.exec("update classsubjects set hours = 4 where classid = 2 and subid = 1");
    r = generate({QStringLiteral("--dry-run"), db.folder()});
    QCOMPARE(withoutTime(r.last), QStringLiteral("placed 13 of 14 lessons, 0 clashes, 0 spread faults"));
    QCOMPARE(r.status, 1);

    r = generate({QStringLiteral("--frobnicate"), db.folder()});
    QCOMPARE(r.status, 2);
}

QTEST_MAIN(TestGenerateTool)
#include "tst_generatetool.moc"
