// The curriculum windows with the master windows open beside them: a subject title or a
// teacher deleted meanwhile in another window is refused, never stored as id 0, and one
// press of Assign is stored whole or not at all.
#include "UserInput.h"
#include "WindowTestSupport.h"

#include <QLineEdit>
#include <QPushButton>

class TestStaleChoices : public QObject {
    Q_OBJECT
private slots:
    void classSubjectsRefuseWhatWasDeleted();
    void teacherSubjectsByIdAndLevels();
};

namespace {
void ClickRowAt(QListWidget *l, int row)
{
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

void Pick(QListWidget *l, const QString &text)
{
    QVERIFY2(ClickListItem(l, text), qPrintable(text));
}
} // namespace

void TestStaleChoices::classSubjectsRefuseWhatWasDeleted()
{
    TestDatabase db;
    SeedSmallSchool(db);
    LoadSubjectSnapshot();
    MessageLog log;
    std::unique_ptr<QWidget> cls(Open("MnuClassSubject"));
    std::unique_ptr<QWidget> subjects(Open("mnuSubjects"));
    QVERIFY(ShowInFront(cls.get()));
    auto *classes = Child<QListWidget>(cls.get(), "LstClass");
    auto *titles = Child<QListWidget>(cls.get(), "LstSubject");
    auto *assign = Child<QPushButton>(cls.get(), "cmdAssign");
    Pick(classes, "VII-B");
    Pick(titles, "English ");
    Pick(titles, "Science Physics");
    auto *hours = Child<QLineEdit>(cls.get(), "TxtHrs");
    QTest::mouseClick(hours, Qt::LeftButton);
    QTest::keyClicks(hours, "3");

    // Meanwhile Science Physics goes in the Subjects window.
    QVERIFY(ShowInFront(subjects.get()));
    QVERIFY(ClickRow(Child<QTreeWidget>(subjects.get(), "lvSubTitle"), "Science Physics"));
    log.answer(hx::MsgResult::Yes);
    ClickButton(Child<QPushButton>(subjects.get(), "cmdDelSubTitle"));
    QCOMPARE(db.count("subjtype", "uniqueid = 3"), 0);

    // Assign refuses it and stores nothing of the press, not even English.
    log.clear();
    QVERIFY(ShowInFront(cls.get()));
    AltKey(cls.get(), 'a', assign);
    QCOMPARE(log.texts(), QStringList{"The subject Science Physics no longer exists; nothing was assigned."});
    QCOMPARE(db.count("classsubjects", "classid = 2"), 1);
    QCOMPARE(db.count("classsubjects", "subid = 0"), 0);

    // With Chemistry instead, a failing second insert takes the first one back with it.
    Pick(titles, "Science Physics"); // unticked
    Pick(titles, "Science Chemistry");
    log.clear();
    int seen = 0;
    SetStatementFailureHook([&seen](const QString &) { return ++seen == 2; });
    AltKey(cls.get(), 'a', assign);
    SetStatementFailureHook({});
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("classsubjects", "classid = 2"), 1);

    // Without the failure both go in together.
    log.clear();
    AltKey(cls.get(), 'a', assign);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(db.count("classsubjects", "classid = 2 and subid in (2, 4) and hours = 3"), 2);
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestStaleChoices::teacherSubjectsByIdAndLevels()
{
    TestDatabase db;
    SeedSmallSchool(db);
    // An older file may still hold two teachers of one name; they are two teachers.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid, stillworking) values ('AR-02', 'Anita Rao', 4, 'Y')");
    LoadSubjectSnapshot();
    MessageLog log;
    std::unique_ptr<QWidget> pairs(Open("MnuAssignTeacher"));
    std::unique_ptr<QWidget> register_(Open("mnuTeacher"));
    QVERIFY(ShowInFront(pairs.get()));
    auto *teachers = Child<QListWidget>(pairs.get(), "LstClass");
    auto *titles = Child<QListWidget>(pairs.get(), "LstSubject");
    auto *most = Child<QComboBox>(pairs.get(), "cmbMostP");
    auto *least = Child<QComboBox>(pairs.get(), "cmbLeastP");
    auto *assign = Child<QPushButton>(pairs.get(), "cmdAssign");

    // The levels start on their prompts; a forgotten level is refused, not stored as 1.
    QCOMPARE(least->currentIndex(), -1);
    QCOMPARE(least->placeholderText(), QString("Select Least Prefered Level"));
    QCOMPARE(most->placeholderText(), QString("Select Most Prefered Level"));
    QCOMPARE(teachers->item(1)->text(), QString("Anita Rao"));
    ClickRowAt(teachers, 1); // the second Anita Rao
    Pick(titles, "Science Physics");
    AltKey(pairs.get(), 'a', assign);
    QCOMPARE(log.texts(), QStringList{"Select Least Prefered Level"});
    QCOMPARE(QApplication::focusWidget(), least);
    QCOMPARE(db.count("teachersubjects"), 2);

    most->setFocus();
    QTest::keyClicks(most, "3");
    least->setFocus();
    QTest::keyClicks(least, "9");
    log.clear();
    AltKey(pairs.get(), 'a', assign);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(db.count("teachersubjects", "teacherid = 4 and subid = 3 and mostprf = 3 and leastprf = 9"), 1);
    QCOMPARE(db.count("teachersubjects", "teacherid = 1 and subid = 3"), 0);

    // Meanwhile Chitra Nair leaves in Teachers' Details; pairs for her are refused.
    QVERIFY(ShowInFront(register_.get()));
    QVERIFY(ClickRow(Child<QTreeWidget>(register_.get(), "lvTeacherList"), "Chitra Nair(CN-01)"));
    log.answer(hx::MsgResult::Yes);
    AltKey(register_.get(), 'd', Child<QPushButton>(register_.get(), "CmdDelete"));
    QCOMPARE(db.count("teachers", "teacherid = 3"), 0);
    log.clear();
    QVERIFY(ShowInFront(pairs.get()));
    Pick(teachers, "Chitra Nair");
    Pick(titles, "English ");
    AltKey(pairs.get(), 'a', assign);
    QCOMPARE(log.texts(), QStringList{"The teacher no longer exists; nothing was assigned."});
    QCOMPARE(db.count("teachersubjects", "teacherid in (0, 3)"), 0);
    QCOMPARE(db.count("teachersubjects", "subid = 2"), 1); // Bimal's English only
    QCOMPARE(log.unexpectedQuestions, 0);
}

QTEST_MAIN(TestStaleChoices)
#include "tst_stalechoices.moc"
