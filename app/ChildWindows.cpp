#include "ChildWindows.h"

#include <QWidget>

std::vector<ChildWindowEntry> &ChildWindowEntries()
{
    static std::vector<ChildWindowEntry> entries = {
    };
    return entries;
}

const std::vector<ReportEntry> &ReportEntries()
{
    static const std::vector<ReportEntry> entries = {
    };
    return entries;
}
