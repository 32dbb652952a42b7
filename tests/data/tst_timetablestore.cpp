// The timetable store: every week written through it is checked against what the file holds
// at that moment, whichever window wrote it and however stale its copy was.
#include "TestSupport.h"
#include "TimetableStore.h"

#include <QTest>

using namespace store;

namespace {

enum { VIA = 1, VIB = 2, VIIA = 3 };
enum { Maths = 1, English = 2 };
enum { Anita = 1, Bela = 2, Chand = 3 };

// VI-A has 8 periods Monday to Friday; VI-B and VII-A Monday to Saturday.
void seed(TestDatabase &db)
{
    db.exec("insert into classsection (classid, class, section, sortorder) values "
            "(1, 'VI', 'A', 9), (2, 'VI', 'B', 9), (3, 'VII', 'A', 10)");
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:30', 4, 20, 'AM')");
    db.exec("insert into classperiods values (1, 1, '0,1,2,3,4'), (2, 1, '0,1,2,3,4,5'), (3, 1, '0,1,2,3,4,5')");
    db.exec("insert into subjects values ('Maths', 1), ('English', 2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2)");
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values "
            "('AR1', 'Anita Rao', 1), ('BS2', 'Bela Sen', 2), ('CD3', 'Chand Das', 3)");
}

void lesson(TestDatabase &db, int cls, int day, int period, int teacher, int subject)
{
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)",
            {teacher, subject, cls, period, day});
}

LessonRow row(int cls, int day, int period, int teacher, int subject)
{
    return {teacher, subject, cls, period, day, false};
}

WeekChange classWeek(int cls, const LessonRows &rows)
{
    return {WeekChange::Owner::Class, cls, ClassWeek(cls), rows};
}

WeekChange teacherWeek(int teacher, const LessonRows &rows)
{
    return {WeekChange::Owner::Teacher, teacher, TeacherWeek(teacher), rows};
}

} // namespace

class TestTimetableStore : public QObject {
    Q_OBJECT
private slots:
    void savesAWeekWithHistory();
    void aWeekChangedElsewhereIsNotOverwritten();
    void twoWindowsRacingToSave();
    void aTeacherIsInOneClassAtATime();
    void onlyPeriodsTheClassHasAndRoomInTheCell();
    void clashesAlreadySavedAreTakenAsTheyAre();
    void manyWeeksInOneTransaction();
    void removalsFollowTheCurriculum();
};

void TestTimetableStore::savesAWeekWithHistory()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    lesson(db, VIA, 0, 0, Anita, Maths);
    lesson(db, VIB, 0, 0, Bela, Maths);
    const SaveResult r = SaveWeeks({classWeek(VIA, {row(VIA, 1, 0, Anita, Maths), row(VIA, 1, 1, Bela, English),
                                                    row(VIA, 1, 1, Chand, Maths)})});
    QVERIFY2(r.saved(), qPrintable(r.message));
    QCOMPARE(ClassWeek(VIA), LessonRows({row(VIA, 1, 0, Anita, Maths), row(VIA, 1, 1, Bela, English),
                                         row(VIA, 1, 1, Chand, Maths)}));
    QCOMPARE(db.count("timeschedule", "classid = 2"), 1);
    QCOMPARE(db.count("Cummtimeschedule", "changedate = ?", {IsoDate(QDate::currentDate())}), 3);
    QVERIFY(log.messages.isEmpty());
}

void TestTimetableStore::aWeekChangedElsewhereIsNotOverwritten()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    lesson(db, VIA, 0, 0, Anita, Maths);
    // The teacher editor loaded Anita's week ...
    WeekChange anita = teacherWeek(Anita, {row(VIA, 0, 0, Anita, Maths), row(VIA, 2, 3, Anita, Maths)});
    // ... then the class editor gave VI-A Monday I to Bela and saved.
    QVERIFY(SaveWeeks({classWeek(VIA, {row(VIA, 0, 0, Bela, English)})}).saved());
    const QStringList before = DumpDatabase();
    const SaveResult r = SaveWeeks({anita});
    QCOMPARE(r.status, SaveResult::Status::Stale);
    QVERIFY2(r.message.contains("Period = 1 Day = Monday Class = VI-A Subject = Maths Teacher = Anita Rao (removed)"),
             qPrintable(r.message));
    QCOMPARE(DumpDatabase(), before); // nothing written, not even history
    QCOMPARE(db.count("timeschedule", "classid = 1 and weekday = 0 and period = 0"), 1);

    // A lesson saved for the class meanwhile is named as added, and survives.
    WeekChange cls = classWeek(VIA, {});
    lesson(db, VIA, 4, 7, Chand, Maths);
    const SaveResult r2 = SaveWeeks({cls});
    QCOMPARE(r2.status, SaveResult::Status::Stale);
    QVERIFY2(r2.message.contains("Period = 8 Day = Friday Class = VI-A Subject = Maths Teacher = Chand Das (added)"),
             qPrintable(r2.message));
    QCOMPARE(db.count("timeschedule", "classid = 1"), 2);
    QVERIFY(log.messages.isEmpty()); // the store tells its caller; the caller shows it
}

void TestTimetableStore::twoWindowsRacingToSave()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    lesson(db, VIIA, 0, 0, Anita, Maths);
    // Two windows loaded VII-A's week at the same moment; each changes it differently.
    WeekChange first = classWeek(VIIA, {row(VIIA, 0, 0, Anita, Maths), row(VIIA, 0, 1, Bela, English)});
    WeekChange second = classWeek(VIIA, {row(VIIA, 0, 0, Anita, Maths), row(VIIA, 0, 2, Chand, Maths)});
    QVERIFY(SaveWeeks({first}).saved());
    QCOMPARE(SaveWeeks({second}).status, SaveResult::Status::Stale);
    QCOMPARE(ClassWeek(VIIA), first.rows);
    QCOMPARE(db.count("Cummtimeschedule"), 2);
    // Reloaded, the second window's change goes through.
    second.loaded = ClassWeek(VIIA);
    QVERIFY(SaveWeeks({second}).saved());
    QCOMPARE(ClassWeek(VIIA), second.rows);
}

void TestTimetableStore::aTeacherIsInOneClassAtATime()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    lesson(db, VIB, 0, 0, Anita, Maths);
    lesson(db, VIIA, 1, 0, Anita, English);
    lesson(db, VIIA, 2, 0, Bela, English);

    // From the class side: Anita is in VI-B on Monday I (even with the same subject: only the
    // teacher editor's "Assign Two Classes" makes one lesson of two classes) and in VII-A on
    // Tuesday I. Every clash is listed in one refusal.
    const QStringList before = DumpDatabase();
    SaveResult r = SaveWeeks({classWeek(VIA, {row(VIA, 0, 0, Anita, Maths), row(VIA, 1, 0, Anita, Maths),
                                              row(VIA, 2, 0, Anita, Maths)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QCOMPARE(r.message, QString("Clashing with\n"
                                "Period = 1 Day = Monday Class = VI-B Subject = Maths Teacher = Anita Rao\n"
                                "Period = 1 Day = Tuesday Class = VII-A Subject = English Teacher = Anita Rao\n"
                                "Nothing was saved."));
    QCOMPARE(DumpDatabase(), before);

    // From the teacher side: one lesson taught to two classes together is allowed ...
    QVERIFY(SaveWeeks({teacherWeek(Anita, {row(VIB, 0, 0, Anita, Maths), row(VIA, 0, 0, Anita, Maths),
                                           row(VIIA, 1, 0, Anita, English)})})
                .saved());
    // ... two subjects in two classes at once are not, nor a class another teacher has then.
    r = SaveWeeks({teacherWeek(Anita, {row(VIB, 0, 0, Anita, Maths), row(VIA, 0, 0, Anita, English),
                                       row(VIIA, 1, 0, Anita, English), row(VIIA, 2, 0, Anita, Maths)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QVERIFY2(r.message.contains("Period = 1 Day = Monday Class = VI-B Subject = Maths Teacher = Anita Rao"),
             qPrintable(r.message));
    QVERIFY2(r.message.contains("Period = 1 Day = Wednesday Class = VII-A Subject = English Teacher = Bela Sen"),
             qPrintable(r.message));
    QCOMPARE(db.count("timeschedule", "teacherid = 1"), 3);
}

void TestTimetableStore::onlyPeriodsTheClassHasAndRoomInTheCell()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    // Saturday and period IX are no periods of VI-A; a period holds two lessons at most.
    SaveResult r = SaveWeeks({classWeek(VIA, {row(VIA, 5, 0, Anita, Maths), row(VIA, 0, 8, Bela, Maths),
                                              row(VIA, 1, 1, Anita, Maths), row(VIA, 1, 1, Bela, English),
                                              row(VIA, 1, 1, Chand, Maths)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QCOMPARE(r.message, QString("Clashing with\n"
                                "Period = 1 Day = Saturday Class = VI-A: the class has no such period\n"
                                "Period = 2 Day = Tuesday Class = VI-A: more than two lessons in one period\n"
                                "Period = 9 Day = Monday Class = VI-A: the class has no such period\n"
                                "Nothing was saved."));
    QCOMPARE(db.count("timeschedule"), 0);
    QCOMPARE(db.count("Cummtimeschedule"), 0);

    // A teacher teaches two classes together at most.
    r = SaveWeeks({teacherWeek(Anita, {row(VIA, 0, 0, Anita, Maths), row(VIB, 0, 0, Anita, Maths),
                                       row(VIIA, 0, 0, Anita, Maths)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QVERIFY2(r.message.contains("Period = 1 Day = Monday Teacher = Anita Rao: more than two classes at once"),
             qPrintable(r.message));
}

void TestTimetableStore::clashesAlreadySavedAreTakenAsTheyAre()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    // An old file: Anita in two classes on Monday I, and VI-A on a Saturday it no longer has.
    lesson(db, VIA, 0, 0, Anita, Maths);
    lesson(db, VIB, 0, 0, Anita, English);
    lesson(db, VIA, 5, 0, Bela, Maths);
    // VI-A saved with those lessons unchanged and a new one elsewhere goes through.
    QVERIFY(SaveWeeks({classWeek(VIA, {row(VIA, 0, 0, Anita, Maths), row(VIA, 5, 0, Bela, Maths),
                                       row(VIA, 2, 2, Chand, Maths)})})
                .saved());
    // Moving the clashing lesson to another clash is refused.
    const SaveResult r = SaveWeeks({classWeek(VIB, {row(VIB, 0, 0, Anita, English), row(VIB, 2, 2, Chand, English)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QVERIFY2(r.message.contains("Period = 3 Day = Wednesday Class = VI-A Subject = Maths Teacher = Chand Das"),
             qPrintable(r.message));
    QVERIFY2(!r.message.contains("Monday"), qPrintable(r.message));
}

void TestTimetableStore::manyWeeksInOneTransaction()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    // A whole-school placement writes several classes at once: the classes' rows clash with
    // one another as with the rest, and one fault leaves every week as it was.
    SaveResult r = SaveWeeks({classWeek(VIA, {row(VIA, 0, 0, Anita, Maths)}),
                              classWeek(VIB, {row(VIB, 0, 0, Anita, English), row(VIB, 0, 1, Bela, Maths)})});
    QCOMPARE(r.status, SaveResult::Status::Refused);
    QCOMPARE(db.count("timeschedule"), 0);
    r = SaveWeeks({classWeek(VIA, {row(VIA, 0, 0, Anita, Maths)}),
                   classWeek(VIB, {row(VIB, 0, 0, Bela, English), row(VIB, 0, 1, Anita, Maths)})});
    QVERIFY2(r.saved(), qPrintable(r.message));
    QCOMPARE(db.count("timeschedule"), 3);

    // Inside an outer transaction a refusal fails the whole action.
    {
        Transaction outer;
        QVERIFY(ExecuteSql("insert into subjects values ('Art', 9)"));
        QCOMPARE(SaveWeeks({classWeek(VIIA, {row(VIIA, 0, 0, Anita, Maths)})}).status, SaveResult::Status::Refused);
        QVERIFY(!outer.commit());
    }
    QCOMPARE(db.count("subjects", "subid = 9"), 0);

    // A failing statement rolls everything back; the error was shown.
    SetStatementFailureHook([](const QString &sql) { return sql.contains("cummtimeschedule"); });
    r = SaveWeeks({classWeek(VIIA, {row(VIIA, 3, 3, Chand, Maths)}), classWeek(VIA, {})});
    SetStatementFailureHook({});
    QCOMPARE(r.status, SaveResult::Status::Failed);
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(db.count("timeschedule"), 3);
}

void TestTimetableStore::removalsFollowTheCurriculum()
{
    TestDatabase db;
    MessageLog log;
    seed(db);
    lesson(db, VIA, 0, 0, Anita, Maths);
    lesson(db, VIA, 0, 7, Anita, English);
    lesson(db, VIA, 1, 6, Bela, English);
    lesson(db, VIB, 0, 1, Anita, Maths);
    QVERIFY(RemoveClassSubjectLessons(VIA, Maths));
    QCOMPARE(db.count("timeschedule"), 3);
    QVERIFY(RemoveClassDayLessons(VIA, "0,1", 7));
    QCOMPARE(db.count("timeschedule", "classid = 1"), 1);
    QVERIFY(RemoveTeacherSubjectLessons(Anita, Maths));
    QCOMPARE(db.count("timeschedule"), 1);
    QVERIFY(RemoveClassDayLessons(VIA, "1"));
    QCOMPARE(db.count("timeschedule"), 0);
}

QTEST_MAIN(TestTimetableStore)
#include "tst_timetablestore.moc"
