#pragma once
// The school's own details (the one row of libdtl): read, checked and written back.
#include <QString>

struct SchoolRecord {
    QString name;
    QString add1;
    QString add2;
    QString city;
    QString state;
    QString phone;
    QString contactPerson;
    QString logoPath;

    bool operator==(const SchoolRecord &) const = default;
};

class SchoolDetails {
public:
    // The required fields, in the order they are checked.
    enum class Field { None, Name, Add1, City };

    // Reads the first row; an empty table gives empty fields and hasRow() false.
    bool load();
    const SchoolRecord &record() const { return record_; }
    bool hasRow() const { return hasRow_; }

    // First missing required field (blank text counts as missing) and its message.
    static Field Validate(const SchoolRecord &r);
    static QString Message(Field f);

    // Writes the record in one transaction: rewrites the row, or creates it when the table
    // is empty. On success the stored record, SchoolName and the program-wide news follow;
    // on failure the database and SchoolName are left as they were.
    bool save(const SchoolRecord &r);

private:
    SchoolRecord record_;
    bool hasRow_ = false;
};
