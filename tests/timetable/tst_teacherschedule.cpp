#include "ChildWindows.h"
#include "FrmTeacherSchedule.h"
#include "TestSupport.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>
#include <QBarCategoryAxis>

using namespace tt;

namespace {

void seed(TestDatabase &db)
{
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('T1','Asha Rao',1), ('T2','Bimal Sen',2)");
    db.exec("insert into classsection (classid, class, section) values (1,'VI','A'), (2,'VII','B')");
    db.exec("insert into subjects (subname, subid) values ('Maths',1), ('Science',2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1,'Algebra',1), (2,'General',2)");
    db.exec("insert into periodsystem values (1,'Long',9,35,'08:00',5,15,'AM')");
    db.exec("insert into classperiods values (1,1,'0,1,2,3,4,5'), (2,1,'0,1,2,3,4,5')");
    db.exec("insert into classsubjects values (1,1,6,6), (2,1,5,7)");
    db.exec("insert into teachersubjects values (1,1,6,7), (1,2,6,7)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values "
            "(1,1,1,0,0), (1,1,1,2,0), (2,1,2,1,1)");
}

template <typename T> T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

void pick(QComboBox *box, const QString &text)
{
    const int at = box->findText(text);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
    emit box->activated(at);
}

void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

QColor back(QLabel *l) { return l->palette().color(QPalette::Window); }

} // namespace

class TestTeacherSchedule : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheFirstTeacher();
    void choosingAndAssigning();
    void detailsViewSwapsBackCompletely();
    void saveUndoClearPrintExit();
    void emptySchool();
};

void TestTeacherSchedule::opensOnTheFirstTeacher()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    FrmTeacherSchedule w;
    QCOMPARE(w.objectName(), QString("FrmTeacherSchedule"));
    QCOMPARE(w.windowTitle(), QString("Schedule of teacher Asha Rao"));
    for (int i = 0; i < kCells; ++i)
        QCOMPARE(child<QLabel>(&w, QString("Period_%1").arg(i)), w.cell(i));
    QCOMPARE(w.cell(0)->text(), QString("VI-A\nMaths Algebra"));
    QCOMPARE(w.periodHeading(2)->text(), QString("III"));
    QCOMPARE(w.periodHeading(2)->toolTip(), QString("Click here to select whole period"));
    QCOMPARE(w.dayLoad(0)->text(), QString("\n\n2"));
    QCOMPARE(w.periodLoad(2)->text(), QString("1"));
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("2"));
    QVERIFY(!child<QPushButton>(&w, "CmdSwap")->isEnabled());
    QCOMPARE(child<QComboBox>(&w, "CmbSubject")->currentIndex(), -1);

    // The class chart with its axis titles, as written.
    QChart *chart = child<QChartView>(&w, "MSChart1")->chart();
    QStringList titles;
    for (QAbstractAxis *a : chart->axes())
        titles << a->titleText();
    QCOMPARE(titles, QStringList({"Classes", "Priods"}));
    auto *x = qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Horizontal).value(0));
    QVERIFY(x);
    QCOMPARE(x->categories(), QStringList({"VI-A"}));

    // The menu opens this window.
    bool listed = false;
    for (const ChildWindowEntry &e : ChildWindowEntries())
        listed = listed || (e.menu == "MnuTeacherSchedule" && e.window == "FrmTeacherSchedule");
    QVERIFY(listed);
    QVERIFY(log.messages.isEmpty());
}

void TestTeacherSchedule::choosingAndAssigning()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    FrmTeacherSchedule w;
    auto *subject = child<QComboBox>(&w, "CmbSubject");
    auto *cls = child<QComboBox>(&w, "CmbClass");
    auto *cls2 = child<QComboBox>(&w, "CmbClass2");
    auto *two = child<QCheckBox>(&w, "ChkAssign");
    auto *assign = child<QPushButton>(&w, "cmdAssign");

    click(assign);
    QCOMPARE(log.last(), QString("Select Subject"));
    pick(subject, "Maths Algebra");
    QCOMPARE(cls->count(), 2);
    QCOMPARE(cls->currentIndex(), -1);
    click(assign);
    QCOMPARE(log.last(), QString("Select class"));
    pick(cls, "VII-B");
    QCOMPARE(child<QLabel>(&w, "LblTot")->text(), QString("Total Periods Scheduled for Maths Algebra : 5"));
    QCOMPARE(w.cell(CellIndex(1, 1))->toolTip(), QString("Bimal Sen\nMaths Algebra"));

    two->click();
    QVERIFY(cls2->isEnabled());
    click(assign);
    QCOMPARE(log.last(), QString("Select the second class"));
    two->click();
    QVERIFY(!cls2->isEnabled());

    click(w.cell(CellIndex(1, 1))); // busy for VII-B: nothing happens
    QCOMPARE(w.model().selected(CellIndex(1, 1)), bool(0));
    click(w.cell(CellIndex(3, 4)));
    QCOMPARE(back(w.cell(CellIndex(3, 4))), ColSelected());
    click(w.periodHeading(8));
    QCOMPARE(w.model().selected(CellIndex(0, 8)), bool(1));
    log.clear();
    click(assign);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(w.cell(CellIndex(3, 4))->text(), QString("VII-B\nMaths Algebra"));
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("9"));
    QCOMPARE(child<QLabel>(&w, "LblAss")->text(), QString("Total Periods Assigned for Maths Algebra : 8"));
    QVERIFY(child<QPushButton>(&w, "CmdUndo")->isEnabled());

    // Another teacher discards the unsaved work and the undo.
    pick(child<QComboBox>(&w, "CmbTeacher"), "Bimal Sen");
    QCOMPARE(w.cell(CellIndex(3, 4))->text(), QString());
    QVERIFY(!child<QPushButton>(&w, "CmdUndo")->isEnabled());
    QCOMPARE(cls->count(), 0);
}

void TestTeacherSchedule::detailsViewSwapsBackCompletely()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    FrmTeacherSchedule w;
    child<QCheckBox>(&w, "ChkAssign")->click(); // the second box takes part in the swap
    pick(child<QComboBox>(&w, "CmbSubject"), "Maths Algebra");
    pick(child<QComboBox>(&w, "CmbClass"), "VII-B");
    auto *swap = child<QPushButton>(&w, "CmdSwap");
    const QStringList controls = {"CmbTeacher", "CmbClass", "CmbSubject", "CmbClass2", "CmdReset",
                                  "CmdClear", "cmdAssign", "cmdSave"};
    QStringList before;
    for (int i = 0; i < kCells; ++i)
        before << w.cell(i)->text() + "|" + w.cell(i)->toolTip();

    click(swap);
    QCOMPARE(swap->text(), QString("Show Teacher's Details"));
    QCOMPARE(w.windowTitle(), QString("Schedule of Class VII-B"));
    for (const QString &name : controls)
        QVERIFY2(!child<QWidget>(&w, name)->isEnabled(), qPrintable(name));
    QVERIFY(child<QPushButton>(&w, "CmdPrint")->isEnabled());
    QCOMPARE(w.cell(CellIndex(1, 1))->text(), QString("Bimal Sen\nMaths Algebra"));
    QCOMPARE(w.cell(0)->toolTip(), QString("VI-A\nMaths Algebra"));
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("1"));

    click(swap);
    QCOMPARE(swap->text(), QString("Show Class &Details"));
    QCOMPARE(w.windowTitle(), QString("Schedule of teacher Asha Rao"));
    for (const QString &name : controls)
        QVERIFY2(child<QWidget>(&w, name)->isEnabled(), qPrintable(name));
    QStringList after;
    for (int i = 0; i < kCells; ++i)
        after << w.cell(i)->text() + "|" + w.cell(i)->toolTip();
    QCOMPARE(after, before);
    QCOMPARE(child<QLabel>(&w, "TotalLoad")->text(), QString("2"));
    QVERIFY(log.messages.isEmpty());
}

void TestTeacherSchedule::saveUndoClearPrintExit()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    QStringList printed;
    hx::SetReportRunner([&](const QString &file, const QString &selection) { printed << file + " " + selection; });
    auto *w = new FrmTeacherSchedule;
    QPointer<FrmTeacherSchedule> alive(w);
    w->show();
    pick(child<QComboBox>(w, "CmbSubject"), "Maths Algebra");
    pick(child<QComboBox>(w, "CmbClass"), "VI-A");
    click(w->cell(CellIndex(5, 3)));
    click(child<QPushButton>(w, "cmdAssign"));
    click(child<QPushButton>(w, "cmdSave"));
    QVERIFY(log.messages.isEmpty());
    QVERIFY(!child<QPushButton>(w, "CmdUndo")->isEnabled());
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 3);
    QCOMPARE(db.count("Cummtimeschedule", "teacherid = 1 and period = 3 and weekday = 5"), 1);

    // Clearing asks first; No keeps the cells.
    log.answer(hx::MsgResult::No);
    click(child<QPushButton>(w, "CmdClear"));
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.last(), QString("This will clear the assignments. are you sure?"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Question);
    QCOMPARE(w->cell(CellIndex(5, 3))->text(), QString("VI-A\nMaths Algebra"));
    log.answer(hx::MsgResult::Yes);
    click(child<QPushButton>(w, "CmdClear"));
    QCOMPARE(w->cell(CellIndex(5, 3))->text(), QString());
    QCOMPARE(back(w->cell(CellIndex(5, 3))), ColFree());

    click(child<QPushButton>(w, "CmdPrint"));
    QCOMPARE(printed, QStringList({"tchrtmtable.rpt {timeschedule.teacherid} = 1"}));
    hx::SetReportRunner({});

    click(child<QPushButton>(w, "CmdExit"));
    QTRY_VERIFY(alive.isNull());
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 3); // closing does not save
}

void TestTeacherSchedule::emptySchool()
{
    TestDatabase db;
    MessageLog log;
    FrmTeacherSchedule w;
    QCOMPARE(w.windowTitle(), QString("Teacher's Schedule"));
    QCOMPARE(child<QComboBox>(&w, "CmbTeacher")->count(), 0);
    click(child<QPushButton>(&w, "cmdSave"));
    click(child<QPushButton>(&w, "cmdAssign"));
    QCOMPARE(log.texts(), QStringList({"Select Subject"}));
    QCOMPARE(w.dayLoad(5)->text(), QString("\n\n0"));
}

QTEST_MAIN(TestTeacherSchedule)
#include "tst_teacherschedule.moc"
