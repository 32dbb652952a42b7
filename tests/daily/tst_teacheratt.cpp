#include "AttendanceBook.h"
#include "TestSupport.h"
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

private:
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

    // After "Show All" the first line is someone else's: refused, for a chosen teacher or none.
    QVERIFY(book.fillList(-1, controls(1, true, "1", "9")));
    QCOMPARE(book.lines()[0].teacherid, 2);
    QCOMPARE(book.save(controls(1, true, "1", "9")), R::Refused);
    QCOMPARE(log.last(), QString("Select the teacher again to show the status to be saved"));
    QCOMPARE(book.save(controls(0)), R::Refused);
    QCOMPARE(log.last(), QString("Select the teacher whose attendance is to be marked"));
    // A teacher with two entries on the date shows two lines: nothing to save from that view.
    db.exec("insert into teacherattendence values (2, 'Absent', 7, 8, '2026-12-08', '2026-12-08')");
    QVERIFY(book.fillList(2, controls(2)));
    QCOMPARE(book.lines().size(), 2);
    QCOMPARE(book.save(controls(2)), R::Refused);
    QCOMPARE(db.count("teacherattendence"), 3);
    QCOMPARE(db.count("teacherattendence", "teacherid = 1"), 0);
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
    date->setDate(kDay);
    QCOMPARE(list->topLevelItemCount(), 1);
    QVERIFY(list->topLevelItem(0)->foreground(1).color() != list->palette().text().color());

    // The teacher on leave: one grey line, the box and Save disabled.
    teacher->setCurrentIndex(teacher->findText("Ram Kumar"));
    w.CmbTeacher_Click();
    QCOMPARE(list->topLevelItem(0)->text(0), QString("On Leave"));
    QVERIFY(!absent->isEnabled());
    QVERIFY(!save->isEnabled());

    // Another teacher: tick "Absent" fills 1 and 9; a period click shows the line; Save writes it.
    teacher->setCurrentIndex(teacher->findText("Sita Devi"));
    w.CmbTeacher_Click();
    QVERIFY(absent->isEnabled() && save->isEnabled());
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Present"));
    absent->click();
    QCOMPARE(from->currentText(), QString("1"));
    QCOMPARE(to->currentText(), QString("9"));
    to->setCurrentIndex(to->findText("4"));
    w.CmbPeriod_Click();
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Absent"));
    QCOMPARE(list->topLevelItem(0)->text(3), QString("4"));
    save->click();
    QCOMPARE(db.count("teacherattendence", "teacherid = 2 and fromperiod = 0 and toperiod = 3"), 1);
    QCOMPARE(list->topLevelItemCount(), 2);
    absent->click();
    QCOMPARE(from->currentIndex(), -1);

    // Sorting by a column header; a date change empties the choice and lists the date.
    w.LvwAtt_ColumnClick(1);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Ram Kumar"));
    w.LvwAtt_ColumnClick(1);
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Sita Devi"));
    date->setDate(kDay.addDays(1));
    QCOMPARE(teacher->currentIndex(), -1);
    QVERIFY(!absent->isChecked());
    QCOMPARE(list->topLevelItemCount(), 1);
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestTeacherAtt)
#include "tst_teacheratt.moc"
