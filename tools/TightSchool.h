#pragma once
// A hard school for the generator: the demo school's classes and curriculum with as few
// teachers as its busiest period needs, each allocated every period they can teach.
#include <QString>
#include <QtGlobal>

struct TightSchoolFigures {
    int teachers = 0;
    int lessons = 0;
    int kept = 0;          // lessons left in the timetable
    int dayOff = 0;        // teachers unavailable for a whole day
    int unavailable = 0;   // teacher-periods marked not available
};

// Turns the open, freshly filled demo school into the tight one: a week in which every class
// and every teacher is exactly full is made first (so one surely exists); its allocations are
// written, one teacher in ten cannot teach on one whole day, the periods a teacher has no
// lesson in are marked not available, and about one lesson in `keepOneIn` stays placed.
bool TightenDemoSchool(quint32 seed, int keepOneIn, TightSchoolFigures *figures, QString *error);
