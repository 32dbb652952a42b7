#include "ChildWindows.h"
#include "FrmClassSchedule.h"
#include "FrmClassSection.h"
#include "frmSubject.h"
#include "frmTeacher.h"

#include "frmClassPeriod.h"
#include "frmDefinePeriodSys.h"

#include "FrmSchoolDtl.h"

#include "FrmGenerate.h"
#include "FrmTeacherSchedule.h"
#include "FrmLeaves.h"
#include "FrmSubstitute.h"
#include "frmTeacherAtt.h"

#include "FrmReports.h"
#include "FrmSubstitutionStats.h"
#include "ReportRunner.h"

#include <QWidget>

#include "FrmAllocation.h"
#include "FrmClassSubject.h"
#include "FrmTeacherSubject.h"

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // masters: school
        {"MnuSchInfo", "FrmSchoolDtl", [] { return new FrmSchoolDtl; }},
        // masters: class section
        {"mnuClassSection", "FrmClassSection", [] { return new FrmClassSection; }},
        // masters: teacher
        {"mnuTeacher", "frmTeacher", [] { return new frmTeacher; }},
        // masters: subject
        {"mnuSubjects", "frmSubject", [] { return new frmSubject; }},
        // periods
        {"mnuPeriodSystem", "frmDefinePeriodSys", [] { return new frmDefinePeriodSys; }},
        {"mnuAssignPStoClass", "frmClassPeriod", [] { return new frmClassPeriod; }},
        // timetable: class
        {"MnuClassSchedule", "FrmClassSchedule", [] { return new FrmClassSchedule; }},
        // timetable: teacher
        {"MnuTeacherSchedule", "FrmTeacherSchedule", [] { return new FrmTeacherSchedule; }},
        // timetable: the whole school's week built by the generator
        {"MnuGenerate", "FrmGenerate", [] { return new FrmGenerate; }},
        // daily
        {"MnuLeave", "FrmLeaves", [] { return new FrmLeaves; }},
        {"mnuTeacherAtt", "frmTeacherAtt", [] { return new frmTeacherAtt; }},
        {"mnuSubs", "FrmSubstitute", [] { return new FrmSubstitute; }},
        // reports
        {"mnuSubstitute", "FrmReports", [] { return new FrmReports; }},
        {"mnuSubstStats", "FrmSubstitutionStats", [] { return new FrmSubstitutionStats; }},
        // curriculum
        {"MnuClassSubject", "FrmClassSubject", [] { return new FrmClassSubject; }},
        {"MnuAssignTeacher", "FrmTeacherSubject", [] { return new FrmTeacherSubject; }},
        // who teaches what, and when teachers can teach
        {"MnuAllocation", "FrmAllocation", [] { return new FrmAllocation; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
        // reports
        {"MnuClassSchSumm", [] { rpt::RunMenuReport("classschsumm.rpt"); }},
        {"MnuTeacherschsumm", [] { rpt::RunMenuReport("teacherschsumm.rpt"); }},
        {"MnuTmTable", [] { rpt::RunMenuReport("classtmtable.rpt"); }},
        {"MnuTchrTmTable", [] { rpt::RunMenuReport("tchrtmtable.rpt"); }},
        {"MnuFreePeriod", [] { rpt::RunMenuReport("freeperiod.rpt"); }},
        {"mnuTimetableCheck", [] { rpt::RunMenuReport("timetablecheck.rpt"); }},
    };
    return entries;
}
