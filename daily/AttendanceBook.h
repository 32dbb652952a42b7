#pragma once
// Absences of a span of periods on one date, and the status lines of the "Absent Teachers"
// window. Periods are shown 1..9 and stored 0..8.
#include <QDate>
#include <QString>
#include <QVector>

struct StatusLine {
    QString status;   // "Present", "Absent" or "On Leave"
    int teacherid = 0;
    QString teacherName;
    QString perFrom;  // as shown, from 1
    QString perTo;
    QString date;     // dd/mm/yyyy
    bool onLeave = false; // drawn grey; the teacher cannot be changed here
};

// What the window's controls hold when the list is filled or saved.
struct AttendanceControls {
    QDate date;
    int teacherid = 0;  // the teacher chosen in the combo; 0 when none
    bool absent = false;
    QString perFrom;    // "" or "1".."9"
    QString perTo;
};

class AttendanceBook {
public:
    static const QString kPresent;
    static const QString kAbsent;
    static const QString kOnLeave;

    // Fills the status lines for one teacher, or for everybody when teacherid is -1.
    // Returns false (lines kept) when the from period is after the to period.
    bool fillList(int teacherid, const AttendanceControls &c);

    const QVector<StatusLine> &lines() const { return lines_; }
    // Whether the absent box and Save may be used for what the list shows.
    bool editable() const { return editable_; }

    enum class Focus { None, PerFrom, PerTo };
    enum class Result { Nothing, Refused, Saved };
    // Writes what the controls show for the chosen teacher: an absence over the chosen span
    // (the whole day when none is chosen), or "Present", which removes that date's absences.
    // An absence overlapping another entry is refused; the same absence again adds nothing.
    // Substitutions that would be left standing, or that the teacher could no longer take,
    // go with the change after a question. Then lists all entries of the date. `focus`
    // tells which box the user must fill first.
    Result save(const AttendanceControls &c, Focus *focus = nullptr);

private:
    StatusLine lineFromControls(int teacherid, const QString &name, const AttendanceControls &c) const;

    QVector<StatusLine> lines_;
    bool editable_ = true;
};
