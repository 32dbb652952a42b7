#include "FrmLeaves.h"
#include "LeaveBook.h"
#include "TestSupport.h"
#include "UserInput.h"

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
    void teachersOfTheSameName();
    void leaveOfABookedSubstitute();

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
    QCOMPARE(LeaveBook::save(1, QDate(2026, 3, 1), QDate(2026, 3, 3)), R::Done);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and modetype = 'Leave' and fromperiod = 0"
                                           " and toperiod = 8 and fromdate = '2026-03-01' and todate = '2026-03-03'"),
             1);
    QVERIFY(log.messages.isEmpty());

    // A day inside, and each end, clash; the two-line message names the clashing entry.
    QCOMPARE(LeaveBook::save(1, QDate(2026, 3, 2), QDate(2026, 3, 2)), R::Refused);
    QCOMPARE(log.last(), kClash + QChar(13) + "Leave from date 01/03/2026 to date 03/03/2026");
    QCOMPARE(LeaveBook::save(1, QDate(2026, 3, 3), QDate(2026, 3, 5)), R::Refused);
    QCOMPARE(LeaveBook::save(1, QDate(2026, 2, 20), QDate(2026, 3, 1)), R::Refused);
    // Enclosing the old leave is a clash too.
    QCOMPARE(LeaveBook::save(1, QDate(2026, 2, 25), QDate(2026, 3, 10)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 1);

    // The day after the last day is free, and so is every day of another teacher.
    log.clear();
    QCOMPARE(LeaveBook::save(1, QDate(2026, 3, 4), QDate(2026, 3, 4)), R::Done);
    QCOMPARE(LeaveBook::save(2, QDate(2026, 3, 1), QDate(2026, 3, 4)), R::Done);
    QVERIFY(log.messages.isEmpty());

    // Calendar order across a month end, and an absence counts as an entry as well.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-01-30', '2026-01-30')");
    QCOMPARE(LeaveBook::save(1, QDate(2026, 1, 28), QDate(2026, 2, 2)), R::Refused);
    QCOMPARE(log.last(), kClash + QChar(13) + "Leave from date 30/01/2026 to date 30/01/2026");
    QCOMPARE(LeaveBook::save(1, QDate(2026, 1, 31), QDate(2026, 2, 2)), R::Done);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 4);
}

void TestLeaveEntry::refusedInput()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    using R = LeaveBook::Result;
    QCOMPARE(LeaveBook::save(9, QDate(2026, 3, 1), QDate(2026, 3, 1)), R::Refused);
    QCOMPARE(log.last(), QString("Teacher not found. Select the teacher from the list"));
    QCOMPARE(LeaveBook::save(1, QDate(2026, 3, 5), QDate(2026, 3, 4)), R::Refused);
    QCOMPARE(log.last(), QString("From date can't be greater than to date"));
    QCOMPARE(LeaveBook::save(0, QDate(2026, 3, 1), QDate(2026, 3, 1)), R::Refused);
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
    // ...and is asked about first; No keeps everything.
    log.answer(hx::MsgResult::No);
    QCOMPARE(LeaveBook::remove(1, QDate(2026, 4, 10)), R::Nothing);
    QCOMPARE(log.last(), QString("Substitution is marked for the date: 1 period(s). Delete the entry and these substitutions?"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 2);
    QCOMPARE(db.count("substitute"), 2);
    // Yes takes the substitution with the entry; the other teacher's stays.
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(LeaveBook::remove(1, QDate(2026, 4, 10)), R::Done);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 1);
    QCOMPARE(db.count("substitute"), 1);
    QCOMPARE(db.count("substitute", "teacherid = 2"), 1);
    QCOMPARE(log.unexpectedQuestions, 0);

    log.clear();
    QCOMPARE(LeaveBook::remove(1, QDate(2026, 3, 1)), R::Done);
    QCOMPARE(log.texts(), QStringList({"Entry Deleted"}));
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and fromdate = '2026-03-01'"), 0);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 1); // same day, other teacher

    // Nothing matched: said so, and no "Entry Deleted".
    log.clear();
    QCOMPARE(LeaveBook::remove(2, QDate(2026, 3, 2)), R::Refused);
    QCOMPARE(log.texts(), QStringList({"No entry of the teacher starts on the date. Nothing deleted."}));
    QCOMPARE(LeaveBook::remove(0, QDate(2026, 3, 1)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 1);
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
    QVERIFY(input::Show(&w));

    // Save through the button, then the list leads with the newer entry.
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar"));
    QVERIFY(input::TypeDate(from, QDate(2026, 5, 4)));
    QVERIFY(input::TypeDate(to, QDate(2026, 5, 6)));
    input::Click(w.findChild<QPushButton *>("cmdSave"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Ram Kumar"));
    QCOMPARE(list->topLevelItem(0)->text(1), QString("04/05/2026"));

    // Clicking an entry puts it into the controls; Delete then removes it.
    QVERIFY(input::ClickLine(list, 0, "Sita Devi"));
    QCOMPARE(teacher->currentText(), QString("Sita Devi"));
    QCOMPARE(from->date(), QDate(2026, 3, 1));
    QCOMPARE(to->date(), QDate(2026, 3, 5));
    input::Click(w.findChild<QPushButton *>("CmdDelete"));
    QCOMPARE(log.last(), QString("Entry Deleted"));
    QCOMPARE(list->topLevelItemCount(), 1);
}

void TestLeaveEntry::teachersOfTheSameName()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK7', 'Ram Kumar', 7)");
    FrmLeaves w;
    auto *teacher = w.findChild<QComboBox *>("CmbTeacher");
    auto *from = w.findChild<QDateEdit *>("DTPFrom");
    auto *to = w.findChild<QDateEdit *>("DTPTo");
    auto *list = w.findChild<QTreeWidget *>("LvwLeave");
    auto *save = w.findChild<QPushButton *>("cmdSave");
    QVERIFY(teacher && from && to && list && save && input::Show(&w));

    // The second Ram Kumar of the list takes leave: it is stored under that teacher.
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar", 2));
    const int second = teacher->currentData().toInt();
    QVERIFY(input::TypeDate(from, QDate(2026, 5, 4)));
    QVERIFY(input::TypeDate(to, QDate(2026, 5, 6)));
    input::Click(save);
    QCOMPARE(db.count("teacherattendence", "teacherid = ?", {second}), 1);
    QCOMPARE(db.count("teacherattendence"), 1);
    // The first one takes the same days: no clash with the other teacher's leave.
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar", 1));
    input::Click(save);
    QCOMPARE(db.count("teacherattendence"), 2);
    QVERIFY(log.messages.isEmpty());

    // Clicking a line chooses that line's teacher; Delete removes that teacher's entry only.
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar", 2));
    QVERIFY(input::TypeDate(from, QDate(2026, 6, 1)));
    QVERIFY(input::TypeDate(to, QDate(2026, 6, 2)));
    input::Click(save);
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar", 1));
    input::Click(w.findChild<QPushButton *>("CmdDelete")); // the first Ram Kumar has nothing then
    QCOMPARE(log.last(), QString("No entry of the teacher starts on the date. Nothing deleted."));
    QVERIFY(input::ClickLine(list, 1, "01/06/2026"));
    QCOMPARE(teacher->currentData().toInt(), second);
    input::Click(w.findChild<QPushButton *>("CmdDelete"));
    QCOMPARE(log.last(), QString("Entry Deleted"));
    QCOMPARE(db.count("teacherattendence", "teacherid = ?", {second}), 1);
    QCOMPARE(db.count("teacherattendence"), 2);

    // A typed name no teacher has is refused; one that two teachers share must be chosen.
    log.clear();
    QVERIFY(input::TypeOver(teacher, "Nobody Known"));
    input::Click(save);
    QCOMPARE(log.last(), QString("Teacher not found. Select the teacher from the list"));
    QVERIFY(input::TypeDate(from, QDate(2026, 7, 1)));
    QVERIFY(input::TypeDate(to, QDate(2026, 7, 1)));
    QVERIFY(input::ArrowTo(teacher, "Sita Devi"));
    QVERIFY(input::TypeOver(teacher, "Ram Kumar"));
    input::Click(save);
    QCOMPARE(log.last(), QString("More than one teacher has this name. Select the teacher from the list"));
    // Typed in full, the name of one teacher is taken.
    QVERIFY(input::TypeOver(teacher, "sita devi"));
    input::Click(save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and fromdate = '2026-07-01'"), 1);
    QCOMPARE(db.count("teacherattendence"), 3);
}

void TestLeaveEntry::leaveOfABookedSubstitute()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into classsection (classid, class, section, sortorder) values (4, 'VII', 'B', 10)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 1, 4, 1, 1),"
            " (2, 1, 4, 5, 1)");
    // Sita is absent on Tuesday 8 December; Ram takes her periods II and VI.
    db.exec("insert into teacherattendence values (2, 'Absent', 0, 8, '2026-12-08', '2026-12-08')");
    db.exec("insert into substitute values (2, 1, 4, 1, '2026-12-08', 1), (2, 5, 4, 1, '2026-12-08', 1)");
    FrmLeaves w;
    auto *teacher = w.findChild<QComboBox *>("CmbTeacher");
    QVERIFY(teacher && input::Show(&w));
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar"));
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("DTPFrom"), QDate(2026, 12, 7)));
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("DTPTo"), QDate(2026, 12, 9)));
    const QString question = QString("Ram Kumar is marked as substitute then:") + QChar(13)
                             + "08/12/2026 period 2, VII-B for Sita Devi" + QChar(13)
                             + "08/12/2026 period 6, VII-B for Sita Devi" + QChar(13)
                             + "Remove these substitutions and save?";
    log.answer(hx::MsgResult::No);
    input::Click(w.findChild<QPushButton *>("cmdSave"));
    QCOMPARE(log.texts(), QStringList({question}));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 0);
    QCOMPARE(db.count("substitute"), 2);
    log.answer(hx::MsgResult::Yes);
    input::Click(w.findChild<QPushButton *>("cmdSave"));
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and modetype = 'Leave'"), 1);
    QCOMPARE(db.count("substitute"), 0);
    QCOMPARE(log.unexpectedQuestions, 0);
}

QTEST_MAIN(TestLeaveEntry)
#include "tst_leaveentry.moc"
