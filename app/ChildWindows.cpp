#include "ChildWindows.h"
#include "FrmLeaves.h"
#include "FrmSubstitute.h"
#include "frmTeacherAtt.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
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
