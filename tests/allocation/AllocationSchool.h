#pragma once
// A small school for the allocation tests: two levels, two subjects, four teachers with
// preferred levels, a 30-period week (6 periods, Monday to Friday).
#include "TestSupport.h"

namespace school {

enum Class { VIA = 1, VIB = 2, XIA = 3, XIB = 4 };
enum Subject { Maths = 1, English = 2, Art = 3 };
enum Teacher { Asha = 1, Ravi = 2, Meena = 3, Kiran = 4 };

inline void Seed(TestDatabase &db)
{
    db.exec("insert into classsection (class, section, sortorder) values ('VI','A',9), ('VI','B',9), ('XI','A',14), ('XI','B',14)");
    db.exec("insert into periodsystem values (1,'Regular',6,40,'08:00',3,20,'AM')");
    for (int c = VIA; c <= XIB; ++c)
        db.exec("insert into classperiods values (?,1,'0,1,2,3,4')", {c});
    db.exec("insert into subjects values ('Maths',1), ('English',2), ('Art',3)");
    db.exec("insert into subjtype (subid, subtype) values (1,''), (2,''), (3,'')");
    for (const auto &[id, name] : {std::pair{Asha, "Asha Sharma"}, {Ravi, "Ravi Rao"}, {Meena, "Meena Iyer"}, {Kiran, "Kiran Das"}})
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values (?, ?, ?)", {QString("T%1").arg(id), name, id});
    // Asha prefers the seniors, Ravi the juniors; both English teachers any level.
    db.exec("insert into teachersubjects values (1,1,11,12), (2,1,6,7), (3,2,1,12), (4,2,1,12)");
    for (int c = VIA; c <= XIB; ++c) {
        const int level = c <= VIB ? 6 : 11;
        db.exec("insert into classsubjects values (?,1,6,?), (?,2,5,?)", {c, level, c, level});
    }
}

inline void Place(TestDatabase &db, int cls, int day, int period, int teacher, int subject)
{
    db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?,?,?,?,?)",
            {teacher, subject, cls, period, day});
}

inline int Hours(int cls, int subject, int teacher)
{
    return QueryValue("select ifnull(sum(hours),0) from classsubjectteachers where classid = ? and subid = ? and teacherid = ?",
                      {cls, subject, teacher}).toInt();
}

} // namespace school
