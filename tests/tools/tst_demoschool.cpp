#include "AllocationProblems.h"
#include "DemoSchool.h"
#include "Report.h"
#include "ReportRunner.h"
#include "SubstitutionBook.h"
#include "TeacherRegister.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate kTuesday(2026, 12, 8);

DemoSchoolOptions options(DemoSchoolOptions o)
{
    o.today = kTuesday;
    return o;
}

// Every row of every table, in a fixed order: two schools are the same when these are.
QByteArray contents()
{
    QByteArray all;
    const Recordset tables = OpenRecordset("select name from sqlite_master where type = 'table' order by name");
    for (const QVariantList &t : tables.rows()) {
        const QString name = t.value(0).toString();
        if (name == QLatin1String("sqlite_sequence"))
            continue;
        const Recordset rs = OpenRecordset("select * from " + name + " order by rowid");
        all += name.toUtf8() + '\n';
        for (const QVariantList &row : rs.rows()) {
            for (const QVariant &v : row)
                all += v.toString().toUtf8() + '|';
            all += '\n';
        }
    }
    return QCryptographicHash::hash(all, QCryptographicHash::Sha256);
}

int value(const QString &sql, const QVariantList &params = {}) { return QueryValue(sql, params, -1).toInt(); }

} // namespace

class TestDemoSchool : public QObject {
    Q_OBJECT
private slots:
    void smallSchool();
    void largeSchool();
    void sameSeedSameSchool();
    void existingAndUnwritableTargets();
    void reportsBesideTheSchool();

private:
    void checkSchool(const DemoSchoolOptions &o);
};

// What a school must be for the editors and the daily windows to accept it.
void TestDemoSchool::checkSchool(const DemoSchoolOptions &o)
{
    MessageLog log;
    QTemporaryDir dir;
    DemoSchoolFigures f;
    QString error;
    QVERIFY2(CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, o, &f, &error), qPrintable(error));
    QVERIFY2(log.messages.isEmpty(), qPrintable(log.texts().join('\n')));
    QCOMPARE(value("select count(*) from classsection"), o.classSections);
    QCOMPARE(value("select count(*) from teachers"), o.teachers);
    QCOMPARE(f.unplaced, 0);
    QCOMPARE(value("select count(*) from timeschedule"), f.lessons);

    // A regular day of nine periods and a shorter Saturday; every class has a system for
    // each of the six week-days, and only one.
    QCOMPARE(value("select p_no from periodsystem where ps_name = 'Regular Day'"), 9);
    QVERIFY(value("select p_no from periodsystem where ps_name = 'Saturday'") < 9);
    const Recordset classes = OpenRecordset("select classid from classsection");
    QVector<std::array<int, 6>> periodsOfDay;
    for (const QVariantList &c : classes.rows()) {
        const int classid = c.value(0).toInt();
        std::array<int, 6> periods{};
        periods.fill(-1);
        const Recordset cp = OpenRecordset(
            "select cp.days, ps.p_no from classperiods cp join periodsystem ps on ps.periodsysid = cp.periodsysid "
            "where cp.classid = ?",
            {classid});
        for (const QVariantList &r : cp.rows())
            for (const QString &d : r.value(0).toString().split(',')) {
                QVERIFY2(periods[d.toInt()] < 0, "a week-day with two period systems");
                periods[d.toInt()] = r.value(1).toInt();
            }
        for (int d = 0; d < 6; ++d)
            QVERIFY2(periods[d] > 0, qPrintable(QStringLiteral("class %1 has no periods on day %2").arg(classid).arg(d)));

        // The week is filled exactly: every period of the class holds one lesson, and each
        // subject has the periods its curriculum gives it.
        int week = 0;
        for (int d = 0; d < 6; ++d) {
            week += periods[d];
            for (int p = 0; p < 9; ++p) {
                const int n = value("select count(*) from timeschedule where classid = ? and weekday = ? and period = ?",
                                    {classid, d, p});
                QCOMPARE(n, p < periods[d] ? 1 : 0);
            }
        }
        QCOMPARE(value("select sum(hours) from classsubjects where classid = ?", {classid}), week);
        QCOMPARE(value("select count(*) from classsubjects cs where classid = ? and hours <> (select count(*) from "
                       "timeschedule ts where ts.classid = cs.classid and ts.subid = cs.subid)",
                       {classid}),
                 0);
    }
    QCOMPARE(value("select count(*) from timeschedule ts where not exists (select 1 from classsubjects cs "
                   "where cs.classid = ts.classid and cs.subid = ts.subid)"),
             0);

    // No teacher in two places at once, nobody teaching a subject not theirs.
    QCOMPARE(value("select count(*) from (select 1 from timeschedule group by teacherid, weekday, period "
                   "having count(*) > 1)"),
             0);
    QCOMPARE(value("select count(*) from timeschedule ts where not exists (select 1 from teachersubjects x "
                   "where x.teacherid = ts.teacherid and x.subid = ts.subid)"),
             0);

    // Every id names its row.
    const QStringList orphans = {
        "select count(*) from timeschedule x where x.teacherid not in (select teacherid from teachers)"
        " or x.subid not in (select uniqueid from subjtype) or x.classid not in (select classid from classsection)",
        "select count(*) from Cummtimeschedule x where x.teacherid not in (select teacherid from teachers)"
        " or x.subid not in (select uniqueid from subjtype) or x.classid not in (select classid from classsection)",
        "select count(*) from classsubjects x where x.subid not in (select uniqueid from subjtype)"
        " or x.classid not in (select classid from classsection)",
        "select count(*) from teachersubjects x where x.subid not in (select uniqueid from subjtype)"
        " or x.teacherid not in (select teacherid from teachers)",
        "select count(*) from classperiods x where x.periodsysid not in (select periodsysid from periodsystem)"
        " or x.classid not in (select classid from classsection)",
        "select count(*) from subjtype x where x.subid not in (select subid from subjects)",
        "select count(*) from classsection x where x.class not in (select class from Class)",
        "select count(*) from teacherattendence x where x.teacherid not in (select teacherid from teachers)",
        "select count(*) from substitute x where x.teacherid not in (select teacherid from teachers)"
        " or x.subid not in (select teacherid from teachers) or x.classid not in (select classid from classsection)",
    };
    for (const QString &sql : orphans)
        QVERIFY2(value(sql) == 0, qPrintable(sql));

    // The history holds every lesson of the timetable, saved on a day before today.
    QCOMPARE(value("select count(*) from timeschedule ts where not exists (select 1 from Cummtimeschedule c where "
                   "c.classid = ts.classid and c.teacherid = ts.teacherid and c.subid = ts.subid and "
                   "c.weekday = ts.weekday and c.period = ts.period)"),
             0);
    QCOMPARE(value("select count(*) from Cummtimeschedule where ChangeDate >= ?", {IsoDate(o.today)}), 0);

    // Teachers as the register makes them: distinct names, codes from the initials, dates
    // the register accepts.
    QCOMPARE(value("select count(distinct teachername) from teachers"), o.teachers);
    const Recordset teachers = OpenRecordset("select teacherid from teachers");
    for (const QVariantList &t : teachers.rows()) {
        const auto r = TeacherRegister::Load(t.value(0).toInt());
        QVERIFY(r);
        QVERIFY2(QRegularExpression("^" + TeacherRegister::Initials(r->teachername) + "-\\d\\d$").match(r->uniqueid).hasMatch(),
                 qPrintable(r->uniqueid + " for " + r->teachername));
        QVERIFY2(r->dob.isValid() && r->doj.isValid() && r->doj > r->dob, qPrintable(r->teachername));
        const auto refusal = TeacherRegister::CheckDates(*r, o.today);
        QVERIFY2(!refusal, qPrintable(r->teachername + ": " + (refusal ? refusal->text : QString())));
        QVERIFY(TeacherRegister::Genders().contains(r->gender));
    }
    QVERIFY(value("select count(*) from teachersubjects where mostprf not between 1 and 12 or leastprf not between 1 and 12") == 0);

    // The allocations are the timetable's; a few teachers cannot teach a few periods, none of which
    // holds their lesson; and so the allocation has nothing to complain of.
    QVERIFY(f.allocations > 0);
    QCOMPARE(value("select count(*) from classsubjectteachers"), f.allocations);
    QCOMPARE(value("select count(*) from (select classid, subid, teacherid, count(*) n from timeschedule "
                   "group by classid, subid, teacherid) t where not exists (select 1 from classsubjectteachers a "
                   "where a.classid = t.classid and a.subid = t.subid and a.teacherid = t.teacherid and a.hours = t.n)"),
             0);
    QVERIFY(f.unavailable >= 6);
    QCOMPARE(value("select count(*) from teacherunavailable"), f.unavailable);
    QVERIFY(value("select count(distinct teacherid) from teacherunavailable") >= 2);
    QCOMPARE(value("select count(*) from timeschedule ts join teacherunavailable u on u.teacherid = ts.teacherid "
                   "and u.weekday = ts.weekday and u.period = ts.period"),
             0);
    QCOMPARE(alloc::Problems(), QStringList());

    // Today: some away, and every substitution one the daily window would have accepted.
    QVERIFY(f.leaves > 0 && f.absences > 0 && f.substitutions > 0);
    QCOMPARE(value("select count(*) from substitute where dt = ?", {IsoDate(o.today)}), f.substitutions);
    const Recordset subs = OpenRecordset("select teacherid, period, classid, weekday, subid from substitute");
    for (const QVariantList &s : subs.rows()) {
        const int away = s.value(0).toInt(), period = s.value(1).toInt(), by = s.value(4).toInt();
        QCOMPARE(s.value(3).toInt(), SubstitutionBook::WeekDayNumber(o.today));
        QVERIFY(SubstitutionBook::awayStatus(away, o.today, period).found);
        QVERIFY(!SubstitutionBook::awayStatus(by, o.today, period).found);
        QCOMPARE(value("select count(*) from timeschedule where teacherid = ? and classid = ? and weekday = ? and period = ?",
                       {away, s.value(2), s.value(3), period}),
                 1);
        QCOMPARE(value("select count(*) from timeschedule where teacherid = ? and weekday = ? and period = ?",
                       {by, s.value(3), period}),
                 0);
        QCOMPARE(value("select count(*) from substitute where subid = ? and period = ? and dt = ?",
                       {by, period, IsoDate(o.today)}),
                 1);
    }
    // Some periods are left for the user to arrange.
    int open = 0;
    for (const CoverLine &l : SubstitutionBook::periodsToCover(o.today))
        open += l.substituteId == 0;
    QVERIFY(open > 0);
    CloseDatabase();
}

void TestDemoSchool::smallSchool() { checkSchool(options(DemoSchoolOptions::small())); }

void TestDemoSchool::largeSchool()
{
    const DemoSchoolOptions o = DemoSchoolOptions::large();
    QCOMPARE(o.classSections, 100);
    QCOMPARE(o.teachers, 150);
    checkSchool(options(o));
}

void TestDemoSchool::sameSeedSameSchool()
{
    QTemporaryDir a, b, c;
    QString error;
    DemoSchoolOptions o = options(DemoSchoolOptions::small());
    QVERIFY2(CreateDemoSchool(a.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error), qPrintable(error));
    const QByteArray first = contents();
    QVERIFY2(CreateDemoSchool(b.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error), qPrintable(error));
    QCOMPARE(contents(), first);
    o.seed += 1;
    QVERIFY2(CreateDemoSchool(c.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error), qPrintable(error));
    QVERIFY(contents() != first);
    CloseDatabase();
}

void TestDemoSchool::existingAndUnwritableTargets()
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath("school.db");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the school's own data");
    }
    QString error;
    DemoSchoolOptions o = options(DemoSchoolOptions::small());
    QVERIFY(!CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error));
    QVERIFY2(error.contains(file) && error.contains("exists"), qPrintable(error));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("the school's own data"));
    }

    // Told to, it replaces the file, also one the program has open.
    o.overwrite = true;
    QVERIFY2(CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error), qPrintable(error));
    QCOMPARE(value("select count(*) from classsection"), o.classSections);
    QVERIFY2(CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, o, nullptr, &error), qPrintable(error));
    QCOMPARE(value("select count(*) from teachers"), o.teachers);
    CloseDatabase();

    // A folder that cannot be made (a file stands in its way) is refused with its name.
    const QString blocked = QDir(dir.path()).filePath("school.db/demo");
    error.clear();
    QVERIFY(!CreateDemoSchool(blocked, HORALUX_SCHEMA_FILE, o, nullptr, &error));
    QVERIFY2(error.contains(blocked), qPrintable(error));
    QVERIFY(!CreateDemoSchool(QString(), HORALUX_SCHEMA_FILE, o, nullptr, &error));
    QVERIFY(!error.isEmpty());

    // A failed run leaves the file it was told to replace as it was.
    CloseDatabase();
    const QByteArray before = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    DemoSchoolOptions tooFew = o;
    tooFew.teachers = 5;
    QVERIFY(!CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, tooFew, nullptr, &error));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"school.db"});

    // Sizes it cannot staff are refused, not left half written or run for ever.
    for (const auto &[sections, teachers] : {std::pair{12, 5}, std::pair{0, 25}, std::pair{200, 150}, std::pair{12, 100000}}) {
        QTemporaryDir other;
        DemoSchoolOptions odd = options(DemoSchoolOptions::small());
        odd.classSections = sections;
        odd.teachers = teachers;
        error.clear();
        QVERIFY(!CreateDemoSchool(other.path(), HORALUX_SCHEMA_FILE, odd, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(QDir(other.path()).filePath("school.db")));
    }
}

// The program started on a demo folder finds its reports there, and an edited template
// survives a second run of the generator.
void TestDemoSchool::reportsBesideTheSchool()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY2(CreateDemoSchool(dir.path(), HORALUX_SCHEMA_FILE, options(DemoSchoolOptions::small()), nullptr, &error),
             qPrintable(error));
    QVERIFY2(CopyReportTemplates(HORALUX_REPORT_TEMPLATES, dir.path(), &error), qPrintable(error));
    SetProgramFolder(dir.path());
    QVERIFY2(InitializeDatabase(&error), qPrintable(error));
    for (const char *name : {"classschsumm.rpt", "teacherschsumm.rpt", "classtmtable.rpt", "tchrtmtable.rpt",
                             "freeperiod.rpt", "substitute.rpt"})
        QVERIFY2(QFile::exists(ReportPath + name), name);
    // Full weeks of nine periods with long subject names: still one page per class.
    rpt::Report report;
    report.setFormula(0, rpt::SchoolFormula());
    report.setConnect(rpt::ConnectString());
    report.setReportFileName(ReportPath + "classtmtable.rpt");
    int pages = 0;
    QVERIFY2(report.exportPdf(QDir(dir.path()).filePath("classes.pdf"), &pages), qPrintable(report.lastError()));
    QCOMPARE(pages, DemoSchoolOptions::small().classSections);
    {
        QFile f(ReportPath + "classtmtable.rpt");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("title Our own\n");
    }
    QVERIFY2(CopyReportTemplates(HORALUX_REPORT_TEMPLATES, dir.path(), &error), qPrintable(error));
    QFile f(ReportPath + "classtmtable.rpt");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("title Our own\n"));
    QVERIFY(!CopyReportTemplates(dir.path(), dir.path(), &error)); // no templates there
    CloseDatabase();
}

QTEST_MAIN(TestDemoSchool)
#include "tst_demoschool.moc"
