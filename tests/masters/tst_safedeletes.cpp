// Deletes and removals act on the item the user has highlighted and names it; what would be
// lost is said before, and a refusal says why.
#include "FrmClassSection.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "frmSubject.h"
#include "frmTeacher.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestSafeDeletes : public QObject {
    Q_OBJECT
private slots:
    void subjectDeleteNamesWhatItDeletes();
    void subjectGroupRefusalsSayWhy();
    void classSectionRemovalAsksFirst();
    void teacherListFollowsTheKeyboard();
};

namespace {
void SeedSubjects(TestDatabase &db)
{
    db.exec("insert into subjects (subname, subid) values ('Maths', 1), ('Music', 2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (1, 'Algebra', 2), (2, '', 3)");
    LoadSubjectSnapshot();
}
} // namespace

void TestSafeDeletes::subjectDeleteNamesWhatItDeletes()
{
    TestDatabase db;
    SeedSubjects(db);
    MessageLog log;
    frmSubject w;
    QVERIFY(ShowInFront(&w));
    auto *grp = w.findChild<QLineEdit *>("txtSubGrp");
    auto *title = w.findChild<QLineEdit *>("txtSubTitle");
    auto *groups = w.findChild<QTreeWidget *>("lvSubGrp");
    auto *titles = w.findChild<QTreeWidget *>("lvSubTitle");
    auto *delGrp = w.findChild<QPushButton *>("cmdDelSubGrp");
    auto *delTitle = w.findChild<QPushButton *>("cmdDelSubTitle");

    // Maths picked, then "Mu" typed: the list shows Music only and nothing is chosen, so
    // Delete cannot take Maths away under Music's name.
    QVERIFY(ClickRow(groups, "Maths"));
    QVERIFY(delGrp->isEnabled());
    Retype(grp, "Mu");
    QCOMPARE(groups->topLevelItemCount(), 1);
    QVERIFY(!delGrp->isEnabled());
    ClickButton(delGrp);
    QVERIFY(log.messages.isEmpty());
    // Music picked: the question names Music, and No leaves both groups.
    QVERIFY(ClickRow(groups, "Music"));
    log.answer(hx::MsgResult::No);
    ClickButton(delGrp);
    QCOMPARE(log.last(), QString("Are you sure you want to delete 'Music' subject group"));
    QCOMPARE(db.count("subjects"), 2);

    // The same for titles: typing over a picked title takes the pick away.
    ClickButton(w.findChild<QPushButton *>("CmdShowAll"));
    QVERIFY(!delGrp->isEnabled());
    QVERIFY(ClickRow(groups, "Maths"));
    QVERIFY(ClickRow(titles, "Maths Algebra"));
    QVERIFY(delTitle->isEnabled());
    Retype(title, "X");
    QVERIFY(!delTitle->isEnabled());

    // Arrow keys move the pick with the highlight: Down from Maths is Music.
    ClickButton(w.findChild<QPushButton *>("CmdShowAll"));
    QVERIFY(ClickRow(groups, "Maths"));
    QTest::keyClick(groups, Qt::Key_Down);
    QCOMPARE(grp->text(), QString("Music"));
    log.answer(hx::MsgResult::No);
    ClickButton(delGrp);
    QCOMPARE(log.last(), QString("Are you sure you want to delete 'Music' subject group"));

    // A group just added is the one chosen, and the question names it (not '').
    Retype(grp, "Art");
    QTest::keyClick(grp, Qt::Key_Return);
    QCOMPARE(db.count("subjects", "subname = 'Art'"), 1);
    QVERIFY(delGrp->isEnabled());
    log.answer(hx::MsgResult::Yes);
    ClickButton(delGrp);
    QCOMPARE(log.last(), QString("Are you sure you want to delete 'Art' subject group"));
    QCOMPARE(db.count("subjects", "subname = 'Art'"), 0);
    QCOMPARE(db.count("subjects"), 2);
    QCOMPARE(db.count("subjtype", "subid in (1, 2)"), 3);
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestSafeDeletes::subjectGroupRefusalsSayWhy()
{
    TestDatabase db;
    SeedSubjects(db);
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    db.exec("insert into classsubjects (classid, subid, hours, level1) values (1, 2, 5, 7)");
    db.exec("insert into subjects (subname, subid) values ('Drawing', 3)"); // its titles all deleted
    LoadSubjectSnapshot();
    MessageLog log;
    frmSubject w;
    QVERIFY(ShowInFront(&w));
    auto *groups = w.findChild<QTreeWidget *>("lvSubGrp");
    auto *delGrp = w.findChild<QPushButton *>("cmdDelSubGrp");

    // Maths Algebra is taught in VII-A: the refusal says so, and the pick stays on show.
    QVERIFY(ClickRow(groups, "Maths"));
    ClickButton(delGrp);
    QCOMPARE(log.texts(), QStringList{SubjectBook::groupInUseMessage()});
    QCOMPARE(log.messages.last().title, QString("Subject"));
    QCOMPARE(w.findChild<QLineEdit *>("txtSubGrp")->text(), QString("Maths"));
    QVERIFY(delGrp->isEnabled());
    QCOMPARE(db.count("subjtype", "subid = 1"), 2);

    // A group left without titles is asked about and deleted like any other.
    log.clear();
    QVERIFY(ClickRow(groups, "Drawing"));
    log.answer(hx::MsgResult::Yes);
    ClickButton(delGrp);
    QCOMPARE(log.texts(), QStringList{"Are you sure you want to delete 'Drawing' subject group"});
    QCOMPARE(db.count("subjects", "subid = 3"), 0);
}

void TestSafeDeletes::classSectionRemovalAsksFirst()
{
    TestDatabase db;
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10), ('VII', 'B', 10)");
    db.exec("insert into classsubjects (classid, subid, hours, level1) values (1, 1, 6, 7), (1, 2, 4, 7)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 0, 0),"
            " (1, 1, 1, 1, 0), (2, 2, 1, 0, 1)");
    MessageLog log;
    FrmClassSection w;
    QVERIFY(ShowInFront(&w));
    auto *list = w.findChild<QTreeWidget *>("LvwCS");
    auto *remove = w.findChild<QPushButton *>("cmdDel");
    QVERIFY(ClickRow(list, "VII-A"));
    QVERIFY(ClickRow(list, "VII-B", Qt::ControlModifier));

    // No keeps both and the week of VII-A.
    log.answer(hx::MsgResult::No);
    AltKey(&w, 'r', remove);
    QCOMPARE(log.messages.size(), 1);
    const hx::ShownMessage asked = log.messages.last();
    QCOMPARE(asked.buttons, hx::MsgButtons::YesNo);
    QCOMPARE(asked.icon, hx::MsgIcon::Question);
    QVERIFY2(asked.text.startsWith("Do you want to remove VII-A, VII-B?"), qPrintable(asked.text));
    QVERIFY2(asked.text.contains("VII-A has 3 lesson(s) in the timetable and 2 subject(s) assigned."),
             qPrintable(asked.text));
    QVERIFY(!asked.text.contains("VII-B has"));
    QCOMPARE(db.count("classsection"), 2);
    QCOMPARE(list->topLevelItemCount(), 2);

    log.answer(hx::MsgResult::Yes);
    AltKey(&w, 'r', remove);
    QCOMPARE(db.count("classsection"), 0);
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestSafeDeletes::teacherListFollowsTheKeyboard()
{
    TestDatabase db;
    db.exec("insert into teachers (uniqueid, Teachername, gender, bloodgroup, maritalstatus, dob, doj, teacherid,"
            " stillworking) values ('AR-01', 'Anita Rao', 'Male', 'B+', 'Single', '1980-01-01', '2010-01-01', 1, 'Y'),"
            " ('BD-01', 'Bimal Das', NULL, NULL, NULL, '1981-01-01', '2011-01-01', 2, 'Y'),"
            " ('CN-01', 'Chitra Nair', 'Female', 'O+', 'Married', '1982-01-01', '2012-01-01', 3, 'Y')");
    MessageLog log;
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    auto *list = w.findChild<QTreeWidget *>("lvTeacherList");
    auto *name = w.findChild<QLineEdit *>("txtTeacherName");
    auto *del = w.findChild<QPushButton *>("CmdDelete");
    auto *next = w.findChild<QPushButton *>("cmdNext");
    auto *save = w.findChild<QPushButton *>("cmdSave");
    QCOMPARE(name->text(), QString("Anita Rao"));
    QVERIFY(!del->isEnabled());

    // Next picks the next teacher, and Delete may act on it.
    AltKey(&w, 'n', next);
    QCOMPARE(name->text(), QString("Bimal Das"));
    QVERIFY(del->isEnabled());
    // Bimal has no gender, blood group or marital status: the boxes show none, not Anita's.
    QCOMPARE(w.findChild<QComboBox *>("cmbGender")->currentText(), QString());
    QCOMPARE(w.findChild<QComboBox *>("cmbBloodgroup")->currentText(), QString());
    QCOMPARE(w.findChild<QComboBox *>("cmbMaritalStatus")->currentText(), QString());

    // Arrow keys in the list load the highlighted teacher; Delete then names and removes her.
    QVERIFY(ClickRow(list, "Anita Rao(AR-01)"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(name->text(), QString("Chitra Nair"));
    log.answer(hx::MsgResult::No);
    AltKey(&w, 'd', del);
    QCOMPARE(log.last(), QString("Do you want to delete information of Chitra Nair"));

    // A save reloads the teacher in the same place, ready to be deleted too.
    w.findChild<QLineEdit *>("txtCity")->setFocus();
    QTest::keyClicks(w.findChild<QLineEdit *>("txtCity"), "pur");
    AltKey(&w, 's', save);
    QCOMPARE(db.count("teachers", "teacherid = 3 and city like '%pur'"), 1);
    QCOMPARE(name->text(), QString("Chitra Nair"));
    QVERIFY(del->isEnabled());

    // A new teacher: the code comes from the name as it is when Save is pressed, and a name
    // of one letter is that letter in capitals.
    AltKey(&w, 'c', w.findChild<QPushButton *>("cmdCancel"));
    QVERIFY(!del->isEnabled());
    Retype(name, "ab");
    Retype(name, "s"); // typed after "Ab" it comes lower case, yet alone it is a capital
    QCOMPARE(name->text(), QString("S"));
    QTest::keyClick(name, Qt::Key_Tab); // the code follows the name left behind
    QCOMPARE(w.findChild<QLineEdit *>("txtUniqueID")->text(), QString("S-01"));
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("dtpDOB"), QDate(1990, 3, 4)));
    Retype(name, "ravi kumar");
    QCOMPARE(name->text(), QString("Ravi Kumar"));
    AltKey(&w, 's', save);
    QCOMPARE(db.count("teachers", "uniqueid = 'RK-01' and teachername = 'Ravi Kumar'"), 1);
    QCOMPARE(log.unexpectedQuestions, 0);
}

QTEST_MAIN(TestSafeDeletes)
#include "tst_safedeletes.moc"
