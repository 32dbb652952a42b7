// Building weeks through the database: what is read, what the generator makes of it, and what
// Save writes (or, when it fails or is not asked for, does not write).
#include "GenerateModel.h"
#include "GenerateSchool.h"

#include <QDate>
#include <QTest>

namespace {

gen::Result generate(GenerateModel &m, const QVector<int> &classes, bool keep, std::uint64_t seed = 1)
{
    if (!m.read(classes, keep))
        return {};
    m.setResult(gen::Generate(m.snapshot(), m.options(seed, 0)));
    return m.result();
}

// Fails the n-th change statement from now on.
struct FailAt {
    int seen = 0;
    explicit FailAt(int at) { SetStatementFailureHook([this, at](const QString &) { return ++seen == at; }); }
    ~FailAt() { SetStatementFailureHook({}); }
};

} // namespace

class TestGenerate : public QObject {
    Q_OBJECT
private slots:
    void exactlyFullWeeksAreCompletedAndSaved();
    void keptLessonsAvailabilityAndOtherClassesBind();
    void impossibleInputsAreNamed();
    void discardAndFailedSavesWriteNothing();
};

void TestGenerate::exactlyFullWeeksAreCompletedAndSaved()
{
    TestDatabase db;
    QVERIFY(db.ok());
    GenerateSchool s(db);
    MessageLog log;
    GenerateModel m;
    const gen::Result r = generate(m, {s.VIA, s.VIB}, false, 7);
    QCOMPARE(r.planned, 12);
    QCOMPARE(r.placed, 12);
    QCOMPARE(r.clashes, 0);
    QVERIFY(m.unplacedLines().isEmpty());
    QCOMPARE(m.summary(5), QStringLiteral("placed 12 of 12 lessons, 0 clashes, 0 spread faults, in 5 ms"));

    // The same seed gives the same week; nothing is written before Save.
    GenerateModel again;
    QCOMPARE(generate(again, {s.VIA, s.VIB}, false, 7).lessons, r.lessons);
    QCOMPARE(db.count("timeschedule"), 0);

    QVERIFY(m.save().saved());
    QVERIFY(!m.hasResult());
    QCOMPARE(s.lessons(s.VIA), 6);
    QCOMPARE(s.lessons(s.VIB), 6);
    // The allocations: who teaches what, and how many periods.
    QCOMPARE(s.lessons(s.VIA, s.Anita, s.Maths), 3);
    QCOMPARE(s.lessons(s.VIA, s.Bela, s.English), 3);
    QCOMPARE(s.lessons(s.VIB, s.Bela, s.Maths), 3);
    QCOMPARE(s.lessons(s.VIB, s.Anita, s.English), 3);
    QCOMPARE(s.teacherClashes(), 0);
    QCOMPARE(db.count("cummtimeschedule", "changedate = ?", {IsoDate(QDate::currentDate())}), 12);
    QVERIFY(log.texts().isEmpty());
}

void TestGenerate::keptLessonsAvailabilityAndOtherClassesBind()
{
    TestDatabase db;
    QVERIFY(db.ok());
    GenerateSchool s(db);
    MessageLog log;
    // VI-A's Maths shared: Anita two periods, Chand one; Chand cannot teach on Monday I and
    // Tuesday II and teaches VII-A on Monday II, which is not being built.
    db.exec("update classsubjectteachers set hours = 2 where classid = 1 and subid = 1");
    db.exec("insert into classsubjectteachers values (1, 1, 3, 1), (3, 1, 3, 1)");
    db.exec("insert into teacherunavailable values (3, 0, 0), (3, 1, 1)");
    s.lesson(s.VIIA, s.MonII, s.Chand, s.Maths);
    // Kept: VI-A's English with Bela on Tuesday III and VI-B's Maths with Bela on Monday I.
    s.lesson(s.VIA, s.TueIII, s.Bela, s.English);
    s.lesson(s.VIB, s.MonI, s.Bela, s.Maths);

    GenerateModel m;
    const gen::Result r = generate(m, {s.VIA, s.VIB}, true);
    QCOMPARE(r.placed, 12);
    QVERIFY(gen::Validate(m.snapshot(), r.lessons, r.plan).empty());
    QVERIFY(m.save().saved());

    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 2 and subid = 2 and weekday = 1 and period = 2"), 1);
    QCOMPARE(db.count("timeschedule", "classid = 2 and teacherid = 2 and subid = 1 and weekday = 0 and period = 0"), 1);
    QCOMPARE(db.count("timeschedule", "classid = 3"), 1); // the other class as it was
    QCOMPARE(s.lessons(s.VIA, s.Anita, s.Maths), 2);
    QCOMPARE(s.lessons(s.VIA, s.Chand, s.Maths), 1);
    QCOMPARE(db.count("timeschedule", "classid = 1 and teacherid = 3 and ((weekday = 0 and period in (0, 1)) or "
                                      "(weekday = 1 and period = 1))"),
             0);
    QCOMPARE(s.teacherClashes(), 0);

    // Kept with nothing missing: the week is saved exactly as it was.
    const QStringList before = DumpDatabase();
    GenerateModel keep;
    QCOMPARE(generate(keep, {s.VIA, s.VIB}, true).placed, 12);
    QCOMPARE(keep.classLook(s.VIA, s.MonI), GenCellLook::Kept);
    QVERIFY(keep.save().saved());
    QStringList after = DumpDatabase();
    after.removeIf([](const QString &l) { return l.contains(QLatin1String("cummtimeschedule"), Qt::CaseInsensitive); });
    QStringList was = before;
    was.removeIf([](const QString &l) { return l.contains(QLatin1String("cummtimeschedule"), Qt::CaseInsensitive); });
    QCOMPARE(after, was);
}

void TestGenerate::impossibleInputsAreNamed()
{
    TestDatabase db;
    QVERIFY(db.ok());
    GenerateSchool s(db);
    MessageLog log;
    // VI-A wants more periods than its week has; VI-B's Art has nobody to teach it.
    db.exec("update classsubjects set hours = 5 where classid = 1 and subid = 1");
    db.exec("update classsubjects set hours = 2 where classid = 2 and subid = 2");
    db.exec("insert into classsubjects values (2, 3, 1, 6)");
    GenerateModel m;
    const gen::Result r = generate(m, {s.VIA, s.VIB}, false);
    QVERIFY(r.placed < r.planned);
    const QString all = m.unplacedLines().join(QLatin1Char('\n'));
    QVERIFY2(all.contains(QStringLiteral("VI-A: the class's curriculum exceeds its periods (2 periods too many)")),
             qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("VI-B Art")) && all.contains(QStringLiteral("no teacher for the subject")),
             qPrintable(all));

    // A kept lesson in a period its teacher cannot teach is named and left where it is.
    db.exec("insert into teacherunavailable values (2, 0, 0)");
    s.lesson(s.VIB, s.MonI, s.Bela, s.Maths);
    QVERIFY(m.read({s.VIB}, true));
    m.setResult(gen::Generate(m.snapshot(), m.options(1, 0)));
    QVERIFY2(m.unplacedLines().contains(QStringLiteral("VI-B Maths Bela Sen: a kept lesson breaks a rule (left where it is)")),
             qPrintable(m.unplacedLines().join('\n')));
    QVERIFY(std::count(m.result().lessons.begin(), m.result().lessons.end(), gen::Lesson{s.VIB, s.Bela, s.Maths, s.MonI}) == 1);
}

void TestGenerate::discardAndFailedSavesWriteNothing()
{
    TestDatabase db;
    QVERIFY(db.ok());
    GenerateSchool s(db);
    s.lesson(s.VIA, s.MonI, s.Anita, s.Maths);
    s.lesson(s.VIIA, s.MonII, s.Chand, s.Maths);
    MessageLog log;
    const QStringList before = DumpDatabase();

    GenerateModel m;
    QCOMPARE(generate(m, {s.VIA, s.VIB}, false).placed, 12);
    m.discard();
    QVERIFY(!m.hasResult());
    QVERIFY(!m.save().saved());
    QCOMPARE(DumpDatabase(), before);

    // Each change statement of Save fails once in turn: nothing is written, "Error :" is shown
    // and the result stays, so Save can be pressed again.
    QCOMPARE(generate(m, {s.VIA, s.VIB}, false).placed, 12);
    int failures = 0;
    for (int at = 1;; ++at) {
        log.clear();
        store::SaveResult saved;
        {
            FailAt fail(at);
            saved = m.save();
        }
        if (saved.saved())
            break;
        ++failures;
        QCOMPARE(DumpDatabase(), before);
        QVERIFY2(log.last().startsWith(QLatin1String("Error :")), qPrintable(log.last()));
        QVERIFY(m.hasResult());
        QVERIFY(at < 100);
    }
    QVERIFY2(failures >= 24, qPrintable(QString::number(failures))); // deletes, lessons and history rows
    QCOMPARE(s.lessons(s.VIA) + s.lessons(s.VIB), 12);
}

QTEST_MAIN(TestGenerate)
#include "tst_generate.moc"
