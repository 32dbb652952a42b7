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

// The rows whose text begins with the typed text, letter case of any alphabet aside (SQLite's
// like knows only the English letters); the user's % and _ are plain characters.
QVector<SubjectItem> startingWith(const QVector<SubjectItem> &rows, const QString &typed)
{
    const QString key = NameKey(typed);
    QVector<SubjectItem> out;
    for (const SubjectItem &r : rows)
        if (r.text.normalized(QString::NormalizationForm_C).toCaseFolded().startsWith(key))
            out.push_back(r);
    return out;
}

// The id of a row of (id, name) that has this name as SameName compares it, 0 if none.
int sameNameIn(const QString &sql, const QVariantList &params, const QString &name)
{
    Recordset rs = OpenRecordset(sql, params);
    for (const QVariantList &row : rs.rows())
        if (SameName(row.value(1).toString(), name))
            return row.value(0).toInt();
    return 0;
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
    return startingWith(allGroups(), typed.trimmed());
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
    return startingWith(items(QStringLiteral("select ifnull(subtype,''), uniqueid from subjtype where subid=?"),
                              {subid}),
                        typed);
}

SubjectBook::Outcome SubjectBook::saveGroup(const QString &typed, int *newId)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return Outcome::Nothing;
    Transaction t;
    // "Maths", " maths " and "MATHS" are one group to the user.
    if (sameNameIn(QStringLiteral("select subid, subname from subjects"), {}, name)) {
        inform(QStringLiteral("This Subject Group Already Exist"));
        return Outcome::Duplicate;
    }
    // Titles left behind by a group keep its id; a new group must not adopt them.
    const int id = QueryValue(QStringLiteral("select max(id) from (select ifnull(max(subid),0) as id from subjects "
                                             "union all select ifnull(max(subid),0) from subjtype)"),
                              {}, 0)
                       .toInt()
                   + 1;
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
    Transaction t;
    if (sameNameIn(QStringLiteral("select uniqueid, ifnull(subtype,'') from subjtype where subid=?"), {subid},
                   title)) {
        inform(QStringLiteral("Subject Title for this Subject Group Already Exist"));
        return Outcome::Duplicate;
    }
    if (!ExecuteSql(QStringLiteral("insert into subjtype (subid,subtype) values(?,'?')"), {subid, title})
        || !t.commit())
        return Outcome::Failed;
    LoadSubjectSnapshot();
    return Outcome::Saved;
}

SubjectBook::Outcome SubjectBook::removeTitle(int uniqueid, const QString &itemText)
{
    if (uniqueid <= 0)
        return Outcome::Nothing;
    const QString inUse = QStringLiteral("This Subject Type is being used in a Class therefore cannot be Deleted");
    if (titleInUse(uniqueid)) {
        inform(inUse);
        return Outcome::InUse;
    }
    if (!ask(QStringLiteral("Are you sure you want to delete '") + itemText + QStringLiteral("' subject title")))
        return Outcome::Cancelled;
    // Checked again where it is written: another window may have given it to a class meanwhile.
    Transaction t;
    if (titleInUse(uniqueid)) {
        inform(inUse);
        return Outcome::InUse;
    }
    if (!ExecuteSql(QStringLiteral("delete from subjtype where uniqueid=?"), {uniqueid}) || !t.commit())
        return Outcome::Failed;
    LoadSubjectSnapshot();
    return Outcome::Saved;
}

QString SubjectBook::groupInUseMessage()
{
    return QStringLiteral("A Subject Title of this Subject Group is being used in a Class therefore it cannot be Deleted");
}

SubjectBook::Outcome SubjectBook::removeGroup(int subid, const QString &itemText)
{
    if (subid <= 0)
        return Outcome::Nothing;
    // A group without titles (all deleted one by one) can be deleted like any other.
    const auto anyTitleInUse = [subid] {
        return QueryValue(QStringLiteral("select count(*) from classsubjects where subid in "
                                         "(select uniqueid from subjtype where subid=?)"),
                          {subid}, 0)
                   .toInt() > 0;
    };
    if (anyTitleInUse()) {
        inform(groupInUseMessage());
        return Outcome::InUse;
    }
    if (!ask(QStringLiteral("Are you sure you want to delete '") + itemText + QStringLiteral("' subject group")))
        return Outcome::Cancelled;
    Transaction t;
    if (anyTitleInUse()) {
        inform(groupInUseMessage());
        return Outcome::InUse;
    }
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
