#include "FrmClassSubject.h"
#include "FrmTeacherSubject.h"
#include "TestSupport.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

class TestAssignWindows : public QObject {
    Q_OBJECT
private slots:
    void openAndSortHeaders();
    void chartsAndDetailPages();
};

namespace {
// The bars of the chart's only bar set, by category.
QMap<QString, int> Bars(QChartView *view)
{
    QMap<QString, int> out;
    const auto series = view->chart()->series();
    if (series.size() != 1)
        return out;
    auto *bars = qobject_cast<QBarSeries *>(series.first());
    const auto axes = view->chart()->axes(Qt::Horizontal);
    auto *names = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first());
    if (!bars || bars->barSets().size() != 1 || !names)
        return out;
    for (int i = 0; i < names->count(); ++i)
        out.insert(names->at(i), int(bars->barSets().first()->at(i)));
    return out;
}

QVector<QStringList> Rows(QTreeWidget *t)
{
    QVector<QStringList> out;
    for (int i = 0; i < t->topLevelItemCount(); ++i) {
        QStringList r;
        for (int c = 0; c < t->columnCount(); ++c)
            r << t->topLevelItem(i)->text(c);
        out << r;
    }
    return out;
}

void Choose(QComboBox *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}
} // namespace

// The second and third pages: a class's periods per subject, the subject count per class,
// and the subjects of a teacher and the teachers of a subject, each after a choice in its box.
void TestAssignWindows::chartsAndDetailPages()
{
    TestDatabase db;
    db.exec("insert into classsection (class, section, sortorder) values ('VII','A',1), ('VIII', NULL, 2)");
    db.exec("insert into subjects values ('Maths',1), ('Science',2)");
    db.exec("insert into subjtype (subid, subtype) values (1,'I'), (2,'Physics'), (2,'')");
    db.exec("insert into classsubjects values (1,1,6,2), (1,2,4,3), (2,3,5,1)");
    db.exec("insert into teachers (teacherid, uniqueid, teachername) values (7,'AB-01','Anita Bose'), (8,'CR-01','Chetan Rao')");
    db.exec("insert into teachersubjects values (7,2,5,3), (7,1,9,8), (8,2,2,1)");
    MessageLog log;
    FrmClassSubject cls;
    auto *perClass = cls.findChild<QChartView *>("MSChart1");
    QCOMPARE(Bars(cls.findChild<QChartView *>("MSChart2")), (QMap<QString, int>{{"VII-A", 2}, {"VIII-", 1}}));
    QCOMPARE(Bars(perClass), (QMap<QString, int>{{"Maths I", 6}, {"Science Physics", 4}}));
    Choose(cls.findChild<QComboBox *>("CmbClass"), "VIII-");
    QCOMPARE(Bars(perClass), (QMap<QString, int>{{"Science ", 5}})); // a title without type, as the lists show it

    FrmTeacherSubject teacher;
    Choose(teacher.findChild<QComboBox *>("CmbTeacher"), "Anita Bose");
    QCOMPARE(Rows(teacher.findChild<QTreeWidget *>("LvwTeacher")),
             (QVector<QStringList>{{"Maths I", "9", "8"}, {"Science Physics", "5", "3"}}));
    Choose(teacher.findChild<QComboBox *>("CmbSubject"), "Science Physics");
    QCOMPARE(Rows(teacher.findChild<QTreeWidget *>("LvwSubject")),
             (QVector<QStringList>{{"Anita Bose", "5", "3"}, {"Chetan Rao", "2", "1"}}));
    QVERIFY(log.messages.isEmpty());
}

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
