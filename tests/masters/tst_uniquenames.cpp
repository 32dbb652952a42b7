// A deleted teacher's week stays his: ids are not handed on while rows refer to them. Names
// that a person reads as the same (letter case of any alphabet, blanks around) are one name.
#include "Lookups.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "frmSubject.h"
#include "frmTeacher.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestUniqueNames : public QObject {
    Q_OBJECT
private slots:
    void newTeacherNeverTakesADeletedTeachersWeek();
    void teacherNamesAreUnique();
    void subjectNamesAreUnique();
};

namespace {
void AddTeacher(frmTeacher &w, const QString &name)
{
    auto *cancel = w.findChild<QPushButton *>("cmdCancel");
    if (cancel->text() == "&Cancel")
        AltKey(&w, 'c', cancel);
    Retype(w.findChild<QLineEdit *>("txtTeacherName"), name);
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("dtpDOB"), QDate(1984, 5, 6)));
    AltKey(&w, 's', w.findChild<QPushButton *>("cmdSave"));
}
} // namespace

void TestUniqueNames::newTeacherNeverTakesADeletedTeachersWeek()
{
    TestDatabase db;
    MessageLog log;
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    AddTeacher(w, "Anita Rao");
    AddTeacher(w, "Bimal Das");
    const int bimal = TeacherIdByName("Bimal Das");
    QCOMPARE(bimal, 2);
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (2, 1, 1, 0, 0)");
    db.exec("insert into teacherattendence values (2, 'Leave', 0, 8, '2026-12-01', '2026-12-02')");

    // Bimal, the last one added, leaves; his lessons and leave stay behind.
    QVERIFY(ClickRow(w.findChild<QTreeWidget *>("lvTeacherList"), "Bimal Das(BD-01)"));
    log.answer(hx::MsgResult::Yes);
    AltKey(&w, 'd', w.findChild<QPushButton *>("CmdDelete"));
    QCOMPARE(db.count("teachers", "teacherid = 2"), 0);

    // The next teacher gets a number of her own, not Bimal's week.
    AddTeacher(w, "Chitra Nair");
    QCOMPARE(TeacherIdByName("Chitra Nair"), 3);
    QCOMPARE(db.count("timeschedule", "teacherid = 3"), 0);
    QCOMPARE(log.unexpectedQuestions, 0);
}

void TestUniqueNames::teacherNamesAreUnique()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into teachers (uniqueid, Teachername, dob, doj, teacherid, stillworking) values"
            " ('ÉM-01', 'élodie martin', '1980-01-01', '2010-01-01', 1, 'Y'),"
            " ('RK-01', 'Ram Kumar', '1980-01-01', '2010-01-01', 2, 'Y')");
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    auto *name = w.findChild<QLineEdit *>("txtTeacherName");

    // The same name in other letters and with blanks around it is refused, with the focus on it.
    AddTeacher(w, "Élodie Martin ");
    QCOMPARE(log.texts(), QStringList{TeacherRegister::DuplicateNameMessage()});
    QCOMPARE(log.messages.last().title, QString("Invalid Data"));
    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(db.count("teachers"), 2);
    // Look-ups find her whatever the case of the accented letter.
    QCOMPARE(TeacherIdByName("ÉLODIE MARTIN"), 1);

    // Renaming Ram to Élodie's name is refused as well; his own name in capitals is his.
    log.clear();
    QVERIFY(ClickRow(w.findChild<QTreeWidget *>("lvTeacherList"), "Ram Kumar(RK-01)"));
    Retype(name, "élodie martin");
    QCOMPARE(name->text(), QString("Élodie Martin"));
    AltKey(&w, 's', w.findChild<QPushButton *>("cmdSave"));
    QCOMPARE(log.texts(), QStringList{TeacherRegister::DuplicateNameMessage()});
    QCOMPARE(db.count("teachers", "teacherid = 2 and Teachername = 'Ram Kumar'"), 1);
    log.clear();
    QVERIFY(TeacherRegister::NameIsFree("RAM KUMAR", 2));
    QVERIFY(log.messages.isEmpty());
}

void TestUniqueNames::subjectNamesAreUnique()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into subjects (subname, subid) values ('Éveil', 1), ('Art', 2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (1, 'Algebra', 2), (2, '', 3)");
    LoadSubjectSnapshot();
    frmSubject w;
    QVERIFY(ShowInFront(&w));
    auto *grp = w.findChild<QLineEdit *>("txtSubGrp");
    auto *title = w.findChild<QLineEdit *>("txtSubTitle");

    // Searching finds the group whatever the case of its first letter.
    Retype(grp, "év");
    QCOMPARE(w.findChild<QTreeWidget *>("lvSubGrp")->topLevelItemCount(), 1);
    Retype(grp, " éVEIL ");
    QTest::keyClick(grp, Qt::Key_Return);
    QCOMPARE(log.texts(), QStringList{"This Subject Group Already Exist"});
    QCOMPARE(QApplication::focusWidget(), grp);
    QCOMPARE(db.count("subjects"), 2);

    // "algebra" beside "Algebra" is the same title.
    log.clear();
    ClickButton(w.findChild<QPushButton *>("CmdShowAll"));
    QVERIFY(ClickRow(w.findChild<QTreeWidget *>("lvSubGrp"), "Éveil"));
    Retype(title, "algebra ");
    QTest::keyClick(title, Qt::Key_Return);
    QCOMPARE(log.texts(), QStringList{"Subject Title for this Subject Group Already Exist"});
    QCOMPARE(QApplication::focusWidget(), title);
    QCOMPARE(db.count("subjtype"), 3);

    // A new group's id stays clear of titles left behind under an old one.
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (7, 'Left', 9)");
    int id = 0;
    QCOMPARE(SubjectBook::saveGroup("Music", &id), SubjectBook::Outcome::Saved);
    QCOMPARE(id, 8);
}

QTEST_MAIN(TestUniqueNames)
#include "tst_uniquenames.moc"
