#include "ChildWindows.h"
#include "FrmClassSchedule.h"

#include "frmClassPeriod.h"
#include "frmDefinePeriodSys.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // periods
        {"mnuPeriodSystem", "frmDefinePeriodSys", [] { return new frmDefinePeriodSys; }},
        {"mnuAssignPStoClass", "frmClassPeriod", [] { return new frmClassPeriod; }},
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
