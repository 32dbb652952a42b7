#include "TeacherScheduleModel.h"
#include "TestSupport.h"

#include <QDate>
#include <QTest>

using namespace tt;

namespace {

const QChar CR(13);

// A small school: three teachers, classes VI-A (1), VI-B (2), VII-B (3), V without section (4),
// XVI-A (5); subjects "Maths Algebra" (1), "Science General" (2); VI-A and VII-B follow a
// seven-period system on Monday to Friday, the others nine periods on all six days.
void seedSchool(TestDatabase &db)
{
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values "
            "('T1','Asha Rao',1), ('T2','Bimal Sen',2), ('T3','Chitra Das',3)");
    db.exec("insert into classsection (classid, class, section) values "
            "(1,'VI','A'), (2,'VI','B'), (3,'VII','B'), (4,'V',NULL), (5,'XVI','A')");
    db.exec("insert into subjects (subname, subid) values ('Maths',1), ('Science',2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1,'Algebra',1), (2,'General',2)");
    db.exec("insert into periodsystem values (1,'Short',7,40,'08:00',4,20,'AM'), (2,'Long',9,35,'08:00',5,15,'AM')");
    db.exec("insert into classperiods values (1,1,'0,1,2,3,4'), (3,1,'0,1,2,3,4'), "
            "(2,2,'0,1,2,3,4,5'), (4,2,'0,1,2,3,4,5'), (5,2,'0,1,2,3,4,5')");
    db.exec("insert into classsubjects values (1,1,6,6), (2,1,6,6), (3,1,5,7), (3,2,4,7), (4,1,5,5), (5,1,6,6)");
    db.exec("insert into teachersubjects values (1,1,6,7), (1,2,6,7), (2,1,6,7), (2,2,6,7)");
}

void lesson(TestDatabase &db, int teacher, int subid, int classid, int period, int day, bool substitute = false)
{
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday, substitute) values (?,?,?,?,?,?)",
            {teacher, subid, classid, period, day, substitute ? 1 : 0});
}

QString cap(const QStringList &lines) { return lines.join(CR); }

// The model with teacher 1 loaded, subject Maths and the class(es) chosen as the window does.
void choose(TeacherScheduleModel &m, int classid, const QString &cls, int class2 = 0, const QString &cls2 = {})
{
    m.setSubject(1, "Maths Algebra");
    m.setClass(1, {classid, cls});
    m.chooseClass(1);
    if (class2) {
        m.setClass(2, {class2, cls2});
        m.chooseClass(2);
    }
}

} // namespace

class TestTeacherScheduleModel : public QObject {
    Q_OBJECT
private slots:
    void loadingShowsTheTeachersWeek();
    void classColoursAndOccupancy();
    void selectingCells();
    void assignChecksTheClassSide();
    void undoBySteps();
    void savingReplacesTheTeachersRows();
    void failedSaveChangesNothing();
    void classDetailsView();
    void loadsAndAssignedPeriods();
};

void TestTeacherScheduleModel::loadingShowsTheTeachersWeek()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 1, 1, 2, 2, 4);          // period III, Friday
    lesson(db, 1, 1, 1, 0, 0);          // a lesson given to VI-A, VI-B, then V together
    lesson(db, 1, 1, 2, 0, 0);
    lesson(db, 1, 2, 4, 0, 0);
    lesson(db, 1, 2, 4, 3, 1, true);    // substitute, class without section
    lesson(db, 2, 1, 3, 1, 1);          // another teacher's
    lesson(db, 1, 1, 99, 4, 4);         // a class no longer there

    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    QCOMPARE(m.lesson(16).caption, cap({"VI-B", "Maths Algebra"}));
    QCOMPARE(CellIndex(4, 2), 16);
    // A third row of one cell keeps only the first class and puts itself second.
    QCOMPARE(m.lesson(0).caption, cap({"VI-A", "V-", "Science General"}));
    QCOMPARE(m.lesson(0).classIds, QList<int>({1, 4}));
    QCOMPARE(m.lesson(0).subid, 2);
    QVERIFY(!m.bold(0));
    QCOMPARE(m.lesson(19).caption, cap({"V-", "Science General"}));
    QVERIFY(m.bold(19));
    QCOMPARE(m.lesson(7).caption, QString()); // Bimal's lesson is not Asha's
    QCOMPARE(m.lesson(28).caption, QString());
    QVERIFY(log.messages.isEmpty());

    // Charts count the saved rows; a teacher without any gets the single empty row.
    QCOMPARE(m.classChart().size(), 3);
    QVERIFY(m.classChart().contains(qMakePair(QString("V-"), 2)));
    QVERIFY(m.classChart().contains(qMakePair(QString("VI-B"), 2)));
    // A lesson given to two classes together is one period of the teacher.
    QVERIFY(m.subjectChart().contains(qMakePair(QString("Maths Algebra"), 3)));
    QVERIFY(m.subjectChart().contains(qMakePair(QString("Science General"), 2)));
    m.loadTeacher(3, "Chitra Das");
    QCOMPARE(m.classChart(), ChartRows({{QString(), 0}}));
    QCOMPARE(m.subjectChart(), ChartRows({{QString(), 0}}));
}

void TestTeacherScheduleModel::classColoursAndOccupancy()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 2, 1, 3, 1, 1); // VII-B: Bimal's Maths on Tuesday II
    lesson(db, 2, 2, 3, 0, 2); // VII-B: Bimal's Science on Wednesday I
    lesson(db, 3, 2, 2, 8, 5); // VI-B: Chitra's Science on Saturday IX
    // Sunday in a period system must not spill into the next period's Monday.
    db.exec("insert into classperiods values (3,2,'6')");

    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    m.clickCell(0);
    QCOMPARE(m.selected(0), bool(1));
    choose(m, 3, "VII-B");
    QCOMPARE(m.selected(0), bool(0)); // a new class leaves nothing selected
    for (int i = 0; i < kCells; ++i) {
        const bool school = CellPeriod(i) < 7 && CellDay(i) < 5;
        if (i == CellIndex(1, 1))
            QCOMPARE(m.colour(i), CellColour::Subject);
        else if (i == CellIndex(2, 0))
            QCOMPARE(m.colour(i), CellColour::Busy);
        else
            QCOMPARE(m.colour(i), school ? CellColour::Free : CellColour::Unavailable);
    }
    QCOMPARE(m.overlay(CellIndex(1, 1)), cap({"Bimal Sen", "Maths Algebra"}));
    QCOMPARE(m.overlay(CellIndex(2, 0)), cap({"Bimal Sen", "Science General"}));
    QCOMPARE(m.totalText(), QString("Total Periods Scheduled for Maths Algebra : 5"));
    QCOMPARE(m.assignedText(), QString("Total Periods Assigned for Maths Algebra : 1"));
    QVERIFY(m.classPlanned());

    // With a second class, either class's lesson marks its cell, even outside the first's week.
    m.setClass(2, {2, "VI-B"});
    QVERIFY(m.chooseClass(2).isEmpty());
    QCOMPARE(m.colour(CellIndex(5, 8)), CellColour::Busy);
    QCOMPARE(m.overlay(CellIndex(5, 8)), cap({"Chitra Das", "Science General"}));
    QCOMPARE(m.colour(CellIndex(1, 1)), CellColour::Subject);
    // A lesson for both classes together needs a period both have: VII-B has no Saturday.
    QCOMPARE(m.colour(CellIndex(5, 0)), CellColour::Unavailable);
    QCOMPARE(m.colour(CellIndex(4, 0)), CellColour::Free);

    // A class without the subject planned.
    m.setSubject(2, "Science General");
    m.setClass(1, {4, "V-"});
    m.setClass(2, {});
    QCOMPARE(m.chooseClass(1), QString("No periods scheduled for Science General subject"));
    QCOMPARE(m.totalText(), QString("0"));
    QCOMPARE(m.colour(0), CellColour::Free);
}

void TestTeacherScheduleModel::selectingCells()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 2, 1, 1, 2, 1); // VI-A busy on Tuesday III
    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    choose(m, 1, "VI-A");

    const int busy = CellIndex(1, 2);
    m.clickCell(busy);
    QCOMPARE(m.colour(busy), CellColour::Subject);
    QCOMPARE(m.selected(busy), bool(0));
    m.clickCell(3);
    QCOMPARE(m.colour(3), CellColour::Selected);
    QCOMPARE(m.selected(3), bool(1));
    m.clickCell(3);
    QCOMPARE(m.colour(3), CellColour::Free);
    QCOMPARE(m.selected(3), bool(0));

    // Heading "III" selects only the column's free cells, and its second click deselects them.
    m.clickPeriodHeading(2);
    for (int d = 0; d < kDays; ++d) {
        const int i = CellIndex(d, 2);
        const bool free = d != 1 && d != 5;
        QCOMPARE(m.selected(i), bool(free ? 1 : 0));
        QCOMPARE(m.colour(i), free ? CellColour::Selected : (d == 1 ? CellColour::Subject : CellColour::Unavailable));
    }
    m.clickPeriodHeading(2);
    for (int d = 0; d < kDays; ++d)
        QCOMPARE(m.selected(CellIndex(d, 2)), bool(0));

    // The heading remembers its state even when its cells were deselected one by one.
    m.clickPeriodHeading(2);
    for (int d : {0, 2, 3, 4})
        m.clickCell(CellIndex(d, 2));
    m.clickPeriodHeading(2); // finds nothing to deselect
    QCOMPARE(m.selected(CellIndex(0, 2)), bool(0));
    m.clickPeriodHeading(2);
    QCOMPARE(m.selected(CellIndex(0, 2)), bool(1));

    m.clickCell(0);
    m.resetSelection();
    QCOMPARE(m.selected(0), bool(0));
    QCOMPARE(m.colour(0), CellColour::Free);
}

void TestTeacherScheduleModel::assignChecksTheClassSide()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 2, 2, 3, 1, 1); // Bimal teaches VII-B Science on Tuesday II
    lesson(db, 3, 1, 3, 1, 1); // a second row in that cell is not reported
    lesson(db, 1, 1, 3, 2, 1); // Asha's own VII-B lesson on Tuesday III
    lesson(db, 9, 1, 2, 0, 3); // VI-B with a teacher since removed from the register

    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    QCOMPARE(m.checkAssign(false), TeacherScheduleModel::Check::NoSubject);
    m.setSubject(1, "Maths Algebra");
    QCOMPARE(m.checkAssign(false), TeacherScheduleModel::Check::NoClass);
    m.setClass(1, {3, "VII-B"});
    QCOMPARE(m.checkAssign(true), TeacherScheduleModel::Check::NoSecondClass);
    QCOMPARE(m.checkAssign(false), TeacherScheduleModel::Check::Ok);

    // Nothing selected: nothing assigned, no undo step.
    QVERIFY(m.assign().isEmpty());
    QCOMPARE(m.undoStep(), 0);

    // The clash test works on the selection flags themselves (cells the colours would lock).
    m.clickCell(CellIndex(1, 1)); // Tuesday II
    m.clickCell(CellIndex(1, 2)); // Tuesday III: the teacher's own lesson, no clash
    m.clickCell(CellIndex(0, 0));
    const QString report = m.assign();
    QCOMPARE(report, QString("Clashing with\nPeriod = 2 Day = Tuesday Class = VII-B Subject = Science General "
                             "Teacher = Bimal Sen"));
    QCOMPARE(m.lesson(CellIndex(1, 1)).caption, QString());
    QCOMPARE(m.lesson(CellIndex(1, 2)).caption, cap({"VII-B", "Maths Algebra"}));
    QCOMPARE(m.lesson(0).caption, cap({"VII-B", "Maths Algebra"}));
    QCOMPARE(m.undoStep(), 1);
    QCOMPARE(m.selected(0), bool(1)); // the selection stays for a further press

    // Two classes: the second class's lessons clash too, whoever taught them.
    m.resetSelection();
    m.resetSelection();
    m.setClass(2, {2, "VI-B"});
    m.clickCell(CellIndex(3, 0));
    m.clickCell(CellIndex(4, 0));
    QCOMPARE(m.assign(), QString("Clashing with\nPeriod = 1 Day = Thursday Class = VI-B Subject = Maths Algebra "
                                 "Teacher = "));
    QCOMPARE(m.lesson(CellIndex(4, 0)).caption, cap({"VII-B", "VI-B", "Maths Algebra"}));
    QCOMPARE(m.lesson(CellIndex(4, 0)).classIds, QList<int>({3, 2}));
    QCOMPARE(m.lesson(CellIndex(3, 0)).caption, QString());

    // The same class in both boxes is one class, not two rows of it.
    m.resetSelection();
    m.setClass(2, {3, "VII-B"});
    m.clickCell(CellIndex(5, 0));
    QVERIFY(m.assign().isEmpty());
    QCOMPARE(m.lesson(CellIndex(5, 0)).classIds, QList<int>({3}));
    QCOMPARE(m.lesson(CellIndex(5, 0)).caption, cap({"VII-B", "Maths Algebra"}));
    QVERIFY(log.messages.isEmpty());
}

void TestTeacherScheduleModel::undoBySteps()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 1, 2, 2, 0, 0, true); // a substitute lesson on Monday I
    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    choose(m, 1, "VI-A");
    m.clickCell(0);
    m.clickCell(1);
    QVERIFY(m.assign().isEmpty());
    QCOMPARE(m.lesson(0).caption, cap({"VI-A", "Maths Algebra"}));
    QVERIFY(!m.bold(0)); // an assigned lesson is no substitute
    m.setClass(1, {2, "VI-B"});
    QVERIFY(m.assign().isEmpty());
    QCOMPARE(m.undoStep(), 2);
    QCOMPARE(m.lesson(1).caption, cap({"VI-B", "Maths Algebra"}));

    m.undo();
    QCOMPARE(m.lesson(0).caption, cap({"VI-A", "Maths Algebra"}));
    QCOMPARE(m.lesson(1).caption, cap({"VI-A", "Maths Algebra"}));
    QCOMPARE(m.lesson(1).classIds, QList<int>({1}));
    QVERIFY(m.canUndo());
    // Each cell remembers only its latest change: the second undo changes none of them.
    m.undo();
    QCOMPARE(m.lesson(0).caption, cap({"VI-A", "Maths Algebra"}));
    QCOMPARE(m.undoStep(), 0);
    QVERIFY(!m.canUndo());

    // Undo of a first step gives back the substitute lesson with its bold face.
    m.loadTeacher(1, "Asha Rao");
    QCOMPARE(m.undoStep(), 0);
    m.clickCell(0);
    m.setSubject(1, "Maths Algebra");
    m.setClass(1, {1, "VI-A"});
    m.assign();
    m.undo();
    QCOMPARE(m.lesson(0).caption, cap({"VI-B", "Science General"}));
    QVERIFY(m.bold(0));

    // Clearing empties the selected cells; it is no undo step.
    m.assign();
    m.clearSelected();
    QCOMPARE(m.lesson(0).caption, QString());
    QCOMPARE(m.selected(0), bool(0));
    QCOMPARE(m.undoStep(), 1);
}

void TestTeacherScheduleModel::savingReplacesTheTeachersRows()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    // A second title with the very text of the first, so the text alone cannot name the id.
    db.exec("insert into subjects (subname, subid) values ('Maths', 3)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (3, 'Algebra', 7)");
    lesson(db, 1, 2, 4, 5, 5, true);
    lesson(db, 2, 1, 1, 0, 0);

    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    m.setSubject(7, "Maths Algebra");
    m.setClass(1, {1, "VI-A"});
    m.setClass(2, {2, "VI-B"});
    m.clickCell(CellIndex(2, 3));
    QVERIFY(m.assign().isEmpty());
    QVERIFY(m.save());
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(m.undoStep(), 0);

    Recordset rs = OpenRecordset("select teacherid, subid, classid, period, weekday, substitute from timeschedule "
                                 "where teacherid = 1 order by rowid");
    QCOMPARE(rs.rows(), QVector<QVariantList>({{1, 7, 1, 3, 2, 0}, {1, 7, 2, 3, 2, 0}, {1, 2, 4, 5, 5, 0}}));
    rs = OpenRecordset("select ChangeDate, teacherid, subid, classid, period, weekday from Cummtimeschedule order by rowid");
    const QString today = IsoDate(QDate::currentDate());
    QCOMPARE(rs.rows(), QVector<QVariantList>({{today, 1, 7, 1, 3, 2}, {today, 1, 7, 2, 3, 2}, {today, 1, 2, 4, 5, 5}}));
    QCOMPARE(db.count("timeschedule", "teacherid = 2"), 1);

    // An emptied grid deletes the teacher's rows and writes nothing else.
    m.resetSelection();
    for (int i = 0; i < kCells; ++i)
        m.clickCell(i);
    m.clearSelected();
    QVERIFY(m.save());
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 0);
    QCOMPARE(db.count("timeschedule"), 1);
    QCOMPARE(db.count("Cummtimeschedule"), 3);
}

void TestTeacherScheduleModel::failedSaveChangesNothing()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 1, 1, 1, 0, 0);
    db.exec("create trigger full_history before insert on Cummtimeschedule when new.period = 4 "
            "begin select raise(abort, 'history is full'); end");
    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    m.setSubject(2, "Science General");
    m.setClass(1, {3, "VII-B"});
    m.clickCell(CellIndex(0, 4));
    m.clickCell(CellIndex(1, 1));
    m.assign();

    QVERIFY(!m.save());
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(log.last().contains("history is full"));
    QCOMPARE(db.count("timeschedule"), 1);
    QCOMPARE(db.count("timeschedule", "classid = 1 and period = 0 and weekday = 0"), 1);
    QCOMPARE(db.count("Cummtimeschedule"), 0);
    // The unsaved work is still there and can still be undone or saved.
    QCOMPARE(m.lesson(CellIndex(0, 4)).caption, cap({"VII-B", "Science General"}));
    QCOMPARE(m.undoStep(), 1);

    db.exec("drop trigger full_history");
    log.clear();
    QVERIFY(m.save());
    QVERIFY(log.messages.isEmpty());
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 3);
}

void TestTeacherScheduleModel::classDetailsView()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 1, 2, 2, 0, 0);
    lesson(db, 2, 1, 1, 1, 0); // VI-A with Bimal on Monday II
    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    choose(m, 1, "VI-A");
    const int bimal = CellIndex(0, 1);

    m.toggleClassDetails();
    QVERIFY(m.classDetailsView());
    QCOMPARE(m.shownCaption(bimal), cap({"Bimal Sen", "Maths Algebra"}));
    QCOMPARE(m.shownCaption(0), QString());
    QCOMPARE(m.shownToolTip(0), cap({"VI-B", "Science General"}));
    QCOMPARE(m.loads().total, qint16(1)); // the shown lessons are counted
    // A cell holding the teacher's own lesson cannot be selected here; the headings are off.
    m.clickCell(0);
    QCOMPARE(m.selected(0), bool(0));
    m.clickPeriodHeading(3);
    QCOMPARE(m.selected(CellIndex(0, 3)), bool(0));
    m.clickCell(2);
    QCOMPARE(m.selected(2), bool(1));
    // What is shown here is the class's week: it is never saved as the teacher's.
    QVERIFY(!m.save());
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 1);
    QVERIFY(m.assign().isEmpty());
    QCOMPARE(m.lesson(2).caption, QString());

    m.toggleClassDetails();
    QCOMPARE(m.shownCaption(0), cap({"VI-B", "Science General"}));
    QCOMPARE(m.shownToolTip(bimal), cap({"Bimal Sen", "Maths Algebra"}));
    QCOMPARE(m.loads().total, qint16(1));
    QVERIFY(m.save());
    QCOMPARE(db.count("timeschedule", "teacherid = 1 and classid = 2"), 1);
}

void TestTeacherScheduleModel::loadsAndAssignedPeriods()
{
    TestDatabase db;
    MessageLog log;
    seedSchool(db);
    lesson(db, 1, 2, 2, 0, 0);
    lesson(db, 1, 2, 4, 0, 0); // two classes at once count once
    lesson(db, 1, 2, 2, 2, 0);
    TeacherScheduleModel m;
    m.loadTeacher(1, "Asha Rao");
    LoadFigures f = m.loads();
    QCOMPARE(f.day[0], qint16(2));
    for (int d = 1; d < kDays; ++d)
        QCOMPARE(f.day[d], qint16(0));
    QCOMPARE(f.period[0], qint16(1));
    QCOMPARE(f.period[2], qint16(1));
    QCOMPARE(f.period[1], qint16(0));
    QCOMPARE(f.total, qint16(2));

    // Three of another teacher's saved periods plus two of this grid's.
    for (int p = 0; p < 3; ++p)
        lesson(db, 2, 1, 1, p, 5);
    lesson(db, 2, 1, 5, 4, 4); // XVI-A is not VI-A
    lesson(db, 1, 1, 1, 8, 0); // the teacher's own saved row is counted from the grid
    m.loadTeacher(1, "Asha Rao");
    choose(m, 1, "VI-A");
    m.clickCell(CellIndex(1, 0));
    m.assign();
    QCOMPARE(m.periodsAssigned(1), 5);
    QCOMPARE(m.assignedText(), QString("Total Periods Assigned for Maths Algebra : 5"));
    m.setClass(1, {5, "XVI-A"});
    QCOMPARE(m.periodsAssigned(1), 1);

    // A lesson of "Computer Science" is no lesson of "Science".
    db.exec("insert into subjects (subname, subid) values ('Computer', 4)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (4, 'Science', 8), (2, '', 9)");
    lesson(db, 1, 8, 3, 0, 1);
    m.loadTeacher(1, "Asha Rao");
    m.setSubject(9, "Science");
    m.setClass(1, {3, "VII-B"});
    QCOMPARE(m.periodsAssigned(1), 0);
}

QTEST_MAIN(TestTeacherScheduleModel)
#include "tst_teacherschedulemodel.moc"
