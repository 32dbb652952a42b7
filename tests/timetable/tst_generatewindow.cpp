// "Generate Timetable" as a person uses it: from the menu, tick the classes, Generate, look at
// the result, then Save or Discard; Stop and closing while it runs write nothing.
#include "GenerateSchool.h"
#include "MDISchedule.h"
#include "UserInput.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace {

template <class T> T *Find(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qWarning("no %s", name);
    return c;
}

void Click(QWidget *w, const char *name)
{
    auto *b = Find<QAbstractButton>(w, name);
    QVERIFY(b);
    QVERIFY2(b->isEnabled(), name);
    QTest::mouseClick(b, Qt::LeftButton);
}

// Clicks the class in the list and ticks or unticks it with the space bar.
void Tick(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    QCOMPARE(list->currentItem(), found[0]);
    QTest::keyClick(list, Qt::Key_Space);
}

void ShowTab(QTabWidget *tabs, int index)
{
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
    QCOMPARE(tabs->currentIndex(), index);
}

// Steps a closed combo box down with the arrow key until it shows the text.
void PickByKeys(QComboBox *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != text; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), text);
}

QStringList Checked(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->text();
    return out;
}

// The main window on the crafted school (VI-A with one lesson) with Generate Timetable chosen
// from its menu with the mouse.
struct Opened {
    TestDatabase db;
    GenerateSchool school{db};
    MessageLog log;
    MDISchedule main;
    QWidget *window = nullptr;
    Opened()
    {
        school.lesson(school.VIA, school.MonI, school.Anita, school.Maths);
        if (!main.MDIForm_Load() || !input::Show(&main))
            return;
        QAction *entry = main.menuAction("MnuGenerate");
        if (entry && entry->text() == QLatin1String("Generate Timetable") && input::ChooseMenu(main.menuBar(), entry))
            window = main.openWindowNamed("FrmGenerate");
    }
};

} // namespace

class TestGenerateWindow : public QObject {
    Q_OBJECT
private slots:
    void buildLookDiscardThenSave();
    void stopAndCloseWriteNothing();
};

void TestGenerateWindow::buildLookDiscardThenSave()
{
    Opened o;
    GenerateSchool &s = o.school;
    MessageLog &log = o.log;
    QWidget *w = o.window;
    QVERIFY(w);
    QCOMPARE(o.main.mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Generate Timetable"));
    QVERIFY(QTest::qWaitForWindowExposed(w));

    auto *list = Find<QListWidget>(w, "LstClasses");
    QVERIFY(list);
    Click(w, "cmdAll");
    QCOMPARE(Checked(list), QStringList({"VI-A", "VI-B", "VII-A"}));
    Click(w, "cmdNone");
    QVERIFY(Checked(list).isEmpty());
    // Nothing ticked: the window says what to do.
    Click(w, "cmdGenerate");
    QCOMPARE(log.last(), QStringLiteral("Tick the class-sections whose weeks are to be built."));
    Tick(list, "VI-A");
    Tick(list, "VI-B");
    QCOMPARE(Checked(list), QStringList({"VI-A", "VI-B"}));
    auto *keep = Find<QCheckBox>(w, "ChkKeep");
    QVERIFY(keep->isChecked());
    QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(8, keep->height() / 2));
    QVERIFY(!keep->isChecked());
    const QStringList before = DumpDatabase();

    Click(w, "cmdGenerate");
    auto *save = Find<QPushButton>(w, "cmdSave");
    QTRY_VERIFY(save->isEnabled());
    QCOMPARE(Find<QLabel>(w, "LblSummary")->text().left(41), QStringLiteral("placed 12 of 12 lessons, 0 clashes, 0 spr"));
    auto *classes = Find<QTreeWidget>(w, "LvwClasses");
    QCOMPARE(classes->topLevelItemCount(), 2);
    QCOMPARE(classes->topLevelItem(1)->text(0), QStringLiteral("VI-B"));
    QCOMPARE(classes->topLevelItem(1)->text(1), QStringLiteral("6"));
    QCOMPARE(classes->topLevelItem(1)->text(2), QStringLiteral("6"));
    QCOMPARE(DumpDatabase(), before); // nothing written yet
    QCOMPARE(Find<QProgressBar>(w, "PrgGenerate")->text(), QStringLiteral("12 of 12 placed"));
    QCOMPARE(Find<QTabWidget>(w, "TabResult")->tabText(1), QStringLiteral("Not Placed (0)"));

    // VI-B's week: every period of Monday and Tuesday holds Bela's Maths or Anita's English.
    auto *tabs = Find<QTabWidget>(w, "TabResult");
    ShowTab(tabs, 2);
    PickByKeys(Find<QComboBox>(w, "CmbClass"), "VI-B");
    QStringList week;
    for (int cell : {s.MonI, s.TueI, s.MonII, s.TueII, s.MonIII, s.TueIII})
        week << Find<QLabel>(w, qPrintable(QStringLiteral("ClassCell_%1").arg(cell)))->text();
    QCOMPARE(week.filter(QStringLiteral("Bela Sen\rMaths")).size(), 3);
    QCOMPARE(week.filter(QStringLiteral("Anita Rao\rEnglish")).size(), 3);
    QVERIFY(Find<QLabel>(w, "ClassCell_2")->text().isEmpty()); // Wednesday: not in the week
    // Anita's week: six lessons, in both classes.
    ShowTab(tabs, 3);
    PickByKeys(Find<QComboBox>(w, "CmbTeacher"), "Anita Rao");
    int anita = 0;
    for (int cell = 0; cell < 54; ++cell)
        anita += !Find<QLabel>(w, qPrintable(QStringLiteral("TeacherCell_%1").arg(cell)))->text().isEmpty();
    QCOMPARE(anita, 6);

    Click(w, "cmdDiscard");
    QVERIFY(!save->isEnabled());
    QCOMPARE(DumpDatabase(), before);

    Click(w, "cmdGenerate");
    QTRY_VERIFY(save->isEnabled());
    Click(w, "cmdSave");
    QCOMPARE(log.last(), QStringLiteral("The generated timetable has been saved."));
    QCOMPARE(s.lessons(s.VIA) + s.lessons(s.VIB), 12);
    QCOMPARE(s.teacherClashes(), 0);
    QVERIFY(!save->isEnabled());
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestGenerateWindow::stopAndCloseWriteNothing()
{
    Opened o;
    QWidget *w = o.window;
    QVERIFY(w);
    const QStringList before = DumpDatabase();

    Click(w, "cmdAll");
    Click(w, "cmdGenerate");
    Click(w, "cmdStop");
    auto *discard = Find<QPushButton>(w, "cmdDiscard");
    QTRY_VERIFY(discard->isEnabled());
    QVERIFY(Find<QPushButton>(w, "cmdGenerate")->isEnabled());
    QCOMPARE(DumpDatabase(), before);
    Click(w, "cmdDiscard");
    QCOMPARE(DumpDatabase(), before);

    // Closed while generating: the worker is stopped and waited for; nothing is written.
    Click(w, "cmdGenerate");
    QPointer<QWidget> window(w);
    o.main.mdiArea()->activeSubWindow()->close();
    QTRY_VERIFY(!window);
    QCOMPARE(DumpDatabase(), before);
    QCOMPARE(o.log.unexpectedQuestions, 0);
}

QTEST_MAIN(TestGenerateWindow)
#include "tst_generatewindow.moc"
