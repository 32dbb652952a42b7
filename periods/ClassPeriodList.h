#pragma once
// The working list of the class assignment window: which class follows which period system
// on which week-days. It changes only in memory until save() rewrites classperiods.
#include <QList>
#include <QString>
#include <QStringList>

struct ClassPeriodRow {
    QString classText;  // "VII-A"
    QString periodSystem;
    QString days;       // "Mon,Tue"
    int classId = 0;
    int periodSysId = 0;
};

struct ClassChoice {
    QString classText;
    int classId = 0;
};

class ClassPeriodList {
public:
    // "Mon,Sat" <-> "0,5", keeping the order given and skipping anything else.
    static QString DaysToConst(const QString &days);
    static QString ConstToDays(const QString &numbers);
    // The abbreviations "Mon" ... "Sat", Monday first.
    static const QStringList &DayAbbreviations();

    // Fill_lvPSlist_on_load: the stored assignments, in class order.
    void load();

    const QList<ClassPeriodRow> &rows() const { return rows_; }
    void setRows(const QList<ClassPeriodRow> &rows) { rows_ = rows; }

    // Assigns the system to every class given (in that order) on the selected days, leaving
    // out the days another system already has for that class, after asking the user.
    void assign(const QList<ClassChoice> &classes, const QString &periodSystem, int periodSysId,
                const QStringList &selectedDays);

    // Del_from_psList: removes one row of the list; an index outside the list does nothing.
    void remove(int index);

    // Replaces classperiods by the list, in one transaction. An empty list saves nothing.
    // Rows whose class or period system no longer exists are left out and named to the
    // user. False when the database refused the change (the table is then unchanged).
    bool save();

    // The class id of a class-section text ("VII-" for a class without section), 0 if none.
    static int ClassIdOf(const QString &classText);

private:
    QList<ClassPeriodRow> rows_;
};
