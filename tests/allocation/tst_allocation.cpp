#include "AllocationBook.h"
#include "AllocationLogic.h"
#include "AllocationProblems.h"
#include "AllocationSchool.h"
#include "SubstitutionBook.h"
#include "TimetableCheck.h"
#include "TimetableStore.h"

#include <QTest>
#include <bit>

using namespace school;

class TestAllocation : public QObject {
    Q_OBJECT
private slots:
    void suggestionPrefersLevelsThenBalance();
    void availabilityShiftsTheLoad();
    void writesKeepTheCurriculum();
    void fromTimetable();
    void everyProblemLine();
    void storeRefusesUnavailablePeriods();
    void substitutesOnlyWhenAvailable();
};

void TestAllocation::suggestionPrefersLevelsThenBalance()
{
    TestDatabase db;
    Seed(db);
    MessageLog log;
    alloc::AllocationLogic l;
    l.loadClass(VIA);
    // The teacher box: preferred levels first, whatever the load.
    db.exec("insert into classsubjectteachers values (3, 1, 2, 6), (4, 1, 2, 6)");
    QVector<alloc::Offer> offers = l.offers(Maths);
    QCOMPARE(offers.size(), 2);
    QCOMPARE(offers[0].text(), QString("Ravi Rao (12 of 30)"));
    QCOMPARE(offers[1].text(), QString("Asha Sharma (0 of 30)"));
    // Among equal levels, the lighter load first.
    db.exec("insert into classsubjectteachers values (3, 2, 3, 5)");
    offers = l.offers(English);
    QCOMPARE(offers[0].name, QString("Kiran Das"));
    db.exec("delete from classsubjectteachers");

    // One class: only its subjects are planned, and nothing is written before saving.
    l.suggest(false);
    QCOMPARE(l.plan().size(), 2);
    QCOMPARE(l.plan()[0].subject, QString("English"));
    QCOMPARE(l.plan()[1].teacher, QString("Ravi Rao"));
    QCOMPARE(l.plan()[1].periods, 6);
    QCOMPARE(db.count("classsubjectteachers"), 0);
    QVERIFY(l.savePlan());
    QCOMPARE(Hours(VIA, Maths, Ravi), 6);
    QCOMPARE(db.count("classsubjectteachers"), 2);

    // The whole school: juniors to Ravi, seniors to Asha; English shared evenly; what is allocated stays.
    l.suggest(true);
    QCOMPARE(l.plan().size(), 6);
    QVERIFY(l.savePlan());
    QCOMPARE(Hours(VIA, Maths, Ravi), 6);
    QCOMPARE(Hours(VIB, Maths, Ravi), 6);
    QCOMPARE(Hours(XIA, Maths, Asha), 6);
    QCOMPARE(Hours(XIB, Maths, Asha), 6);
    const QHash<int, int> load = alloc::AllocatedByTeacher();
    QCOMPARE(load.value(Meena), 10);
    QCOMPARE(load.value(Kiran), 10);
    QCOMPARE(db.count("classsubjectteachers"), 8);
    // Full: nothing more to suggest.
    QVERIFY(l.suggest(true).isEmpty());
    QVERIFY(log.messages.isEmpty());
}

void TestAllocation::availabilityShiftsTheLoad()
{
    TestDatabase db;
    Seed(db);
    // Kiran can teach only Monday and Tuesday (12 periods): Meena takes the larger share.
    QVector<int> away;
    for (int cell = 0; cell < 54; ++cell)
        if (cell % 6 >= 2)
            away << cell;
    QVERIFY(alloc::SetUnavailable(Kiran, away, true));
    QCOMPARE(std::popcount(alloc::UnavailableByTeacher().value(Kiran) & alloc::SchoolWeek(alloc::ClassWeeks())), 18);
    alloc::AllocationLogic l;
    l.suggest(true);
    QVERIFY(l.savePlan());
    const QHash<int, int> load = alloc::AllocatedByTeacher();
    QCOMPARE(load.value(Meena), 15);
    QCOMPARE(load.value(Kiran), 5);
    QVERIFY(alloc::Problems().isEmpty());
    // Clearing marks again.
    QVERIFY(alloc::SetUnavailable(Kiran, {2, 3}, false));
    QCOMPARE(db.count("teacherunavailable", "teacherid = ?", {Kiran}), away.size() - 2);
}

void TestAllocation::writesKeepTheCurriculum()
{
    TestDatabase db;
    Seed(db);
    MessageLog log;
    QVERIFY(alloc::SetHours(VIA, Maths, Ravi, 4));
    QVERIFY(!alloc::SetHours(VIA, Maths, Asha, 3));
    QCOMPARE(log.last(), QString("Nothing was saved: VI-A Maths would have 7 periods allocated, but its curriculum has 6 a week."));
    QCOMPARE(Hours(VIA, Maths, Asha), 0);
    QVERIFY(alloc::SetHours(VIA, Maths, Ravi, 6)); // replaces Ravi's 4
    QCOMPARE(Hours(VIA, Maths, Ravi), 6);
    QVERIFY(!alloc::SetHours(VIA, Art, Ravi, 1));
    QCOMPARE(log.last(), QString("The subject is no longer in the class's curriculum; nothing was saved."));
    QVERIFY(!alloc::SetHours(VIA, English, 99, 1));
    QCOMPARE(log.last(), QString("The teacher no longer exists; nothing was saved."));
    // A plan is all or nothing.
    QVERIFY(!alloc::AddPlan({{VIB, Maths, Ravi, 6}, {VIA, Maths, Asha, 1}}));
    QCOMPARE(Hours(VIB, Maths, Ravi), 0);
    QVERIFY(alloc::SetHours(VIA, Maths, Ravi, 0));
    QCOMPARE(db.count("classsubjectteachers"), 0);
    // A failing statement leaves nothing behind and says so.
    SetStatementFailureHook([](const QString &sql) { return sql.contains("insert into classsubjectteachers"); });
    QVERIFY(!alloc::AddPlan({{VIB, Maths, Ravi, 6}}));
    SetStatementFailureHook({});
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("classsubjectteachers"), 0);
}

void TestAllocation::fromTimetable()
{
    TestDatabase db;
    Seed(db);
    MessageLog log;
    for (int p = 0; p < 4; ++p)
        Place(db, VIA, 0, p, Ravi, Maths);
    for (int p = 0; p < 3; ++p)
        Place(db, VIA, 1, p, Asha, Maths);   // 7 placed against 6 planned
    Place(db, VIA, 2, 0, 77, English);       // a teacher since removed
    Place(db, VIA, 2, 1, Meena, Art);        // not in the curriculum
    Place(db, XIA, 0, 0, Meena, English);
    db.exec("insert into classsubjectteachers values (?, ?, ?, 2)", {VIA, English, Kiran});
    db.exec("insert into classsubjectteachers values (?, ?, ?, 2)", {XIB, English, Kiran});

    alloc::AllocationLogic l;
    l.loadClass(VIA);
    log.answer(hx::MsgResult::No);
    QVERIFY(!l.fromTimetable(false));
    QCOMPARE(log.last(), QString("Take the teachers of VI-A from the current timetable? The allocations recorded for VI-A "
                                 "are replaced by who teaches how many periods of each subject now."));
    QCOMPARE(db.count("classsubjectteachers"), 2);
    log.answer(hx::MsgResult::Yes);
    QVERIFY(l.fromTimetable(false));
    QCOMPARE(log.last(), QString("2 allocations taken from the timetable. 1 period above the curriculum was left out."));
    QCOMPARE(Hours(VIA, Maths, Ravi), 3);
    QCOMPARE(Hours(VIA, Maths, Asha), 3);
    QCOMPARE(Hours(VIA, English, Kiran), 0);   // replaced
    QCOMPARE(Hours(XIB, English, Kiran), 2);   // another class: untouched
    QCOMPARE(Hours(XIA, English, Meena), 0);
    QCOMPARE(l.lines()[1].teachersText(), QString("Asha Sharma 3, Ravi Rao 3"));
    log.answer(hx::MsgResult::Yes);
    QVERIFY(l.fromTimetable(true));
    QCOMPARE(Hours(XIA, English, Meena), 1);
    QCOMPARE(Hours(XIB, English, Kiran), 0);
}

void TestAllocation::everyProblemLine()
{
    TestDatabase db;
    Seed(db);
    QVERIFY(alloc::Problems().isEmpty());
    // The class's curriculum above its week; a subject nobody teaches.
    db.exec("insert into classsubjects values (?, 3, 20, 6)", {VIA});
    // A teacher allocated above what they can teach.
    db.exec("insert into classsubjectteachers values (?, 1, ?, 6), (?, 1, ?, 6)", {XIA, Asha, XIB, Asha});
    QVector<int> away;
    for (int cell = 0; cell < 24; ++cell)
        away << cell;
    QVERIFY(alloc::SetUnavailable(Asha, away, true));
    // Allocations above the curriculum, one left outside it, one by a teacher who no longer teaches it.
    db.exec("insert into classsubjectteachers values (?, 2, ?, 4), (?, 2, ?, 3)", {VIB, Meena, VIB, Kiran});
    db.exec("insert into classsubjectteachers values (?, 3, ?, 2)", {XIB, Kiran});
    // A lesson in a period its teacher cannot teach.
    Place(db, XIA, 0, 0, Asha, Maths);
    const QStringList lines = alloc::Problems();
    QCOMPARE(lines, QStringList({
        "Class VI-A: the curriculum asks for 31 periods a week, but the class has only 30. Lower the periods in "
        "\"Assign Subjects to Class\" or give the class more periods in \"Assign Period System to Class\".",
        "Teacher Asha Sharma: 12 periods allocated, but available in only 10. Mark more periods available on the "
        "\"Availability\" tab or give some of the periods to another teacher on the \"Teachers for Subjects\" tab.",
        "Class VI-B, English: 7 periods allocated, but the curriculum has 5 periods a week. Remove 2 periods on the "
        "\"Teachers for Subjects\" tab.",
        "Class XI-B, Art: 2 periods allocated, but the subject is no longer in the class's curriculum. Remove the "
        "allocations on the \"Teachers for Subjects\" tab.",
        "Class VI-A, Art: no teacher teaches this subject. Give it to a teacher in \"Assign Subjects to Teacher\".",
        "Class XI-B, Art: Kiran Das is allocated 2 periods but no longer teaches the subject. Give the subject back in "
        "\"Assign Subjects to Teacher\" or remove the allocation on the \"Teachers for Subjects\" tab.",
        "Teacher Asha Sharma teaches XI-A Maths on Monday in period I, which is marked not available. Move the lesson in "
        "\"Class Schedule\" or clear the mark on the \"Availability\" tab.",
    }));
}

void TestAllocation::storeRefusesUnavailablePeriods()
{
    TestDatabase db;
    Seed(db);
    MessageLog log;
    Place(db, VIA, 0, 0, Ravi, Maths);          // placed before the mark: kept as it is
    QVERIFY(alloc::SetUnavailable(Ravi, {0, 7}, true));
    const store::LessonRows loaded = store::ClassWeek(VIA);
    store::LessonRows rows = loaded;
    rows.push_back({Ravi, Maths, VIA, 1, 1, false}); // Tuesday II: not available
    rows.push_back({Ravi, Maths, VIA, 2, 1, false}); // Tuesday III: fine
    store::SaveResult r = store::SaveWeeks({{store::WeekChange::Owner::Class, VIA, loaded, rows}});
    QCOMPARE(int(r.status), int(store::SaveResult::Status::Refused));
    QCOMPARE(r.message, QString("Clashing with\nPeriod = 2 Day = Tuesday Class = VI-A Teacher = Ravi Rao: the teacher is "
                                "not available in this period\nNothing was saved."));
    QCOMPARE(db.count("timeschedule"), 1);
    QCOMPARE(db.count("Cummtimeschedule"), 0);
    rows.removeAt(1);
    r = store::SaveWeeks({{store::WeekChange::Owner::Class, VIA, loaded, rows}});
    QVERIFY2(r.saved(), qPrintable(r.message));
    QCOMPARE(db.count("timeschedule", "classid = ?", {VIA}), 2);
    // The lesson kept in a period marked afterwards is a problem the check names.
    QVector<check::Fault> faults;
    QVERIFY(check::FindFaults(&faults));
    QStringList lines;
    for (const check::Fault &f : faults)
        lines << f.line();
    QVERIFY2(lines.contains("Teacher Ravi Rao teaches VI-A Maths on Monday in period I, which is marked not available. "
                            "Move the lesson in \"Class Schedule\" or clear the mark on the \"Availability\" tab. - mend "
                            "in Class Schedule"),
             qPrintable(lines.join('\n')));
    QVERIFY(log.messages.isEmpty());
}

void TestAllocation::substitutesOnlyWhenAvailable()
{
    TestDatabase db;
    Seed(db);
    MessageLog log;
    QDate monday(2026, 12, 7);
    Place(db, VIA, 0, 0, Ravi, Maths);
    db.exec("insert into teacherattendence values (?, 'Absent', 0, 0, ?, ?)", {Ravi, IsoDate(monday), IsoDate(monday)});
    auto free = [&] {
        QStringList names;
        for (const FreeTeacher &t : SubstitutionBook::freeTeachers(monday, 0))
            names << t.name;
        return names;
    };
    QCOMPARE(free(), QStringList({"Asha Sharma", "Kiran Das", "Meena Iyer"}));
    QVERIFY(alloc::SetUnavailable(Meena, {0}, true)); // Monday I
    QCOMPARE(free(), QStringList({"Asha Sharma", "Kiran Das"}));
    QCOMPARE(int(SubstitutionBook::save(Ravi, monday, 0, Meena)), int(SubstitutionBook::Result::Refused));
    QCOMPARE(log.last(), QString("The substitute is not free in this period. Choose another teacher."));
    QCOMPARE(db.count("substitute"), 0);
    QCOMPARE(int(SubstitutionBook::save(Ravi, monday, 0, Kiran)), int(SubstitutionBook::Result::Saved));
}

QTEST_MAIN(TestAllocation)
#include "tst_allocation.moc"
