#include "DemoSchool.h"

#include "Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <numeric>
#include <array>
#include <random>

namespace {

constexpr int kNonTeaching = 2; // principal and librarian: in the register, no subjects
constexpr int kMaxLoad = 38;

struct Title {
    QString group;
    QString title;
    int uniqueid = 0;
};

// Curriculum of a stage: subject title index -> periods a week.
struct Stage {
    QStringList classes;
    QString sections;
    QVector<QPair<int, int>> subjects;
    int sharedWithArt = -1; // a title taught as the second lesson in some Art periods
    int sharedPeriods = 0;
};

enum TitleIx {
    English, Hindi, Maths, Evs, ScienceGeneral, Physics, Chemistry, Biology, History, Geography, Computer, Art,
    Music, Pe, Sanskrit, TitleCount
};

QVector<Title> titles()
{
    return {{"English", ""},           {"Hindi", ""},          {"Maths", ""},
            {"EVS", ""},               {"Science", "General"}, {"Science", "Physics"},
            {"Science", "Chemistry"},  {"Science", "Biology"}, {"Social Studies", "History"},
            {"Social Studies", "Geography"}, {"Computer", ""}, {"Art", ""},
            {"Music", ""},             {"Physical Education", ""}, {"Sanskrit", ""}};
}

QVector<Stage> stages()
{
    return {
        {{"Nursery", "LKG", "UKG"}, "ABCDEF",
         {{English, 7}, {Hindi, 6}, {Maths, 7}, {Evs, 4}, {Art, 5}, {Music, 4}, {Pe, 3}}},
        {{"I", "II", "III", "IV", "V"}, "ABCDEFG",
         {{English, 8}, {Hindi, 7}, {Maths, 8}, {Evs, 5}, {Computer, 3}, {Art, 3}, {Music, 3}, {Pe, 4}, {Sanskrit, 3}}},
        {{"VI", "VII", "VIII"}, "ABCDEFG",
         {{English, 6}, {Hindi, 6}, {Maths, 8}, {ScienceGeneral, 7}, {History, 3}, {Geography, 3}, {Sanskrit, 3},
          {Computer, 3}, {Pe, 3}, {Art, 2}},
         Music, 1},
        {{"IX", "X"}, "ABCDEFG",
         {{English, 6}, {Hindi, 5}, {Maths, 8}, {Physics, 4}, {Chemistry, 4}, {Biology, 4}, {History, 3},
          {Geography, 3}, {Computer, 4}, {Pe, 3}}},
        {{"XI", "XII"}, "ABCDEF",
         {{English, 6}, {Maths, 8}, {Physics, 7}, {Chemistry, 7}, {Biology, 6}, {Computer, 6}, {Pe, 3}}},
    };
}

const QStringList &firstNames()
{
    static const QStringList n = {
        "Aarti", "Abhay", "Aditi", "Ajay", "Alka", "Amit", "Anil", "Anita", "Anjali", "Arun", "Asha", "Ashok",
        "Bharat", "Bina", "Chetan", "Deepa", "Dinesh", "Divya", "Gita", "Gopal", "Hari", "Indu", "Jaya", "Kamal",
        "Kavita", "Kiran", "Lata", "Mahesh", "Manju", "Meena", "Mohan", "Neha", "Nitin", "Pooja", "Prakash",
        "Priya", "Rajesh", "Rekha", "Rohit", "Sanjay", "Seema", "Shalini", "Suresh", "Sunita", "Uma", "Usha",
        "Vijay", "Vinod"};
    return n;
}

const QStringList &surnames()
{
    static const QStringList n = {"Sharma", "Verma", "Gupta", "Joshi", "Mehta", "Rao", "Nair", "Iyer",
                                  "Singh", "Kapoor", "Bose", "Das", "Pillai", "Menon", "Saxena", "Mathur"};
    return n;
}

bool run(const QString &sql, const Values &v, QString *error)
{
    if (ExecuteSql(sql, v))
        return true;
    if (error)
        *error = LastDatabaseError();
    return false;
}

} // namespace

DemoSchoolOptions DemoSchoolOptions::small()
{
    DemoSchoolOptions o;
    o.classSections = 12;
    o.teachers = 25;
    return o;
}

DemoSchoolOptions DemoSchoolOptions::large() { return DemoSchoolOptions(); }

bool CreateDemoSchool(const QString &folder, const QString &schemaFile, DemoSchoolFigures *figures, QString *error)
{
    return CreateDemoSchool(folder, schemaFile, DemoSchoolOptions::large(), figures, error);
}

bool CreateDemoSchool(const QString &folder, const QString &schemaFile, const DemoSchoolOptions &options,
                      DemoSchoolFigures *figures, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return fail(QStringLiteral("cannot make the folder %1").arg(folder));
    if (!QFileInfo(folder).isWritable())
        return fail(QStringLiteral("cannot write in the folder %1").arg(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("school.db"));
    if (QFileInfo::exists(file)) {
        if (!options.overwrite)
            return fail(QStringLiteral("%1 exists already; it is left as it is (give --force to replace it)").arg(file));
        CloseDatabase();
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            if (QFileInfo::exists(file + suffix) && !QFile::remove(file + suffix))
                return fail(QStringLiteral("cannot replace %1").arg(file + suffix));
    }
    if (!CreateDatabaseFile(file, schemaFile, error))
        return false;
    SetProgramFolder(folder);
    if (!InitializeDatabase(error))
        return false;
    return FillDemoSchool(options, figures, error);
}

bool FillDemoSchool(const DemoSchoolOptions &options, DemoSchoolFigures *figures, QString *error)
{
    DemoSchoolFigures f;
    std::mt19937 rng(options.seed);
    Transaction t;

    // Subjects: groups and their titles.
    QVector<Title> ts = titles();
    QMap<QString, int> groups;
    for (const Title &x : ts) {
        if (groups.contains(x.group))
            continue;
        const int subid = groups.size() + 1;
        groups.insert(x.group, subid);
        if (!run("insert into subjects (subname, subid) values ('?', ?)", {x.group, subid}, error))
            return false;
    }
    for (Title &x : ts) {
        if (!run("insert into subjtype (subid, subtype) values (?, '?')", {groups.value(x.group), x.title}, error))
            return false;
        x.uniqueid = QueryValue("select max(uniqueid) from subjtype").toInt();
    }
    f.subjectTitles = ts.size();

    // Period systems: a short day for the little ones, a long week day and a short Saturday.
    if (!run("insert into periodsystem values (1, 'Junior Day', 6, 35, '08:30', 3, 20, 'AM')", {}, error) ||
        !run("insert into periodsystem values (2, 'Senior Day', 8, 40, '08:00', 4, 20, 'AM')", {}, error) ||
        !run("insert into periodsystem values (3, 'Saturday', 5, 40, '08:00', 3, 15, 'AM')", {}, error))
        return false;

    // Class-sections with their period systems and curriculum.
    struct ClassInfo {
        int classid;
        const Stage *stage;
        std::array<bool, 54> exists{};
    };
    QVector<ClassInfo> classes;
    const QVector<Stage> st = stages();
    std::array<int, TitleCount> demand{};
    for (const Stage &stage : st) {
        for (const QString &cls : stage.classes) {
            const int sortorder = QueryValue("select sortorder from class where class = ?", {cls}).toInt();
            for (const QChar section : stage.sections) {
                if (classes.size() >= options.classSections)
                    break;
                if (!run("insert into classsection (class, section, sortorder) values ('?', '?', ?)",
                         {cls, QString(section), sortorder}, error))
                    return false;
                ClassInfo ci{QueryValue("select max(classid) from classsection").toInt(), &stage, {}};
                const bool junior = stage.classes.first() == QLatin1String("Nursery");
                if (junior) {
                    if (!run("insert into classperiods values (?, 1, '0,1,2,3,4,5')", {ci.classid}, error))
                        return false;
                    for (int d = 0; d < 6; ++d)
                        for (int p = 0; p < 6; ++p)
                            ci.exists[p * 6 + d] = true;
                } else {
                    if (!run("insert into classperiods values (?, 2, '0,1,2,3,4')", {ci.classid}, error) ||
                        !run("insert into classperiods values (?, 3, '5')", {ci.classid}, error))
                        return false;
                    for (int d = 0; d < 5; ++d)
                        for (int p = 0; p < 8; ++p)
                            ci.exists[p * 6 + d] = true;
                    for (int p = 0; p < 5; ++p)
                        ci.exists[p * 6 + 5] = true;
                }
                const int level = std::max(1, sortorder - 3);
                QVector<QPair<int, int>> subjects = stage.subjects;
                if (stage.sharedWithArt >= 0)
                    subjects.push_back({stage.sharedWithArt, stage.sharedPeriods});
                for (const auto &[ix, hours] : subjects) {
                    if (!run("insert into classsubjects values (?, ?, ?, ?)", {ci.classid, ts[ix].uniqueid, hours, level},
                             error))
                        return false;
                    demand[ix] += hours;
                }
                classes.push_back(ci);
            }
        }
    }
    f.classSections = classes.size();

    // Teachers, shared out over the titles by the periods each title needs.
    const int teaching = std::max(1, options.teachers - kNonTeaching);
    const int totalDemand = std::accumulate(demand.begin(), demand.end(), 0);
    std::array<int, TitleCount> staff{};
    int given = 0;
    for (int i = 0; i < TitleCount; ++i) {
        staff[i] = std::max(1, demand[i] * teaching / totalDemand);
        given += staff[i];
    }
    for (int i = 0; given < teaching; i = (i + 1) % TitleCount, ++given)
        ++staff[i];
    QVector<QVector<int>> teachersOf(TitleCount);
    QStringList used;
    int teacherid = 0;
    auto addTeacher = [&](const QString &designation) -> bool {
        ++teacherid;
        QString name;
        do {
            name = firstNames()[rng() % firstNames().size()] + ' ' + surnames()[rng() % surnames().size()];
        } while (used.contains(name));
        used << name;
        const QStringList parts = name.split(' ');
        const QString code = QString(parts[0][0]) + parts[1][0] + QString::number(teacherid);
        const QString gender = QStringList{"Aarti", "Aditi", "Alka", "Anita", "Anjali", "Asha", "Bina", "Deepa",
                                           "Divya", "Gita", "Indu", "Jaya", "Kavita", "Kiran", "Lata", "Manju",
                                           "Meena", "Neha", "Pooja", "Priya", "Rekha", "Seema", "Shalini",
                                           "Sunita", "Uma", "Usha"}
                                       .contains(parts[0])
                                   ? "Female"
                                   : "Male";
        const QString doj = QStringLiteral("%1-%2-01").arg(1995 + int(rng() % 28)).arg(1 + int(rng() % 12), 2, 10, QChar('0'));
        return run("insert into teachers (uniqueid, Teachername, shortname, designation, gender, city, doj, "
                   "teacherid, stillworking) values ('?', '?', '?', '?', '?', 'Jaipur', #?#, ?, 'Y')",
                   {code, name, parts[0], designation, gender, doj, teacherid}, error);
    };
    for (int i = 0; i < TitleCount; ++i) {
        for (int n = 0; n < staff[i]; ++n) {
            if (!addTeacher(i == Physics || i == Chemistry || i == Biology ? "PGT" : "TGT"))
                return false;
            teachersOf[i].push_back(teacherid);
            const int most = 1 + int(rng() % 12);
            if (!run("insert into teachersubjects values (?, ?, ?, ?)",
                     {teacherid, ts[i].uniqueid, most, std::max(1, most - 3)}, error))
                return false;
        }
    }
    // Some teach a neighbouring title too.
    const QVector<QPair<int, int>> neighbours = {{Physics, ScienceGeneral}, {Biology, Evs}, {History, Geography},
                                                 {Geography, History}, {Hindi, Sanskrit}, {Art, Music}};
    for (const auto &[from, to] : neighbours) {
        const int id = teachersOf[from].first();
        if (!run("insert into teachersubjects values (?, ?, 8, 5)", {id, ts[to].uniqueid}, error))
            return false;
    }
    for (const char *d : {"Principal", "Librarian"})
        if (!addTeacher(d))
            return false;
    f.teachers = teacherid;

    // The timetable: every class's periods spread over the week, no teacher in two places.
    QVector<std::array<bool, 54>> teacherBusy(teacherid + 1);
    QVector<int> load(teacherid + 1, 0);
    struct Row {
        int teacher, subject, classid, cell;
    };
    QVector<Row> rows;
    auto pickTeacher = [&](int ix, const QVector<int> &except) {
        int best = -1;
        for (int id : teachersOf[ix])
            if (!except.contains(id) && load[id] < kMaxLoad && (best < 0 || load[id] < load[best]))
                best = id;
        return best;
    };
    for (ClassInfo &ci : classes) {
        std::array<int, 54> classCell{}; // 0 free, else lessons in the cell
        std::array<int, 54> artCell{};
        QVector<QPair<int, int>> subjects = ci.stage->subjects;
        std::stable_sort(subjects.begin(), subjects.end(), [](auto a, auto b) { return a.second > b.second; });
        for (const auto &[ix, hours] : subjects) {
            QVector<int> tried;
            int teacher = pickTeacher(ix, tried);
            std::array<int, 6> perDay{};
            for (int n = 0; n < hours; ++n) {
                int chosen = -1;
                while (teacher > 0 && chosen < 0) {
                    QVector<int> candidates;
                    int fewest = 100;
                    for (int c = 0; c < 54; ++c) {
                        if (!ci.exists[c] || classCell[c] || teacherBusy[teacher][c])
                            continue;
                        if (perDay[c % 6] < fewest) {
                            fewest = perDay[c % 6];
                            candidates.clear();
                        }
                        if (perDay[c % 6] == fewest)
                            candidates << c;
                    }
                    if (!candidates.isEmpty()) {
                        chosen = candidates[int(rng() % candidates.size())];
                    } else {
                        tried << teacher;
                        teacher = pickTeacher(ix, tried);
                    }
                }
                if (chosen < 0) {
                    ++f.unplaced;
                    continue;
                }
                classCell[chosen] = 1;
                teacherBusy[teacher][chosen] = true;
                ++load[teacher];
                ++perDay[chosen % 6];
                if (ix == Art)
                    artCell[chosen] = teacher;
                rows.push_back({teacher, ts[ix].uniqueid, ci.classid, chosen});
            }
        }
        // The second lesson of some Art periods.
        if (ci.stage->sharedWithArt >= 0) {
            const int ix = ci.stage->sharedWithArt;
            int placed = 0;
            for (int c = 0; c < 54 && placed < ci.stage->sharedPeriods; ++c) {
                if (!artCell[c])
                    continue;
                for (int id : teachersOf[ix]) {
                    if (!teacherBusy[id][c] && id != artCell[c] && load[id] < kMaxLoad) {
                        teacherBusy[id][c] = true;
                        ++load[id];
                        rows.push_back({id, ts[ix].uniqueid, ci.classid, c});
                        ++placed;
                        ++f.twoLessonCells;
                        break;
                    }
                }
            }
            f.unplaced += ci.stage->sharedPeriods - placed;
        }
    }
    // Stored in cell order, as the editor saves them.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row &a, const Row &b) { return a.classid != b.classid ? a.classid < b.classid : a.cell < b.cell; });
    for (const Row &r : rows) {
        if (!run("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)",
                 {r.teacher, r.subject, r.classid, r.cell / 6, r.cell % 6}, error))
            return false;
    }
    f.lessons = rows.size();
    // The school must be one the editors accept: no teacher in two classes at once, no class
    // planned beyond its week.
    const int clashes = QueryValue("select count(*) from (select teacherid from timeschedule "
                                   "group by teacherid, weekday, period having count(*) > 1)")
                            .toInt();
    const int overfull = QueryValue("select count(*) from (select classid from classsubjects "
                                    "group by classid having sum(hours) > 45)")
                             .toInt();
    if (clashes != 0 || overfull != 0) {
        if (error)
            *error = QStringLiteral("generated school is inconsistent: %1 double bookings, %2 overfull classes")
                         .arg(clashes)
                         .arg(overfull);
        return false;
    }
    if (!t.commit()) {
        if (error)
            *error = LastDatabaseError();
        return false;
    }
    if (figures)
        *figures = f;
    return true;
}
