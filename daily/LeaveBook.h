#pragma once
// Leaves of whole days over a date range: the statements behind the "Leave Entry" window.
#include <QDate>
#include <QString>
#include <QVector>

struct LeaveLine {
    int teacherid = 0;
    QString teacherName;
    QString modetype;
    QDate from;
    QDate to;
};

class LeaveBook {
public:
    // Every leave and absence, newest first.
    static QVector<LeaveLine> list();

    enum class Result { Nothing, Refused, Done };

    // Records a leave over every period of every day from..to. Refuses, with a message,
    // an unknown teacher (id 0 or less), reversed dates and a range overlapping any entry of
    // the teacher. When the teacher is booked as substitute within the range, asks first and
    // gives up those substitutions with the same change (Nothing when the user says No).
    static Result save(int teacherid, const QDate &from, const QDate &to);

    // Deletes the teacher's entries that start on `from`. Substitutions arranged for the
    // teacher within them go too, after a question. Tells the user when no entry matched.
    static Result remove(int teacherid, const QDate &from);

    // The teacher's first entry whose range overlaps from..to; teacherid 0 when none.
    static LeaveLine firstClash(int teacherid, const QDate &from, const QDate &to);
};
