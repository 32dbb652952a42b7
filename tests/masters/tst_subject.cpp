#include "SubjectBook.h"
#include "frmSubject.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using Out = SubjectBook::Outcome;

class TestSubject : public QObject {
    Q_OBJECT
private slots:
    void groupsGetBlankTitleAndNextId();
    void duplicatesCompareStoredText();
    void searchTreatsWildcardsLiterally();
    void titleInUseIsKept();
    void groupDeletionTakesItsTitles();
    void windowAddsSearchesAndDeletes();
};

static QStringList texts(const QVector<SubjectItem> &v)
{
    QStringList out;
    for (const auto &i : v)
        out << i.text;
    return out;
}

void TestSubject::groupsGetBlankTitleAndNextId()
{
    TestDatabase db;
    MessageLog log;
    int id = 0;
    QCOMPARE(SubjectBook::saveGroup("  Maths ", &id), Out::Saved);
    QCOMPARE(id, 1);
    QCOMPARE(db.count("subjects", "subname = 'Maths'"), 1);
    QCOMPARE(db.count("subjtype", "subid = 1 and subtype = ''"), 1);
    QCOMPARE(texts(SubjectBook::allTitles()), QStringList{"Maths "});
    QCOMPARE(RsSubjects.RecordCount(), 1); // the snapshot follows the change

    QCOMPARE(SubjectBook::saveGroup("English", &id), Out::Saved);
    QCOMPARE(id, 2);
    // the top id of a deleted group is given again
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeGroup(2, "English"), Out::Saved);
    QCOMPARE(SubjectBook::saveGroup("Hindi", &id), Out::Saved);
    QCOMPARE(id, 2);
    // blank text adds nothing
    QCOMPARE(SubjectBook::saveGroup("   "), Out::Nothing);
    QCOMPARE(db.count("subjects"), 2);
    QVERIFY(log.texts().isEmpty() || !log.contains("This Subject Group Already Exist"));
}

// A title needs a group; duplicates compare the stored text; quotes and letters are kept.
void TestSubject::duplicatesCompareStoredText()
{
    TestDatabase db;
    MessageLog log;
    QCOMPARE(SubjectBook::saveTitle(0, "Algebra"), Out::NoGroup);
    QCOMPARE(SubjectBook::saveTitle(7, "Algebra"), Out::NoGroup);
    QCOMPARE(db.count("subjtype"), 0);
    QCOMPARE(log.messages.size(), 2);
    QCOMPARE(log.messages.last().title, QString("Subject"));

    QCOMPARE(SubjectBook::saveGroup("Maths"), Out::Saved);
    QCOMPARE(SubjectBook::saveGroup("Maths "), Out::Duplicate);
    QCOMPARE(SubjectBook::saveGroup("maths"), Out::Duplicate);
    QCOMPARE(log.last(), QString("This Subject Group Already Exist"));
    QCOMPARE(log.messages.last().title, QString("Subject"));
    QCOMPARE(log.messages.last().icon, hx::MsgIcon::Information);
    QCOMPARE(db.count("subjects"), 1);

    QCOMPARE(SubjectBook::saveTitle(1, "Algebra"), Out::Saved);
    QCOMPARE(SubjectBook::saveTitle(1, " Algebra "), Out::Duplicate);
    QCOMPARE(log.last(), QString("Subject Title for this Subject Group Already Exist"));
    // the blank title exists already
    QCOMPARE(SubjectBook::saveTitle(1, ""), Out::Duplicate);
    QCOMPARE(db.count("subjtype"), 2);
    QCOMPARE(texts(SubjectBook::titlesOfGroup(1)), (QStringList{"Maths ", "Maths Algebra"}));

    QCOMPARE(SubjectBook::saveGroup("Children's Lit?"), Out::Saved);
    QCOMPARE(SubjectBook::saveTitle(2, "हिन्दी 'B'"), Out::Saved);
    QCOMPARE(texts(SubjectBook::titlesOfGroup(2)), (QStringList{"Children's Lit? ", "Children's Lit? हिन्दी 'B'"}));
    QCOMPARE(texts(SubjectBook::matchGroups("Children's")), QStringList{"Children's Lit?"});
    QCOMPARE(SubjectBook::saveGroup("Children's Lit?"), Out::Duplicate);
}

void TestSubject::searchTreatsWildcardsLiterally()
{
    TestDatabase db;
    MessageLog log;
    for (const char *n : {"Maths", "Music", "100% Art", "1000 Art", "a_b", "axb"})
        QCOMPARE(SubjectBook::saveGroup(n), Out::Saved);
    QCOMPARE(texts(SubjectBook::matchGroups(" m")), (QStringList{"Maths", "Music"}));
    QCOMPARE(texts(SubjectBook::matchGroups("100%")), QStringList{"100% Art"});
    QCOMPARE(texts(SubjectBook::matchGroups("a_")), QStringList{"a_b"});
    QVERIFY(SubjectBook::matchGroups("'; drop table subjects; --").isEmpty());
    QCOMPARE(db.count("subjects"), 6);

    QCOMPARE(SubjectBook::saveTitle(1, "Algebra"), Out::Saved);
    QCOMPARE(SubjectBook::saveTitle(1, "Arithmetic"), Out::Saved);
    QCOMPARE(SubjectBook::saveTitle(2, "Algebra"), Out::Saved);
    QCOMPARE(texts(SubjectBook::matchTitles(1, "al")), QStringList{"Algebra"});
    QCOMPARE(texts(SubjectBook::matchTitles(1, "A")), (QStringList{"Algebra", "Arithmetic"}));
    QCOMPARE(SubjectBook::allTitles().size(), 9);
    QCOMPARE(SubjectBook::titlesOfGroup(1).size(), 3);
}

void TestSubject::titleInUseIsKept()
{
    TestDatabase db;
    MessageLog log;
    SubjectBook::saveGroup("Maths");
    SubjectBook::saveTitle(1, "Algebra");
    const int algebra = QueryValue("select uniqueid from subjtype where subtype='Algebra'").toInt();
    db.exec("insert into classsubjects values (1, ?, 5, 1)", {algebra});
    // teacher subjects and the timetable do not keep a title
    db.exec("insert into teachersubjects values (1, 1, 1, 1)");

    QCOMPARE(SubjectBook::removeTitle(algebra, "Maths Algebra"), Out::InUse);
    QCOMPARE(log.last(), QString("This Subject Type is being used in a Class therefore cannot be Deleted"));
    QCOMPARE(log.messages.last().title, QString("Subject"));
    QCOMPARE(db.count("subjtype"), 2);

    // a group with a title in use stays, and the user is told why
    log.clear();
    QCOMPARE(SubjectBook::removeGroup(1, "Maths"), Out::InUse);
    QCOMPARE(log.texts(), QStringList{SubjectBook::groupInUseMessage()});
    QCOMPARE(db.count("subjects"), 1);

    log.answer(hx::MsgResult::No);
    QCOMPARE(SubjectBook::removeTitle(1, "Maths "), Out::Cancelled);
    QCOMPARE(log.last(), QString("Are you sure you want to delete 'Maths ' subject title"));
    QCOMPARE(db.count("subjtype"), 2);
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeTitle(1, "Maths "), Out::Saved);
    QCOMPARE(db.count("subjtype"), 1);
}

void TestSubject::groupDeletionTakesItsTitles()
{
    TestDatabase db;
    MessageLog log;
    SubjectBook::saveGroup("Maths");
    SubjectBook::saveTitle(1, "Algebra");
    SubjectBook::saveGroup("Music");

    log.answer(hx::MsgResult::No);
    QCOMPARE(SubjectBook::removeGroup(1, "Maths"), Out::Cancelled);
    QCOMPARE(log.last(), QString("Are you sure you want to delete 'Maths' subject group"));
    QCOMPARE(db.count("subjtype", "subid = 1"), 2);

    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeGroup(1, "Maths"), Out::Saved);
    QCOMPARE(db.count("subjtype", "subid = 1"), 0);
    QCOMPARE(db.count("subjects"), 1);
    QCOMPARE(db.count("subjtype"), 1);

    // a group whose titles were all deleted can be deleted too, after the question
    db.exec("delete from subjtype where subid = 2");
    log.clear();
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeGroup(2, "Music"), Out::Saved);
    QCOMPARE(log.texts(), QStringList{"Are you sure you want to delete 'Music' subject group"});
    QCOMPARE(db.count("subjects"), 0);

    // a failing second delete leaves the titles in place too
    int music = 0;
    QCOMPARE(SubjectBook::saveGroup("Music", &music), Out::Saved);
    db.exec("create trigger keep before delete on subjects begin select raise(abort, 'kept'); end");
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeGroup(music, "Music"), Out::Failed);
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("subjtype", "subid = ?", {music}), 1);
    QCOMPARE(db.count("subjects"), 1);
}

static QStringList column0(QTreeWidget *lv)
{
    QStringList out;
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        out << lv->topLevelItem(i)->text(0);
    return out;
}

void TestSubject::windowAddsSearchesAndDeletes()
{
    TestDatabase db;
    MessageLog log;
    frmSubject w;
    QVERIFY(ShowInFront(&w));
    auto *grp = w.findChild<QLineEdit *>("txtSubGrp");
    auto *title = w.findChild<QLineEdit *>("txtSubTitle");
    auto *lvGrp = w.findChild<QTreeWidget *>("lvSubGrp");
    auto *lvTitle = w.findChild<QTreeWidget *>("lvSubTitle");
    auto *add = w.findChild<QPushButton *>("cmdAdd");
    auto *addTitle = w.findChild<QPushButton *>("cmdAddSubTitle");
    auto *delGrp = w.findChild<QPushButton *>("cmdDelSubGrp");
    auto *delTitle = w.findChild<QPushButton *>("cmdDelSubTitle");
    QVERIFY(grp && title && lvGrp && lvTitle && add && addTitle && delGrp && delTitle);
    QCOMPARE(w.windowTitle(), QString("Subjects"));
    QVERIFY(!delGrp->isEnabled() && !delTitle->isEnabled());

    // One group added with its button, the next with Enter in the box.
    Retype(grp, "Maths");
    input::Click(add);
    Retype(grp, "Music");
    QTest::keyClick(grp, Qt::Key_Return);
    QCOMPARE(column0(lvGrp), (QStringList{"Maths", "Music"}));
    QVERIFY(grp->text().isEmpty());

    // a title typed with no group clicked is refused
    Retype(grp, "Ma");
    Retype(title, "Algebra");
    input::Click(addTitle);
    QCOMPARE(log.messages.last().title, QString("Subject"));
    QCOMPARE(db.count("subjtype"), 2);

    Retype(grp, "mu");
    QCOMPARE(column0(lvGrp), QStringList{"Music"});
    Type(grp, "x"); // no match keeps the list
    QCOMPARE(column0(lvGrp), QStringList{"Music"});
    Retype(grp, "");
    QVERIFY(ClickRow(lvGrp, "Maths"));
    QCOMPARE(grp->text(), QString("Maths"));
    QCOMPARE(column0(lvGrp).size(), 2); // the click does not search
    QVERIFY(delGrp->isEnabled());
    Retype(title, "Algebra");
    input::Click(addTitle);
    Retype(title, "Arithmetic");
    QTest::keyClick(title, Qt::Key_Enter);
    QCOMPARE(column0(lvTitle), (QStringList{"Maths ", "Maths Algebra", "Maths Arithmetic"}));

    // after a click on a title, the next keystroke searches again
    Retype(title, "Al");
    QCOMPARE(column0(lvTitle), QStringList{"Algebra"});
    QVERIFY(ClickRow(lvTitle, "Algebra"));
    QCOMPARE(title->text(), QString("Algebra"));
    Retype(title, "Ar");
    QCOMPARE(column0(lvTitle), QStringList{"Arithmetic"});
    QVERIFY(ClickRow(lvTitle, "Arithmetic"));
    QVERIFY(ClickRow(lvTitle, "Arithmetic")); // same text again: no change reaction
    Retype(title, "A");
    QCOMPARE(column0(lvTitle), (QStringList{"Algebra", "Arithmetic"}));

    // delete the selected title
    QVERIFY(ClickRow(lvTitle, "Arithmetic"));
    log.answer(hx::MsgResult::Yes);
    input::Click(delTitle);
    QCOMPARE(log.messages.last().text, QString("Are you sure you want to delete 'Arithmetic' subject title"));
    QCOMPARE(db.count("subjtype", "subtype = 'Arithmetic'"), 0);
    QVERIFY(!delTitle->isEnabled());

    // delete both groups: both lists end empty
    for (const char *name : {"Maths", "Music"}) {
        QVERIFY(ClickRow(lvGrp, name));
        log.answer(hx::MsgResult::Yes);
        input::Click(delGrp);
    }
    QCOMPARE(log.unexpectedQuestions, 0);
    QCOMPARE(lvGrp->topLevelItemCount(), 0);
    QCOMPARE(lvTitle->topLevelItemCount(), 0);
    QCOMPARE(db.count("subjects") + db.count("subjtype"), 0);
    QVERIFY(grp->text().isEmpty() && title->text().isEmpty());
}

QTEST_MAIN(TestSubject)
#include "tst_subject.moc"
