#pragma once
#include "ListSort.h"

#include <QPair>
#include <QStringList>
#include <QVector>

// What the "Assign Subjects to Teacher" window does, apart from drawing it.
// Rows: teacher name, subject text, most preferred level, least preferred level, and (not
// shown) the teacherid and the subject's uniqueid, by which the row is identified.
class TeacherSubjectLogic {
public:
    static constexpr int kTeacherId = 4;
    static constexpr int kSubjectId = 5;

    QStringList teacherList() const;
    QVector<QPair<QString, int>> teachers() const;               // name, teacherid
    QVector<QPair<QString, int>> teachersWithSubjectIds() const; // name, teacherid
    QStringList subjectList() const;
    QStringList teachersWithSubjects() const;
    QStringList subjectsWithTeachers() const;
    QVector<QStringList> teacherDetail(const QString &teacherName) const; // subject, most, least
    QVector<QStringList> teacherDetail(int teacherid) const;
    QVector<QStringList> subjectDetail(const QString &subjectText) const; // teacher, most, least

    void FillClassSubject();
    bool AlreadyExists(const QString &teacher, const QString &subject) const;
    bool AlreadyExists(int teacherid, const QString &subject) const;
    // Empty text when the input was taken (the pairs are made all together or, after a
    // message, none), otherwise the name of the level box to fix.
    QString assignByIds(const QVector<int> &teachers, const QStringList &subjects, const QString &most,
                   const QString &least);
    // The same with teachers named (each name's first teacher).
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
