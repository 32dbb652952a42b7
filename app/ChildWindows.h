#pragma once
// What each menu entry of the main window opens or prints. An entry without a line here
// stays in the menu, disabled.
#include <QString>
#include <functional>
#include <vector>

class QWidget;

struct ChildWindowEntry {
    QString menu;   // the menu entry's control name, e.g. "mnuTeacher"
    QString window; // the window's objectName, e.g. "frmTeacher"
    std::function<QWidget *()> create;
};

struct ReportEntry {
    QString menu;
    std::function<void()> run;
};

// Mutable so that a test can add a window of its own before the main window is built.
std::vector<ChildWindowEntry> &ChildWindowEntries();
const std::vector<ReportEntry> &ReportEntries();
