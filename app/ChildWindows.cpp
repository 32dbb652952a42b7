#include "ChildWindows.h"

#include <QWidget>

#include "FrmClassSubject.h"
#include "FrmTeacherSubject.h"

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
        // curriculum
        {"MnuClassSubject", "FrmClassSubject", [] { return new FrmClassSubject; }},
        {"MnuAssignTeacher", "FrmTeacherSubject", [] { return new FrmTeacherSubject; }},
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
