// What the office meets with its file: a save cut off by a killed process, a read-only file,
// a file locked by another program and a full disk. None may leave half a week behind or
// throw away the week on the screen.
#include "ClassScheduleModel.h"
#include "TestSupport.h"
#include "tst_classschedule_school.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <cstdio>

namespace {

// VII-A with a lesson in every period of the week (Monday to Saturday, 8 periods).
constexpr int kWeek = 6 * 8;

void fullWeek(SmallSchool &s)
{
    for (int day = 0; day < 6; ++day)
        for (int period = 0; period < 8; ++period)
            s.lesson(SmallSchool::VIIA, day, period, (day + period) % 2 ? SmallSchool::Bela : SmallSchool::Anita,
                     SmallSchool::Maths);
}

QString weekRows()
{
    QStringList rows;
    const Recordset rs = QueryQuiet("select weekday, period, teacherid, subid from timeschedule where classid = ? "
                                    "order by 1, 2, 3, 4",
                                    {int(SmallSchool::VIIA)});
    for (const QVariantList &r : rs.rows())
        rows << QStringLiteral("%1/%2/%3/%4").arg(r[0].toInt()).arg(r[1].toInt()).arg(r[2].toInt()).arg(r[3].toInt());
    return rows.join(QLatin1Char(' '));
}

int history() { return QueryValue("select count(*) from Cummtimeschedule").toInt(); }

// The child of the kill test: saves VII-A's week over and over until it is killed.
int saveLoop(const QString &folder)
{
    SetProgramFolder(folder);
    QString error;
    if (!InitializeDatabase(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    LoadSubjectSnapshot();
    hx::SetMsgBoxHandler([](const hx::ShownMessage &m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return hx::MsgResult::Ok;
    });
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIIA, QStringLiteral("VII-A"));
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        if (!m.save())
            return 2;
}

// Removes one lesson from the grid without saving: the user's unsaved work.
void clearCell(ClassScheduleModel &m, MessageLog &log, int cell)
{
    log.answer(hx::MsgResult::Yes); // "This will clear the assignments. are you sure?"
    m.resetSelection();
    QVERIFY(m.press(cell));
    QVERIFY(m.clearSelected());
    QVERIFY(m.lessons(cell).isEmpty());
}

} // namespace

class TestSaveSafety : public QObject {
    Q_OBJECT
private slots:
    void journalSurvivesACrash();
    void killedInTheMiddleOfASave();
    void readOnlyLockedAndFullFile();
};

void TestSaveSafety::journalSurvivesACrash()
{
    TestDatabase db;
    QCOMPARE(QueryValue("PRAGMA journal_mode").toString(), QString("delete"));
    QCOMPARE(QueryValue("PRAGMA synchronous").toInt(), 2); // FULL
}

// A process killed at random moments of a stream of saves leaves either the week before or
// the week after a save (the same week, written again) and a history of whole saves only.
void TestSaveSafety::killedInTheMiddleOfASave()
{
    TestDatabase db;
    SmallSchool s(db);
    fullWeek(s);
    const QString before = weekRows();
    QCOMPARE(before.count(QLatin1Char(' ')) + 1, kWeek);
    QRandomGenerator random(20261207);
    int saves = 0;
    for (int round = 0; round < 8; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-loop"), db.folder()});
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForReadyRead(10000), child.readAllStandardError().constData());
        QTest::qWait(20 + random.bounded(200));
        child.kill(); // SIGKILL: no handler, no clean-up
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QCOMPARE(QueryValue("PRAGMA integrity_check").toString(), QString("ok"));
        QCOMPARE(weekRows(), before);
        QCOMPARE(history() % kWeek, 0);
        saves = history() / kWeek;
    }
    QVERIFY2(saves > 0, "the child never finished a save: the kills did not land among saves");
}

// Each condition refuses the save with a sentence the user can act on, changes nothing, and
// keeps the unsaved week on screen, so the same Save works once the condition is gone.
void TestSaveSafety::readOnlyLockedAndFullFile()
{
    TestDatabase db;
    SmallSchool s(db);
    fullWeek(s);
    MessageLog log;
    ClassScheduleModel m;
    m.loadClass(SmallSchool::VIIA, QStringLiteral("VII-A"));

    struct Condition {
        const char *name;
        const char *sentence;
        std::function<void()> set;
        std::function<void()> clear;
    };
    QSqlDatabase locker;
    const QList<Condition> conditions = {
        // Root writes through file permissions, so the tests make the connection itself
        // read-only; SQLite then answers exactly as for a read-only file.
        {"read-only", "The database file is read-only; nothing was changed.",
         [] { QueryQuiet("PRAGMA query_only = 1"); }, [] { QueryQuiet("PRAGMA query_only = 0"); }},
        // Another program in the middle of its own change holds the write lock.
        {"locked", "The database is in use by another program; nothing was changed. Try again in a moment.",
         [&] {
             locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
             locker.setDatabaseName(db.file());
             QVERIFY(locker.open());
             QVERIFY(QSqlQuery(locker).exec("BEGIN IMMEDIATE"));
         },
         [&] {
             QVERIFY(QSqlQuery(locker).exec("ROLLBACK"));
             locker.close();
             locker = QSqlDatabase();
             QSqlDatabase::removeDatabase("locker");
         }},
    };
    int cell = 0;
    for (const Condition &c : conditions) {
        const QString saved = weekRows();
        const int saves = history();
        clearCell(m, log, cell);
        c.set();
        log.clear();
        QVERIFY2(!m.save(), c.name);
        QVERIFY2(log.last().startsWith("Error :") && log.last().contains(c.sentence), qPrintable(log.last()));
        QCOMPARE(weekRows(), saved);
        QCOMPARE(history(), saves);
        QVERIFY2(m.lessons(cell).isEmpty() && m.dirty(), c.name); // the unsaved change is still there
        c.clear();
        QVERIFY2(m.save(), qPrintable(log.last()));
        QCOMPARE(QueryValue("select count(*) from timeschedule where classid = 3").toInt(), kWeek - 1 - cell);
        ++cell;
    }

    // A full disk: the file may not grow any more. Saves go on adding history until one no
    // longer fits; that one must change nothing.
    QueryQuiet(QStringLiteral("PRAGMA max_page_count = %1").arg(QueryValue("PRAGMA page_count").toInt()));
    bool refused = false;
    for (int attempt = 0; attempt < 40 && !refused; ++attempt) {
        const QString saved = weekRows();
        const int saves = history();
        clearCell(m, log, cell);
        log.clear();
        if (m.save()) {
            ++cell;
            continue;
        }
        refused = true;
        QVERIFY2(log.last().contains("The disk is full; nothing was changed."), qPrintable(log.last()));
        QCOMPARE(weekRows(), saved);
        QCOMPARE(history(), saves);
        QVERIFY(m.lessons(cell).isEmpty() && m.dirty());
    }
    QVERIFY2(refused, "the file never filled up");
    QCOMPARE(QueryValue("PRAGMA integrity_check").toString(), QString("ok"));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save-loop")
        return saveLoop(QString::fromLocal8Bit(argv[2]));
    TestSaveSafety t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_savesafety.moc"
