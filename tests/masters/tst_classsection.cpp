#include "ClassSectionList.h"
#include "FrmClassSection.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class TestClassSection : public QObject {
    Q_OBJECT
private slots:
    void loadsClassesAndExistingRows();
    void assignCombinations();
    void assignWithoutSectionOrClass();
    void assignFailureKeepsNothing();
    void removeSelected();
    void windowControlsAssignAndRemove();

private:
    static QTreeWidget *tree(QWidget &w, const char *name) { return w.findChild<QTreeWidget *>(name); }
    static QPushButton *push(QWidget &w, const char *name) { return w.findChild<QPushButton *>(name); }
    static QStringList items(QTreeWidget *t)
    {
        QStringList out;
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            out << t->topLevelItem(i)->text(0);
        return out;
    }
    static int ticked(QTreeWidget *t)
    {
        int n = 0;
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            n += t->topLevelItem(i)->checkState(0) == Qt::Checked;
        return n;
    }
    static void tick(QTreeWidget *t, const QString &text)
    {
        QVERIFY2(ToggleTick(t, text), qPrintable(text));
        QCOMPARE(RowWithText(t, text)->checkState(0), Qt::Checked);
    }
    static int row(const ClassSectionList &l, const QString &name)
    {
        for (int i = 0; i < l.classes().size(); ++i)
            if (l.classes().at(i).name == name)
                return i;
        return -1;
    }
    static QStringList stored(TestDatabase &)
    {
        QStringList out;
        Recordset rs = OpenRecordset("select class, section, sortorder from classsection order by classid");
        for (; !rs.eof(); rs.moveNext())
            out << QString("%1|%2|%3").arg(rs.text("class"), rs.isNull("section") ? "NULL" : rs.text("section"))
                       .arg(rs.integer("sortorder"));
        return out;
    }
};

void TestClassSection::loadsClassesAndExistingRows()
{
    TestDatabase db;
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10)");
    db.exec("insert into classsection (class, section, sortorder) values ('VI', NULL, 9)");
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10)");
    ClassSectionList l;
    l.load();
    QCOMPARE(l.classes().size(), 15);
    QCOMPARE(l.classes().first().name, QString("Nursery"));
    QCOMPARE(l.classes().at(row(l, "XII")).sortOrder, 15);
    // By sort order; a missing section shows as the class and a hyphen.
    QCOMPARE(l.classSections(), QStringList({"VI-", "VII-B", "VII-A"}));
    QVERIFY(l.FindClassSec("VII-A"));
    QVERIFY(!l.FindClassSec("vii-a"));
    QVERIFY(!l.FindClassSec("VII"));
    QCOMPARE(ClassSectionList::sections().join(""), QString("ABCDEFG"));
}

void TestClassSection::assignCombinations()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (class, section, sortorder) values ('IX', 'B', 12)");
    ClassSectionList l;
    l.load();
    QStringList added;
    // Sections in list order whatever order they were ticked in; the existing IX-B is skipped
    // silently and the rest of the click still goes in; the sort order is the class's.
    QCOMPARE(l.assign({row(l, "X"), row(l, "IX")}, {"C", "B", "A"}, &added), ClassSectionList::AssignResult::Done);
    QCOMPARE(added, QStringList({"IX-A", "IX-C", "X-A", "X-B", "X-C"}));
    QCOMPARE(l.classSections(), QStringList({"IX-B", "IX-A", "IX-C", "X-A", "X-B", "X-C"}));
    QCOMPARE(stored(db), QStringList({"IX|B|12", "IX|A|12", "IX|C|12", "X|A|13", "X|B|13", "X|C|13"}));
    QVERIFY(log.texts().isEmpty());

    // Everything already there: nothing written, no message.
    QCOMPARE(l.assign({row(l, "X")}, {"A", "B"}, &added), ClassSectionList::AssignResult::Done);
    QVERIFY(added.isEmpty());
    QCOMPARE(db.count("classsection"), 6);
    QVERIFY(log.texts().isEmpty());

    // Names with quotes or question marks are stored as they are.
    db.exec("insert into Class (Class, SortOrder) values ('Pre''s ?', 20)");
    l.load();
    QCOMPARE(l.assign({row(l, "Pre's ?")}, {"G"}, &added), ClassSectionList::AssignResult::Done);
    QCOMPARE(added, QStringList({"Pre's ?-G"}));
    QCOMPARE(db.count("classsection", "class = ? and section = 'G' and sortorder = 20", {"Pre's ?"}), 1);
}

void TestClassSection::assignWithoutSectionOrClass()
{
    TestDatabase db;
    MessageLog log;
    ClassSectionList l;
    l.load();
    QStringList added;
    QCOMPARE(l.assign({}, {"A", "B"}, &added), ClassSectionList::AssignResult::NoClass);
    QCOMPARE(log.texts(), QStringList({"Please select at least 1 class to assign!"}));
    QCOMPARE(db.count("classsection"), 0);

    log.clear();
    QCOMPARE(l.assign({row(l, "LKG"), row(l, "I")}, {}, &added), ClassSectionList::AssignResult::Done);
    QCOMPARE(added, QStringList({"LKG-", "I-"}));
    QCOMPARE(db.count("classsection", "section = '' and class in ('LKG', 'I')"), 2);
    // The empty section is found the next time: no second row.
    QCOMPARE(l.assign({row(l, "LKG")}, {}, &added), ClassSectionList::AssignResult::Done);
    QCOMPARE(db.count("classsection"), 2);

    // A row stored without any section counts as the same class-section.
    db.exec("insert into classsection (class, section, sortorder) values ('UKG', NULL, 3)");
    l.load();
    QCOMPARE(l.assign({row(l, "UKG")}, {}, &added), ClassSectionList::AssignResult::Done);
    QVERIFY(added.isEmpty());
    QCOMPARE(db.count("classsection", "class = 'UKG'"), 1);
    QVERIFY(log.texts().isEmpty());
}

void TestClassSection::assignFailureKeepsNothing()
{
    TestDatabase db;
    MessageLog log;
    ClassSectionList l;
    l.load();
    // A row that the list does not show (written elsewhere after loading) makes the second
    // insert fail: the first one must not stay behind, and the list must not claim either.
    db.exec("insert into classsection (class, section, sortorder) values ('V', 'B', 8)");
    QStringList added;
    QCOMPARE(l.assign({row(l, "V")}, {"A", "B", "C"}, &added), ClassSectionList::AssignResult::Failed);
    QVERIFY(added.isEmpty());
    QVERIFY(l.classSections().isEmpty());
    QCOMPARE(stored(db), QStringList({"V|B|8"}));
    QCOMPARE(log.texts().size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
}

void TestClassSection::removeSelected()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (class, section, sortorder) values ('I', 'A', 4)");
    db.exec("insert into classsection (class, section, sortorder) values ('I', 'B', 4)");
    db.exec("insert into classsection (class, section, sortorder) values ('II', NULL, 5)");
    db.exec("insert into classsection (class, section, sortorder) values ('III', '', 6)");
    db.exec("insert into classsection (class, section, sortorder) values ('IV', 'A', 7)");
    db.exec("insert into timeschedule (classid, weekday, period, subid, teacherid) values (1, 0, 0, 1, 1)");
    ClassSectionList l;
    l.load();
    QCOMPARE(l.classSections(), QStringList({"I-A", "I-B", "II-", "III-", "IV-A"}));
    // A null section and an empty one both match their "class-" text.
    QVERIFY(l.remove({4, 0, 2, 3, 0}));
    QCOMPARE(l.classSections(), QStringList({"I-B"}));
    QCOMPARE(stored(db), QStringList({"I|B|4"}));
    // Nothing else is touched.
    QCOMPARE(db.count("timeschedule"), 1);
    QVERIFY(l.remove({}));
    QVERIFY(l.remove({7}));
    QCOMPARE(l.classSections(), QStringList({"I-B"}));
    QVERIFY(log.texts().isEmpty());

    // A quote in the text is matched as text, not as part of the statement.
    db.exec("insert into classsection (class, section, sortorder) values ('O''Neil', 'A', 30)");
    db.exec("insert into classsection (class, section, sortorder) values ('O''Neil', 'B', 30)");
    l.load();
    QVERIFY(l.remove({int(l.classSections().indexOf("O'Neil-A"))}));
    QCOMPARE(stored(db), QStringList({"I|B|4", "O'Neil|B|30"}));
}

void TestClassSection::windowControlsAssignAndRemove()
{
    TestDatabase db;
    MessageLog log;
    db.exec("insert into classsection (class, section, sortorder) values ('XI', 'B', 14)");
    FrmClassSection w;
    QVERIFY(ShowInFront(&w));
    QCOMPARE(w.windowTitle(), QString("Class Section"));
    const QList<QPair<const char *, QString>> buttons = {
        {"cmdAllClass", "Check All"}, {"cmdClearClass", "Clear"}, {"cmdAllSec", "Check All"},
        {"cmdClearSec", "Clear"},     {"cmdAssign", "&Assign"},   {"cmdDel", "&Remove"},
        {"CmdExit", "E&xit"}};
    for (const auto &b : buttons) {
        QVERIFY2(push(w, b.first), b.first);
        QCOMPARE(push(w, b.first)->text(), b.second);
    }
    QTreeWidget *cls = tree(w, "LvwClass");
    QTreeWidget *sec = tree(w, "LvwSec");
    QTreeWidget *cs = tree(w, "LvwCS");
    QVERIFY(cls && sec && cs);
    QCOMPARE(cls->headerItem()->text(0), QString("Class"));
    QCOMPARE(sec->headerItem()->text(0), QString("Section"));
    QCOMPARE(cs->headerItem()->text(0), QString("Class - Section"));
    QCOMPARE(cls->topLevelItem(3)->text(0), QString("I"));
    QCOMPARE(cls->topLevelItem(3)->text(1), QString("4"));
    QCOMPARE(items(sec), ClassSectionList::sections());
    QCOMPARE(items(cs), QStringList({"XI-B"}));
    QCOMPARE(ticked(cls) + ticked(sec), 0);

    // Each pair of buttons acts on its own list only.
    input::Click(push(w, "cmdAllClass"));
    QCOMPARE(ticked(cls), 15);
    QCOMPARE(ticked(sec), 0);
    input::Click(push(w, "cmdAllSec"));
    QCOMPARE(ticked(sec), 7);
    input::Click(push(w, "cmdClearClass"));
    QCOMPARE(ticked(cls), 0);
    QCOMPARE(ticked(sec), 7);
    input::Click(push(w, "cmdClearSec"));
    QCOMPARE(ticked(sec), 0);
    QVERIFY(log.texts().isEmpty());

    tick(sec, "A");
    input::Click(push(w, "cmdAssign"));
    QCOMPARE(log.texts(), QStringList({"Please select at least 1 class to assign!"}));
    QCOMPARE(db.count("classsection"), 1);

    log.clear();
    tick(cls, "XI");
    tick(cls, "Nursery");
    tick(sec, "B");
    input::Click(push(w, "cmdAssign"));
    QVERIFY(log.texts().isEmpty());
    QCOMPARE(items(cs), QStringList({"XI-B", "Nursery-A", "Nursery-B", "XI-A"}));
    QCOMPARE(db.count("classsection", "class = 'Nursery' and sortorder = 1"), 2);
    // The ticks stay for the next click.
    QCOMPARE(ticked(cls), 2);
    QCOMPARE(ticked(sec), 2);

    QVERIFY(ClickRow(cs, "XI-B"));
    QVERIFY(ClickRow(cs, "Nursery-B", Qt::ControlModifier));
    log.answer(hx::MsgResult::Yes);
    input::Click(push(w, "cmdDel"));
    QCOMPARE(log.last(), QString("Do you want to remove XI-B, Nursery-B?"));
    log.clear();
    QCOMPARE(items(cs), QStringList({"Nursery-A", "XI-A"}));
    QCOMPARE(db.count("classsection"), 2);
    QCOMPARE(db.count("classsection", "class = 'XI' and section = 'B'"), 0);
    // Nothing selected: nothing happens.
    for (int i = 0; i < cs->topLevelItemCount(); ++i)
        if (cs->topLevelItem(i)->isSelected())
            QVERIFY(ClickRow(cs, cs->topLevelItem(i)->text(0), Qt::ControlModifier));
    QVERIFY(cs->selectedItems().isEmpty());
    input::Click(push(w, "cmdDel"));
    QCOMPARE(items(cs), QStringList({"Nursery-A", "XI-A"}));

    // The next opening lists by sort order.
    FrmClassSection again;
    QCOMPARE(items(tree(again, "LvwCS")), QStringList({"Nursery-A", "XI-A"}));
    QVERIFY(log.texts().isEmpty());
}

QTEST_MAIN(TestClassSection)
#include "tst_classsection.moc"
