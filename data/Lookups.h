#pragma once
// Translations between the names the user sees and the ids the tables keep.
#include <QString>

class QWidget;
class QComboBox;
class Recordset;
#include <QList>
#include <QVariantList>

QString SqlSafeText(const QString &text);
QString DayName(int day);

int SubjectIdByName(const QString &subjectGroup);      // from the start-up snapshot; 0 if none
QString SubjectNameById(int subid);                    // empty if none
int TeacherIdByName(const QString &teacherName);       // 0 if none
QString TeacherNameById(int teacherid);                // empty if none
int SubjectUniqueIdByText(const QString &subjectText); // 0 if none
QString SubjectTextByUniqueId(const QString &uniqueid); // "0" if none
int ClassIdByClassSection(const QString &classSection); // 0 if none

// Names compared as the user reads them: blanks around them and letter case (of every
// alphabet, not only the English one) do not count.
QString NameKey(const QString &name);
bool SameName(const QString &a, const QString &b);
// The id (column 0) of the row whose name (column 1) is the given one: an exact match first,
// else one that differs only as SameName allows; exceptId is passed over. 0 if none.
int FindNameIn(const Recordset &idAndName, const QString &name, int exceptId = 0);
// Whether the row still exists (another window may have deleted it meanwhile).
bool TeacherExists(int teacherid);
bool SubjectTitleExists(int uniqueid);

// The periods a teacher cannot teach, as a set of cells: bit (period * 6 + week-day).
quint64 TeacherUnavailableCells(int teacherid);

// Removes the lessons that lie beyond the periods a day of the period system, on every
// class and day that follows it. Runs as one change; false when it failed.
bool RemoveSurplusPeriods(int periodsysid);

// The SQL expression that shows a class-section as "VII-B" ("VII-" without section),
// for the table alias given (empty for none).
QString ClassSectionExpr(const QString &alias = QString());
// The SQL expression that shows a subject title as "Maths Algebra".
QString SubjectTextExpr(const QString &groupAlias, const QString &titleAlias);

// --- filling and clearing controls ------------------------------------------------------

void FillCombo(QComboBox *combo, const QString &sql, const QVariantList &params = {});
void FillComboWithIds(QComboBox *combo, const QString &sql, const QVariantList &params = {});
void ClearFormControls(QWidget *window);
// The id of the record a combo filled with FillComboWithIds shows: that of the item chosen
// from the list, or of the one item whose text equals the typed text (case ignored). 0 when no item
// matches, -1 when several do (two records of the same name: only choosing tells them apart).
int ChosenId(const QComboBox *combo);
// Lets ChosenId tell a name typed into an editable combo from one chosen from its list;
// ForgetTypedText when the window itself puts a chosen record into the box.
void TrackTypedText(QComboBox *combo);
void ForgetTypedText(QComboBox *combo);
void FillControlsFromRecord(const Recordset &rs, const QList<QWidget *> &controls);
// Left button only: mode 3 swaps the caption with the "tag" property, any other mode
// swaps it with the tool-tip.
void SwapCaption(QWidget *control, int button, int mode);
