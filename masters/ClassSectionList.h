#pragma once
// The class-sections of the school: the fixed class list, the seven sections and the
// class-section rows built from them. Plain logic so that it can be tested without a screen.
#include <QString>
#include <QStringList>
#include <QVector>

struct ClassEntry {
    QString name;
    int sortOrder = 0;
};

class ClassSectionList {
public:
    // The sections a class can have, in list order.
    static QStringList sections();
    // "VII" + "A" gives "VII-A"; a class without section gives "VII-".
    static QString classSectionText(const QString &className, const QString &section);

    // Reads the classes and the existing class-sections (both by sort order).
    void load();
    void FillClass();

    const QVector<ClassEntry> &classes() const { return classes_; }
    const QStringList &classSections() const { return classSections_; }

    // Exact (case-sensitive) match against the listed class-sections.
    bool FindClassSec(const QString &text) const;

    enum class AssignResult { NoClass, Done, Failed };
    // Creates every combination of the ticked classes (indexes into classes()) with the ticked
    // sections, or the class alone when no section is ticked; listed ones are skipped. All rows
    // are written in one transaction: on a failure nothing is kept and the list is unchanged.
    // The texts added, in order, go to *added.
    AssignResult assign(const QVector<int> &classRows, const QStringList &tickedSections,
                        QStringList *added = nullptr);

    // Deletes the class-sections at the given list positions (every row with that text), in
    // one transaction; the list changes only when all deletes succeeded.
    bool remove(QVector<int> rows);
    // The question asked before removing the class-sections at these positions: their names
    // and, for those that have any, how many lessons and subjects go with them.
    QString removalQuestion(const QVector<int> &rows) const;

private:
    QVector<ClassEntry> classes_;
    QStringList classSections_;
};
