#include "AttendanceBook.h"
#include "FrmSubstitute.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "frmTeacherAtt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {
const QDate kDay(2026, 12, 8);
const QString kOrder = "From period can't be grater than to period";

AttendanceControls controls(int teacher, bool absent = false, const QString &from = {}, const QString &to = {})
{
    AttendanceControls c;
    c.date = kDay;
    c.teacherid = teacher;
    c.absent = absent;
    c.perFrom = from;
    c.perTo = to;
    return c;
}
} // namespace

class TestTeacherAtt : public QObject {
    Q_OBJECT
private slots:
    void markAbsentAndPresent();
    void statusLines();
    void saveRefusals();
    void window();
    void tickedAbsenceIsSavedOnce();
    void presentForSeveralAbsences();
    void presentTakesSubstitutionsAlong();
    void absenceOfABookedSubstitute();

private:
    // The window as a person finds it, with the date of the cases typed in.
    struct Screen {
        frmTeacherAtt w;
        QComboBox *teacher = nullptr, *from = nullptr, *to = nullptr;
        QCheckBox *absent = nullptr;
        QTreeWidget *list = nullptr;
        QPushButton *save = nullptr;
        bool open()
        {
            teacher = w.findChild<QComboBox *>("CmbTeacher");
            from = w.findChild<QComboBox *>("CmbPerFrom");
            to = w.findChild<QComboBox *>("CmbPerTo");
            absent = w.findChild<QCheckBox *>("ChkAbsent");
            list = w.findChild<QTreeWidget *>("LvwAtt");
            save = w.findChild<QPushButton *>("cmdSave");
            return teacher && from && to && absent && list && save && input::Show(&w)
                   && input::TypeDate(w.findChild<QDateEdit *>("DTP"), kDay);
        }
        QString line(int i) const
        {
            QTreeWidgetItem *item = list->topLevelItem(i);
            return item ? QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(' ') : QString();
        }
    };
    // The substitution window beside it, on the date of the cases; its list of periods.
    static QTreeWidget *coverList(FrmSubstitute &sub)
    {
        return input::Show(&sub) && input::TypeDate(sub.findChild<QDateEdit *>("DTP"), kDay)
                   ? sub.findChild<QTreeWidget *>("LvwSub")
                   : nullptr;
    }
    // Looked at again: another date and back, as the user refreshes it.
    static bool lookAgain(FrmSubstitute &sub)
    {
        auto *date = sub.findChild<QDateEdit *>("DTP");
        return input::TypeDate(date, kDay.addDays(1)) && input::TypeDate(date, kDay);
    }
    // Ram teaches VII-B in periods III and IV of Tuesdays; Anil teaches IX-A in period I.
    static void lessons(TestDatabase &db)
    {
        db.exec("insert into classsection (classid, class, section, sortorder) values (1, 'VII', 'B', 10),"
                " (2, 'IX', 'A', 12)");
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 2, 1),"
                " (1, 1, 1, 3, 1), (3, 2, 2, 0, 1)");
    }
    static void teachers(TestDatabase &db)
    {
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK1', 'Ram Kumar', 1),"
                " ('SD2', 'Sita Devi', 2), ('AB3', 'Anil Bose', 3)");
    }
};

void TestTeacherAtt::markAbsentAndPresent()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    AttendanceBook book;
    // Nobody away: the teacher's single line reads "Present" with empty periods.
    QVERIFY(book.fillList(1, controls(1)));
    QCOMPARE(book.lines().size(), 1);
    QCOMPARE(book.lines()[0].status, QString("Present"));
    QCOMPARE(book.lines()[0].teacherName, QString("Ram Kumar"));
    QCOMPARE(book.lines()[0].perFrom, QString());
    QCOMPARE(book.lines()[0].date, QString("08/12/2026"));
    QVERIFY(book.editable());

    // The whole day, 1 to 9, is stored as 0 to 8 on that one date.
    QVERIFY(book.fillList(1, controls(1, true, "1", "9")));
    QCOMPARE(book.lines()[0].status, QString("Absent"));
    QCOMPARE(book.save(controls(1, true, "1", "9")), AttendanceBook::Result::Saved);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and modetype = 'Absent' and fromperiod = 0 and toperiod = 8"
                                           " and fromdate = '2026-12-08' and todate = '2026-12-08'"),
             1);
    // A span of periods for a second teacher; afterwards the list shows the whole date.
    QVERIFY(book.fillList(2, controls(2, true, "3", "5")));
    QCOMPARE(book.save(controls(2, true, "3", "5")), AttendanceBook::Result::Saved);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and fromperiod = 2 and toperiod = 4"), 1);
    QCOMPARE(book.lines().size(), 2);
    QCOMPARE(book.lines()[1].perFrom, QString("3"));
    QCOMPARE(book.lines()[1].perTo, QString("5"));
    QVERIFY(log.messages.isEmpty());

    // Choosing the teacher again starts unticked, so the line reads "Present": saving it
    // removes the absence of that date only; a leave on other dates stays.
    db.exec("insert into teacherattendence values (2, 'Leave', 0, 8, '2026-12-01', '2026-12-03')");
    QVERIFY(book.fillList(2, controls(2)));
    QCOMPARE(book.lines()[0].status, QString("Present"));
    QCOMPARE(book.save(controls(2)), AttendanceBook::Result::Saved);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 1);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 1);
    // Present for a teacher without entry writes nothing.
    QVERIFY(book.fillList(3, controls(3)));
    QCOMPARE(book.save(controls(3)), AttendanceBook::Result::Saved);
    QCOMPARE(db.count("teacherattendence"), 2);
}

void TestTeacherAtt::statusLines()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-12-07', '2026-12-09'),"
            " (2, 'Absent', 3, 5, '2026-12-08', '2026-12-08'), (3, 'Absent', 0, 1, '2026-12-09', '2026-12-09')");
    AttendanceBook book;
    // Everybody away that date, in the order entered; the leave drawn grey.
    QVERIFY(book.fillList(-1, controls(0)));
    QCOMPARE(book.lines().size(), 2);
    QCOMPARE(book.lines()[0].status, QString("On Leave"));
    QVERIFY(book.lines()[0].onLeave);
    QCOMPARE(book.lines()[0].perFrom, QString("1"));
    QCOMPARE(book.lines()[0].perTo, QString("9"));
    QCOMPARE(book.lines()[1].status, QString("Absent"));
    QCOMPARE(book.lines()[1].teacherName, QString("Sita Devi"));
    QCOMPARE(book.lines()[1].perFrom, QString("4"));
    QVERIFY(!book.lines()[1].onLeave);

    // A teacher on leave: one grey line, the controls locked.
    QVERIFY(book.fillList(1, controls(1)));
    QCOMPARE(book.lines().size(), 1);
    QCOMPARE(book.lines()[0].status, QString("On Leave"));
    QVERIFY(!book.editable());
    QCOMPARE(book.save(controls(1)), AttendanceBook::Result::Nothing);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 1);

    // "3" against an empty to box compares greater: refused, lines kept.
    QVERIFY(!book.fillList(2, controls(2, false, "3", "")));
    QCOMPARE(log.last(), kOrder);
    QCOMPARE(book.lines()[0].status, QString("On Leave"));

    // Listing the whole date, only the chosen teacher's leave locks Save.
    db.exec("insert into teacherattendence values (3, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    QVERIFY(book.fillList(-1, controls(2)));
    QCOMPARE(book.lines().size(), 3);
    QVERIFY(book.editable());
    QVERIFY(book.fillList(-1, controls(3)));
    QVERIFY(!book.editable());

    // Alone on its date, another teacher's absence keeps its stored status in the full list.
    AttendanceControls other = controls(0);
    other.date = QDate(2026, 12, 10);
    db.exec("insert into teacherattendence values (3, 'Absent', 0, 1, '2026-12-10', '2026-12-10')");
    QVERIFY(book.fillList(-1, other));
    QCOMPARE(book.lines().size(), 1);
    QCOMPARE(book.lines()[0].status, QString("Absent"));
    QCOMPARE(book.lines()[0].perTo, QString("2"));
}

void TestTeacherAtt::saveRefusals()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teacherattendence values (2, 'Absent', 3, 5, '2026-12-08', '2026-12-08'),"
            " (3, 'Absent', 0, 0, '2026-12-08', '2026-12-08')");
    AttendanceBook book;
    using R = AttendanceBook::Result;
    AttendanceBook::Focus focus;

    QVERIFY(book.fillList(1, controls(1, true, "1", "9")));
    QCOMPARE(book.save(controls(1, true, "", "9"), &focus), R::Refused);
    QCOMPARE(log.last(), QString("Select the period from which to mark absent"));
    QCOMPARE(focus, AttendanceBook::Focus::PerFrom);
    QCOMPARE(book.save(controls(1, true, "2", ""), &focus), R::Refused);
    QCOMPARE(log.last(), QString("Select the period till which to mark absent"));
    QCOMPARE(focus, AttendanceBook::Focus::PerTo);
    // Boxes changed to a reversed span after the list was filled.
    QCOMPARE(book.save(controls(1, true, "7", "3")), R::Refused);
    QCOMPARE(log.last(), kOrder);

    // After "Show All" the first line is someone else's: the controls still name the teacher
    // and the span, and that is what is written. Without a chosen teacher, nothing is.
    QVERIFY(book.fillList(-1, controls(1, true, "1", "9")));
    QCOMPARE(book.lines()[0].teacherid, 2);
    QCOMPARE(book.save(controls(0)), R::Refused);
    QCOMPARE(log.last(), QString("Select the teacher whose attendance is to be marked"));
    QCOMPARE(book.save(controls(1, true, "1", "9")), R::Saved);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1 and fromperiod = 0 and toperiod = 8"), 1);
    // Ticked with no period chosen: the whole day. An overlapping span is refused, the same again adds nothing.
    QCOMPARE(book.save(controls(1, true, "", "")), R::Saved);
    QCOMPARE(book.save(controls(1, true, "2", "2")), R::Refused);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 1);
    // Next to an absence, a span that does not overlap it is taken.
    QCOMPARE(book.save(controls(2, true, "1", "3")), R::Saved);
    QCOMPARE(book.save(controls(2, true, "3", "4")), R::Refused);
    QCOMPARE(log.last(), QString("Absent periods clashing already entered absence information") + QChar(13)
                             + "Absent from period 4 to period 6");
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 2);
    // A day of leave cannot take an absence.
    db.exec("insert into teacherattendence values (3, 'Leave', 0, 8, '2026-12-07', '2026-12-09')");
    db.exec("delete from teacherattendence where teacherid = 3 and modetype = 'Absent'");
    QCOMPARE(book.save(controls(3, true, "5", "6")), R::Refused);
    QCOMPARE(log.last(), QString("Absent periods clashing already entered leave information") + QChar(13)
                             + "Leave from date 07/12/2026 to date 09/12/2026");
    QCOMPARE(db.count("teacherattendence", "teacherid = 3"), 1);
}

void TestTeacherAtt::window()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-12-07', '2026-12-09')");
    frmTeacherAtt w;
    QCOMPARE(w.windowTitle(), QString("Absent Teachers"));
    auto *date = w.findChild<QDateEdit *>("DTP");
    auto *teacher = w.findChild<QComboBox *>("CmbTeacher");
    auto *absent = w.findChild<QCheckBox *>("ChkAbsent");
    auto *from = w.findChild<QComboBox *>("CmbPerFrom");
    auto *to = w.findChild<QComboBox *>("CmbPerTo");
    auto *list = w.findChild<QTreeWidget *>("LvwAtt");
    auto *save = w.findChild<QPushButton *>("cmdSave");
    QVERIFY(date && teacher && absent && from && to && list && save);
    QCOMPARE(date->date(), QDate::currentDate());
    QCOMPARE(from->count(), 9);
    QCOMPARE(list->columnCount(), 5);
    QVERIFY(input::Show(&w));
    QVERIFY(input::TypeDate(date, kDay));
    QCOMPARE(list->topLevelItemCount(), 1);
    QVERIFY(list->topLevelItem(0)->foreground(1).color() != list->palette().text().color());

    // The teacher on leave: one grey line, the box and Save disabled.
    QVERIFY(input::ArrowTo(teacher, "Ram Kumar"));
    QCOMPARE(list->topLevelItem(0)->text(0), QString("On Leave"));
    QVERIFY(!absent->isEnabled());
    QVERIFY(!save->isEnabled());

    // Another teacher: tick "Absent" fills 1 and 9; a period click shows the line; Save writes it.
    QVERIFY(input::ArrowTo(teacher, "Sita Devi"));
    QVERIFY(absent->isEnabled() && save->isEnabled());
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Present"));
    input::Click(absent);
    QCOMPARE(from->currentText(), QString("1"));
    QCOMPARE(to->currentText(), QString("9"));
    QVERIFY(input::ArrowTo(to, "4"));
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Absent"));
    QCOMPARE(list->topLevelItem(0)->text(3), QString("4"));
    input::Click(save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and fromperiod = 0 and toperiod = 3"), 1);
    QCOMPARE(list->topLevelItemCount(), 2);
    input::Click(absent);
    QCOMPARE(from->currentIndex(), -1);

    // Sorting by a column header; a date change empties the choice and lists the date.
    const auto clickHeader = [list](int column) {
        QHeaderView *head = list->header();
        QTest::mouseClick(head->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(head->sectionViewportPosition(column) + head->sectionSize(column) / 2,
                                 head->height() / 2));
    };
    input::Click(w.findChild<QPushButton *>("CmdShow"));
    QCOMPARE(list->topLevelItemCount(), 2);
    clickHeader(1);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Ram Kumar"));
    clickHeader(1);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Sita Devi"));
    QVERIFY(input::TypeDate(date, kDay.addDays(1)));
    QCOMPARE(teacher->currentIndex(), -1);
    QVERIFY(!absent->isChecked());
    QCOMPARE(list->topLevelItemCount(), 1);
    QVERIFY(log.messages.isEmpty());
}

void TestTeacherAtt::tickedAbsenceIsSavedOnce()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    Screen s;
    QVERIFY(s.open());

    // Choose, tick, Save: the ticked whole day is what goes in.
    QVERIFY(input::ArrowTo(s.teacher, "Sita Devi"));
    QCOMPARE(s.line(0), QString("Present Sita Devi  "));
    input::Click(s.absent);
    QVERIFY(s.absent->isChecked());
    QCOMPARE(s.line(0), QString("Absent Sita Devi 1 9")); // the line follows the tick at once
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and modetype = 'Absent' and fromperiod = 0"
                                           " and toperiod = 8 and fromdate = '2026-12-08' and todate = '2026-12-08'"),
             1);
    // Save again, with the whole date listed: still one absence, and no message.
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence"), 1);
    QVERIFY2(log.messages.isEmpty(), qPrintable(log.texts().join(" | ")));

    // Unticking refreshes the line too.
    QVERIFY(input::ArrowTo(s.teacher, "Ram Kumar"));
    input::Click(s.absent);
    QCOMPARE(s.line(0), QString("Absent Ram Kumar 1 9"));
    input::Click(s.absent);
    QCOMPARE(s.line(0), QString("Present Ram Kumar  "));

    // The teacher already absent, chosen again and ticked: the absence is kept, not deleted.
    QVERIFY(input::ArrowTo(s.teacher, "Sita Devi"));
    input::Click(s.absent);
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and fromperiod = 0 and toperiod = 8"), 1);
    QCOMPARE(db.count("teacherattendence"), 1);

    // Another span over the same periods is refused in the window's words.
    QVERIFY(s.absent->isChecked());
    QVERIFY(input::ArrowTo(s.to, "4"));
    QCOMPARE(s.line(0), QString("Absent Sita Devi 1 4"));
    input::Click(s.save);
    QCOMPARE(log.last(), QString("Absent periods clashing already entered absence information") + QChar(13)
                             + "Absent from period 1 to period 9");
    QCOMPARE(log.messages.last().buttons, hx::MsgButtons::Ok);
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::None);
    QCOMPARE(db.count("teacherattendence"), 1);
    QCOMPARE(s.absent->isChecked(), true); // the choice stays on screen
}

void TestTeacherAtt::presentForSeveralAbsences()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    db.exec("insert into teacherattendence values (2, 'Absent', 0, 1, '2026-12-08', '2026-12-08'),"
            " (2, 'Absent', 6, 8, '2026-12-08', '2026-12-08'), (3, 'Absent', 0, 8, '2026-12-08', '2026-12-08')");
    Screen s;
    QVERIFY(s.open());
    QVERIFY(input::ArrowTo(s.teacher, "Sita Devi"));
    QCOMPARE(s.list->topLevelItemCount(), 2);
    QVERIFY(s.save->isEnabled());

    // Save with the box unticked asks first; No keeps both.
    log.answer(hx::MsgResult::No);
    input::Click(s.save);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages[0].buttons, hx::MsgButtons::YesNo);
    QCOMPARE(log.messages[0].icon, hx::MsgIcon::Question);
    QVERIFY2(log.last().startsWith("Sita Devi is marked absent 2 times on 08/12/2026."), qPrintable(log.last()));
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 2);

    log.answer(hx::MsgResult::Yes);
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 2"), 0);
    QCOMPARE(db.count("teacherattendence", "teacherid = 3"), 1);
    QCOMPARE(s.list->topLevelItemCount(), 1); // the date's entries, Anil's left
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestTeacherAtt::presentTakesSubstitutionsAlong()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    lessons(db);
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 3, '2026-12-08', '2026-12-08')");
    db.exec("insert into substitute values (1, 2, 1, 1, '2026-12-08', 3), (1, 3, 1, 1, '2026-12-08', 2)");
    // The substitution window is open beside it and shows both periods covered.
    FrmSubstitute sub;
    QTreeWidget *cover = coverList(sub);
    QVERIFY(cover);
    QCOMPARE(cover->topLevelItemCount(), 2);

    Screen s;
    QVERIFY(s.open());
    QVERIFY(input::ArrowTo(s.teacher, "Ram Kumar"));
    QCOMPARE(s.line(0), QString("Present Ram Kumar  "));
    log.answer(hx::MsgResult::No);
    input::Click(s.save);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages[0].icon, hx::MsgIcon::Question);
    QVERIFY2(log.last().contains("Substitution is marked for the date: 2 period(s)."), qPrintable(log.last()));
    QCOMPARE(db.count("teacherattendence"), 1);
    QCOMPARE(db.count("substitute"), 2);

    log.answer(hx::MsgResult::Yes);
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence"), 0);
    QCOMPARE(db.count("substitute"), 0); // nothing left to print on the slip or to keep Anil busy
    // Looked at again, the substitution window has nothing to cover that day.
    QVERIFY(lookAgain(sub));
    QCOMPARE(cover->topLevelItemCount(), 0);
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestTeacherAtt::absenceOfABookedSubstitute()
{
    TestDatabase db;
    MessageLog log;
    teachers(db);
    lessons(db);
    // Ram is absent in periods III and IV; Anil takes his period III class.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 3, '2026-12-08', '2026-12-08')");
    db.exec("insert into substitute values (1, 2, 1, 1, '2026-12-08', 3)");
    FrmSubstitute sub;
    QTreeWidget *cover = coverList(sub);
    QVERIFY(cover);
    QCOMPARE(cover->topLevelItem(0)->text(4), QString("Anil Bose"));

    // Anil is now marked absent for periods II to V.
    Screen s;
    QVERIFY(s.open());
    QVERIFY(input::ArrowTo(s.teacher, "Anil Bose"));
    input::Click(s.absent);
    QVERIFY(input::ArrowTo(s.from, "2"));
    QVERIFY(input::ArrowTo(s.to, "5"));
    log.answer(hx::MsgResult::No);
    input::Click(s.save);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages[0].buttons, hx::MsgButtons::YesNo);
    QCOMPARE(log.messages[0].icon, hx::MsgIcon::Question);
    QCOMPARE(log.last(), QString("Anil Bose is marked as substitute then:") + QChar(13)
                             + "08/12/2026 period 3, VII-B for Ram Kumar" + QChar(13)
                             + "Remove these substitutions and save?");
    QCOMPARE(db.count("teacherattendence", "teacherid = 3"), 0);
    QCOMPARE(db.count("substitute"), 1);

    log.answer(hx::MsgResult::Yes);
    input::Click(s.save);
    QCOMPARE(db.count("teacherattendence", "teacherid = 3 and fromperiod = 1 and toperiod = 4"), 1);
    QCOMPARE(db.count("substitute"), 0);
    // Ram's period III shows as uncovered again.
    QVERIFY(lookAgain(sub));
    QCOMPARE(cover->topLevelItem(0)->text(3), QString("3"));
    QCOMPARE(cover->topLevelItem(0)->text(4), QString());

    // Outside the booked period no question is asked.
    log.clear();
    QVERIFY(input::ArrowTo(s.teacher, "Sita Devi"));
    input::Click(s.absent);
    input::Click(s.save);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(log.unexpectedQuestions, 0);
}

QTEST_MAIN(TestTeacherAtt)
#include "tst_teacheratt.moc"
