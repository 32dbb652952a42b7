#pragma once
// The program's one report component and the requests that use it: the menu reports, the
// schedule editors' printing (through hx::RunReport) and the substitution slip.
#include "Report.h"

#include <QStringList>

namespace rpt {

// The component shared by every request; each request sets all of it anew.
Report &SharedReport();

// The connection every request passes: the data source the program registers.
QString ConnectString();
// "school = '<the school's name>'", the name's quotes doubled.
QString SchoolFormula();

// One request: formula slot 0 the school formula, slots 1, ... from the list, the template
// (a file name) from the reports folder,
// the connection, the selection, a maximised window, start. The selection is cleared
// afterwards. A fault has been shown to the user when this returns false.
bool RunTemplate(const QString &templateFile, const QString &selection = QString(),
                 const QStringList &extraFormulas = QStringList());

// A report of the main window's "Reports" menu: the school formula only, all records.
bool RunMenuReport(const QString &templateFile);

// Makes hx::RunReport print through this component (called when the main window starts).
void InstallReportRunner();

} // namespace rpt
