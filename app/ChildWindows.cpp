#include "ChildWindows.h"

#include "frmClassPeriod.h"
#include "frmDefinePeriodSys.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // periods
        {"mnuPeriodSystem", "frmDefinePeriodSys", [] { return new frmDefinePeriodSys; }},
        {"mnuAssignPStoClass", "frmClassPeriod", [] { return new frmClassPeriod; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
