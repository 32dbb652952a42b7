#include "SchoolDetails.h"

#include "Database.h"
#include "Platform.h"

bool SchoolDetails::load()
{
    record_ = SchoolRecord();
    Recordset rs = OpenRecordset(QStringLiteral("select * from libdtl"));
    hasRow_ = !rs.eof();
    if (!hasRow_)
        return rs.ok();
    record_.name = rs.text("libname");
    record_.add1 = rs.text("add1");
    record_.add2 = rs.text("add2");
    record_.city = rs.text("city");
    record_.state = rs.text("State");
    record_.phone = rs.text("phone");
    record_.contactPerson = rs.text("contactperson");
    record_.logoPath = rs.text("logopath");
    return true;
}

SchoolDetails::Field SchoolDetails::Validate(const SchoolRecord &r)
{
    // Only blanks would store a school without a name just the same.
    if (r.name.trimmed().isEmpty())
        return Field::Name;
    if (r.add1.trimmed().isEmpty())
        return Field::Add1;
    if (r.city.trimmed().isEmpty())
        return Field::City;
    return Field::None;
}

QString SchoolDetails::Message(Field f)
{
    switch (f) {
    case Field::Name:
        return QStringLiteral("School Name is Compulsory");
    case Field::Add1:
        return QStringLiteral("Address Line 1 is Compulsory");
    case Field::City:
        return QStringLiteral("City is Compulsory");
    case Field::None:
        break;
    }
    return QString();
}

bool SchoolDetails::save(const SchoolRecord &r)
{
    if (Validate(r) != Field::None)
        return false;

    const Values values = {r.name, r.add1, r.add2, r.city, r.state, r.phone, r.contactPerson, r.logoPath};
    Transaction tx;
    // Checked inside the transaction so that a row cannot be created twice.
    Recordset rs = OpenRecordset(QStringLiteral("select count(*) from libdtl"));
    if (!rs.ok())
        return false;
    bool ok;
    if (rs.integer(0) > 0) {
        // The table holds the school's one row: rewrite it as a whole.
        ok = ExecuteSql(QStringLiteral("update libdtl set libname='?',add1='?',add2='?',city='?',state='?',"
                                       "phone='?',contactperson='?',logopath='?'"),
                        values);
    } else {
        ok = ExecuteSql(QStringLiteral("insert into libdtl (libname,add1,add2,city,state,phone,contactperson,"
                                       "logopath) values ('?','?','?','?','?','?','?','?')"),
                        values);
    }
    if (!ok) {
        tx.rollback();
        return false;
    }
    if (!tx.commit())
        return false;

    record_ = r;
    hasRow_ = true;
    SchoolName = r.name;
    emit hx::AppEvents::instance()->schoolDetailsChanged();
    return true;
}
