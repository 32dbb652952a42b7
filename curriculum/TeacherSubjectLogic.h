#pragma once
#include "ListSort.h"

#include <QStringList>
#include <QVector>

// What the "Assign Subjects to Teacher" window does, apart from drawing it.
// Rows: teacher name, subject text, most preferred level, least preferred level.
class TeacherSubjectLogic {
public:
    QStringList teacherList() const;
    QStringList subjectList() const;
    QStringList teachersWithSubjects() const;
    QStringList subjectsWithTeachers() const;
    QVector<QStringList> teacherDetail(const QString &teacherName) const; // subject, most, least
    QVector<QStringList> subjectDetail(const QString &subjectText) const; // teacher, most, least

    void FillClassSubject();
    bool AlreadyExists(const QString &teacher, const QString &subject) const;
    // Empty text when the pairs were made, otherwise the name of the level box to fix.
    QString assign(const QStringList &teachers, const QStringList &subjects, const QString &most,
                   const QString &least);
    // Removes the flagged rows; false when the user stopped it or a statement failed.
    bool remove(QVector<bool> &selected);
    void columnClick(int column);
    QStringList headers() const { return headers_; }
    const QVector<QStringList> &rows() const { return rows_; }

private:
    QVector<QStringList> rows_;
    ListSort sort_;
    QStringList headers_{"Teacher", "Subject", "Most Preferred", "Least Preferred"};
};
