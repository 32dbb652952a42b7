#pragma once
// Driving the program's windows as a user would: finding controls by name, clicking, choosing,
// and a small school to work on. Shared by the tests that walk many windows.
#include "ChildWindows.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

template <class T> T *Child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no %s in %s", qPrintable(name), qPrintable(w->objectName()));
    return c;
}

// A mouse click on the named button of a window on show.
inline void Press(QWidget *w, const QString &name)
{
    if (auto *b = Child<QPushButton>(w, name)) {
        QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(name + " is not on show or disabled"));
        input::Click(b);
    }
}

// A click on the row whose column reads `text`, where it is drawn.
inline void ClickItem(QTreeWidget *tree, int column, const QString &text)
{
    QVERIFY2(tree && tree->isVisible() && input::Activate(tree), "the list is not on show");
    QVERIFY2(ClickRow(tree, text, {}, column),
             qPrintable(QStringLiteral("no item %1 in %2").arg(text, tree->objectName())));
}

// Adds the line to the list's choice with Ctrl+click, which keeps what was chosen before.
inline void SelectItem(QListWidget *list, const QString &text)
{
    QVERIFY(list);
    QVERIFY2(list->isVisible() && input::Activate(list), qPrintable(list->objectName() + " is not on show"));
    QListWidgetItem *item = nullptr;
    for (int i = 0; i < list->count() && !item; ++i)
        item = list->item(i)->text().trimmed() == text ? list->item(i) : nullptr;
    QVERIFY2(item, qPrintable(QStringLiteral("no item %1 in %2").arg(text, list->objectName())));
    if (!item->isSelected()) {
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(item).center());
    }
    QVERIFY2(item->isSelected(), qPrintable(text + " cannot be chosen in " + list->objectName()));
}

inline void Choose(QComboBox *combo, const QString &text)
{
    QVERIFY(combo);
    QVERIFY2(input::Pick(combo, text), qPrintable(combo->objectName() + ": " + text + " cannot be chosen"));
}

// The window the menu entry opens, not yet shown (ShowInFront it before driving it).
inline QWidget *Open(const QString &menu)
{
    for (const ChildWindowEntry &e : ChildWindowEntries())
        if (e.menu == menu)
            return e.create();
    return nullptr;
}

// A small school: three teachers, four class-sections, three subjects with four titles,
// two period systems on the classes' days, some curriculum, lessons and one leave.
inline void SeedSmallSchool(TestDatabase &db)
{
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'A', 10), ('VII', 'B', 10),"
            " ('VIII', 'A', 11), ('IX', NULL, 12)");
    db.exec("insert into teachers (uniqueid, Teachername, shortname, designation, dom, gender, address, city,"
            " state, phone, email, doj, bloodgroup, dob, maritalstatus, fathername, mothername, mothertongue,"
            " qualification, religion, teacherid, stillworking, photopath, husbandname) values"
            " ('AR-01', 'Anita Rao', 'Anita', 'PGT', '2005-01-01', 'Female', 'Station Road', 'Jaipur',"
            "  'Rajasthan', '0141', 'a@school', '2010-06-01', 'A+', '1980-05-01', 'Married', 'R', 'S', 'Hindi',"
            "  'MSc', 'Hindu', 1, 'Y', '', 'Ravi'),"
            " ('BD-01', 'Bimal Das', '', '', NULL, 'Male', '', 'Jaipur', 'Rajasthan', '', '', '2012-06-01', 'B+',"
            "  '1985-02-03', 'Single', '', '', '', '', '', 2, 'Y', '', ''),"
            " ('CN-01', 'Chitra Nair', '', '', NULL, 'Female', '', 'Jaipur', 'Rajasthan', '', '', '2015-06-01',"
            "  'O+', '1990-07-08', 'Single', '', '', '', '', '', 3, 'Y', '', '')");
    db.exec("insert into subjects (subname, subid) values ('Maths', 1), ('English', 2), ('Science', 3)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2), (3, 'Physics', 3),"
            " (3, 'Chemistry', 4)");
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM'),"
            " (2, 'Short', 5, 30, '09:00', 3, 10, 'AM')");
    db.exec("insert into classperiods values (1, 1, '0,1,2,3,4'), (1, 2, '5'), (2, 1, '0,1,2,3,4,5'),"
            " (3, 1, '0,1,2,3,4,5')");
    db.exec("insert into classsubjects (classid, subid, hours, level1) values (1, 1, 6, 7), (2, 1, 6, 7)");
    db.exec("insert into teachersubjects values (1, 1, 7, 8), (2, 2, 7, 8)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, 1, 0, 0),"
            " (2, 2, 1, 1, 0)");
    db.exec("insert into teacherattendence values (3, 'Leave', 0, 8, '2026-12-01', '2026-12-02')");
}
