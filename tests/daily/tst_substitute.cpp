#include "FrmSubstitute.h"
#include "Lookups.h"
#include "SubstitutionBook.h"
#include "TimetableCheck.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {
const QDate kTuesday(2026, 12, 8);
const QDate kNextTuesday(2026, 12, 15);
} // namespace

class TestSubstitute : public QObject {
    Q_OBJECT
private slots:
    void dayNames();
    void periodsToCover();
    void freeTeachers();
    void recordChangeRemove();
    void staleLineRefused();
    void window();
    void substituteNoLongerFree();
    void suggestAllWindow();
    void checks();

private:
    // Ram (1) and Sita (2) teach VII-B and IX-A on Tuesdays; Anil (3) teaches period III,
    // Bina (4) and Chand (5) have no lessons.
    static int school(TestDatabase &db)
    {
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK1', 'Ram Kumar', 1),"
                " ('SD2', 'Sita Devi', 2), ('AB3', 'Anil Bose', 3), ('BR4', 'Bina Rao', 4), ('CS5', 'Chand Sen', 5)");
        db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10), ('IX', 'A', 12)");
        const int vii = QueryValue("select classid from classsection where class = 'VII'").toInt();
        const int ix = QueryValue("select classid from classsection where class = 'IX'").toInt();
        for (int p = 0; p <= 5; ++p)
            db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, ?, ?, 1)",
                    {vii, p});
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, ?, 2, 2)", {vii});
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 2, ?, 0, 1),"
                " (2, 2, ?, 7, 1), (3, 3, ?, 2, 1)",
                {ix, ix, ix});
        return vii;
    }
    static QStringList lines(const QVector<CoverLine> &list)
    {
        QStringList out;
        for (const CoverLine &l : list)
            out << QString("%1 %2 %3 %4").arg(l.teacherName, l.classSection).arg(l.period + 1).arg(l.substituteName);
        return out;
    }
    static QStringList names(const QVector<FreeTeacher> &list)
    {
        QStringList out;
        for (const FreeTeacher &t : list)
            out << t.name;
        return out;
    }
};

void TestSubstitute::dayNames()
{
    QCOMPARE(SubstitutionBook::WeekDayNumber(kTuesday), 1);
    QCOMPARE(SubstitutionBook::WeekDayNumber(QDate(2026, 12, 13)), 6);
    QCOMPARE(SubstitutionBook::DayLabel(3), QString("Thrusday"));
    QCOMPARE(SubstitutionBook::DayLabel(0), QString("Monday"));
    QCOMPARE(SubstitutionBook::DayLabel(6), QString("Sunday"));
    QCOMPARE(SubstitutionBook::DayLabel(7), QString());
}

void TestSubstitute::periodsToCover()
{
    TestDatabase db;
    MessageLog log;
    const int vii = school(db);
    QVERIFY(SubstitutionBook::periodsToCover(kTuesday).isEmpty());
    // Ram absent for shown periods 3 to 5, stored 2 to 4; Sita on leave the whole week.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08'),"
            " (2, 'Leave', 0, 8, '2026-12-07', '2026-12-13')");
    db.exec("insert into substitute values (1, 3, ?, 1, '2026-12-08', 4)", {vii});
    QCOMPARE(lines(SubstitutionBook::periodsToCover(kTuesday)),
             QStringList({"Ram Kumar VII-B 3 ", "Ram Kumar VII-B 4 Bina Rao", "Ram Kumar VII-B 5 ",
                          "Sita Devi IX-A 1 ", "Sita Devi IX-A 8 "}));
    const CoverLine first = SubstitutionBook::periodsToCover(kTuesday).first();
    QCOMPARE(first.weekday, 1);
    QCOMPARE(first.classid, vii);

    // A second entry over the same periods does not list them twice.
    db.exec("insert into teacherattendence values (1, 'Absent', 3, 3, '2026-12-08', '2026-12-08')");
    QCOMPARE(SubstitutionBook::periodsToCover(kTuesday).size(), 5);
    // Only the week-day's lessons count: on Wednesday Sita teaches nothing, Ram is not away.
    QVERIFY(SubstitutionBook::periodsToCover(QDate(2026, 12, 9)).isEmpty());
    // A Sunday has no lessons, even within a leave.
    QVERIFY(SubstitutionBook::periodsToCover(QDate(2026, 12, 13)).isEmpty());
    // The substitute of one date does not show on the same week-day of the next week.
    db.exec("insert into teacherattendence values (1, 'Absent', 3, 3, '2026-12-15', '2026-12-15')");
    QCOMPARE(lines(SubstitutionBook::periodsToCover(kNextTuesday)), QStringList({"Ram Kumar VII-B 4 "}));
    QVERIFY(log.messages.isEmpty());
}

void TestSubstitute::freeTeachers()
{
    TestDatabase db;
    MessageLog log;
    const int vii = school(db);
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08'),"
            " (5, 'Absent', 6, 8, '2026-12-08', '2026-12-08')");
    // Period III (stored 2): Ram is away, Anil teaches; Sita is free then (her lessons are I and VIII);
    // Chand is away only later in the day.
    QCOMPARE(names(SubstitutionBook::freeTeachers(kTuesday, 2)), QStringList({"Bina Rao", "Chand Sen", "Sita Devi"}));
    // Period VII: Chand's absence covers it; Ram, away only earlier that day, is offered.
    QCOMPARE(names(SubstitutionBook::freeTeachers(kTuesday, 6)),
             QStringList({"Anil Bose", "Bina Rao", "Ram Kumar", "Sita Devi"}));
    // Already substituting then: not offered that date, offered another date.
    db.exec("insert into substitute values (1, 2, ?, 1, '2026-12-08', 4)", {vii});
    QCOMPARE(names(SubstitutionBook::freeTeachers(kTuesday, 2)), QStringList({"Chand Sen", "Sita Devi"}));
    // A week later nobody is away: Ram's own lesson keeps him out, Bina is free again.
    QCOMPARE(names(SubstitutionBook::freeTeachers(kNextTuesday, 2)),
             QStringList({"Bina Rao", "Chand Sen", "Sita Devi"}));
    // On Wednesday Anil has no lesson then.
    QVERIFY(names(SubstitutionBook::freeTeachers(QDate(2026, 12, 9), 2)).contains("Anil Bose"));
    QVERIFY(log.messages.isEmpty());
}

void TestSubstitute::recordChangeRemove()
{
    TestDatabase db;
    MessageLog log;
    const int vii = school(db);
    using R = SubstitutionBook::Result;
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08'),"
            " (1, 'Absent', 2, 4, '2026-12-15', '2026-12-15')");
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 4), R::Saved);
    QCOMPARE(SubstitutionBook::save(1, kNextTuesday, 3, 4), R::Saved);
    QCOMPARE(db.count("substitute", "teacherid = 1 and period = 3 and classid = ? and weekday = 1"
                                    " and dt = '2026-12-08' and subid = 4",
                      {vii}),
             1);
    // Changing one date's substitute leaves the other date's.
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 5), R::Saved);
    QCOMPARE(db.count("substitute"), 2);
    QCOMPARE(db.count("substitute", "dt = '2026-12-08' and subid = 5"), 1);
    QCOMPARE(db.count("substitute", "dt = '2026-12-15' and subid = 4"), 1);
    QCOMPARE(lines(SubstitutionBook::periodsToCover(kTuesday)).value(1), QString("Ram Kumar VII-B 4 Chand Sen"));
    // No substitute chosen: that date's record goes, and the column is empty again.
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 0), R::Removed);
    QCOMPARE(db.count("substitute"), 1);
    QCOMPARE(lines(SubstitutionBook::periodsToCover(kTuesday)).value(1), QString("Ram Kumar VII-B 4 "));
    QCOMPARE(db.count("substitute", "dt = '2026-12-15'"), 1);
    QVERIFY(log.messages.isEmpty());
    // Without a clicked line.
    QCOMPARE(SubstitutionBook::save(0, kTuesday, 3, 4), R::Refused);
    QCOMPARE(log.last(), QString("Please select a teacher from the list to substitute"));
}

void TestSubstitute::staleLineRefused()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    using R = SubstitutionBook::Result;
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08')");
    // The timetable changed after the list was filled.
    db.exec("delete from timeschedule where teacherid = 1 and weekday = 1 and period = 4");
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 4, 4), R::Refused);
    QCOMPARE(log.last(), QString("The teacher has no class in this period any more. The list is refreshed."));
    // The absence was taken back.
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 5, 4), R::Refused);
    QCOMPARE(log.last(), QString("The teacher is not away in this period any more. The list is refreshed."));
    // The substitute teaches then, or is already taken.
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 2, 3), R::Refused);
    QCOMPARE(log.last(), QString("The substitute is not free in this period. Choose another teacher."));
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 2, 4), R::Saved);
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 4), R::Saved);
    // Choosing the recorded substitute again changes nothing; taking her into another
    // absent teacher's same period is refused.
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 4), R::Saved);
    db.exec("insert into teacherattendence values (2, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 2, 1, 3, 1)");
    QCOMPARE(SubstitutionBook::save(2, kTuesday, 3, 4), R::Refused);
    QCOMPARE(db.count("substitute"), 2);

    // The window state of a line whose entry is gone shows empty status boxes.
    const AwayStatus a = SubstitutionBook::awayStatus(1, kTuesday, 7);
    QVERIFY(!a.found);
    const AwayStatus b = SubstitutionBook::awayStatus(1, kTuesday, 3);
    QCOMPARE(b.modetype, QString("Absent"));
    QCOMPARE(b.perFrom, 3);
    QCOMPARE(b.perTo, 5);
}

void TestSubstitute::window()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08')");
    FrmSubstitute w;
    QCOMPARE(w.windowTitle(), QString("Substitute Teacher"));
    auto *date = w.findChild<QDateEdit *>("DTP");
    auto *day = w.findChild<QLabel *>("lblDay");
    auto *list = w.findChild<QTreeWidget *>("LvwSub");
    auto *teacher = w.findChild<QLineEdit *>("TxtTeacher");
    auto *status = w.findChild<QLineEdit *>("TxtStatus");
    auto *from = w.findChild<QLineEdit *>("TxtPerFrom");
    auto *to = w.findChild<QLineEdit *>("TxtPerTo");
    auto *sub = w.findChild<QComboBox *>("CmbSubstitute");
    auto *save = w.findChild<QPushButton *>("CmdSave");
    QVERIFY(date && day && list && teacher && status && from && to && sub && save);
    QCOMPARE(date->date(), QDate::currentDate());
    QVERIFY(input::Show(&w));

    // Save before any line is clicked.
    input::Click(save);
    QCOMPARE(log.last(), QString("Please select a teacher from the list to substitute"));

    QVERIFY(input::TypeDate(date, QDate(2026, 12, 10)));
    QCOMPARE(day->text(), QString("Thrusday"));
    QVERIFY(input::TypeDate(date, kTuesday));
    QCOMPARE(day->text(), QString("Tuesday"));
    QCOMPARE(list->topLevelItemCount(), 3);
    QTreeWidgetItem *line = list->topLevelItem(1);
    QCOMPARE(line->text(2), QString("2"));
    QCOMPARE(line->text(3), QString("4"));

    QVERIFY(input::ClickLine(list, 3, "4"));
    QCOMPARE(teacher->text(), QString("Ram Kumar"));
    QCOMPARE(status->text(), QString("Absent"));
    QCOMPARE(from->text(), QString("3"));
    QCOMPARE(to->text(), QString("5"));
    QCOMPARE(sub->currentIndex(), -1);
    QVERIFY(sub->findText("Bina Rao") > 0);
    QVERIFY(sub->findText("Ram Kumar") < 0);
    QVERIFY(input::ArrowTo(sub, "Bina Rao"));
    input::Click(save);
    QCOMPARE(list->topLevelItem(1)->text(4), QString("Bina Rao"));
    QVERIFY(sub->findText("Bina Rao") < 0); // now busy then

    // The empty choice removes it.
    QVERIFY(input::ArrowTo(sub, ""));
    input::Click(save);
    QCOMPARE(list->topLevelItem(1)->text(4), QString());
    QCOMPARE(db.count("substitute"), 0);

    // A new date forgets the clicked line.
    QVERIFY(input::ClickLine(list, 3, "4"));
    QVERIFY(input::TypeDate(date, kNextTuesday));
    QCOMPARE(teacher->text(), QString());
    QCOMPARE(sub->count(), 0);
    QCOMPARE(list->topLevelItemCount(), 0);
    log.clear();
    input::Click(save);
    QCOMPARE(log.last(), QString("Please select a teacher from the list to substitute"));
    QCOMPARE(db.count("substitute"), 0);
}

void TestSubstitute::substituteNoLongerFree()
{
    TestDatabase db;
    MessageLog log;
    const int vii = school(db);
    using R = SubstitutionBook::Result;
    // Ram is absent in periods III to V; Bina takes IV and Chand takes V.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08')");
    db.exec("insert into substitute values (1, 3, ?, 1, '2026-12-08', 4), (1, 4, ?, 1, '2026-12-08', 5)", {vii, vii});
    FrmSubstitute w;
    auto *date = w.findChild<QDateEdit *>("DTP");
    auto *list = w.findChild<QTreeWidget *>("LvwSub");
    auto *sub = w.findChild<QComboBox *>("CmbSubstitute");
    auto *save = w.findChild<QPushButton *>("CmdSave");
    QVERIFY(date && list && sub && save && input::Show(&w));
    QVERIFY(input::TypeDate(date, kTuesday));
    QCOMPARE(list->topLevelItem(1)->text(4), QString("Bina Rao"));
    QCOMPARE(list->topLevelItem(1)->foreground(4).color(), list->topLevelItem(0)->foreground(4).color());

    // Since then the timetable gave Bina a lesson in period IV, and Chand went on leave.
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (4, 2, ?, 3, 1)", {vii});
    db.exec("insert into teacherattendence values (5, 'Leave', 0, 8, '2026-12-07', '2026-12-09')");
    QVERIFY(input::TypeDate(date, kNextTuesday));
    QVERIFY(input::TypeDate(date, kTuesday));
    QCOMPARE(list->topLevelItem(1)->text(4), QString("Bina Rao (not free: teaches VII-B)"));
    QCOMPARE(list->topLevelItem(2)->text(4), QString("Chand Sen (not free: on leave)"));
    QVERIFY(list->topLevelItem(1)->foreground(4).color() != list->topLevelItem(0)->foreground(4).color());
    QCOMPARE(list->topLevelItem(0)->text(4), QString());

    // Saving the same substitute again is refused where it is written, not taken as "already so".
    QCOMPARE(SubstitutionBook::save(1, kTuesday, 3, 4), R::Refused);
    QCOMPARE(log.last(), QString("The substitute is not free in this period. Choose another teacher."));

    // The user picks the line and a free teacher instead.
    QVERIFY(input::ClickLine(list, 3, "4"));
    QVERIFY(sub->findText("Bina Rao") < 0 && sub->findText("Chand Sen") < 0);
    QVERIFY(input::ArrowTo(sub, "Sita Devi"));
    input::Click(save);
    QCOMPARE(list->topLevelItem(1)->text(4), QString("Sita Devi"));
    QCOMPARE(db.count("substitute", "period = 3 and subid = 2"), 1);
    QCOMPARE(db.count("substitute"), 2);
}

void TestSubstitute::suggestAllWindow()
{
    TestDatabase db;
    MessageLog log;
    school(db);
    // Ram is absent in periods III to V, Sita on leave: five periods to cover.
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08'),"
            " (2, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    FrmSubstitute w;
    auto *date = w.findChild<QDateEdit *>("DTP");
    auto *list = w.findChild<QTreeWidget *>("LvwSub");
    auto *sub = w.findChild<QComboBox *>("CmbSubstitute");
    auto *reasons = w.findChild<QLabel *>("lblReasons");
    auto *suggest = w.findChild<QPushButton *>("CmdSuggestAll");
    auto *limit = w.findChild<QComboBox *>("CmbDailyLimit");
    auto *remove = w.findChild<QPushButton *>("CmdRemove");
    auto *saveAll = w.findChild<QPushButton *>("CmdSaveAll");
    QVERIFY(date && list && sub && reasons && suggest && limit && remove && saveAll && input::Show(&w));
    QCOMPARE(limit->currentText(), QString("2"));
    QVERIFY(!saveAll->isEnabled());
    QVERIFY(input::TypeDate(date, kTuesday));
    QCOMPARE(list->topLevelItemCount(), 5);
    const auto by = [list](int line) { return list->topLevelItem(line)->text(4); };

    // The box offers the free teachers best first, reasons beside them: Anil teaches period
    // III, so period IV would be his second period of the day.
    QVERIFY(input::ClickLine(list, 3, "4"));
    QCOMPARE(sub->itemText(1), QString("Bina Rao"));
    QCOMPARE(sub->itemText(2), QString("Chand Sen"));
    QCOMPARE(sub->itemText(3), QString("Anil Bose"));
    QCOMPARE(sub->itemData(3, Qt::ToolTipRole).toString(),
             QString("0 substitutions this week \u00b7 1 period today"));
    QVERIFY(input::ArrowTo(sub, "Chand Sen"));
    QCOMPARE(reasons->text(), QString("0 substitutions this week \u00b7 0 periods today"));

    // One substitution a day each: four teachers for five periods (Ram, away only in III to
    // V, can take Sita's VIII); one period is marked.
    QVERIFY(input::ArrowTo(limit, "1"));
    QCOMPARE(QueryValue("select dailylimit from substitutelimit").toInt(), 1); // remembered
    input::Click(suggest);
    int proposed = 0, nobody = 0;
    for (int i = 0; i < 5; ++i) {
        proposed += !by(i).isEmpty() && !by(i).startsWith("(");
        nobody += by(i) == "(nobody can cover)";
    }
    QCOMPARE(proposed, 4);
    QCOMPARE(nobody, 1);
    QVERIFY(saveAll->isEnabled());
    QCOMPARE(db.count("substitute"), 0);

    // Two a day: every period gets a proposal, shown in its own style.
    QVERIFY(input::ArrowTo(limit, "2"));
    QCOMPARE(db.count("substitutelimit", "dailylimit = 2"), 1);
    AltKey(&w, 'A', suggest); // "Suggest &All"
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(!by(i).isEmpty() && !by(i).startsWith("("), qPrintable(by(i)));
        QVERIFY(list->topLevelItem(i)->font(4).italic());
    }

    // Change the proposal of period IV with the arrow keys, and remove that of period V.
    QVERIFY(input::ClickLine(list, 3, "4"));
    const QString first = by(1);
    QCOMPARE(sub->currentText(), first);
    QVERIFY(remove->isEnabled());
    const QString other = sub->itemText(1) == first ? sub->itemText(2) : sub->itemText(1);
    QVERIFY(input::ArrowTo(sub, other));
    QCOMPARE(by(1), other);
    QVERIFY(input::ClickLine(list, 3, "5"));
    input::Click(remove);
    QCOMPARE(by(2), QString());
    QVERIFY(!remove->isEnabled());
    QCOMPARE(db.count("substitute"), 0);

    input::Click(saveAll);
    QCOMPARE(db.count("substitute"), 4);
    QCOMPARE(db.count("substitute", "teacherid = 1 and period = 3 and subid = ?", {TeacherIdByName(other)}), 1);
    QCOMPARE(db.count("substitute", "teacherid = 1 and period = 4"), 0);
    QCOMPARE(by(1), other);
    QVERIFY(!list->topLevelItem(1)->font(4).italic());
    QVERIFY(!saveAll->isEnabled());
    QVERIFY(log.messages.isEmpty());
}

void TestSubstitute::checks()
{
    TestDatabase db;
    MessageLog log;
    const int vii = school(db);
    db.exec("insert into teacherattendence values (1, 'Absent', 2, 4, '2026-12-08', '2026-12-08'),"
            " (4, 'Absent', 0, 3, '2026-12-08', '2026-12-08'), (5, 'Leave', 0, 8, '2026-12-15', '2026-12-15')");
    // Period III: Bina, away then herself. Period IV: Chand, fine. Period VII: Ram is not
    // away then. A week later: Ram is not away, and Chand, his substitute, is on leave.
    db.exec("insert into substitute values (1, 2, ?, 1, '2026-12-08', 4), (1, 3, ?, 1, '2026-12-08', 5),"
            " (1, 6, ?, 1, '2026-12-08', 4), (1, 2, ?, 1, '2026-12-15', 5)",
            {vii, vii, vii, vii});
    QVector<check::Fault> faults;
    QVERIFY(check::FindFaults(&faults));
    QStringList found;
    for (const check::Fault &f : faults)
        if (f.mend == "Daily Substitution")
            found << f.fault;
    QCOMPARE(found, QStringList({"On 08/12/2026 in period VII, VII-B: Bina Rao substitutes for Ram Kumar, who is not"
                                 " on leave or absent then",
                                 "On 15/12/2026 in period III, VII-B: Chand Sen substitutes for Ram Kumar, who is not"
                                 " on leave or absent then",
                                 "On 08/12/2026 in period III, VII-B: Bina Rao substitutes for Ram Kumar, but is"
                                 " absent then",
                                 "On 15/12/2026 in period III, VII-B: Chand Sen substitutes for Ram Kumar, but is"
                                 " on leave then"}));
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestSubstitute)
#include "tst_substitute.moc"
