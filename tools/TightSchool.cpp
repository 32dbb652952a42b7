#include "TightSchool.h"

#include "Database.h"

#include <QHash>
#include <QVector>
#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>
#include <array>
#include <random>

namespace {

constexpr int kCells = 54; // cell = period * 6 + week-day

struct Lesson {
    int classid = 0;
    int subid = 0;
    int cell = 0;
    int teacher = 0; // index into the new staff
};

bool run(const QString &sql, const Values &v, QString *error)
{
    if (ExecuteSql(sql, v))
        return true;
    if (error)
        *error = LastDatabaseError();
    return false;
}

} // namespace

bool TightenDemoSchool(quint32 seed, int keepOneIn, TightSchoolFigures *figures, QString *error)
{
    std::mt19937 rng(seed ^ 0x7167687Fu);
    QVector<Lesson> lessons;
    const Recordset week = OpenRecordset(
        QStringLiteral("select classid, subid, period * 6 + weekday from timeschedule order by classid, weekday, period"));
    for (const QVariantList &r : week.rows())
        lessons.push_back({r[0].toInt(), r[1].toInt(), r[2].toInt(), -1});
    if (lessons.isEmpty()) {
        if (error)
            *error = QStringLiteral("the demo school has no timetable to tighten");
        return false;
    }
    std::array<int, kCells> perCell{};
    for (const Lesson &l : lessons)
        ++perCell[l.cell];
    const int busiest = *std::max_element(perCell.begin(), perCell.end());
    // Two spare teachers a day: the ones with that day off.
    const int staff = busiest + 2;
    const int dayOff = (staff + 9) / 10;
    QVector<int> offDay(staff, -1);
    {
        QVector<int> order(staff);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        for (int k = 0; k < dayOff; ++k)
            offDay[order[k]] = k % 6;
    }

    // Period by period, each lesson goes to a free teacher, preferring one who already takes
    // this class-subject, then this subject, so that teachers keep to few subjects.
    QVector<QHash<int, int>> subjectsOf(staff); // subid -> lessons
    QHash<QPair<int, int>, QVector<int>> takers; // (classid, subid) -> teachers
    std::array<QVector<int>, kCells> atCell;
    for (int i = 0; i < lessons.size(); ++i)
        atCell[lessons[i].cell] << i;
    QVector<quint64> busy(staff, 0);
    for (int cell = 0; cell < kCells; ++cell) {
        QVector<int> &here = atCell[cell];
        std::shuffle(here.begin(), here.end(), rng);
        for (int i : here) {
            Lesson &l = lessons[i];
            int best = -1, bestScore = -1;
            for (int t = 0; t < staff; ++t) {
                if ((busy[t] >> cell) & 1 || offDay[t] == cell % 6)
                    continue;
                const int score = (takers.value({l.classid, l.subid}).contains(t) ? 4 : 0)
                    + (subjectsOf[t].contains(l.subid) ? 2 : 0) + (subjectsOf[t].size() < 3 ? 1 : 0);
                if (score > bestScore) {
                    best = t;
                    bestScore = score;
                }
            }
            if (best < 0) {
                if (error)
                    *error = QStringLiteral("no free teacher for a lesson of the tight school");
                return false;
            }
            l.teacher = best;
            busy[best] |= quint64(1) << cell;
            ++subjectsOf[best][l.subid];
            if (!takers[{l.classid, l.subid}].contains(best))
                takers[{l.classid, l.subid}] << best;
        }
    }

    Transaction t;
    const QVector<int> ids = [&] {
        QVector<int> out;
        const Recordset teachers = OpenRecordset(QStringLiteral("select teacherid from teachers order by teacherid"));
        for (const QVariantList &r : teachers.rows())
            out << r[0].toInt();
        return out;
    }();
    if (ids.size() < staff) {
        if (error)
            *error = QStringLiteral("the demo school has too few teachers to tighten");
        return false;
    }
    for (const char *sql : {"delete from teacherattendence", "delete from substitute", "delete from cummtimeschedule",
                            "delete from timeschedule", "delete from classsubjectteachers",
                            "delete from teacherunavailable", "delete from teachersubjects"})
        if (!run(QString::fromLatin1(sql), {}, error))
            return false;
    if (!run(QStringLiteral("delete from teachers where teacherid > ?"), {ids[staff - 1]}, error))
        return false;
    TightSchoolFigures f;
    f.teachers = staff;
    f.lessons = lessons.size();
    f.dayOff = dayOff;
    for (int s = 0; s < staff; ++s) {
        for (auto it = subjectsOf[s].cbegin(); it != subjectsOf[s].cend(); ++it)
            if (!run(QStringLiteral("insert into teachersubjects values (?, ?, 1, 12)"), {ids[s], it.key()}, error))
                return false;
        // Every period without a lesson is one the teacher cannot teach: allocated all they can.
        for (int cell = 0; cell < kCells; ++cell) {
            if ((busy[s] >> cell) & 1)
                continue;
            if (!run(QStringLiteral("insert into teacherunavailable (teacherid, weekday, period) values (?, ?, ?)"),
                     {ids[s], cell % 6, cell / 6}, error))
                return false;
            ++f.unavailable;
        }
    }
    std::map<std::tuple<int, int, int>, int> hours;
    for (const Lesson &l : lessons)
        ++hours[{l.classid, l.subid, ids[l.teacher]}];
    for (const auto &[key, n] : hours)
        if (!run(QStringLiteral("insert into classsubjectteachers values (?, ?, ?, ?)"),
                 {std::get<0>(key), std::get<1>(key), std::get<2>(key), n}, error))
            return false;
    std::uniform_int_distribution<int> keep(0, std::max(1, keepOneIn) - 1);
    for (const Lesson &l : lessons) {
        if (keep(rng) != 0)
            continue;
        if (!run(QStringLiteral("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)"),
                 {ids[l.teacher], l.subid, l.classid, l.cell / 6, l.cell % 6}, error))
            return false;
        ++f.kept;
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
