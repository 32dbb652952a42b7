#pragma once
// What the class and the teacher schedule editors share: the week's cells, their colours,
// and the free-teacher lists. Each editor keeps its own selection.
#include "TimetableStore.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QGridLayout;
class QLabel;
class QMdiSubWindow;
class QObject;

class QLabel;

namespace tt {

constexpr int kDays = 6;    // Monday .. Saturday
constexpr int kPeriods = 9; // I .. IX
constexpr int kCells = kDays * kPeriods;

constexpr int CellIndex(int day, int period) { return period * kDays + day; }
constexpr int CellDay(int cell) { return cell % kDays; }
constexpr int CellPeriod(int cell) { return cell / kDays; }

// "I" .. "IX" for periods 0 .. 8.
QString PeriodRoman(int period);
// The day rows' captions, "        MON" .. "        SAT".
QString DayCaption(int day);

// A cell's caption holds its lessons as lines separated by carriage returns.
constexpr QChar kCR = QChar(13);
QStringList SplitCaption(const QString &caption);
QString JoinCaption(const QStringList &lines);

QColor ColSelected();    // the system's tool-tip background
QColor ColFree();        // 255, 192, 128
QColor ColBusy();        // 255, 128, 128
QColor ColSubject();     // 192, 192, 0
QColor ColUnavailable(); // the system's button face
QColor ColSubstitute();  // 192, 0, 0, bold text of a substitute lesson

// A sample of a cell colour with its meaning beside a grid.
QLabel *Legend(const QColor &colour, const QString &text, const QString &name = QString());

// The week grid as the editors draw it: period headings "I" .. "IX" on row 0 (returned, for
// windows that make them clickable), day captions in column 0, and cells of the editors' size
// and font at (day + 1, period + 1).
std::array<QLabel *, kPeriods> AddWeekHeadings(QGridLayout *grid);
QLabel *AddWeekCell(QGridLayout *grid, int cell, QLabel *label);
// Sets a cell's background, and red bold text for a substitute lesson.
void PaintCell(QLabel *cell, const QColor &background, bool substitute = false);

// Runs `activated` each time the window's frame becomes the active child coming from another
// child window (a message box coming and going is no activation), and once now if it is the
// active one already.
void ConnectActivation(QMdiSubWindow *frame, QObject *context, std::function<void()> activated);

// What an editor does after the store answered its Save.
enum class AfterSave { Saved, Reload, Keep };
// Tells the user why a week was not saved (a failure has been shown already) and, for a week
// changed elsewhere, asks whether to reload it.
AfterSave TellSaveResult(const store::SaveResult &result);

} // namespace tt

// Names of the teachers free in each cell, kept for the whole run.
extern std::array<QString, tt::kCells> FreeTeacherList;
