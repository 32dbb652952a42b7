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
    // an unknown teacher, reversed dates and a range overlapping any entry of the teacher.
    static Result save(const QString &teacherName, const QDate &from, const QDate &to);

    // Deletes the teacher's entries that start on `from`, unless the teacher has substitutes
    // recorded within those entries' dates. Tells the user when no entry matched.
    static Result remove(const QString &teacherName, const QDate &from);

    // The teacher's first entry whose range overlaps from..to; teacherid 0 when none.
    static LeaveLine firstClash(int teacherid, const QDate &from, const QDate &to);
};
