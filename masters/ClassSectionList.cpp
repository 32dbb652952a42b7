#include "ClassSectionList.h"

#include "Database.h"
#include "Platform.h"

#include <algorithm>

QStringList ClassSectionList::sections()
{
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
            QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")};
}

QString ClassSectionList::classSectionText(const QString &className, const QString &section)
{
    return className + QLatin1Char('-') + section;
}

void ClassSectionList::load()
{
    classes_.clear();
    Recordset rs = OpenRecordset(QStringLiteral("select * from Class order by sortorder"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        classes_.push_back({rs.text("Class"), rs.integer("SortOrder")});
    FillClass();
}

void ClassSectionList::FillClass()
{
    classSections_.clear();
    // classid keeps the rows of one class in the order they were created.
    Recordset rs = OpenRecordset(QStringLiteral("select * from classsection order by sortorder, classid"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        classSections_ << classSectionText(rs.text("class"), rs.text("section"));
}

bool ClassSectionList::FindClassSec(const QString &text) const
{
    return classSections_.contains(text, Qt::CaseSensitive);
}

ClassSectionList::AssignResult ClassSectionList::assign(const QVector<int> &classRows,
                                                        const QStringList &tickedSections,
                                                        QStringList *added)
{
    if (added)
        added->clear();
    QVector<int> rows;
    for (int r : classRows)
        if (r >= 0 && r < classes_.size() && !rows.contains(r))
            rows << r;
    if (rows.isEmpty()) {
        hx::MsgBox(QStringLiteral("Please select at least 1 class to assign!"));
        return AssignResult::NoClass;
    }
    std::sort(rows.begin(), rows.end());

    QStringList wanted;
    for (const QString &s : sections())
        if (tickedSections.contains(s))
            wanted << s;
    if (wanted.isEmpty())
        wanted << QStringLiteral(""); // a class without sections: the empty text, not NULL

    QStringList fresh;
    Transaction tx;
    for (int r : rows) {
        const ClassEntry &c = classes_.at(r);
        for (const QString &s : wanted) {
            const QString text = classSectionText(c.name, s);
            if (FindClassSec(text) || fresh.contains(text))
                continue;
            if (!ExecuteSql(QStringLiteral("insert into classsection (class,section,sortorder) values ('?','?',?)"),
                            {c.name, s, c.sortOrder})) {
                // ExecuteSql has shown the error; keep the database as it was.
                tx.rollback();
                return AssignResult::Failed;
            }
            fresh << text;
        }
    }
    if (!tx.commit()) // a failed commit has been reported already
        return AssignResult::Failed;
    classSections_ << fresh;
    if (added)
        *added = fresh;
    return AssignResult::Done;
}

QString ClassSectionList::removalQuestion(const QVector<int> &rows) const
{
    QStringList names, details;
    for (int r : rows) {
        if (r < 0 || r >= classSections_.size())
            continue;
        const QString text = classSections_.at(r);
        if (names.contains(text))
            continue;
        names << text;
        const QString ids = QStringLiteral("(select classid from classsection where %1 = ?)")
                                .arg(QStringLiteral("ifnull(class,'') || '-' || ifnull(section,'')"));
        const int lessons = QueryValue(QStringLiteral("select count(*) from timeschedule where classid in ") + ids,
                                       {text}, 0)
                                .toInt();
        const int subjects = QueryValue(QStringLiteral("select count(*) from classsubjects where classid in ") + ids,
                                        {text}, 0)
                                 .toInt();
        if (lessons > 0 || subjects > 0)
            details << QStringLiteral("%1 has %2 lesson(s) in the timetable and %3 subject(s) assigned.")
                           .arg(text)
                           .arg(lessons)
                           .arg(subjects);
    }
    if (names.isEmpty())
        return QString();
    QString q = QStringLiteral("Do you want to remove ") + names.join(QStringLiteral(", ")) + QStringLiteral("?");
    if (!details.isEmpty())
        q += QLatin1Char('\n') + details.join(QLatin1Char('\n'))
             + QStringLiteral("\nA class-section added again later does not get them back.");
    return q;
}

bool ClassSectionList::remove(QVector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int r) { return r < 0 || r >= classSections_.size(); }),
               rows.end());
    if (rows.isEmpty())
        return true;

    Transaction tx;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (!ExecuteSql(QStringLiteral("delete from classsection where ifnull(class,'') || '-' || ifnull(section,'') = '?'"),
                        {classSections_.at(*it)})) {
            tx.rollback();
            return false;
        }
    }
    if (!tx.commit())
        return false;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        classSections_.removeAt(*it);
    return true;
}
