#include "ChildWindows.h"
#include "FrmClassSchedule.h"

#include "frmClassPeriod.h"
#include "frmDefinePeriodSys.h"

#include "FrmTeacherSchedule.h"
#include "FrmLeaves.h"
#include "FrmSubstitute.h"
#include "frmTeacherAtt.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // periods
        {"mnuPeriodSystem", "frmDefinePeriodSys", [] { return new frmDefinePeriodSys; }},
        {"mnuAssignPStoClass", "frmClassPeriod", [] { return new frmClassPeriod; }},
        // timetable: class
        {"MnuClassSchedule", "FrmClassSchedule", [] { return new FrmClassSchedule; }},
        // timetable: teacher
        {"MnuTeacherSchedule", "FrmTeacherSchedule", [] { return new FrmTeacherSchedule; }},
        // daily
        {"MnuLeave", "FrmLeaves", [] { return new FrmLeaves; }},
        {"mnuTeacherAtt", "frmTeacherAtt", [] { return new frmTeacherAtt; }},
        {"mnuSubs", "FrmSubstitute", [] { return new FrmSubstitute; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
