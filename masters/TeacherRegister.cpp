#include "TeacherRegister.h"
#include "Database.h"
#include "Lookups.h"

#include <QTextBoundaryFinder>

const QStringList &TeacherRegister::States()
{
    static const QStringList states = {
        "Andaman and Nicobar Islands", "Andhra Pradesh", "Arunachal Pradesh", "Assam", "Bihar",
        "Chandigarh", "Dadra and Nagar Haveli", "Daman and Diu", "Delhi", "Goa", "Gujarat",
        "Haryana", "Himachal Pradesh", "Jammu and Kashmir", "Karnataka", "Kerala", "Lakshadweep",
        "Madhya Pradesh", "Maharashtra", "Manipur", "Meghalaya", "Mizoram", "Nagaland", "Orissa",
        "Pondicherry", "Punjab", "Rajasthan", "Sikkim", "Tamil Nadu", "Tripura", "Uttar Pradesh",
        "West Bengal"};
    return states;
}

const QStringList &TeacherRegister::BloodGroups()
{
    static const QStringList groups = {"A+", "A-", "B+", "B-", "AB+", "AB-", "O+", "O-"};
    return groups;
}

const QStringList &TeacherRegister::Genders()
{
    static const QStringList genders = {"Female", "Male"};
    return genders;
}

const QStringList &TeacherRegister::MaritalStatuses()
{
    static const QStringList statuses = {"Married", "Single"};
    return statuses;
}

TeacherRecord TeacherRegister::Defaults(const QDate &today)
{
    TeacherRecord r;
    r.gender = "Female";
    r.city = "Jaipur";
    r.state = "Rajasthan";
    r.religion = "Hindu";
    r.bloodgroup = BloodGroups().first();
    r.maritalstatus = MaritalStatuses().first();
    r.dob = today;
    r.doj = today;
    return r;
}

QVector<TeacherListItem> TeacherRegister::List()
{
    QVector<TeacherListItem> items;
    Recordset rs = OpenRecordset(
        "select teachername, uniqueid, teacherid from teachers order by 1, 2");
    for (; !rs.eof(); rs.moveNext())
        items.append({rs.text(0) + "(" + rs.text(1) + ")", rs.integer(2)});
    return items;
}

QString TeacherRegister::Initials(const QString &name)
{
    // The first whole character of each word: half of an emoji or a letter without its accent
    // would be stored as a different code from the one shown.
    QString initials;
    for (const QString &part : name.split(QChar(' '))) {
        if (part.isEmpty())
            continue;
        QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, part);
        const qsizetype end = f.toNextBoundary();
        initials += part.left(end > 0 ? end : 1);
    }
    return initials;
}

QString TeacherRegister::NextUniqueId(const QString &name, QString *refusal)
{
    if (refusal)
        refusal->clear();
    const QString initials = Initials(name.trimmed());
    if (initials.isEmpty())
        return QString();
    // Codes are compared as the unique index compares them, without regard to case.
    const QVariant max = QueryValue(
        "select max(CAST(substr(uniqueid, -2) AS INTEGER)) from teachers"
        " where substr(uniqueid, 1, ?) = ? COLLATE NOCASE",
        {initials.toUcs4().size() + 1, initials + "-"}); // SQLite counts characters, not UTF-16 units
    const int next = max.isNull() ? 1 : max.toInt() + 1;
    if (next > 99) {
        // Two digits leave room for 99 teachers per initials; a 100th would clash with 00.
        if (refusal)
            *refusal = QStringLiteral("No more codes for the initials %1: 99 teachers already share them")
                           .arg(initials);
        return QString();
    }
    return initials + "-" + QString::number(next).rightJustified(2, QChar('0'));
}

std::optional<TeacherCheckFailure> TeacherRegister::CheckEmpty(const TeacherRecord &r)
{
    if (r.teachername.trimmed().isEmpty())
        return TeacherCheckFailure{"Enter Teacher Name", "Incomplete Data", hx::MsgIcon::Information};
    return std::nullopt;
}

std::optional<TeacherCheckFailure> TeacherRegister::CheckDates(const TeacherRecord &r,
                                                                const QDate &today)
{
    const auto bad = [](const QString &text) {
        return TeacherCheckFailure{text, "Invalid Data", hx::MsgIcon::Critical};
    };
    if (!r.dob.isValid() || r.dob.year() > today.year() - 5 || r.dob.year() < today.year() - 100)
        return bad("Teacher must have been born to teach in this school");
    if (!r.doj.isValid() || r.doj > today)
        return bad("Date of Join should not be more than current Date");
    if (r.maritalstatus.toLower() == "married" && r.dom.isValid()) {
        if (r.dom <= r.dob)
            return bad("Date of marriage can not be less than date of birth");
        if (r.dom > today)
            return bad("Date of marriage can not be more than current date");
    }
    return std::nullopt;
}

namespace {
QVariant DateValue(const QDate &d)
{
    return d.isValid() ? QVariant(d) : QVariant();
}
} // namespace

int TeacherRegister::Insert(TeacherRecord &r)
{
    if (r.uniqueid.trimmed().isEmpty()) {
        // Saved without leaving the name box: the code was never made.
        QString refusal;
        r.uniqueid = NextUniqueId(r.teachername, &refusal);
        if (r.uniqueid.isEmpty()) {
            hx::MsgBox(refusal.isEmpty() ? QStringLiteral("Enter Teacher Name") : refusal,
                       hx::MsgButtons::Ok, hx::MsgIcon::Critical, "Invalid Data");
            return 0;
        }
    }
    // The id is read and used in one go so that nothing slips between them.
    Transaction tx;
    if (!NameIsFree(r.teachername, 0))
        return 0;
    const int id = NextTeacherId();
    const bool ok = ExecuteSql(
        "insert into teachers(uniqueid,Teachername,shortname,designation,dom,gender,address,city,"
        "state,phone,email,doj,bloodgroup,dob,maritalstatus,fathername,mothername,mothertongue,"
        "qualification,religion,teacherid,stillworking,photopath,husbandname) values('?','?','?',"
        "'?',#?#,'?','?','?','?','?','?',#?#,'?',#?#,'?','?','?','?','?','?',?,'?','?','?')",
        {r.uniqueid, r.teachername.trimmed(), r.shortname, r.designation, DateValue(r.dom), r.gender,
         r.address, r.city, r.state, r.phone, r.email, DateValue(r.doj), r.bloodgroup,
         DateValue(r.dob), r.maritalstatus, r.fathername, r.mothername, r.mothertongue,
         r.qualification, r.religion, id, "Y", r.photopath, r.husbandname});
    if (!ok || !tx.commit())
        return 0;
    r.teacherid = id;
    return id;
}

int TeacherRegister::NextTeacherId()
{
    // Lessons, subjects, leave and substitutions of a deleted teacher stay behind; a new
    // teacher must never take over their id and with it all of them.
    const QVariant top = QueryValue(
        "select max(id) from (select max(teacherid) as id from teachers"
        " union all select max(teacherid) from timeschedule"
        " union all select max(teacherid) from Cummtimeschedule"
        " union all select max(teacherid) from teachersubjects"
        " union all select max(teacherid) from teacherattendence"
        " union all select max(teacherid) from substitute)");
    return top.isNull() ? 1 : qMax(1, top.toInt() + 1);
}

QString TeacherRegister::DuplicateNameMessage() { return QStringLiteral("A teacher with this name already exists"); }

bool TeacherRegister::NameIsFree(const QString &name, int exceptTeacherid)
{
    Recordset rs = OpenRecordset("select teacherid, teachername from teachers");
    if (!rs.ok())
        return false;
    for (const QVariantList &row : rs.rows()) {
        if (row.value(0).toInt() != exceptTeacherid && SameName(row.value(1).toString(), name)) {
            hx::MsgBox(DuplicateNameMessage(), hx::MsgButtons::Ok, hx::MsgIcon::Critical, "Invalid Data");
            return false;
        }
    }
    return true;
}

bool TeacherRegister::Update(const TeacherRecord &r)
{
    Transaction tx;
    const QVariant id = QueryValue("select teacherid from teachers where uniqueid = ?", {r.uniqueid});
    if (id.isNull()) {
        hx::MsgBox("Error : no teacher has the code " + r.uniqueid + " any more");
        return false;
    }
    if (!NameIsFree(r.teachername, id.toInt()))
        return false;
    return ExecuteSql(
        "update teachers set Teachername='?',shortname='?',designation='?',dom=#?#,gender='?',"
        "address='?',city='?',state='?',phone='?',email='?',doj=#?#,bloodgroup='?',dob=#?#,"
        "maritalstatus='?',fathername='?',mothername='?',mothertongue='?',qualification='?',"
        "religion='?',photopath='?',husbandname='?' where uniqueid = '?'",
        {r.teachername.trimmed(), r.shortname, r.designation, DateValue(r.dom), r.gender, r.address,
         r.city, r.state, r.phone, r.email, DateValue(r.doj), r.bloodgroup, DateValue(r.dob),
         r.maritalstatus, r.fathername, r.mothername, r.mothertongue, r.qualification, r.religion,
         r.photopath, r.husbandname, r.uniqueid})
        && tx.commit();
}

bool TeacherRegister::Remove(const QString &uniqueid)
{
    return ExecuteSql("delete from teachers where uniqueid = '?'", {uniqueid});
}

std::optional<TeacherRecord> TeacherRegister::Load(int teacherid)
{
    // Errors while loading a record are not the user's concern: the form stays as it was.
    Recordset rs = QueryQuiet(
        "select uniqueid,teachername,shortname,designation,dom,Gender,Address,city,state,phone,"
        "email,Doj,bloodgroup,dob,maritalstatus,fathername,mothername,qualification,religion,"
        "mothertongue,husbandname,photopath from teachers where TeacherId = ?",
        {teacherid});
    if (!rs.ok() || rs.eof())
        return std::nullopt;
    TeacherRecord r;
    r.uniqueid = rs.text("uniqueid");
    r.teachername = rs.text("teachername");
    r.shortname = rs.text("shortname");
    r.designation = rs.text("designation");
    r.dom = FromIsoDate(rs.text("dom"));
    r.gender = rs.text("gender");
    r.address = rs.text("address");
    r.city = rs.text("city");
    r.state = rs.text("state");
    r.phone = rs.text("phone");
    r.email = rs.text("email");
    r.doj = FromIsoDate(rs.text("doj"));
    r.bloodgroup = rs.text("bloodgroup");
    r.dob = FromIsoDate(rs.text("dob"));
    r.maritalstatus = rs.text("maritalstatus");
    r.fathername = rs.text("fathername");
    r.mothername = rs.text("mothername");
    r.qualification = rs.text("qualification");
    r.religion = rs.text("religion");
    r.mothertongue = rs.text("mothertongue");
    r.husbandname = rs.text("husbandname");
    r.photopath = rs.text("photopath");
    r.teacherid = teacherid;
    return r;
}

bool TeacherRegister::IsPhotoFile(const QString &path)
{
    const QString p = path.toLower();
    return p.endsWith(".bmp") || p.endsWith(".jpg") || p.endsWith(".jpeg") || p.endsWith(".png");
}

QChar TeacherRegister::NameKeyCase(const QString &textBefore, QChar typed)
{
    if (textBefore.isEmpty() || textBefore.endsWith(QChar(' ')))
        return typed.toUpper();
    return typed.toLower();
}

bool TeacherRegister::HusbandApplies(const QString &gender, const QString &maritalStatus)
{
    return gender.toLower() == "female" && maritalStatus.toLower() == "married";
}
