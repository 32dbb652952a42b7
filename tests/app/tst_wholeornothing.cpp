// Every window action that writes happens whole or not at all. Each action is first run
// cleanly to count its change statements; then it is run again once per statement with that
// statement failing. Each failure must leave every table row for row as it was, show
// "Error :" with a reason and nothing that claims success, and leave the window holding
// what the user had chosen and typed, so the same click can be repeated.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <memory>

namespace {

// What the user sees of a window: texts, choices, ticks and dates of every named control.
QStringList WindowState(QWidget *w)
{
    QStringList out;
    for (QWidget *c : w->findChildren<QWidget *>()) {
        const QString n = c->objectName();
        if (n.isEmpty() || n.startsWith(QLatin1String("qt_")))
            continue;
        if (auto *e = qobject_cast<QLineEdit *>(c))
            out << n + "=" + e->text();
        else if (auto *cb = qobject_cast<QComboBox *>(c))
            out << n + "=" + cb->currentText() + "@" + QString::number(cb->count());
        else if (auto *d = qobject_cast<QDateEdit *>(c))
            out << n + "=" + d->date().toString(Qt::ISODate);
        else if (auto *b = qobject_cast<QAbstractButton *>(c); b && b->isCheckable())
            out << n + (b->isChecked() ? "=on" : "=off");
        else if (auto *l = qobject_cast<QLabel *>(c))
            out << n + "=" + l->text();
        else if (auto *t = qobject_cast<QTreeWidget *>(c))
            for (int i = 0; i < t->topLevelItemCount(); ++i) {
                QStringList cells;
                for (int k = 0; k < t->columnCount(); ++k)
                    cells << t->topLevelItem(i)->text(k);
                out << n + "[" + QString::number(i) + "]=" + cells.join('|')
                           + (t->topLevelItem(i)->checkState(0) == Qt::Checked ? " ticked" : "");
            }
        else if (auto *lw = qobject_cast<QListWidget *>(c))
            for (int i = 0; i < lw->count(); ++i)
                out << n + "[" + QString::number(i) + "]=" + lw->item(i)->text()
                           + (lw->item(i)->isSelected() ? " selected" : "");
    }
    return out;
}

// Ctrl+click on the row: what was chosen before stays chosen, as in a list of several.
void SelectRow(QTreeWidget *tree, const QString &first, const QString &second)
{
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i)
        if (QTreeWidgetItem *item = tree->topLevelItem(i); item->text(0).trimmed() == first && item->text(1).trimmed() == second) {
            tree->scrollToItem(item);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, tree->visualItemRect(item).center());
            QVERIFY(item->isSelected());
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no row %1 %2").arg(first, second)));
}

void Tick(QTreeWidget *tree, const QString &text)
{
    QVERIFY(tree);
    QVERIFY2(ToggleTick(tree, text), qPrintable(QStringLiteral("no item %1 in %2").arg(text, tree->objectName())));
    QCOMPARE(RowWithText(tree, text)->checkState(0), Qt::Checked);
}

// Counts the change statements and makes the one numbered `failAt` (from 1) fail.
struct FailAt {
    int seen = 0;
    int failAt = 0;
    explicit FailAt(int at) : failAt(at)
    {
        SetStatementFailureHook([this](const QString &) { return ++seen == failAt; });
    }
    ~FailAt() { SetStatementFailureHook({}); }
};

const QDate kLeaveDay(2026, 12, 1); // a Tuesday of the small school's one leave

struct Action {
    QString name;
    QString menu;
    int leastStatements;                               // what makes the action "several statements"
    std::function<void(TestDatabase &)> more;          // rows the case needs beyond the small school
    std::function<void(QWidget *, MessageLog &)> work; // the user's choices up to the click
    QString press;
};

QVector<Action> Actions()
{
    const auto nothing = [](TestDatabase &) {};
    // Chitra, on leave, teaches VII-B in period III of that Tuesday; Bimal takes it.
    const auto chitraCoveredByBimal = [](TestDatabase &db) {
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (3, 1, 2, 2, 1)");
        db.exec("insert into substitute values (3, 2, 2, 1, '2026-12-01', 2)");
    };
    return {
        {"class period systems Save", "mnuAssignPStoClass", 2, nothing,
         [](QWidget *w, MessageLog &) {
             auto *list = Child<QTreeWidget>(w, "lvPSList");
             ClickItem(list, 0, list->topLevelItem(0)->text(0).trimmed());
             Press(w, "cmdDel");
         },
         "cmdSave"},
        {"period system with fewer periods", "mnuPeriodSystem", 2,
         [](TestDatabase &db) {
             db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 2, 7, 3)");
         },
         [](QWidget *w, MessageLog &) {
             Choose(Child<QComboBox>(w, "cmbPeriodSysName"), "Regular");
             Choose(Child<QComboBox>(w, "cmbPeriodNumber"), "6");
         },
         "cmdSave"},
        {"period system deleted", "mnuPeriodSystem", 2, nothing,
         [](QWidget *w, MessageLog &log) {
             Choose(Child<QComboBox>(w, "cmbPeriodSysName"), "Regular");
             log.answer(hx::MsgResult::Yes);
         },
         "CmdDelete"},
        {"subject group deleted", "mnuSubjects", 2, nothing,
         [](QWidget *w, MessageLog &log) {
             ClickItem(Child<QTreeWidget>(w, "lvSubGrp"), 0, "Science");
             log.answer(hx::MsgResult::Yes);
         },
         "cmdDelSubGrp"},
        {"class subject removed with its periods", "MnuClassSubject", 2, nothing,
         [](QWidget *w, MessageLog &log) {
             SelectRow(Child<QTreeWidget>(w, "LvwClassSubject"), "VII-A", "Maths");
             log.answer(hx::MsgResult::Yes);
         },
         "CmbRemove"},
        {"teacher subject removed with its periods", "MnuAssignTeacher", 2, nothing,
         [](QWidget *w, MessageLog &log) {
             SelectRow(Child<QTreeWidget>(w, "LvwClassSubject"), "Anita Rao", "Maths");
             log.answer(hx::MsgResult::Yes);
         },
         "CmbRemove"},
        {"class-sections added", "mnuClassSection", 2, nothing,
         [](QWidget *w, MessageLog &) {
             Tick(Child<QTreeWidget>(w, "LvwClass"), "X");
             Tick(Child<QTreeWidget>(w, "LvwSec"), "A");
             Tick(Child<QTreeWidget>(w, "LvwSec"), "B");
         },
         "cmdAssign"},
        {"class-sections deleted", "mnuClassSection", 2, nothing,
         [](QWidget *w, MessageLog &log) {
             log.answer(hx::MsgResult::Yes); // the question naming them
             for (const char *cs : {"VIII-A", "IX-"})
                 QVERIFY(ClickRow(Child<QTreeWidget>(w, "LvwCS"), cs, Qt::ControlModifier));
         },
         "cmdDel"},
        {"leave saved", "MnuLeave", 1, nothing,
         [](QWidget *w, MessageLog &) {
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das");
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTPFrom"), QDate(2026, 12, 14)));
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTPTo"), QDate(2026, 12, 16)));
         },
         "cmdSave"},
        {"leave deleted", "MnuLeave", 1, nothing,
         [](QWidget *w, MessageLog &) { ClickItem(Child<QTreeWidget>(w, "LvwLeave"), 0, "Chitra Nair"); },
         "CmdDelete"},
        {"absence saved", "mnuTeacherAtt", 1, nothing,
         [](QWidget *w, MessageLog &) {
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTP"), QDate(2026, 12, 8)));
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das");
             input::Click(Child<QCheckBox>(w, "ChkAbsent"));
             Choose(Child<QComboBox>(w, "CmbPerTo"), "4");
         },
         "cmdSave"},
        {"absence taken back", "mnuTeacherAtt", 1,
         [](TestDatabase &db) {
             db.exec("insert into teacherattendence values (2, 'Absent', 0, 3, '2026-12-08', '2026-12-08')");
         },
         [](QWidget *w, MessageLog &) {
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTP"), QDate(2026, 12, 8)));
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das"); // shown present: the box is not ticked
         },
         "cmdSave"},
        {"absence saved over a substitute booking", "mnuTeacherAtt", 2, chitraCoveredByBimal,
         [](QWidget *w, MessageLog &log) {
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTP"), kLeaveDay));
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das");
             input::Click(Child<QCheckBox>(w, "ChkAbsent"));
             log.answer(hx::MsgResult::Yes); // give up the substitution
         },
         "cmdSave"},
        {"absence taken back with its substitutions", "mnuTeacherAtt", 2,
         [](TestDatabase &db) {
             db.exec("insert into teacherattendence values (2, 'Absent', 0, 3, '2026-12-08', '2026-12-08')");
             db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 2, 2, 1, 1)");
             db.exec("insert into substitute values (2, 1, 2, 1, '2026-12-08', 1)");
         },
         [](QWidget *w, MessageLog &log) {
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTP"), QDate(2026, 12, 8)));
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das");
             log.answer(hx::MsgResult::Yes);
         },
         "cmdSave"},
        {"leave saved over a substitute booking", "MnuLeave", 2, chitraCoveredByBimal,
         [](QWidget *w, MessageLog &log) {
             Choose(Child<QComboBox>(w, "CmbTeacher"), "Bimal Das");
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTPFrom"), QDate(2026, 11, 30)));
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTPTo"), kLeaveDay));
             log.answer(hx::MsgResult::Yes);
         },
         "cmdSave"},
        {"leave deleted with its substitutions", "MnuLeave", 2, chitraCoveredByBimal,
         [](QWidget *w, MessageLog &log) {
             ClickItem(Child<QTreeWidget>(w, "LvwLeave"), 0, "Chitra Nair");
             log.answer(hx::MsgResult::Yes);
         },
         "CmdDelete"},
        {"substitute saved", "mnuSubs", 1,
         [](TestDatabase &db) {
             db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (3, 1, 2, 2, 1)");
         },
         [](QWidget *w, MessageLog &) {
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "DTP"), kLeaveDay));
             ClickItem(Child<QTreeWidget>(w, "LvwSub"), 0, "Chitra Nair");
             Choose(Child<QComboBox>(w, "CmbSubstitute"), "Anita Rao");
         },
         "CmdSave"},
    };
}

} // namespace

class TestWholeOrNothing : public QObject {
    Q_OBJECT
private slots:
    void failureAtEachStatement_data();
    void failureAtEachStatement();
};

void TestWholeOrNothing::failureAtEachStatement_data()
{
    QTest::addColumn<int>("index");
    const QVector<Action> actions = Actions();
    for (int i = 0; i < actions.size(); ++i)
        QTest::newRow(qPrintable(actions[i].name)) << i;
}

void TestWholeOrNothing::failureAtEachStatement()
{
    QFETCH(int, index);
    const Action action = Actions().at(index);
    int statements = 0;
    for (int failAt = 0; failAt == 0 || failAt <= statements; ++failAt) {
        const QString where = failAt == 0 ? QStringLiteral("clean run")
                                          : QStringLiteral("statement %1 of %2 failing").arg(failAt).arg(statements);
        TestDatabase db;
        MessageLog log;
        SeedSmallSchool(db);
        action.more(db);
        LoadSubjectSnapshot();
        std::unique_ptr<QWidget> w(Open(action.menu));
        QVERIFY(w && ShowInFront(w.get()));
        action.work(w.get(), log);
        QVERIFY2(log.messages.isEmpty(), qPrintable(where + ": " + log.texts().join(" | ")));
        const QStringList shown = WindowState(w.get());
        const QStringList before = DumpDatabase();

        FailAt hook(failAt);
        Press(w.get(), action.press);
        QCOMPARE(log.unexpectedQuestions, 0);
        QStringList said; // what the user was told, apart from the question asked before the change
        for (const hx::ShownMessage &m : log.messages)
            if (m.buttons == hx::MsgButtons::Ok)
                said << m.text;
        if (failAt == 0) {
            statements = hook.seen;
            QVERIFY2(statements >= action.leastStatements, qPrintable(QString::number(statements)));
            QVERIFY2(DumpDatabase() != before, "the action changed nothing");
            QVERIFY2(said.filter("Error :").isEmpty(), qPrintable(said.join(" | ")));
            continue;
        }
        QVERIFY2(DumpDatabase() == before, qPrintable(where));
        QVERIFY2(said.size() == 1 && said[0].startsWith("Error :") && said[0].size() > 12,
                 qPrintable(where + ": " + said.join(" | ")));
        QCOMPARE(WindowState(w.get()), shown);
    }
}

QTEST_MAIN(TestWholeOrNothing)
#include "tst_wholeornothing.moc"
