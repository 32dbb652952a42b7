#pragma once
// The timetable check: what is wrong in the saved timetable, one line per fault, each saying
// which window mends it. The "Timetable Check" report and the horalux-check tool both read
// these lines from here. The check only reads: it runs on a file opened read-only too.
#include <QString>
#include <QVector>

namespace check {

// One kind of fault: a query giving one row per fault with the columns
//   sortkey (text), weekday, period (numbers or null; for the order of the lines),
//   fault (the line the user reads) and mend (the window that mends it).
// A new kind of fault is one more entry in the list.
struct Kind {
    QString name;
    QString sql;
    bool allocation = false; // a problem of the teaching allocation, shown in its window too
};
const QVector<Kind> &Kinds();

// Every kind's rows as one query with the columns fault and mend, in the order to show them.
// allocationOnly: only the problems of the teaching allocation and the teachers' availability.
QString FaultsSql(bool allocationOnly = false);

struct Fault {
    QString fault;
    QString mend;
    QString line() const; // "<fault> - mend in <window>"
};
// The faults of the open database; false (with the reason) when the check could not run.
bool FindFaults(QVector<Fault> *out, QString *error = nullptr, bool allocationOnly = false);

// What the report and the tool say when there is nothing to mend.
QString NoFaultsText();

// Queries a report template may name as {query:name}; empty for an unknown name.
QString NamedQuery(const QString &name);

} // namespace check
