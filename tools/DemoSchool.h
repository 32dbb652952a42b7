#pragma once
// A realistic school for trying the program and timing it: teachers, class-sections, period
// systems, curriculum, teachers' subjects, a full timetable with its history, and a day of
// leave, absences and substitutions.
#include <QDate>
#include <QString>

struct DemoSchoolOptions {
    int classSections = 100;
    int teachers = 150;
    quint32 seed = 20261207;
    bool overwrite = false;     // replace an existing school.db
    QDate today = QDate::currentDate(); // the day of the leaves, absences and substitutions

    // About a dozen class-sections and 25 teachers: a school to find one's way around in.
    static DemoSchoolOptions small();
    // 100 class-sections and 150 teachers, 9 periods a day, 6 days: the school to time.
    static DemoSchoolOptions large();
};

struct DemoSchoolFigures {
    int teachers = 0;
    int classSections = 0;
    int subjectTitles = 0;
    int lessons = 0;        // timetable rows written
    int unplaced = 0;       // planned periods the generator found no room for
    int twoLessonCells = 0; // cells where two subjects share the period (none: weeks fill exactly)
    int leaves = 0;         // teachers on leave today
    int absences = 0;       // teachers absent for some periods today
    int substitutions = 0;  // periods covered by a substitute today
    int allocations = 0;    // class-subject teachers, as the timetable has them
    int unavailable = 0;    // periods some teachers cannot teach (none of them holds a lesson)
};

// Creates <folder>/school.db from the schema and fills it. Refuses an existing file unless
// options.overwrite, and a folder it cannot write, with the reason in *error. Leaves the
// database open (Conn) on success.
bool CreateDemoSchool(const QString &folder, const QString &schemaFile, const DemoSchoolOptions &options,
                      DemoSchoolFigures *figures, QString *error);
// The large school with the default seed.
bool CreateDemoSchool(const QString &folder, const QString &schemaFile, DemoSchoolFigures *figures,
                      QString *error);

// Fills the open, empty database.
bool FillDemoSchool(const DemoSchoolOptions &options, DemoSchoolFigures *figures, QString *error);

// Copies the report templates (*.rpt of templateFolder) into <folder>/reports, so that the
// program started on that folder finds its reports. A template already there is kept: it
// may have been edited.
bool CopyReportTemplates(const QString &templateFolder, const QString &folder, QString *error);
