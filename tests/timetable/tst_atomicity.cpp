// A save of a class or teacher week happens whole or not at all: a failure at any one of its
// statements leaves every table as it was and the editor with its work; a process killed
// while saving a teacher's week leaves the old or the new week, never a mixture, and a sound
// file.
#include "ClassScheduleModel.h"
#include "TeacherScheduleModel.h"
#include "tst_classschedule_school.h"

#include <QSqlQuery>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Counts the change statements and makes the one numbered `failAt` (from 1) fail.
struct FailAt {
    int seen = 0;
    int failAt = 0;
    FailAt()
    {
        SetStatementFailureHook([this](const QString &) { return ++seen == failAt; });
    }
    ~FailAt() { SetStatementFailureHook({}); }
};

void weekOfVIA(SmallSchool &s)
{
    s.lesson(SmallSchool::VIA, 0, 0, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIA, 1, 0, SmallSchool::Bela, SmallSchool::English);
    s.lesson(SmallSchool::VIA, 2, 3, SmallSchool::Anita, SmallSchool::Maths);
    s.lesson(SmallSchool::VIB, 2, 4, SmallSchool::Anita, SmallSchool::Maths);
}

// The class editor with one lesson added after loading: work the user has not saved.
void editClass(ClassScheduleModel &m)
{
    m.loadClass(SmallSchool::VIA, "VI-A");
    m.chooseSubject(1, SmallSchool::physics());
    m.chooseTeacher(1, SmallSchool::chand());
    m.press(tt::CellIndex(3, 1));
    m.assign();
}
} // namespace

class TestAtomicity : public QObject {
    Q_OBJECT
private slots:
    void failureAtEachStatement_data();
    void failureAtEachStatement();
    void killedWhileSaving();
};

void TestAtomicity::failureAtEachStatement_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("class Save") << "class";
    QTest::newRow("teacher Save") << "teacher";
}

void TestAtomicity::failureAtEachStatement()
{
    QFETCH(QString, action);
    // One run per statement of the action: the first clean run counts them.
    int statements = 0;
    for (int failAt = 0; failAt == 0 || failAt <= statements; ++failAt) {
        TestDatabase db;
        MessageLog log;
        SmallSchool s(db);
        weekOfVIA(s);
        ClassScheduleModel cm;
        tt::TeacherScheduleModel tm;
        QString shownBefore;
        if (action == "class") {
            editClass(cm);
            shownBefore = cm.caption(tt::CellIndex(3, 1));
        } else {
            tm.loadTeacher(SmallSchool::Anita, "Anita Rao");
            shownBefore = tm.shownCaption(tt::CellIndex(2, 3));
        }
        QVERIFY(!shownBefore.isEmpty());
        const QStringList before = DumpDatabase();

        FailAt hook;
        hook.failAt = failAt;
        const bool saved = action == "class" ? cm.save() : tm.save();
        if (failAt == 0) {
            QVERIFY(saved);
            QVERIFY(log.messages.isEmpty());
            statements = hook.seen;
            QVERIFY2(statements >= 3, qPrintable(QString::number(statements)));
            QVERIFY(DumpDatabase() != before);
            continue;
        }
        const QString where = QString("%1 failing at statement %2 of %3").arg(action).arg(failAt).arg(statements);
        QVERIFY2(!saved, qPrintable(where));
        QVERIFY2(DumpDatabase() == before, qPrintable(where));
        QCOMPARE(log.messages.size(), 1);
        QVERIFY(log.last().startsWith("Error :"));
        QVERIFY(log.last().size() > QString("Error :").size() + 5);
        if (action == "class") {
            QCOMPARE(cm.caption(tt::CellIndex(3, 1)), shownBefore);
            QVERIFY(cm.dirty());
        } else {
            QCOMPARE(tm.shownCaption(tt::CellIndex(2, 3)), shownBefore);
        }
    }
}

// A child process saves a teacher's full week (class weeks have their own test in
// tst_savesafety) over and over and is killed at varying moments, most of them inside a save.
// The file must then hold exactly the one week (old and new are the same lessons), a whole
// number of history rounds, and pass SQLite's own check.
void TestAtomicity::killedWhileSaving()
{
    TestDatabase db;
    MessageLog log;
    SmallSchool s(db);
    int lessons = 0;
    for (int day = 0; day < 6; ++day)
        for (int period = 0; period < 8; ++period) {
            s.lesson((day + period) % 2 ? SmallSchool::VIB : SmallSchool::VIIA, day, period, SmallSchool::Anita,
                     SmallSchool::Maths);
            ++lessons;
        }
    const QStringList week = QStringList(DumpDatabase().filter(QRegularExpression("^timeschedule\\|")));
    QCOMPARE(week.size(), lessons);

    int saves = 0;
    for (int round = 0; round < 12; ++round) {
        CloseDatabase(); // the child opens the file itself; no connection crosses the fork
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (!InitializeDatabase())
                _exit(3);
            tt::TeacherScheduleModel m;
            m.loadTeacher(SmallSchool::Anita, "Anita Rao");
            for (;;)
                if (!m.save())
                    _exit(4);
        }
        // Varying moments: from before the first save to many saves in.
        usleep(useconds_t(2000 + round * 7919 % 60000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString("child ended by itself: %1").arg(status)));

        QString why;
        QVERIFY2(InitializeDatabase(&why), qPrintable(why));
        QCOMPARE(QueryValue("pragma integrity_check").toString(), QString("ok"));
        QCOMPARE(QStringList(DumpDatabase().filter(QRegularExpression("^timeschedule\\|"))), week);
        QCOMPARE(db.count("cummtimeschedule") % lessons, 0);
        saves = db.count("cummtimeschedule") / lessons;
    }
    QVERIFY2(saves > 0, "the child never finished a save: the kills did not land among saves");
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestAtomicity)
#include "tst_atomicity.moc"
