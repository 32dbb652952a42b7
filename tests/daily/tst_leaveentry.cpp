#include "FrmLeaves.h"
#include "LeaveBook.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class TestLeaveEntry : public QObject {
    Q_OBJECT
private slots:
    void clashingRanges();
    void refusedInput();
    void deletion();
    void window();

private:
    static void teachers(TestDatabase &db)
    {
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK1', 'Ram Kumar', 1),"
                " ('SD2', 'Sita Devi', 2)");
    }
    static const QString kClash;
};

const QString TestLeaveEntry::kClash = "Leave dates clashing already entered leave information";

void TestLeaveEntry::clashingRanges()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    using R = LeaveBook::Result;
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 3, 1), QDate(2026, 3, 3)), R::Done);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and modetype = 'Leave' and fromperiod = 0"
                                           " and toperiod = 8 and fromdate = '2026-03-01' and todate = '2026-03-03'"),
             1);
    QVERIFY(log.messages.isEmpty());

    // A day inside, and each end, clash; the two-line message names the clashing entry.
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 3, 2), QDate(2026, 3, 2)), R::Refused);
    QCOMPARE(log.last(), kClash + QChar(13) + "Leave from date 01/03/2026 to date 03/03/2026");
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 3, 3), QDate(2026, 3, 5)), R::Refused);
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 2, 20), QDate(2026, 3, 1)), R::Refused);
    // Enclosing the old leave is a clash too.
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 2, 25), QDate(2026, 3, 10)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 1);

    // The day after the last day is free, and so is every day of another teacher.
    log.clear();
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 3, 4), QDate(2026, 3, 4)), R::Done);
    QCOMPARE(LeaveBook::save("Sita Devi", QDate(2026, 3, 1), QDate(2026, 3, 4)), R::Done);
    QVERIFY(log.messages.isEmpty());

    // Calendar order across a month end, and an absence counts as an entry as well.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-01-30', '2026-01-30')");
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 1, 28), QDate(2026, 2, 2)), R::Refused);
    QCOMPARE(log.last(), kClash + QChar(13) + "Leave from date 30/01/2026 to date 30/01/2026");
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 1, 31), QDate(2026, 2, 2)), R::Done);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 4);
}

void TestLeaveEntry::refusedInput()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    using R = LeaveBook::Result;
    QCOMPARE(LeaveBook::save("", QDate(2026, 3, 1), QDate(2026, 3, 1)), R::Nothing);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(LeaveBook::save("Nobody Known", QDate(2026, 3, 1), QDate(2026, 3, 1)), R::Refused);
    QCOMPARE(log.last(), QString("Teacher not found. Select the teacher from the list"));
    QCOMPARE(LeaveBook::save("Ram Kumar", QDate(2026, 3, 5), QDate(2026, 3, 4)), R::Refused);
    QCOMPARE(log.last(), QString("From date can't be greater than to date"));
    QCOMPARE(db.count("teacherattendence"), 0);
    // A name with a quote is only a value, never part of the statement.
    QCOMPARE(LeaveBook::save("x' or '1'='1", QDate(2026, 3, 1), QDate(2026, 3, 1)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 0);
}

void TestLeaveEntry::deletion()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    using R = LeaveBook::Result;
    db.exec("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-03-01', '2026-03-03'),"
            " (2, 'Leave', 0, 8, '2026-03-01', '2026-03-05'), (1, 'Leave', 0, 8, '2026-04-10', '2026-04-12')");
    // Newest first.
    const QVector<LeaveLine> list = LeaveBook::list();
    QCOMPARE(list.size(), 3);
    QCOMPARE(list[0].from, QDate(2026, 4, 10));
    QCOMPARE(list[0].teacherName, QString("Ram Kumar"));
    QCOMPARE(list[2].from, QDate(2026, 3, 1));

    // Another teacher's substitution inside the dates does not block; this teacher's does.
    db.exec("insert into substitute values (2, 3, 1, 1, '2026-03-03', 5)");
    db.exec("insert into substitute values (1, 3, 1, 3, '2026-04-11', 5)");
    QCOMPARE(LeaveBook::remove("Ram Kumar", QDate(2026, 4, 10)), R::Refused);
    QCOMPARE(log.last(), QString("Substitution is marked for the date. You can't delete entry."));
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 2);

    log.clear();
    QCOMPARE(LeaveBook::remove("Ram Kumar", QDate(2026, 3, 1)), R::Done);
    QCOMPARE(log.texts(), QStringList({"Entry Deleted"}));
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and fromdate = '2026-03-01'"), 0);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 1); // same day, other teacher

    // Nothing matched: said so, and no "Entry Deleted".
    log.clear();
    QCOMPARE(LeaveBook::remove("Sita Devi", QDate(2026, 3, 2)), R::Refused);
    QCOMPARE(log.texts(), QStringList({"No entry of the teacher starts on the date. Nothing deleted."}));
    QCOMPARE(LeaveBook::remove("", QDate(2026, 3, 1)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 2);
}

void TestLeaveEntry::window()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teacherattendence values (2, 'Leave', 0, 8, '2026-03-01', '2026-03-05')");
    FrmLeaves w;
    QCOMPARE(w.windowTitle(), QString("Leave Entry"));
    auto *teacher = w.findChild<QComboBox *>("CmbTeacher");
    auto *from = w.findChild<QDateEdit *>("DTPFrom");
    auto *to = w.findChild<QDateEdit *>("DTPTo");
    auto *list = w.findChild<QTreeWidget *>("LvwLeave");
    QVERIFY(teacher && from && to && list);
    QCOMPARE(teacher->count(), 2);
    QCOMPARE(from->date(), QDate::currentDate());
    QCOMPARE(to->date(), QDate::currentDate());
    QCOMPARE(from->displayFormat(), QString("dd/MM/yyyy"));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(2), QString("05/03/2026"));

    // Save through the button, then the list leads with the newer entry.
    teacher->setCurrentIndex(teacher->findText("Ram Kumar"));
    from->setDate(QDate(2026, 5, 4));
    to->setDate(QDate(2026, 5, 6));
    w.findChild<QPushButton *>("cmdSave")->click();
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Ram Kumar"));
    QCOMPARE(list->topLevelItem(0)->text(1), QString("04/05/2026"));

    // Clicking an entry puts it into the controls; Delete then removes it.
    w.LvwLeave_ItemClick(list->topLevelItem(1));
    QCOMPARE(teacher->currentText(), QString("Sita Devi"));
    QCOMPARE(from->date(), QDate(2026, 3, 1));
    QCOMPARE(to->date(), QDate(2026, 3, 5));
    w.findChild<QPushButton *>("CmdDelete")->click();
    QCOMPARE(log.last(), QString("Entry Deleted"));
    QCOMPARE(list->topLevelItemCount(), 1);
}

QTEST_MAIN(TestLeaveEntry)
#include "tst_leaveentry.moc"
