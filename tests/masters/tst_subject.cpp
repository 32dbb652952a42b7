#include "SubjectBook.h"
#include "TestSupport.h"

#include <QTest>

using Out = SubjectBook::Outcome;

class TestSubject : public QObject {
    Q_OBJECT
private slots:
    void groupsGetBlankTitleAndNextId();
    void duplicatesCompareStoredText();
    void titleNeedsAGroup();
    void searchTreatsWildcardsLiterally();
    void titleInUseIsKept();
    void groupDeletionTakesItsTitles();
    void quotesAndLettersKept();
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

void TestSubject::duplicatesCompareStoredText()
{
    TestDatabase db;
    MessageLog log;
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
}

void TestSubject::titleNeedsAGroup()
{
    TestDatabase db;
    MessageLog log;
    QCOMPARE(SubjectBook::saveTitle(0, "Algebra"), Out::NoGroup);
    QCOMPARE(SubjectBook::saveTitle(7, "Algebra"), Out::NoGroup);
    QCOMPARE(db.count("subjtype"), 0);
    QCOMPARE(log.messages.size(), 2);
    QCOMPARE(log.messages.last().title, QString("Subject"));
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

    // a group with a title in use stays, silently
    log.clear();
    QCOMPARE(SubjectBook::removeGroup(1, "Maths"), Out::InUse);
    QVERIFY(log.messages.isEmpty());
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

    // a group without titles is left alone without a word
    db.exec("delete from subjtype where subid = 2");
    log.clear();
    QCOMPARE(SubjectBook::removeGroup(2, "Music"), Out::Nothing);
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(db.count("subjects"), 1);

    // a failing second delete leaves the titles in place too
    db.exec("insert into subjtype (subid, subtype) values (2, '')");
    db.exec("create trigger keep before delete on subjects begin select raise(abort, 'kept'); end");
    log.answer(hx::MsgResult::Yes);
    QCOMPARE(SubjectBook::removeGroup(2, "Music"), Out::Failed);
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("subjtype", "subid = 2"), 1);
    QCOMPARE(db.count("subjects"), 1);
}

void TestSubject::quotesAndLettersKept()
{
    TestDatabase db;
    MessageLog log;
    QCOMPARE(SubjectBook::saveGroup("Children's Lit?"), Out::Saved);
    QCOMPARE(SubjectBook::saveTitle(1, "हिन्दी 'B'"), Out::Saved);
    QCOMPARE(texts(SubjectBook::titlesOfGroup(1)), (QStringList{"Children's Lit? ", "Children's Lit? हिन्दी 'B'"}));
    QCOMPARE(texts(SubjectBook::matchGroups("Children's")), QStringList{"Children's Lit?"});
    QCOMPARE(SubjectBook::saveGroup("Children's Lit?"), Out::Duplicate);
}

QTEST_MAIN(TestSubject)
#include "tst_subject.moc"
