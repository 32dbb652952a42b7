// Both timetable editors open in one program, used as the office uses them: whatever one
// window still shows, no Save may book a teacher twice, write back a stale week, or act on
// cells chosen in the other window.
#include "FrmClassSchedule.h"
#include "FrmTeacherSchedule.h"
#include "MDISchedule.h"
#include "tst_classschedule_school.h"

#include "UserInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

using S = SmallSchool;

class TestTimetableGuard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aBusyTeacherCannotBeAssigned();
    void aStaleWeekIsNotWrittenBack();
    void eachEditorKeepsItsOwnSelection();
    void marksFollowTheCurrentChoice();
    void aLessonForTwoClassesNeedsAPeriodOfBoth();
    void theTeacherEditorKeepsRowsItDoesNotShow();
    void chartsKeepOneBarPerRow();

private:
    struct Program {
        TestDatabase db;
        MessageLog log;
        SmallSchool s{db};
        MDISchedule main;
    };
};

namespace {

void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

template <typename T> T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no control %s", name);
    return c;
}

// Opens the box's list with a click, walks to the entry with the arrow keys and takes it with
// Enter, as a person picks one.
void pick(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    click(box);
    QAbstractItemView *view = box->view();
    QTRY_VERIFY(view->isVisible());
    for (int guard = 0; view->currentIndex().row() != i && guard < 100; ++guard)
        QTest::keyClick(view, view->currentIndex().row() < i ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(box->currentText(), text);
}

// A drag: the press on the lesson is real, the drop that ends it is sent.
void drag(QLabel *source, QLabel *target, int sourceCell)
{
    QTest::mousePress(source, Qt::LeftButton);
    DropCell(target, sourceCell);
}

QColor back(QWidget *w) { return w->palette().color(QPalette::Window); }

FrmClassSchedule *classWindow(MDISchedule &main)
{
    if (!input::ChooseMenu(main.menuBar(), main.menuAction("MnuClassSchedule")))
        return nullptr;
    return qobject_cast<FrmClassSchedule *>(main.openWindowNamed("FrmClassSchedule"));
}

FrmTeacherSchedule *teacherWindow(MDISchedule &main)
{
    if (!input::ChooseMenu(main.menuBar(), main.menuAction("MnuTeacherSchedule")))
        return nullptr;
    return qobject_cast<FrmTeacherSchedule *>(main.openWindowNamed("FrmTeacherSchedule"));
}

// Teachers in a class's period, as saved.
QStringList saved(int classid, int day, int period)
{
    QStringList out;
    const Recordset rs = QueryQuiet("select t.teachername from timeschedule ts join teachers t on t.teacherid = "
                                    "ts.teacherid where classid = ? and weekday = ? and period = ? order by 1",
                                    {classid, day, period});
    for (const QVariantList &r : rs.rows())
        out << r.value(0).toString();
    return out;
}

const int Mon1 = tt::CellIndex(0, 0), Tue1 = tt::CellIndex(1, 0), Wed1 = tt::CellIndex(2, 0),
          Sat1 = tt::CellIndex(5, 0), Tue2 = tt::CellIndex(1, 1), Wed3 = tt::CellIndex(2, 2);

} // namespace

void TestTimetableGuard::init() { QApplication::setDoubleClickInterval(1); }

void TestTimetableGuard::aBusyTeacherCannotBeAssigned()
{
    Program p;
    p.s.lesson(S::VIB, 0, 0, S::Anita, S::Maths);   // Anita teaches VI-B on Monday I
    p.s.lesson(S::VIB, 1, 0, S::Anita, S::Maths);   // ... and on Tuesday I
    p.s.lesson(S::VIA, 0, 0, S::Bela, S::English);  // VI-A has English then
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmClassSchedule *w = classWindow(p.main);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Schedule of Class VI-A"));
    pick(child<QComboBox>(w, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(w, "CmbTeacher"), "Anita Rao");
    QCOMPARE(back(w->Period(Mon1)), tt::ColBusy());

    // The English lesson dragged away leaves Monday I busy for Anita ...
    drag(w->Period(Mon1), w->Period(Wed3), Mon1);
    QCOMPARE(w->Period(Wed3)->text(), QString("Bela Sen\nEnglish "));
    QCOMPARE(back(w->Period(Mon1)), tt::ColBusy());
    QCOMPARE(w->Period(Mon1)->toolTip(), QString("VI-B\nMaths "));
    click(w->Period(Mon1));
    QCOMPARE(back(w->Period(Mon1)), tt::ColBusy());

    // ... and choosing a second subject keeps her marks.
    click(child<QCheckBox>(w, "ChkAssign"));
    pick(child<QComboBox>(w, "CmbSubject2"), "English ");
    QCOMPARE(back(w->Period(Tue1)), tt::ColBusy());
    QCOMPARE(w->Period(Tue1)->toolTip(), QString("VI-B\nMaths "));
    click(child<QCheckBox>(w, "ChkAssign"));
    click(w->Period(Tue1));
    click(w->Period(Mon1));
    QCOMPARE(back(w->Period(Tue1)), tt::ColBusy());

    // The teacher editor books her for VI-B on Thursday I; back here the unsaved move stays
    // and the new lesson is marked.
    FrmTeacherSchedule *t = teacherWindow(p.main);
    pick(child<QComboBox>(t, "CmbSubject"), "Maths");
    pick(child<QComboBox>(t, "CmbClass"), "VI-B");
    click(t->cell(tt::CellIndex(3, 0)));
    click(child<QPushButton>(t, "cmdAssign"));
    click(child<QPushButton>(t, "cmdSave"));
    QVERIFY(classWindow(p.main) == w);
    QCOMPARE(w->Period(Wed3)->text(), QString("Bela Sen\nEnglish "));
    QCOMPARE(back(w->Period(tt::CellIndex(3, 0))), tt::ColBusy());
    QCOMPARE(w->Period(tt::CellIndex(3, 0))->toolTip(), QString("VI-B\nMaths "));

    // Marks drawn before another window placed her: Assign still refuses the cell.
    click(w->Period(Wed1));
    QCOMPARE(back(w->Period(Wed1)), tt::ColSelected());
    p.s.lesson(S::VIIA, 2, 0, S::Anita, S::English);
    p.log.clear();
    click(child<QPushButton>(w, "cmdAssign"));
    QCOMPARE(p.log.texts(), QStringList{"Clashing with\nPeriod = 1 Day = Wednesday Class = VII-A Subject = English "
                                        "Teacher = Anita Rao"});
    QCOMPARE(w->Period(Wed1)->text(), QString());
    QCOMPARE(back(w->Period(Wed1)), tt::ColBusy());

    p.log.clear();
    click(child<QPushButton>(w, "cmdSave"));
    QVERIFY(p.log.messages.isEmpty());
    QCOMPARE(saved(S::VIA, 0, 0), QStringList());
    QCOMPARE(saved(S::VIA, 1, 0), QStringList());
    QCOMPARE(saved(S::VIA, 2, 0), QStringList());
    QCOMPARE(saved(S::VIA, 2, 2), QStringList{"Bela Sen"});
    QCOMPARE(saved(S::VIA, 3, 0), QStringList());
}

void TestTimetableGuard::aStaleWeekIsNotWrittenBack()
{
    Program p;
    p.s.lesson(S::VIA, 1, 1, S::Anita, S::Maths); // VI-A Tuesday II: Anita
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmTeacherSchedule *t = teacherWindow(p.main);
    QVERIFY(t);
    QCOMPARE(t->cell(Tue2)->text(), QString("VI-A\nMaths "));

    // The class editor gives VI-A Tuesday II to Bela and saves.
    FrmClassSchedule *c = classWindow(p.main);
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(c, "CmbTeacher"), "Bela Sen");
    click(c->Period(Tue2));
    click(child<QPushButton>(c, "cmdAssign"));
    click(child<QPushButton>(c, "cmdSave"));
    QCOMPARE(saved(S::VIA, 1, 1), QStringList{"Bela Sen"});

    // Back in the teacher editor, with nothing unsaved, Anita's week is read again.
    QVERIFY(teacherWindow(p.main) == t);
    QCOMPARE(t->cell(Tue2)->text(), QString());
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(saved(S::VIA, 1, 1), QStringList{"Bela Sen"});

    // With unsaved work the teacher editor keeps it; its Save then finds the week changed.
    pick(child<QComboBox>(t, "CmbSubject"), "Maths");
    pick(child<QComboBox>(t, "CmbClass"), "VI-B");
    click(t->cell(Wed3));
    click(child<QPushButton>(t, "cmdAssign"));
    QCOMPARE(t->cell(Wed3)->text(), QString("VI-B\nMaths"));
    classWindow(p.main);
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(c, "CmbTeacher"), "Anita Rao");
    click(c->Period(Mon1));
    click(child<QPushButton>(c, "cmdAssign"));
    click(child<QPushButton>(c, "cmdSave"));
    QCOMPARE(saved(S::VIA, 0, 0), QStringList{"Anita Rao"});
    teacherWindow(p.main);
    QCOMPARE(t->cell(Wed3)->text(), QString("VI-B\nMaths"));
    QCOMPARE(t->cell(Mon1)->text(), QString());
    const QStringList before = DumpDatabase();
    p.log.clear();
    p.log.answer(hx::MsgResult::No);
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(p.log.messages.size(), 1);
    QVERIFY2(p.log.last().contains("Period = 1 Day = Monday Class = VI-A Subject = Maths Teacher = Anita Rao (added)"),
             qPrintable(p.log.last()));
    QCOMPARE(p.log.messages.last().buttons, hx::MsgButtons::YesNo);
    QCOMPARE(DumpDatabase(), before);
    QCOMPARE(t->cell(Wed3)->text(), QString("VI-B\nMaths")); // the work is still there
    p.log.answer(hx::MsgResult::Yes);
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(t->cell(Mon1)->text(), QString("VI-A\nMaths "));
    QCOMPARE(t->cell(Wed3)->text(), QString());
    QCOMPARE(DumpDatabase(), before);

    // The class editor's unsaved week meets a lesson the teacher editor saved for the class.
    classWindow(p.main);
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(c, "CmbTeacher"), "Bela Sen");
    click(c->Period(tt::CellIndex(3, 3)));
    click(child<QPushButton>(c, "cmdAssign"));
    teacherWindow(p.main);
    pick(child<QComboBox>(t, "CmbSubject"), "Maths");
    pick(child<QComboBox>(t, "CmbClass"), "VI-A");
    click(t->cell(tt::CellIndex(4, 4)));
    click(child<QPushButton>(t, "cmdAssign"));
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(saved(S::VIA, 4, 4), QStringList{"Anita Rao"});
    classWindow(p.main);
    QCOMPARE(c->Period(tt::CellIndex(3, 3))->text(), QString("Bela Sen\nMaths "));
    p.log.clear();
    p.log.answer(hx::MsgResult::No);
    click(child<QPushButton>(c, "cmdSave"));
    QVERIFY2(p.log.last().contains("Period = 5 Day = Friday Class = VI-A Subject = Maths Teacher = Anita Rao (added)"),
             qPrintable(p.log.last()));
    QCOMPARE(saved(S::VIA, 4, 4), QStringList{"Anita Rao"});
    QCOMPARE(saved(S::VIA, 3, 3), QStringList());
    QCOMPARE(c->Period(tt::CellIndex(3, 3))->text(), QString("Bela Sen\nMaths "));
}

void TestTimetableGuard::eachEditorKeepsItsOwnSelection()
{
    Program p;
    p.s.lesson(S::VIB, 1, 0, S::Anita, S::Maths); // Anita: VI-B Tuesday I and Wednesday I
    p.s.lesson(S::VIB, 2, 0, S::Anita, S::Maths);
    p.s.lesson(S::VIA, 3, 0, S::Bela, S::Maths);
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmTeacherSchedule *t = teacherWindow(p.main);
    FrmClassSchedule *c = classWindow(p.main);
    click(c->Period(Tue1));
    click(c->Period(Wed1));
    // A lesson of the subject pressed twice is no longer selected, and no longer acted on.
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    QCOMPARE(back(c->Period(tt::CellIndex(3, 0))), tt::ColSubject());
    click(c->Period(tt::CellIndex(3, 0)));
    QCOMPARE(back(c->Period(tt::CellIndex(3, 0))), tt::ColSelected());
    click(c->Period(tt::CellIndex(3, 0)));
    QCOMPARE(back(c->Period(tt::CellIndex(3, 0))), tt::ColFree());
    click(c->Period(Tue1));

    // Clear in the teacher editor clears only what was selected there: nothing.
    teacherWindow(p.main);
    QCOMPARE(t->cell(Tue1)->text(), QString("VI-B\nMaths "));
    p.log.answer(hx::MsgResult::Yes);
    click(child<QPushButton>(t, "CmdClear"));
    QCOMPARE(t->cell(Tue1)->text(), QString("VI-B\nMaths "));
    QCOMPARE(t->cell(Wed1)->text(), QString("VI-B\nMaths "));
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(saved(S::VIB, 1, 0), QStringList{"Anita Rao"});
    QCOMPARE(saved(S::VIB, 2, 0), QStringList{"Anita Rao"});

    // Assign in the class editor acts on its own selection: Tuesday I only (coming back with
    // nothing unsaved read the class again).
    classWindow(p.main);
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(c, "CmbTeacher"), "Bela Sen");
    click(c->Period(Tue1));
    click(c->Period(tt::CellIndex(3, 0)));
    click(child<QPushButton>(c, "cmdAssign"));
    QCOMPARE(c->Period(Tue1)->text(), QString("Bela Sen\nMaths "));
    QCOMPARE(c->Period(Wed1)->text(), QString());
    QCOMPARE(c->Period(tt::CellIndex(3, 0))->text(), QString("Bela Sen\nMaths "));
    // A Saturday VI-A does not have cannot be selected, so nothing lands there.
    click(c->Period(Sat1));
    QCOMPARE(back(c->Period(Sat1)), tt::ColUnavailable());
    click(child<QPushButton>(c, "cmdSave"));
    QCOMPARE(saved(S::VIA, 5, 0), QStringList());
    QCOMPARE(p.db.count("timeschedule", "classid = 1"), 2);
}

void TestTimetableGuard::marksFollowTheCurrentChoice()
{
    Program p;
    p.s.lesson(S::VIB, 0, 0, S::Anita, S::Maths);  // Anita elsewhere on Monday I
    p.s.lesson(S::VIIA, 3, 3, S::Bela, S::English); // Bela elsewhere on Thursday IV
    p.s.lesson(S::VIA, 5, 2, S::Chand, S::Maths);   // an old file: VI-A on a Saturday it lacks
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmClassSchedule *c = classWindow(p.main);
    const int sat3 = tt::CellIndex(5, 2), thu4 = tt::CellIndex(3, 3);
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    // The lesson stays visible but its missing period is neither marked nor selectable.
    QCOMPARE(c->Period(sat3)->text(), QString("Chand Das\nMaths "));
    QCOMPARE(back(c->Period(sat3)), tt::ColUnavailable());
    click(c->Period(sat3));
    QCOMPARE(back(c->Period(sat3)), tt::ColUnavailable());

    pick(child<QComboBox>(c, "CmbTeacher"), "Anita Rao");
    QCOMPARE(c->Period(Mon1)->toolTip(), QString("VI-B\nMaths "));
    // Another subject and teacher: Anita's lessons no longer show in the teacher view.
    pick(child<QComboBox>(c, "CmbSubject"), "English ");
    QCOMPARE(c->Period(Mon1)->toolTip(), QString());
    pick(child<QComboBox>(c, "CmbTeacher"), "Bela Sen");
    click(child<QPushButton>(c, "CmdSwap"));
    QCOMPARE(c->windowTitle(), QString("Schedule of teacher Bela Sen"));
    QCOMPARE(c->Period(Mon1)->text(), QString());
    QCOMPARE(c->Period(thu4)->text(), QString("VII-A\nEnglish "));
    click(child<QPushButton>(c, "CmdSwap"));
    QCOMPARE(c->Period(sat3)->text(), QString("Chand Das\nMaths "));

    // Two lessons: both teachers' marks; without the second lesson, only the first teacher's.
    pick(child<QComboBox>(c, "CmbSubject"), "Maths ");
    pick(child<QComboBox>(c, "CmbTeacher"), "Anita Rao");
    click(child<QCheckBox>(c, "ChkAssign"));
    pick(child<QComboBox>(c, "CmbSubject2"), "English ");
    pick(child<QComboBox>(c, "CmbTeacher2"), "Bela Sen");
    QCOMPARE(back(c->Period(Mon1)), tt::ColBusy());
    QCOMPARE(back(c->Period(thu4)), tt::ColBusy());
    click(child<QCheckBox>(c, "ChkAssign"));
    QCOMPARE(back(c->Period(Mon1)), tt::ColBusy());
    QCOMPARE(back(c->Period(thu4)), tt::ColFree());
    QCOMPARE(c->Period(thu4)->toolTip(), QString());
}

void TestTimetableGuard::aLessonForTwoClassesNeedsAPeriodOfBoth()
{
    Program p;
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmTeacherSchedule *t = teacherWindow(p.main);
    pick(child<QComboBox>(t, "CmbTeacher"), "Bela Sen");
    pick(child<QComboBox>(t, "CmbSubject"), "Maths");
    pick(child<QComboBox>(t, "CmbClass"), "VI-A");
    click(child<QCheckBox>(t, "ChkAssign"));
    pick(child<QComboBox>(t, "CmbClass2"), "VI-B"); // VI-B has Saturdays, VI-A has not
    QCOMPARE(back(t->cell(Sat1)), tt::ColUnavailable());
    click(t->cell(Sat1));
    click(t->cell(Mon1));
    click(child<QPushButton>(t, "cmdAssign"));
    QCOMPARE(t->cell(Sat1)->text(), QString());
    QCOMPARE(t->cell(Mon1)->text(), QString("VI-A\nVI-B\nMaths"));
    click(child<QPushButton>(t, "cmdSave"));
    QCOMPARE(saved(S::VIA, 0, 0), QStringList{"Bela Sen"});
    QCOMPARE(saved(S::VIB, 0, 0), QStringList{"Bela Sen"});
    QCOMPARE(p.db.count("timeschedule"), 2);

    // The printed load counts that lesson once, as the editor does.
    QCOMPARE(t->dayLoad(0)->text(), QString("\n\n1"));
}

void TestTimetableGuard::theTeacherEditorKeepsRowsItDoesNotShow()
{
    Program p;
    p.s.lesson(S::VIA, 0, 0, S::Anita, S::Maths); // one lesson given to three classes
    p.s.lesson(S::VIB, 0, 0, S::Anita, S::Maths);
    p.s.lesson(S::VIIA, 0, 0, S::Anita, S::Maths);
    p.s.lesson(S::VIB, 1, 0, S::Anita, S::Maths);
    p.s.lesson(S::VIIA, 1, 0, S::Anita, S::English, true); // a substitution in the same period
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmTeacherSchedule *t = teacherWindow(p.main);
    QCOMPARE(t->windowTitle(), QString("Schedule of teacher Anita Rao"));
    pick(child<QComboBox>(t, "CmbSubject"), "Maths");
    pick(child<QComboBox>(t, "CmbClass"), "VI-A");
    click(t->cell(Wed3));
    click(child<QPushButton>(t, "cmdAssign"));
    p.log.clear();
    click(child<QPushButton>(t, "cmdSave"));
    QVERIFY2(p.log.messages.isEmpty(), qPrintable(p.log.last()));
    QCOMPARE(p.db.count("timeschedule", "teacherid = 1"), 6);
    QCOMPARE(p.db.count("timeschedule", "weekday = 0 and period = 0"), 3);
    QCOMPARE(p.db.count("timeschedule", "weekday = 1 and period = 0"), 2);
    QCOMPARE(p.db.count("timeschedule", "substitute"), 0); // written back without the mark
}

void TestTimetableGuard::chartsKeepOneBarPerRow()
{
    Program p;
    // Two planned subjects whose titles were deleted both show as "0".
    p.db.exec("insert into classsubjects values (3, 8, 2, 6), (3, 9, 3, 6)");
    QVERIFY(p.main.MDIForm_Load());
    p.main.show();
    FrmClassSchedule *c = classWindow(p.main);
    pick(child<QComboBox>(c, "CmbClass"), "VII-A");
    auto categories = [](QChartView *v) {
        for (QAbstractAxis *a : v->chart()->axes(Qt::Horizontal))
            if (auto *x = qobject_cast<QBarCategoryAxis *>(a))
                return x->categories();
        return QStringList{"no axis"};
    };
    const QStringList classBars = categories(child<QChartView>(c, "MSChart1"));
    QCOMPARE(classBars.size(), 2);
    QCOMPARE(classBars.value(0).remove(QChar(0x200B)), QString("0"));
    QCOMPARE(classBars.value(1).remove(QChar(0x200B)), QString("0"));

    // A teacher with no lessons: one bar with an empty name.
    FrmTeacherSchedule *t = teacherWindow(p.main);
    pick(child<QComboBox>(t, "CmbTeacher"), "Dev Roy");
    QCOMPARE(categories(child<QChartView>(t, "MSChart1")), QStringList{""});
    QCOMPARE(categories(child<QChartView>(t, "MSChart2")), QStringList{""});
}

QTEST_MAIN(TestTimetableGuard)
#include "tst_timetableguard.moc"
