#include "FrmClassSubject.h"
#include "FrmTeacherSubject.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

class TestAssignWindows : public QObject {
    Q_OBJECT
private slots:
    void openAndSortHeaders();
};

void TestAssignWindows::openAndSortHeaders()
{
    TestDatabase db;
    db.exec("insert into classsection (class, section, sortorder) values ('VII','A',1)");
    db.exec("insert into periodsystem values (1,'Regular',8,40,'08:00',4,20,'AM')");
    db.exec("insert into classperiods values (1,1,'0,1'), (1,1,'2')");
    db.exec("insert into subjects values ('Maths',1)");
    db.exec("insert into subjtype (subid, subtype) values (1,'I')");
    db.exec("insert into classsubjects values (1,1,4,2)");
    MessageLog log;
    FrmClassSubject cls;
    QCOMPARE(cls.windowTitle(), QString("Assign Subjects to Class"));
    QCOMPARE(cls.findChild<QListWidget *>("LstClass")->count(), 1); // once, with two period-system rows
    auto *lvw = cls.findChild<QTreeWidget *>("LvwClassSubject");
    QCOMPARE(lvw->topLevelItemCount(), 1);
    emit lvw->header()->sectionClicked(0);
    QCOMPARE(lvw->headerItem()->text(0), QString("Class ^"));
    FrmTeacherSubject teacher;
    QCOMPARE(teacher.windowTitle(), QString("Assign Subjects to Teacher"));
    QVERIFY(log.messages.isEmpty());
}

QTEST_MAIN(TestAssignWindows)
#include "tst_assignwindows.moc"
