#pragma once
// A realistic large school for trying the program and timing it: 150 teachers,
// 100 class-sections, period systems, curriculum, teachers' subjects and a full timetable.
#include <QString>

struct DemoSchoolFigures {
    int teachers = 0;
    int classSections = 0;
    int subjectTitles = 0;
    int lessons = 0;        // timetable rows written
    int unplaced = 0;       // planned periods the generator found no room for
    int twoLessonCells = 0; // cells where two subjects share the period
};

// Creates <folder>/school.db from the schema and fills it. Refuses an existing file.
// Leaves the database open (Conn) on success.
bool CreateDemoSchool(const QString &folder, const QString &schemaFile, DemoSchoolFigures *figures,
                      QString *error);

// Fills the open, empty database.
bool FillDemoSchool(DemoSchoolFigures *figures, QString *error);
