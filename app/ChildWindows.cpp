#include "ChildWindows.h"

#include "FrmTeacherSchedule.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // timetable: teacher
        {"MnuTeacherSchedule", "FrmTeacherSchedule", [] { return new FrmTeacherSchedule; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
