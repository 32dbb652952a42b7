#pragma once
// A crafted school for building weeks: VI-A and VI-B on a short week (Monday and Tuesday,
// periods I to III: six periods each), VII-A beside them. The allocations fill both weeks and
// the weeks of Anita and Bela exactly, so a week is complete only if every period is used.
#include "TestSupport.h"

struct GenerateSchool {
    enum { VIA = 1, VIB = 2, VIIA = 3 };
    enum { Maths = 1, English = 2, Art = 3 };
    enum { Anita = 1, Bela = 2, Chand = 3 };
    // cell = period * 6 + week-day
    enum { MonI = 0, TueI = 1, MonII = 6, TueII = 7, MonIII = 12, TueIII = 13 };

    explicit GenerateSchool(TestDatabase &db) : db(db)
    {
        db.exec("insert into classsection (classid, class, section, sortorder) values "
                "(1, 'VI', 'A', 9), (2, 'VI', 'B', 9), (3, 'VII', 'A', 10)");
        db.exec("insert into periodsystem values (1, 'Short', 3, 40, '08:30', 2, 20, 'AM')");
        db.exec("insert into classperiods values (1, 1, '0,1'), (2, 1, '0,1'), (3, 1, '0,1')");
        db.exec("insert into subjects values ('Maths', 1), ('English', 2), ('Art', 3)");
        db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2), (3, '', 3)");
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values "
                "('AR1', 'Anita Rao', 1), ('BS2', 'Bela Sen', 2), ('CD3', 'Chand Das', 3)");
        db.exec("insert into teachersubjects values (1, 1, 6, 8), (1, 2, 6, 8), (2, 1, 6, 8), (2, 2, 6, 8), (3, 1, 6, 8)");
        db.exec("insert into classsubjects values (1, 1, 3, 6), (1, 2, 3, 6), (2, 1, 3, 6), (2, 2, 3, 6), (3, 1, 1, 7)");
        db.exec("insert into classsubjectteachers values (1, 1, 1, 3), (1, 2, 2, 3), (2, 1, 2, 3), (2, 2, 1, 3)");
        LoadSubjectSnapshot();
    }

    void lesson(int classid, int cell, int teacher, int subject)
    {
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)",
                {teacher, subject, classid, cell / 6, cell % 6});
    }
    int lessons(int classid, int teacher = 0, int subject = 0)
    {
        return db.count("timeschedule", "classid = ? and (? = 0 or teacherid = ?) and (? = 0 or subid = ?)",
                        {classid, teacher, teacher, subject, subject});
    }
    // Teacher-periods holding more than one lesson, over the whole timetable.
    int teacherClashes()
    {
        return QueryValue("select count(*) from (select 1 from timeschedule group by teacherid, weekday, period "
                          "having count(*) > 1)")
            .toInt();
    }

    TestDatabase &db;
};
