#pragma once
#include "ListSort.h"

#include <QPair>
#include <QStringList>
#include <QVector>

// What the "Assign Subjects to Class" window does, apart from drawing it.
// Rows: class text, subject text, periods, level, unique id (left empty).
class ClassSubjectLogic {
public:
    QStringList classList() const;    // classes that have a period system, each once
    QStringList subjectList() const;
    QVector<QPair<QString, int>> classesWithSubjects() const; // text, classid
    QVector<QPair<QString, int>> classDetail(int classid) const; // subject, periods
    QVector<QPair<QString, int>> subjectCount() const;           // class, count

    void FillClassSubject();
    bool AlreadyExists(const QString &classText, const QString &subjectText) const;
    // Adds selected classes x selected subjects; false when the input is refused.
    bool assign(const QStringList &classes, const QStringList &subjects, const QString &hours,
                const QString &level);
    // Removes the rows flagged in selected (same length as rows()).
    void remove(QVector<bool> &selected);
    void columnClick(int column);
    QStringList headers() const { return headers_; }

    const QVector<QStringList> &rows() const { return rows_; }

private:
    QVector<QStringList> rows_;
    ListSort sort_;
    QStringList headers_{"Class", "Subject", "Periods", "Level", "Subject UniqueID"};
};
