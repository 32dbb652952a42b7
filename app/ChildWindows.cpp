#include "ChildWindows.h"
#include "FrmClassSchedule.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // timetable: class
        {"MnuClassSchedule", "FrmClassSchedule", [] { return new FrmClassSchedule; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
