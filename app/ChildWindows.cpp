#include "ChildWindows.h"

#include "FrmReports.h"
#include "ReportRunner.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // reports
        {"mnuSubstitute", "FrmReports", [] { return new FrmReports; }},
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
    };
    return entries;
}
