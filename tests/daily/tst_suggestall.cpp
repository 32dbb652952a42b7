// The ranked choice of substitutes and "Suggest All": the order rule by rule, the best cover
// against line-by-line choice, the daily limit, and recorded substitutions left alone.
#include "SubstituteLimit.h"
#include "SubstituteRanking.h"
#include "SubstitutionPlan.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTest>
#include <functional>

namespace {
const QDate kMonday(2026, 12, 7);
const QDate kTuesday(2026, 12, 8);

// Tuesday 8 December: Ram Kumar (1) teaches Maths in VII-B in period III; the others are
// free then unless a case gives them more.
struct Day {
    int vii = 0, ix = 0;
};

Day school(TestDatabase &db)
{
    Day d;
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('RK1', 'Ram Kumar', 1),"
            " ('AB2', 'Anil Bose', 2), ('BR3', 'Bina Rao', 3), ('CS4', 'Chand Sen', 4), ('DM5', 'Dev Mehta', 5),"
            " ('EK6', 'Esha Kaur', 6)");
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10), ('IX', 'A', 12)");
    d.vii = QueryValue("select classid from classsection where class = 'VII'").toInt();
    d.ix = QueryValue("select classid from classsection where class = 'IX'").toInt();
    db.exec("insert into subjects (subname, subid) values ('Maths', 1), ('English', 2)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2)");
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (1, 1, ?, 2, 1)", {d.vii});
    db.exec("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    return d;
}

void lesson(TestDatabase &db, int teacher, int subject, int classid, int period, int weekday = 1)
{
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)",
            {teacher, subject, classid, period, weekday});
}

// Ram's period III, ranked.
QVector<RankedTeacher> ranked(CoverLine *line)
{
    const QVector<CoverLine> lines = SubstitutionBook::periodsToCover(kTuesday);
    for (const CoverLine &l : lines)
        if (l.teacherid == 1 && l.period == 2)
            *line = l;
    return SubstituteRanking(kTuesday, lines).rank(*line);
}

QStringList order()
{
    CoverLine line;
    QStringList out;
    for (const RankedTeacher &t : ranked(&line))
        out << t.name;
    return out;
}

QString reasonsOf(const QString &name)
{
    CoverLine line;
    for (const RankedTeacher &t : ranked(&line))
        if (t.name == name)
            return t.reasons(line);
    return QStringLiteral("(not offered)");
}

// Candidates with given costs, for covers built without a database: each line's list names
// teachers by id, and a teacher's cost on a line stands in its name order.
QVector<QVector<RankedTeacher>> candidatesOf(const QVector<QVector<QPair<int, int>>> &lists)
{
    QVector<QVector<RankedTeacher>> out;
    for (const auto &list : lists) {
        QVector<RankedTeacher> c;
        for (const auto &[teacher, cost] : list) {
            RankedTeacher t;
            t.teacherid = teacher;
            t.nameOrder = cost;
            c << t;
        }
        out << c;
    }
    return out;
}

QVector<CoverLine> linesAt(const QVector<int> &periods)
{
    QVector<CoverLine> out;
    for (int i = 0; i < periods.size(); ++i) {
        CoverLine l;
        l.teacherid = 100 + i;
        l.period = periods[i];
        out << l;
    }
    return out;
}

// Whether a cover keeps the rules: a line once, a teacher once a period, the limit.
bool keepsRules(const QVector<Proposal> &cover, const QVector<CoverLine> &lines,
                const QVector<QVector<RankedTeacher>> &candidates, const QHash<int, int> &recorded, int limit)
{
    QSet<int> linesTaken;
    QSet<qint64> busySlots;
    QHash<int, int> taken;
    for (const Proposal &p : cover) {
        bool offered = false;
        for (const RankedTeacher &c : candidates[p.line])
            offered = offered || c.teacherid == p.teacherid;
        const qint64 slot = qint64(p.teacherid) * 16 + lines[p.line].period;
        if (!offered || linesTaken.contains(p.line) || busySlots.contains(slot) ||
            ++taken[p.teacherid] + recorded.value(p.teacherid) > limit)
            return false;
        linesTaken.insert(p.line);
        busySlots.insert(slot);
    }
    return true;
}

// The best cover by trying every choice: most lines, then least cost.
QPair<int, qint64> bruteForce(const QVector<CoverLine> &lines, const QVector<QVector<RankedTeacher>> &candidates,
                              const QHash<int, int> &recorded, int limit)
{
    QPair<int, qint64> best{0, 0};
    QVector<Proposal> cover;
    std::function<void(int)> walk = [&](int line) {
        if (line == lines.size()) {
            if (!keepsRules(cover, lines, candidates, recorded, limit))
                return;
            const QPair<int, qint64> v{int(cover.size()), CoverCost(cover, candidates)};
            if (v.first > best.first || (v.first == best.first && v.second < best.second))
                best = v;
            return;
        }
        walk(line + 1);
        for (const RankedTeacher &c : candidates[line]) {
            cover << Proposal{line, c.teacherid};
            walk(line + 1);
            cover.removeLast();
        }
    };
    walk(0);
    return best;
}
} // namespace

class TestSuggestAll : public QObject {
    Q_OBJECT
private slots:
    void rankingRules();
    void reasons();
    void bestCoverAgainstGreedy();
    void suggestAllBeatsLineByLine();
    void dailyLimit();
    void recordedLeftAlone();
    void saveAllCheckedWhereWritten();
    void limitRemembered();
};

void TestSuggestAll::rankingRules()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    // Nothing sets the free teachers apart: name order.
    QCOMPARE(order(), QStringList({"Anil Bose", "Bina Rao", "Chand Sen", "Dev Mehta", "Esha Kaur"}));

    // 1. Teaches the class, then teaches the subject. Esha teaches VII-B (English, on
    // Monday); Dev is given Maths; Chand teaches Maths in IX-A (the subject, through the
    // timetable); Bina teaches VII-B and is given Maths.
    lesson(db, 6, 2, d.vii, 4, 0);
    db.exec("insert into teachersubjects (teacherid, subid, mostprf, leastprf) values (5, 1, 6, 8), (3, 1, 6, 8)");
    lesson(db, 4, 1, d.ix, 5, 0);
    lesson(db, 3, 2, d.vii, 5, 0);
    QCOMPARE(order(), QStringList({"Bina Rao", "Esha Kaur", "Chand Sen", "Dev Mehta", "Anil Bose"}));

    // 2. Fewer substitutions this week: Chand stood in on Monday, Dev last week (which does
    // not count), so Dev now comes before Chand.
    db.exec("insert into substitute values (1, 5, ?, 0, '2026-12-07', 4), (1, 5, ?, 0, '2026-11-30', 5)",
            {d.vii, d.vii});
    QCOMPARE(order(), QStringList({"Bina Rao", "Esha Kaur", "Dev Mehta", "Chand Sen", "Anil Bose"}));

    // 3. Fewer periods today, own lessons and substitutions; and not a third period in a row.
    // Anil and a new teacher Gita (both teach nothing relevant, no substitutions) differ only
    // here: Anil teaches periods I and II today, so III would be his third in a row; Gita has
    // three lessons that day, none next to III.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('GP7', 'Gita Pal', 7)");
    QCOMPARE(order().mid(4), QStringList({"Anil Bose", "Gita Pal"}));
    lesson(db, 2, 2, d.ix, 0);
    lesson(db, 2, 2, d.ix, 1);
    lesson(db, 7, 2, d.ix, 5);
    lesson(db, 7, 2, d.ix, 6);
    lesson(db, 7, 2, d.ix, 8);
    QCOMPARE(order().mid(4), QStringList({"Gita Pal", "Anil Bose"}));
    // Without the run, fewer periods wins: Anil's second lesson moves to period VII.
    db.exec("update timeschedule set period = 6 where teacherid = 2 and period = 1");
    QCOMPARE(order().mid(4), QStringList({"Anil Bose", "Gita Pal"}));
    // A lesson lost to an absence does not count as a period of the day.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('HS8', 'Hari Sen', 8)");
    lesson(db, 8, 2, d.ix, 7);
    QCOMPARE(order().mid(4), QStringList({"Hari Sen", "Anil Bose", "Gita Pal"}));
    db.exec("insert into teacherattendence values (7, 'Absent', 5, 8, '2026-12-08', '2026-12-08')");
    // Gita is away for periods VI to IX now: her day is empty, still offered for III.
    QCOMPARE(order().mid(4), QStringList({"Gita Pal", "Hari Sen", "Anil Bose"}));

    // 4. Name order settles the rest, and the same teachers are offered as before.
    QStringList names = order();
    std::sort(names.begin(), names.end());
    QStringList free;
    for (const FreeTeacher &t : SubstitutionBook::freeTeachers(kTuesday, 2))
        free << t.name;
    QCOMPARE(names, free);
    QVERIFY(log.messages.isEmpty());
}

void TestSuggestAll::reasons()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    lesson(db, 2, 2, d.vii, 0);
    lesson(db, 2, 2, d.vii, 5);
    db.exec("insert into teachersubjects (teacherid, subid, mostprf, leastprf) values (3, 1, 6, 8)");
    lesson(db, 4, 1, d.vii, 0, 0);
    lesson(db, 4, 1, d.ix, 0);
    lesson(db, 4, 1, d.ix, 1);
    db.exec("insert into substitute values (1, 5, ?, 0, '2026-12-07', 2), (1, 6, ?, 1, '2026-12-08', 2)",
            {d.vii, d.vii});
    QCOMPARE(reasonsOf("Anil Bose"), QString("teaches VII-B \u00b7 2 substitutions this week \u00b7 3 periods today"));
    QCOMPARE(reasonsOf("Bina Rao"), QString("teaches Maths \u00b7 0 substitutions this week \u00b7 0 periods today"));
    QCOMPARE(reasonsOf("Chand Sen"), QString("teaches VII-B and Maths \u00b7 0 substitutions this week \u00b7 2 periods"
                                             " today \u00b7 third period in a row"));
    QCOMPARE(reasonsOf("Dev Mehta"), QString("0 substitutions this week \u00b7 0 periods today"));
    QCOMPARE(reasonsOf("Ram Kumar"), QString("(not offered)"));
}

void TestSuggestAll::bestCoverAgainstGreedy()
{
    // Two lines in period I; Anil (1) is the better choice for both, Bina (2) can take only
    // the first. Line by line the first takes Anil and the second is left uncovered.
    const QVector<CoverLine> two = linesAt({0, 0});
    const auto c = candidatesOf({{{1, 0}, {2, 5}}, {{1, 0}}});
    const QVector<Proposal> greedy = GreedyCover(two, c, {}, 2);
    const QVector<Proposal> best = BestCover(two, c, {}, 2);
    QCOMPARE(greedy.size(), 1);
    QCOMPARE(best.size(), 2);
    QCOMPARE(best.value(0).teacherid + best.value(1).teacherid, 3);

    // Random days: never fewer lines than greedy, never more cost at as many lines, always
    // the best there is, always within the rules.
    QRandomGenerator rng(FuzzSeed());
    const int rounds = FuzzRounds(200);
    int strictlyBetter = 0;
    for (int round = 0; round < rounds; ++round) {
        QVector<int> periods;
        const int n = 1 + rng.bounded(6);
        for (int i = 0; i < n; ++i)
            periods << rng.bounded(3);
        const QVector<CoverLine> lines = linesAt(periods);
        QVector<QVector<QPair<int, int>>> lists;
        for (int i = 0; i < n; ++i) {
            QVector<QPair<int, int>> list;
            for (int t = 1; t <= 4; ++t)
                if (rng.bounded(3))
                    list << qMakePair(t, int(rng.bounded(40)));
            lists << list;
        }
        const auto cand = candidatesOf(lists);
        QHash<int, int> recorded;
        recorded.insert(1 + rng.bounded(4), rng.bounded(2));
        const int limit = 1 + rng.bounded(2);
        const QVector<Proposal> g = GreedyCover(lines, cand, recorded, limit);
        const QVector<Proposal> b = BestCover(lines, cand, recorded, limit);
        QVERIFY2(keepsRules(b, lines, cand, recorded, limit), qPrintable(QString::number(round)));
        QVERIFY(keepsRules(g, lines, cand, recorded, limit));
        QVERIFY(b.size() >= g.size());
        if (b.size() == g.size())
            QVERIFY(CoverCost(b, cand) <= CoverCost(g, cand));
        const QPair<int, qint64> optimum = bruteForce(lines, cand, recorded, limit);
        QCOMPARE(int(b.size()), optimum.first);
        QCOMPARE(CoverCost(b, cand), optimum.second);
        strictlyBetter += b.size() > g.size() || CoverCost(b, cand) < CoverCost(g, cand);
    }
    QVERIFY(strictlyBetter > 0);
}

void TestSuggestAll::suggestAllBeatsLineByLine()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    // Ram (VII-B, period III) and Sita (IX-A, period IV) are away. Anil teaches both classes
    // and is the best choice for each; Bina teaches in period IV. With one substitution a
    // day, Ram's line taking Anil would leave Sita's uncovered.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('SD9', 'Sita Devi', 9)");
    lesson(db, 9, 2, d.ix, 3);
    db.exec("insert into teacherattendence values (9, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    lesson(db, 2, 1, d.vii, 0, 0);
    lesson(db, 2, 2, d.ix, 1, 0);
    lesson(db, 3, 2, d.vii, 3);
    db.exec("delete from teachers where teacherid in (4, 5, 6)");

    SubstitutionPlan plan;
    plan.load(kTuesday);
    QCOMPARE(plan.lines().size(), 2);
    QCOMPARE(plan.choices(0).value(0).name, QString("Anil Bose")); // what line by line would take
    QCOMPARE(plan.suggestAll(1), 2);
    QCOMPARE(plan.proposedName(0), QString("Bina Rao"));
    QCOMPARE(plan.proposedName(1), QString("Anil Bose"));
    QVERIFY(!plan.uncoverable(0) && !plan.uncoverable(1));
    // Anil, proposed for period IV, is still offered for period III (another period).
    QCOMPARE(plan.choices(0).value(0).name, QString("Anil Bose"));
    QCOMPARE(db.count("substitute"), 0); // proposals are not records
    QVERIFY(plan.saveAll());
    QCOMPARE(db.count("substitute", "teacherid = 1 and period = 2 and subid = 3 and dt = '2026-12-08'"), 1);
    QCOMPARE(db.count("substitute", "teacherid = 9 and period = 3 and subid = 2 and classid = ?", {d.ix}), 1);
    QVERIFY(!plan.hasProposals());
    QVERIFY(log.messages.isEmpty());
}

void TestSuggestAll::dailyLimit()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    // Ram teaches periods I to IV today; only Dev is free (the others teach all day).
    for (int p : {0, 1, 3})
        lesson(db, 1, 1, d.vii, p);
    for (int t : {2, 3, 4, 6})
        for (int p = 0; p < 9; ++p)
            lesson(db, t, 2, d.ix, p);
    SubstitutionPlan plan;
    plan.load(kTuesday);
    QCOMPARE(plan.lines().size(), 4);
    QCOMPARE(plan.suggestAll(2), 2);
    int proposed = 0, marked = 0;
    for (int i = 0; i < 4; ++i) {
        proposed += plan.proposed(i) == 5;
        marked += plan.uncoverable(i);
    }
    QCOMPARE(proposed, 2);
    QCOMPARE(marked, 2);
    QCOMPARE(plan.suggestAll(3), 3);
    // A substitution Dev already has that day counts against the limit.
    db.exec("insert into teachers (uniqueid, Teachername, teacherid) values ('SD9', 'Sita Devi', 9)");
    lesson(db, 9, 2, d.vii, 5);
    db.exec("insert into teacherattendence values (9, 'Leave', 0, 8, '2026-12-08', '2026-12-08')");
    db.exec("insert into substitute values (9, 5, ?, 1, '2026-12-08', 5)", {d.vii});
    plan.load(kTuesday);
    QCOMPARE(plan.suggestAll(2), 1);
    QCOMPARE(plan.suggestAll(1), 0);
    for (int i = 0; i < plan.lines().size(); ++i)
        QCOMPARE(plan.uncoverable(i), plan.lines()[i].substituteId == 0);
    QVERIFY(log.messages.isEmpty());
}

void TestSuggestAll::recordedLeftAlone()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    for (int p : {0, 1, 3, 4})
        lesson(db, 1, 1, d.vii, p);
    // Two periods are covered already; Bina, recorded for period II, has since become busy then.
    db.exec("insert into substitute values (1, 0, ?, 1, '2026-12-08', 2), (1, 1, ?, 1, '2026-12-08', 3)",
            {d.vii, d.vii});
    lesson(db, 3, 2, d.ix, 1);
    const QStringList before = DumpDatabase();
    SubstitutionPlan plan;
    plan.load(kTuesday);
    QCOMPARE(plan.suggestAll(SubstituteLimit::kDefault), 3);
    for (int i = 0; i < plan.lines().size(); ++i)
        QCOMPARE(plan.proposed(i) > 0, plan.lines()[i].substituteId == 0);
    QVERIFY(plan.saveAll());
    QStringList after = DumpDatabase();
    for (const QString &row : before)
        QVERIFY2(after.removeOne(row), qPrintable(row));
    QCOMPARE(after.size(), 3); // the three new substitutions, nothing else
    for (const QString &row : after)
        QVERIFY2(row.startsWith("substitute"), qPrintable(row));
    QCOMPARE(db.count("substitute", "period = 1 and subid = 3"), 1);
}

void TestSuggestAll::saveAllCheckedWhereWritten()
{
    TestDatabase db;
    MessageLog log;
    const Day d = school(db);
    lesson(db, 1, 1, d.vii, 3);
    db.exec("delete from teachers where teacherid in (5, 6)");
    SubstitutionPlan plan;
    plan.load(kTuesday);
    QCOMPARE(plan.suggestAll(2), 2);
    const int first = plan.proposed(0), second = plan.proposed(1);
    const QString name = plan.proposedName(1);
    // Since then the proposed teacher of period IV got a lesson then.
    lesson(db, second, 2, d.ix, 3);
    const QStringList before = DumpDatabase();
    QVERIFY(!plan.saveAll());
    QCOMPARE(log.last(), QString("%1 cannot take period 4 of VII-B for Ram Kumar: teaches IX-A. Nothing was saved.")
                             .arg(name));
    QCOMPARE(DumpDatabase(), before);
    QCOMPARE(plan.proposed(0), first); // the proposals stay for another try
    QCOMPARE(plan.proposed(1), second);

    // Another window recorded a substitute for period III meanwhile: not changed.
    db.exec("delete from timeschedule where teacherid = ? and classid = ?", {second, d.ix});
    db.exec("insert into substitute values (1, 2, ?, 1, '2026-12-08', 4)", {d.vii});
    const QStringList recorded = DumpDatabase();
    QVERIFY(!plan.saveAll());
    QVERIFY(log.last().endsWith(" is recorded for it already. Nothing was saved."));
    QCOMPARE(DumpDatabase(), recorded);
    // The list read again drops that proposal; the rest saves.
    plan.load(kTuesday);
    QCOMPARE(plan.proposalCount(), 1);
    QVERIFY(plan.saveAll());
    QCOMPARE(db.count("substitute"), 2);

    // A change a user makes by hand is saved as made; a removed line is not saved.
    db.exec("delete from substitute");
    plan.load(kTuesday);
    plan.suggestAll(2);
    plan.propose(0, 4, "Chand Sen");
    plan.removeProposal(1);
    QVERIFY(plan.saveAll());
    QCOMPARE(db.count("substitute"), 1);
    QCOMPARE(db.count("substitute", "period = 2 and subid = 4"), 1);
}

void TestSuggestAll::limitRemembered()
{
    // A school written before the limit existed gets its table when opened, and the default.
    SetSchemaUpgradesForTest(QVector<QStringList>{});
    TestDatabase db;
    QCOMPARE(QueryValue("PRAGMA user_version").toInt(), 1);
    CloseDatabase();
    SetSchemaUpgradesForTest(std::nullopt);
    QString error;
    QVERIFY2(InitializeDatabase(&error), qPrintable(error));
    QCOMPARE(QueryValue("PRAGMA user_version").toInt(), SchemaVersion());
    MessageLog log;
    QCOMPARE(SubstituteLimit::daily(), SubstituteLimit::kDefault);
    QCOMPARE(db.count("substitutelimit"), 0);

    // Chosen once, it stays with the school's data; a second choice replaces the first.
    QVERIFY(SubstituteLimit::setDaily(3));
    QVERIFY(SubstituteLimit::setDaily(4));
    CloseDatabase();
    QVERIFY(InitializeDatabase(&error));
    QCOMPARE(SubstituteLimit::daily(), 4);
    QCOMPARE(db.count("substitutelimit"), 1);
    // Out of range: kept within 1 to 9 here, and the table refuses anything else.
    QVERIFY(SubstituteLimit::setDaily(12));
    QCOMPARE(SubstituteLimit::daily(), SubstituteLimit::kMost);
    QVERIFY(log.messages.isEmpty());
    QVERIFY(!ExecuteSql("update substitutelimit set dailylimit = 0"));
    QVERIFY(log.last().startsWith("Error :"));
    QCOMPARE(SubstituteLimit::daily(), SubstituteLimit::kMost);
}

QTEST_MAIN(TestSuggestAll)
#include "tst_suggestall.moc"
