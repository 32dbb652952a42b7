#include "AllocationProblems.h"

#include "AllocationBook.h"
#include "Database.h"
#include "Lookups.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <bit>

namespace alloc {

namespace {

QHash<int, QString> names(const QString &sql)
{
    QHash<int, QString> out;
    const Recordset rs = QueryQuiet(sql);
    for (const QVariantList &r : rs.rows())
        out.insert(r[0].toInt(), r[1].toString().trimmed());
    return out;
}

QString periods(int n) { return n == 1 ? QStringLiteral("1 period") : QStringLiteral("%1 periods").arg(n); }

} // namespace

QStringList Problems()
{
    const QHash<int, QString> classes = names(QStringLiteral("select classid, %1 from classsection").arg(ClassSectionExpr()));
    const QHash<int, QString> subjects = names(QStringLiteral("select st.uniqueid, %1 from subjtype st, subjects s where s.subid = st.subid")
                                                   .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))));
    const QHash<int, QString> teachers = names(QStringLiteral("select teacherid, teachername from teachers"));
    auto className = [&](int id) { return classes.value(id, QStringLiteral("(removed class %1)").arg(id)); };
    auto subjectName = [&](int id) { return subjects.value(id, QStringLiteral("(removed subject %1)").arg(id)); };
    auto teacherName = [&](int id) { return teachers.value(id, QStringLiteral("(removed teacher %1)").arg(id)); };
    // Classes in the school's order, so that the lines read as the class lists do.
    QHash<int, int> rank;
    {
        const Recordset rs = QueryQuiet(QStringLiteral("select classid from classsection order by sortorder, section, classid"));
        for (const QVariantList &r : rs.rows())
            rank.insert(r[0].toInt(), int(rank.size()));
    }

    QHash<QPair<int, int>, int> hours;
    QHash<int, int> classTotal;
    QSet<int> taughtSubjects;
    QSet<QPair<int, int>> teaches;
    const Recordset taught = QueryQuiet(QStringLiteral("select teacherid, subid from teachersubjects"));
    for (const QVariantList &r : taught.rows()) {
        teaches.insert({r[0].toInt(), r[1].toInt()});
        taughtSubjects.insert(r[1].toInt());
    }
    const Recordset cs = QueryQuiet(QStringLiteral("select classid, subid, hours from classsubjects"));
    for (const QVariantList &r : cs.rows()) {
        hours.insert({r[0].toInt(), r[1].toInt()}, r[2].toInt());
        classTotal[r[0].toInt()] += r[2].toInt();
    }
    auto order = [&](int classid) { return rank.value(classid, 1 << 30); };

    QStringList over, overTeachers, above, nobody, notTeaching, unavailableLessons;

    // A class whose curriculum asks for more periods than its week has.
    const QHash<int, CellMask> weeks = ClassWeeks();
    QMap<QPair<int, int>, QString> sorted;
    for (auto it = classTotal.begin(); it != classTotal.end(); ++it) {
        const int has = std::popcount(weeks.value(it.key()));
        if (it.value() > has)
            sorted.insert({order(it.key()), it.key()},
                          QStringLiteral("Class %1: the curriculum asks for %2 a week, but the class has only %3. Lower "
                                         "the periods in \"Assign Subjects to Class\" or give the class more periods in "
                                         "\"Assign Period System to Class\".")
                              .arg(className(it.key()), periods(it.value()))
                              .arg(has));
    }
    over = sorted.values();

    // A teacher allocated more periods than they can teach.
    const CellMask school = SchoolWeek(weeks);
    const QHash<int, CellMask> unavailable = UnavailableByTeacher();
    const QHash<int, int> load = AllocatedByTeacher();
    QMap<QString, QString> byName;
    for (auto it = load.begin(); it != load.end(); ++it) {
        const int can = std::popcount(school & ~unavailable.value(it.key()));
        if (it.value() > can)
            byName.insert(teacherName(it.key()) + QChar(0) + QString::number(it.key()),
                          QStringLiteral("Teacher %1: %2 allocated, but available in only %3. Mark more periods "
                                         "available on the \"Availability\" tab or give some of the periods to another "
                                         "teacher on the \"Teachers for Subjects\" tab.")
                              .arg(teacherName(it.key()), periods(it.value()))
                              .arg(can));
    }
    overTeachers = byName.values();

    // Allocations above a subject's curriculum, and allocated teachers who no longer teach it.
    QMap<QPair<int, int>, int> allocated;
    QMap<std::tuple<int, int, QString>, QString> notTeachingSorted;
    for (const Allocation &a : Allocations()) {
        allocated[{a.classId, a.subjectId}] += a.hours;
        if (!teaches.contains({a.teacherId, a.subjectId}))
            notTeachingSorted.insert({order(a.classId), a.subjectId, teacherName(a.teacherId)},
                                     QStringLiteral("Class %1, %2: %3 is allocated %4 but no longer teaches the subject. "
                                                    "Give the subject back in \"Assign Subjects to Teacher\" or remove "
                                                    "the allocation on the \"Teachers for Subjects\" tab.")
                                         .arg(className(a.classId), subjectName(a.subjectId), teacherName(a.teacherId),
                                              periods(a.hours)));
    }
    notTeaching = notTeachingSorted.values();
    QMap<QPair<int, int>, QString> aboveSorted;
    for (auto it = allocated.begin(); it != allocated.end(); ++it) {
        const auto plan = hours.find(it.key());
        const QString where = QStringLiteral("Class %1, %2: ").arg(className(it.key().first), subjectName(it.key().second));
        if (plan == hours.end())
            aboveSorted.insert({order(it.key().first), it.key().second},
                               where + QStringLiteral("%1 allocated, but the subject is no longer in the class's "
                                                      "curriculum. Remove the allocations on the \"Teachers for "
                                                      "Subjects\" tab.")
                                           .arg(periods(it.value())));
        else if (it.value() > plan.value())
            aboveSorted.insert({order(it.key().first), it.key().second},
                               where + QStringLiteral("%1 allocated, but the curriculum has %2 a week. Remove %3 on "
                                                      "the \"Teachers for Subjects\" tab.")
                                           .arg(periods(it.value()), periods(plan.value()), periods(it.value() - plan.value())));
    }
    above = aboveSorted.values();

    // A class-subject that no teacher teaches.
    QMap<QPair<int, int>, QString> nobodySorted;
    for (auto it = hours.begin(); it != hours.end(); ++it)
        if (!taughtSubjects.contains(it.key().second))
            nobodySorted.insert({order(it.key().first), it.key().second},
                                QStringLiteral("Class %1, %2: no teacher teaches this subject. Give it to a teacher in "
                                               "\"Assign Subjects to Teacher\".")
                                    .arg(className(it.key().first), subjectName(it.key().second)));
    nobody = nobodySorted.values();

    // Lessons already placed in periods their teacher cannot teach.
    const Recordset clash = QueryQuiet(QStringLiteral(
        "select ts.teacherid, ts.classid, ts.subid, ts.weekday, ts.period from timeschedule ts "
        "join teacherunavailable u on u.teacherid = ts.teacherid and u.weekday = ts.weekday and u.period = ts.period "
        "order by ts.teacherid, ts.weekday, ts.period"));
    QMap<QString, QString> clashSorted;
    for (const QVariantList &r : clash.rows())
        clashSorted.insert(teacherName(r[0].toInt()) + QChar(0) + QStringLiteral("%1%2%3").arg(r[3].toInt()).arg(r[4].toInt()).arg(r[1].toInt(), 8),
                           QStringLiteral("Teacher %1 teaches %2 %3 on %4, period %5, which is marked not available. "
                                          "Move the lesson in \"Class Schedule\" or clear the mark on the "
                                          "\"Availability\" tab.")
                               .arg(teacherName(r[0].toInt()), className(r[1].toInt()), subjectName(r[2].toInt()),
                                    DayName(r[3].toInt()))
                               .arg(r[4].toInt() + 1));
    unavailableLessons = clashSorted.values();

    return over + overTeachers + above + nobody + notTeaching + unavailableLessons;
}

} // namespace alloc
