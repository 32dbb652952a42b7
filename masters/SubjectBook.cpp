#include "SubjectBook.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

namespace {

QVector<SubjectItem> items(const QString &sql, const QVariantList &params)
{
    QVector<SubjectItem> out;
    Recordset rs = OpenRecordset(sql, params);
    while (!rs.eof()) {
        out.push_back({rs.text(0), rs.integer(1)});
        rs.moveNext();
    }
    return out;
}

// The typed text as a prefix pattern: the user's % and _ are literal characters.
QString prefixPattern(const QString &typed)
{
    QString p = typed;
    p.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    p.replace(QLatin1Char('%'), QLatin1String("\\%"));
    p.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return p + QLatin1Char('%');
}

void inform(const QString &text)
{
    hx::MsgBox(text, hx::MsgButtons::Ok, hx::MsgIcon::Information, SubjectBook::messageTitle());
}

bool ask(const QString &text)
{
    return hx::MsgBox(text, hx::MsgButtons::YesNo, hx::MsgIcon::Question, SubjectBook::messageTitle())
        == hx::MsgResult::Yes;
}

bool titleInUse(int uniqueid)
{
    return QueryValue(QStringLiteral("select count(*) from classsubjects where subid=?"), {uniqueid}, 0)
               .toInt() > 0;
}

} // namespace

QString SubjectBook::messageTitle() { return QStringLiteral("Subject"); }

QVector<SubjectItem> SubjectBook::allGroups()
{
    return items(QStringLiteral("select subname, subid from subjects"), {});
}

QVector<SubjectItem> SubjectBook::matchGroups(const QString &typed)
{
    return items(QStringLiteral("select subname, subid from subjects where subname like ? escape '\\'"),
                 {prefixPattern(typed.trimmed())});
}

QVector<SubjectItem> SubjectBook::allTitles()
{
    return items(QStringLiteral("select %1, uniqueid from subjtype st, subjects s where s.subid = st.subid "
                                "order by s.subid, subtype")
                     .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))),
                 {});
}

QVector<SubjectItem> SubjectBook::titlesOfGroup(int subid)
{
    return items(QStringLiteral("select %1, uniqueid from subjtype st, subjects s where s.subid = ? "
                                "and s.subid = st.subid order by s.subid, subtype")
                     .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))),
                 {subid});
}

QVector<SubjectItem> SubjectBook::matchTitles(int subid, const QString &typed)
{
    return items(QStringLiteral("select ifnull(subtype,''), uniqueid from subjtype where subid=? "
                                "and ifnull(subtype,'') like ? escape '\\'"),
                 {subid, prefixPattern(typed)});
}

SubjectBook::Outcome SubjectBook::saveGroup(const QString &typed, int *newId)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return Outcome::Nothing;
    // Compared as stored: the name is kept trimmed.
    if (QueryValue(QStringLiteral("select count(*) from subjects where subname=?"), {name}, 0).toInt() > 0) {
        inform(QStringLiteral("This Subject Group Already Exist"));
        return Outcome::Duplicate;
    }
    Transaction t;
    const int id = QueryValue(QStringLiteral("select ifnull(max(subid),0) from subjects"), {}, 0).toInt() + 1;
    if (!ExecuteSql(QStringLiteral("insert into subjects (subname,subid) values('?',?)"), {name, id})
        || !ExecuteSql(QStringLiteral("insert into subjtype (subid,subtype) values(?,'?')"), {id, QStringLiteral("")})) {
        t.rollback();
        return Outcome::Failed;
    }
    if (!t.commit())
        return Outcome::Failed;
    LoadSubjectSnapshot();
    if (newId)
        *newId = id;
    return Outcome::Saved;
}

SubjectBook::Outcome SubjectBook::saveTitle(int subid, const QString &typed)
{
    // A title needs a group that the lists can show it under.
    if (subid <= 0
        || QueryValue(QStringLiteral("select count(*) from subjects where subid=?"), {subid}, 0).toInt() == 0) {
        inform(QStringLiteral("Please select a Subject Group first"));
        return Outcome::NoGroup;
    }
    QString title = typed.trimmed();
    if (title.isNull())
        title = QStringLiteral(""); // stored as the empty text, never NULL
    if (QueryValue(QStringLiteral("select count(*) from subjtype where subid=? and ifnull(subtype,'')=?"),
                   {subid, title}, 0)
            .toInt() > 0) {
        inform(QStringLiteral("Subject Title for this Subject Group Already Exist"));
        return Outcome::Duplicate;
    }
    if (!ExecuteSql(QStringLiteral("insert into subjtype (subid,subtype) values(?,'?')"), {subid, title}))
        return Outcome::Failed;
    LoadSubjectSnapshot();
    return Outcome::Saved;
}

SubjectBook::Outcome SubjectBook::removeTitle(int uniqueid, const QString &itemText)
{
    if (titleInUse(uniqueid)) {
        inform(QStringLiteral("This Subject Type is being used in a Class therefore cannot be Deleted"));
        return Outcome::InUse;
    }
    if (!ask(QStringLiteral("Are you sure you want to delete '") + itemText + QStringLiteral("' subject title")))
        return Outcome::Cancelled;
    if (!ExecuteSql(QStringLiteral("delete from subjtype where uniqueid=?"), {uniqueid}))
        return Outcome::Failed;
    LoadSubjectSnapshot();
    return Outcome::Saved;
}

SubjectBook::Outcome SubjectBook::removeGroup(int subid, const QString &itemText)
{
    Recordset titles = OpenRecordset(QStringLiteral("select uniqueid from subjtype where subid=?"), {subid});
    if (titles.RecordCount() == 0)
        return Outcome::Nothing;
    for (; !titles.eof(); titles.moveNext()) {
        if (titleInUse(titles.integer(0)))
            return Outcome::InUse;
    }
    if (!ask(QStringLiteral("Are you sure you want to delete '") + itemText + QStringLiteral("' subject group")))
        return Outcome::Cancelled;
    Transaction t;
    if (!ExecuteSql(QStringLiteral("delete from subjtype where subid=?"), {subid})
        || !ExecuteSql(QStringLiteral("delete from subjects where subid=?"), {subid})) {
        t.rollback();
        return Outcome::Failed;
    }
    if (!t.commit())
        return Outcome::Failed;
    LoadSubjectSnapshot();
    return Outcome::Saved;
}
