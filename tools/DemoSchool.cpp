#include "DemoSchool.h"

#include "Database.h"
#include "SubstitutionBook.h"
#include "TeacherRegister.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <algorithm>
#include <array>
#include <random>

namespace {

constexpr int kCells = 54;
constexpr int kMaxSections = 7; // A..G, as the class-section table allows
constexpr int kNonTeaching = 2; // principal and librarian: in the register, no subjects

enum TitleIx {
    English, Hindi, Maths, Evs, ScienceGeneral, Physics, Chemistry, Biology, History, Geography, Computer, Art,
    Music, Pe, Sanskrit, TitleCount
};

struct Title {
    QString group;
    QString title;
    int uniqueid = 0;
};

QVector<Title> titles()
{
    return {{"English", ""},           {"Hindi", ""},          {"Maths", ""},
            {"EVS", ""},               {"Science", "General"}, {"Science", "Physics"},
            {"Science", "Chemistry"},  {"Science", "Biology"}, {"Social Studies", "History"},
            {"Social Studies", "Geography"}, {"Computer", ""}, {"Art", ""},
            {"Music", ""},             {"Physical Education", ""}, {"Sanskrit", ""}};
}

// Period systems, by their ids in the database.
enum PeriodSystem { RegularDay = 1, Saturday = 2, JuniorDay = 3 };

// The little ones go home early: a shorter day Monday to Friday, the same short Saturday.
// Every subject list adds up to exactly the periods of its stage's week.
struct Stage {
    bool junior;
    QVector<QPair<int, int>> subjects; // title, periods a week
};

const Stage &stageOf(int sortorder)
{
    static const Stage junior{true, {{English, 7}, {Hindi, 6}, {Maths, 7}, {Evs, 4}, {Art, 4}, {Music, 4}, {Pe, 3}}};
    static const Stage primary{false,
                               {{English, 9}, {Hindi, 8}, {Maths, 9}, {Evs, 6}, {Computer, 3}, {Art, 4}, {Music, 3},
                                {Pe, 4}, {Sanskrit, 4}}};
    static const Stage middle{false,
                              {{English, 7}, {Hindi, 6}, {Maths, 8}, {ScienceGeneral, 8}, {History, 4}, {Geography, 4},
                               {Sanskrit, 4}, {Computer, 3}, {Pe, 3}, {Art, 3}}};
    static const Stage secondary{false,
                                 {{English, 7}, {Hindi, 6}, {Maths, 8}, {Physics, 5}, {Chemistry, 5}, {Biology, 5},
                                  {History, 4}, {Geography, 4}, {Computer, 3}, {Pe, 3}}};
    static const Stage senior{false,
                              {{English, 7}, {Maths, 9}, {Physics, 8}, {Chemistry, 8}, {Biology, 7}, {Computer, 7},
                               {Pe, 4}}};
    if (sortorder <= 3)
        return junior;
    if (sortorder <= 8)
        return primary;
    if (sortorder <= 11)
        return middle;
    if (sortorder <= 13)
        return secondary;
    return senior;
}

// The cells (period * 6 + week-day) of a stage's week.
std::array<bool, kCells> weekOf(bool junior)
{
    std::array<bool, kCells> cells{};
    const int daily = junior ? 6 : 9;
    for (int d = 0; d < 5; ++d)
        for (int p = 0; p < daily; ++p)
            cells[p * 6 + d] = true;
    for (int p = 0; p < 5; ++p)
        cells[p * 6 + 5] = true;
    return cells;
}

struct Name {
    const char *first;
    bool female;
};

const QVector<Name> &firstNames()
{
    static const QVector<Name> n = {
        {"Aarti", true},   {"Abhay", false},  {"Aditi", true},   {"Ajay", false},   {"Alka", true},
        {"Amit", false},   {"Anil", false},   {"Anita", true},   {"Anjali", true},  {"Arun", false},
        {"Asha", true},    {"Ashok", false},  {"Bharat", false}, {"Bina", true},    {"Chetan", false},
        {"Deepa", true},   {"Dinesh", false}, {"Divya", true},   {"Gita", true},    {"Gopal", false},
        {"Hari", false},   {"Indu", true},    {"Jaya", true},    {"Kamal", false},  {"Kavita", true},
        {"Kiran", true},   {"Lata", true},    {"Mahesh", false}, {"Manju", true},   {"Meena", true},
        {"Mohan", false},  {"Neha", true},    {"Nitin", false},  {"Pooja", true},   {"Prakash", false},
        {"Priya", true},   {"Rajesh", false}, {"Rekha", true},   {"Rohit", false},  {"Sanjay", false},
        {"Seema", true},   {"Shalini", true}, {"Suresh", false}, {"Sunita", true},  {"Uma", true},
        {"Usha", true},    {"Vijay", false},  {"Vinod", false}};
    return n;
}

const QStringList &surnames()
{
    static const QStringList n = {"Sharma", "Verma",  "Gupta",  "Joshi", "Mehta", "Rao",    "Nair",   "Iyer",
                                  "Singh",  "Kapoor", "Bose",   "Das",   "Pillai", "Menon", "Saxena", "Mathur",
                                  "Agarwal", "Bhatt", "Chauhan", "Kulkarni"};
    return n;
}

const QStringList &maleNames()
{
    static const QStringList n = {"Ram", "Shyam", "Mukesh", "Naresh", "Pawan", "Girish", "Satish", "Ramesh"};
    return n;
}

const QStringList &mothersNames()
{
    static const QStringList n = {"Kamla", "Savitri", "Shanti", "Sarla", "Pushpa", "Urmila", "Vimla", "Radha"};
    return n;
}

// Bipartite edge colouring of the week: lessons are edges between a class and a teacher,
// cells are colours. A lesson that finds no cell free for both has a cell freed for it by
// swapping two cells along an alternating chain of lessons, so that a teacher who teaches no
// more periods than the week has never blocks a class: the week fills exactly.
class WeekColouring {
public:
    struct Lesson {
        int cls, teacher, title;
        int cell = -1;
    };

    WeekColouring(int classes, int teachers, const QVector<std::array<bool, kCells>> &classWeek, std::mt19937 &rng)
        : classWeek_(classWeek), classAt_(classes), teacherAt_(teachers), rng_(rng)
    {
        for (auto &a : classAt_)
            a.fill(-1);
        for (auto &a : teacherAt_)
            a.fill(-1);
    }

    QVector<Lesson> lessons;

    bool place(int ix)
    {
        Lesson &l = lessons[ix];
        const auto &week = classWeek_[l.cls];
        // Days on which the class already has this subject: two on one day only when needed.
        std::array<int, 6> perDay{};
        for (int c = 0; c < kCells; ++c)
            if (classAt_[l.cls][c] >= 0 && lessons[classAt_[l.cls][c]].title == l.title)
                ++perDay[c % 6];
        QVector<int> both, classFree;
        int fewestBoth = 100, fewestClass = 100;
        for (int c = 0; c < kCells; ++c) {
            if (!week[c] || classAt_[l.cls][c] >= 0)
                continue;
            const int n = perDay[c % 6];
            if (n < fewestClass) {
                fewestClass = n;
                classFree.clear();
            }
            if (n == fewestClass)
                classFree << c;
            if (teacherAt_[l.teacher][c] >= 0)
                continue;
            if (n < fewestBoth) {
                fewestBoth = n;
                both.clear();
            }
            if (n == fewestBoth)
                both << c;
        }
        if (classFree.isEmpty())
            return false;
        if (!both.isEmpty() && fewestBoth <= fewestClass + 1) {
            set(ix, both[int(rng_() % both.size())]);
            return true;
        }
        const int a = classFree[int(rng_() % classFree.size())];
        // A cell of the class's week where the teacher is free (the same week for every class
        // the teacher meets, so the swap keeps every lesson inside its class's week).
        QVector<int> teacherFree;
        for (int c = 0; c < kCells; ++c)
            if (week[c] && teacherAt_[l.teacher][c] < 0)
                teacherFree << c;
        if (teacherFree.isEmpty())
            return false;
        const int b = teacherFree[int(rng_() % teacherFree.size())];
        // The chain from the teacher: its a-lesson, that class's b-lesson, that teacher's
        // a-lesson... Swapping a and b along it frees a for the teacher.
        QVector<int> chain;
        int e = teacherAt_[l.teacher][a];
        bool onA = true;
        while (e >= 0) {
            chain << e;
            e = onA ? classAt_[lessons[e].cls][b] : teacherAt_[lessons[e].teacher][a];
            onA = !onA;
        }
        for (int x : chain)
            unset(x);
        for (int k = 0; k < chain.size(); ++k)
            set(chain[k], k % 2 == 0 ? b : a);
        set(ix, a);
        return true;
    }

    // Swaps lessons within a class while that spreads a subject more evenly over the week
    // (the chain swaps above take no notice of days) and both teachers are free for it.
    void spread(int classes)
    {
        for (int pass = 0; pass < 4; ++pass) {
            bool changed = false;
            for (int c = 0; c < classes; ++c) {
                auto sameDay = [&](int cell, int title, int skip) {
                    int n = 0;
                    for (int p = 0; p < 9; ++p) {
                        const int x = classAt_[c][p * 6 + cell % 6];
                        n += x >= 0 && x != skip && lessons[x].title == title;
                    }
                    return n;
                };
                for (int a = 0; a < kCells; ++a) {
                    for (int b = 0; b < kCells; ++b) {
                        const int la = classAt_[c][a], lb = classAt_[c][b];
                        if (la < 0 || lb < 0 || a % 6 == b % 6 || lessons[la].title == lessons[lb].title)
                            continue;
                        const int ta = lessons[la].teacher, tb = lessons[lb].teacher;
                        if (ta != tb && (teacherAt_[ta][b] >= 0 || teacherAt_[tb][a] >= 0))
                            continue;
                        // Same-subject neighbours on each day before and after the swap.
                        const int before = sameDay(a, lessons[la].title, la) + sameDay(b, lessons[lb].title, lb);
                        const int after = sameDay(b, lessons[la].title, lb) + sameDay(a, lessons[lb].title, la);
                        if (after >= before)
                            continue;
                        unset(la);
                        unset(lb);
                        set(la, b);
                        set(lb, a);
                        changed = true;
                    }
                }
            }
            if (!changed)
                break;
        }
    }

private:
    void set(int ix, int cell)
    {
        Lesson &l = lessons[ix];
        l.cell = cell;
        classAt_[l.cls][cell] = ix;
        teacherAt_[l.teacher][cell] = ix;
    }
    void unset(int ix)
    {
        Lesson &l = lessons[ix];
        classAt_[l.cls][l.cell] = -1;
        teacherAt_[l.teacher][l.cell] = -1;
        l.cell = -1;
    }

    const QVector<std::array<bool, kCells>> &classWeek_;
    QVector<std::array<int, kCells>> classAt_;
    QVector<std::array<int, kCells>> teacherAt_;
    std::mt19937 &rng_;
};

bool run(const QString &sql, const Values &v, QString *error)
{
    if (ExecuteSql(sql, v))
        return true;
    if (error)
        *error = LastDatabaseError();
    return false;
}

QString pickOf(const QStringList &list, std::mt19937 &rng) { return list[int(rng() % list.size())]; }

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
    if (folder.isEmpty())
        return fail(QStringLiteral("no folder given"));
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return fail(QStringLiteral("cannot make the folder %1").arg(folder));
    if (!QFileInfo(folder).isWritable())
        return fail(QStringLiteral("cannot write in the folder %1").arg(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("school.db"));
    if (QFileInfo::exists(file) && !options.overwrite)
        return fail(QStringLiteral("%1 exists already; it is left as it is (give --force to replace it)").arg(file));

    // The school is built beside the target and put in its place only when it is complete,
    // so that a failure never costs the file it was to replace.
    QTemporaryDir work(QDir(folder).filePath(QStringLiteral(".demoschool-XXXXXX")));
    if (!work.isValid())
        return fail(QStringLiteral("cannot write in the folder %1").arg(folder));
    const QString built = QDir(work.path()).filePath(QStringLiteral("school.db"));
    if (!CreateDatabaseFile(built, schemaFile, error))
        return false;
    SetProgramFolder(work.path());
    const bool filled = InitializeDatabase(error) && FillDemoSchool(options, figures, error);
    CloseDatabase();
    SetProgramFolder(folder);
    if (!filled)
        return false;
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        if (QFileInfo::exists(file + suffix) && !QFile::remove(file + suffix))
            return fail(QStringLiteral("cannot replace %1").arg(file + suffix));
    if (!QFile::rename(built, file))
        return fail(QStringLiteral("cannot write %1").arg(file));
    return InitializeDatabase(error);
}

bool CopyReportTemplates(const QString &templateFolder, const QString &folder, QString *error)
{
    const QDir from(templateFolder);
    const QStringList names = from.entryList({QStringLiteral("*.rpt")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        if (error)
            *error = QStringLiteral("no report templates in %1").arg(templateFolder);
        return false;
    }
    const QDir to(QDir(folder).filePath(QStringLiteral("reports")));
    if (!QDir().mkpath(to.path())) {
        if (error)
            *error = QStringLiteral("cannot make the folder %1").arg(to.path());
        return false;
    }
    for (const QString &name : names) {
        if (QFileInfo::exists(to.filePath(name)))
            continue;
        if (!QFile::copy(from.filePath(name), to.filePath(name))) {
            if (error)
                *error = QStringLiteral("cannot copy %1 to %2").arg(name, to.path());
            return false;
        }
        // The copy may be edited like the ones beside the program.
        QFile(to.filePath(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                QFile::ReadOther);
    }
    return true;
}

bool FillDemoSchool(const DemoSchoolOptions &options, DemoSchoolFigures *figures, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QDate today = options.today.isValid() ? options.today : QDate::currentDate();
    const int classCount = options.classSections;
    if (classCount < 1 || classCount > 15 * kMaxSections)
        return fail(QStringLiteral("a school has 1 to %1 class-sections").arg(15 * kMaxSections));
    DemoSchoolFigures f;
    std::mt19937 rng(options.seed);
    Transaction t;

    if (!run("update libdtl set libname = '?', add1 = '?', add2 = '?', city = '?', state = '?', phone = '?', "
             "contactperson = '?'",
             {classCount < 40 ? "Horalux Demo School" : "Horalux Public School", "Station Road", "Civil Lines",
              "Jaipur", "Rajasthan", "0141-2220000", "The Principal"},
             error))
        return false;

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

    if (!run("insert into periodsystem values (?, 'Regular Day', 9, 40, '07:50', 4, 20, 'AM')", {RegularDay}, error) ||
        !run("insert into periodsystem values (?, 'Saturday', 5, 40, '07:50', 3, 15, 'AM')", {Saturday}, error) ||
        !run("insert into periodsystem values (?, 'Junior Day', 6, 35, '08:30', 3, 20, 'AM')", {JuniorDay}, error))
        return false;

    // Class-sections: section A of every class from I up, then the little ones, then the
    // next section of each, so that a small school is one of each class.
    const QStringList order = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII",
                               "Nursery", "LKG", "UKG"};
    struct ClassInfo {
        QString cls;
        QChar section;
        int sortorder = 0;
        int classid = 0;
        const Stage *stage = nullptr;
        int level = 1;
    };
    QVector<ClassInfo> classes;
    for (int s = 0; classes.size() < classCount; ++s)
        for (const QString &c : order)
            if (classes.size() < classCount)
                classes.push_back({c, QChar('A' + s)});
    for (ClassInfo &ci : classes) {
        ci.sortorder = QueryValue("select sortorder from class where class = ?", {ci.cls}).toInt();
        ci.stage = &stageOf(ci.sortorder);
        ci.level = std::clamp(ci.sortorder - 3, 1, 12);
    }
    std::stable_sort(classes.begin(), classes.end(), [](const ClassInfo &a, const ClassInfo &b) {
        return a.sortorder != b.sortorder ? a.sortorder < b.sortorder : a.section < b.section;
    });
    QVector<std::array<bool, kCells>> classWeek;
    for (ClassInfo &ci : classes) {
        if (!run("insert into classsection (class, section, sortorder) values ('?', '?', ?)",
                 {ci.cls, QString(ci.section), ci.sortorder}, error))
            return false;
        ci.classid = QueryValue("select max(classid) from classsection").toInt();
        const bool junior = ci.stage->junior;
        if (!run("insert into classperiods values (?, ?, '0,1,2,3,4')", {ci.classid, junior ? JuniorDay : RegularDay},
                 error) ||
            !run("insert into classperiods values (?, ?, '5')", {ci.classid, Saturday}, error))
            return false;
        for (const auto &[ix, hours] : ci.stage->subjects)
            if (!run("insert into classsubjects values (?, ?, ?, ?)", {ci.classid, ts[ix].uniqueid, hours, ci.level},
                     error))
                return false;
        classWeek.push_back(weekOf(junior));
    }
    f.classSections = classes.size();

    // Staff: pre-primary teachers teach only the little ones (their week is shorter), the
    // others the rest. Each pool and subject gets enough teachers for its periods, the spare
    // ones go where the load per teacher is highest.
    const int cap[2] = {38, 30}; // most periods a week: school day, junior day
    struct Post {
        bool junior;
        int title;
        int demand = 0;
        int staff = 0;
    };
    QVector<Post> posts;
    auto postOf = [&posts](bool junior, int title) -> Post & {
        for (Post &p : posts)
            if (p.junior == junior && p.title == title)
                return p;
        posts.push_back({junior, title});
        return posts.last();
    };
    for (const ClassInfo &ci : classes)
        for (const auto &[ix, hours] : ci.stage->subjects)
            postOf(ci.stage->junior, ix).demand += hours;
    if (options.teachers > firstNames().size() * surnames().size())
        return fail(QStringLiteral("a school has at most %1 teachers").arg(firstNames().size() * surnames().size()));
    const int teaching = options.teachers - kNonTeaching;
    int needed = 0;
    for (Post &p : posts) {
        p.staff = (p.demand + cap[p.junior] - 1) / cap[p.junior];
        needed += p.staff;
    }
    if (needed > teaching)
        return fail(QStringLiteral("%1 class-sections need at least %2 teachers").arg(classCount).arg(needed + kNonTeaching));
    for (int spare = teaching - needed; spare > 0; --spare) {
        Post *most = &posts[0];
        for (Post &p : posts)
            if (p.demand * most->staff > most->demand * p.staff)
                most = &p;
        ++most->staff;
    }

    // Teachers, with codes from the register.
    QStringList usedNames;
    auto addTeacher = [&](const QString &designation) -> int {
        TeacherRecord r;
        const Name *first = nullptr;
        QString surname;
        do {
            first = &firstNames()[int(rng() % firstNames().size())];
            surname = pickOf(surnames(), rng);
        } while (usedNames.contains(QString(first->first) + ' ' + surname));
        r.teachername = QString(first->first) + ' ' + surname;
        usedNames << r.teachername;
        r.shortname = first->first;
        r.designation = designation;
        r.gender = first->female ? "Female" : "Male";
        const int age = 24 + int(rng() % 35);
        r.dob = QDate(today.year() - age, 1 + int(rng() % 12), 1 + int(rng() % 28));
        r.doj = std::min(today.addDays(-30), QDate(r.dob.year() + 22 + int(rng() % std::max(1, age - 22)),
                                                   1 + int(rng() % 12), 1 + int(rng() % 28)));
        r.maritalstatus = age > 27 || rng() % 3 == 0 ? "Married" : "Single";
        if (r.maritalstatus == QLatin1String("Married")) {
            r.dom = std::min(today.addDays(-10), r.dob.addYears(23 + int(rng() % 6)).addDays(int(rng() % 300)));
            if (TeacherRegister::HusbandApplies(r.gender, r.maritalstatus))
                r.husbandname = pickOf(maleNames(), rng) + ' ' + surname;
        }
        r.fathername = pickOf(maleNames(), rng) + ' ' + (r.husbandname.isEmpty() ? surname : pickOf(surnames(), rng));
        r.mothername = pickOf(mothersNames(), rng) + ' ' + surname;
        r.address = QStringLiteral("%1, %2").arg(1 + int(rng() % 250)).arg(
            pickOf({"Malviya Nagar", "Vaishali Nagar", "Mansarovar", "C-Scheme", "Raja Park", "Bani Park"}, rng));
        r.city = "Jaipur";
        r.state = "Rajasthan";
        r.phone = QStringLiteral("98%1").arg(10000000 + int(rng() % 89999999));
        r.email = QString(first->first).toLower() + '.' + surname.toLower() + "@horalux.school";
        r.bloodgroup = pickOf(TeacherRegister::BloodGroups(), rng);
        r.religion = "Hindu";
        r.mothertongue = pickOf({"Hindi", "Hindi", "Rajasthani", "Marathi", "Tamil", "Bengali"}, rng);
        r.qualification = designation == QLatin1String("PGT")   ? "M.Sc., B.Ed."
                          : designation == QLatin1String("NTT") ? "NTT Diploma"
                          : designation == QLatin1String("TGT") ? "B.A., B.Ed."
                                                               : "M.A.";
        if (TeacherRegister::CheckDates(r, today)) {
            r.dom = QDate();
            r.maritalstatus = "Single";
            r.husbandname.clear();
        }
        return TeacherRegister::Insert(r);
    };
    struct Staff {
        int teacherid;
        const Post *post;
        int load = 0;
        QVector<int> levels;
    };
    QVector<Staff> staff;
    for (const Post &p : posts)
        for (int n = 0; n < p.staff; ++n) {
            const QString designation = p.junior ? "NTT" : (p.title == Physics || p.title == Chemistry || p.title == Biology) ? "PGT" : "TGT";
            const int id = addTeacher(designation);
            if (id == 0)
                return fail(QStringLiteral("a teacher could not be added: %1").arg(LastDatabaseError()));
            staff.push_back({id, &p});
        }
    for (const char *d : {"Principal", "Librarian"})
        if (addTeacher(d) == 0)
            return fail(QStringLiteral("a teacher could not be added: %1").arg(LastDatabaseError()));
    f.teachers = QueryValue("select count(*) from teachers").toInt();

    // Each class's subject goes to one teacher of the subject: the biggest loads first, to
    // the least loaded teacher (so loads stay even and nobody teaches more than the week).
    struct Duty {
        int classIx, title, hours;
    };
    QVector<Duty> duties;
    for (int i = 0; i < classes.size(); ++i)
        for (const auto &[ix, hours] : classes[i].stage->subjects)
            duties.push_back({i, ix, hours});
    std::stable_sort(duties.begin(), duties.end(), [](const Duty &a, const Duty &b) { return a.hours > b.hours; });
    WeekColouring week(classes.size(), staff.size(), classWeek, rng);
    for (const Duty &d : duties) {
        const bool junior = classes[d.classIx].stage->junior;
        int best = -1;
        for (int s = 0; s < staff.size(); ++s)
            if (staff[s].post->junior == junior && staff[s].post->title == d.title &&
                (best < 0 || staff[s].load < staff[best].load))
                best = s;
        if (best < 0 || staff[best].load + d.hours > (junior ? 35 : 50))
            return fail(QStringLiteral("too few teachers for the periods of the subjects"));
        staff[best].load += d.hours;
        staff[best].levels << classes[d.classIx].level;
        for (int h = 0; h < d.hours; ++h)
            week.lessons.push_back({d.classIx, best, d.title});
    }
    std::shuffle(week.lessons.begin(), week.lessons.end(), rng);
    for (int i = 0; i < week.lessons.size(); ++i)
        if (!week.place(i))
            ++f.unplaced;
    week.spread(classes.size());

    // Subjects per teacher, with the levels the teacher meets most and least.
    for (Staff &s : staff) {
        int most = 1, least = 1;
        if (!s.levels.isEmpty()) {
            std::sort(s.levels.begin(), s.levels.end());
            most = s.levels[s.levels.size() / 2];
            least = s.levels.first() == most ? s.levels.last() : s.levels.first();
        }
        if (!run("insert into teachersubjects values (?, ?, ?, ?)", {s.teacherid, ts[s.post->title].uniqueid, most, least},
                 error))
            return false;
    }
    // Some can stand in for a neighbouring subject as well.
    const QVector<QPair<int, int>> neighbours = {{Physics, ScienceGeneral}, {Biology, Evs}, {History, Geography},
                                                 {Geography, History}, {Hindi, Sanskrit}, {Art, Music}};
    for (const auto &[from, to] : neighbours)
        for (const Staff &s : staff)
            if (!s.post->junior && s.post->title == from) {
                if (!run("insert into teachersubjects values (?, ?, 8, 5)", {s.teacherid, ts[to].uniqueid}, error))
                    return false;
                break;
            }

    // The timetable, stored class by class in cell order as the editor saves it, and its
    // history: every class saved when the term began, a few saved again since.
    QVector<WeekColouring::Lesson> rows;
    for (const auto &l : week.lessons)
        if (l.cell >= 0)
            rows << l;
    std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
        return a.cls != b.cls ? a.cls < b.cls : a.cell < b.cell;
    });
    const QDate termStart = today.addDays(-60);
    QVector<bool> savedAgain(classes.size());
    for (int i = 0; i < classes.size(); ++i)
        savedAgain[i] = rng() % 8 == 0;
    for (const auto &r : rows) {
        const Values v = {staff[r.teacher].teacherid, ts[r.title].uniqueid, classes[r.cls].classid, r.cell / 6, r.cell % 6};
        if (!run("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)", v, error) ||
            !run("insert into Cummtimeschedule (ChangeDate, teacherid, subid, classid, period, weekday) "
                 "values (#?#, ?, ?, ?, ?, ?)",
                 Values{termStart} + v, error))
            return false;
    }
    for (const auto &r : rows)
        if (savedAgain[r.cls] &&
            !run("insert into Cummtimeschedule (ChangeDate, teacherid, subid, classid, period, weekday) "
                 "values (#?#, ?, ?, ?, ?, ?)",
                 {today.addDays(-7 - r.cls % 20), staff[r.teacher].teacherid, ts[r.title].uniqueid, classes[r.cls].classid,
                  r.cell / 6, r.cell % 6},
                 error))
            return false;
    f.lessons = rows.size();

    // Who teaches what: exactly the timetable's teachers and periods.
    if (!run("insert into classsubjectteachers (classid, subid, teacherid, hours) "
             "select classid, subid, teacherid, count(*) from timeschedule group by classid, subid, teacherid",
             {}, error))
        return false;
    f.allocations = QueryValue("select count(*) from classsubjectteachers").toInt();
    // A few part-timers: some periods of their week, where they teach nothing, they cannot teach.
    {
        QVector<int> order(staff.size());
        for (int i = 0; i < order.size(); ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        const int partTimers = std::max(2, int(staff.size()) / 15);
        for (int k = 0; k < partTimers && k < order.size(); ++k) {
            const int s = order[k];
            std::array<bool, kCells> busy{};
            for (const auto &l : week.lessons)
                if (l.teacher == s && l.cell >= 0)
                    busy[l.cell] = true;
            QVector<int> free;
            const std::array<bool, kCells> own = weekOf(staff[s].post->junior);
            for (int c = 0; c < kCells; ++c)
                if (!busy[c] && own[c])
                    free << c;
            std::shuffle(free.begin(), free.end(), rng);
            for (int n = 0; n < 3 + int(rng() % 3) && n < free.size(); ++n) {
                if (!run("insert into teacherunavailable (teacherid, weekday, period) values (?, ?, ?)",
                         {staff[s].teacherid, free[n] % 6, free[n] / 6}, error))
                    return false;
                ++f.unavailable;
            }
        }
    }

    // Today: a few teachers on leave over a few days, a few away for some periods, and most of
    // the periods they leave covered by free teachers.
    QVector<int> away;
    for (const Staff &s : staff)
        away << s.teacherid;
    std::shuffle(away.begin(), away.end(), rng);
    const int onLeave = std::max(2, int(staff.size()) / 30);
    const int absent = std::max(2, int(staff.size()) / 40);
    for (int i = 0; i < onLeave + absent && i < away.size(); ++i) {
        const bool leave = i < onLeave;
        const int from = leave ? 0 : 1 + int(rng() % 3);
        const int to = leave ? 8 : from + 2 + int(rng() % 3);
        const QDate first = leave ? today.addDays(-int(rng() % 2)) : today;
        const QDate last = leave ? today.addDays(int(rng() % 3)) : today;
        if (!run("insert into teacherattendence (teacherid, modetype, fromperiod, toperiod, fromdate, todate) "
                 "values (?, '?', ?, ?, #?#, #?#)",
                 {away[i], leave ? "Leave" : "Absent", from, to, first, last}, error))
            return false;
        ++(leave ? f.leaves : f.absences);
    }
    const QVector<CoverLine> cover = SubstitutionBook::periodsToCover(today);
    for (int i = 0; i < cover.size(); ++i) {
        if (i % 4 == 3)
            continue; // left for the user to arrange
        const QVector<FreeTeacher> free = SubstitutionBook::freeTeachers(today, cover[i].period);
        if (free.isEmpty())
            continue;
        const int who = free[int(rng() % free.size())].teacherid;
        if (SubstitutionBook::save(cover[i].teacherid, today, cover[i].period, who) != SubstitutionBook::Result::Saved)
            return fail(QStringLiteral("a substitution could not be recorded: %1").arg(LastDatabaseError()));
        ++f.substitutions;
    }

    // The school must be one the editors accept.
    const int clashes = QueryValue("select count(*) from (select teacherid from timeschedule "
                                   "group by teacherid, weekday, period having count(*) > 1)")
                            .toInt();
    if (clashes != 0 || f.unplaced != 0)
        return fail(QStringLiteral("generated school is inconsistent: %1 double bookings, %2 periods without room")
                        .arg(clashes)
                        .arg(f.unplaced));
    if (!t.commit())
        return fail(LastDatabaseError());
    if (figures)
        *figures = f;
    return true;
}
