#pragma once
// The teacher register without a screen: the list, the teacher code, the checks before a
// save and the statements that add, change and remove a teacher.
#include "Platform.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

struct TeacherRecord {
    QString uniqueid;
    QString teachername;
    QString shortname;
    QString designation;
    QDate dom; // invalid: no date of marriage
    QString gender;
    QString address;
    QString city;
    QString state;
    QString phone;
    QString email;
    QDate doj;
    QString bloodgroup;
    QDate dob;
    QString maritalstatus;
    QString fathername;
    QString mothername;
    QString mothertongue;
    QString qualification;
    QString religion;
    QString photopath;
    QString husbandname;
    int teacherid = 0;
};

struct TeacherListItem {
    QString text; // "Ram Kumar(RK-01)"
    int teacherid = 0;
};

// A refusal the window shows as it is.
struct TeacherCheckFailure {
    QString text;
    QString title;
    hx::MsgIcon icon = hx::MsgIcon::None;
};

class TeacherRegister {
public:
    static const QStringList &States();
    static const QStringList &BloodGroups();
    static const QStringList &Genders();
    static const QStringList &MaritalStatuses();

    // A new record's defaults (designation and date of marriage are the caller's to keep).
    static TeacherRecord Defaults(const QDate &today);

    // Teachers in name order, then code.
    static QVector<TeacherListItem> List();
    static QString ListCaption(int count) { return QStringLiteral("Teachers (%1)").arg(count); }

    // First letter of each part of the name split at single blanks.
    static QString Initials(const QString &name);
    // The next free code for the name's initials ("RK-01", "RK-02"...). Empty when the name
    // gives no initials, or when all 99 codes of the initials are taken (then *refusal says so).
    static QString NextUniqueId(const QString &name, QString *refusal = nullptr);

    // Checks in the order the user reads them; empty name first, then the first bad date.
    static std::optional<TeacherCheckFailure> CheckEmpty(const TeacherRecord &r);
    static std::optional<TeacherCheckFailure> CheckDates(const TeacherRecord &r, const QDate &today);

    // Adds a teacher with the next teacherid; a record without a code gets one first.
    // Returns the new teacherid, or 0 when nothing was written (the message was shown).
    static int Insert(TeacherRecord &r);
    // Changes the teacher whose code is r.uniqueid; false when the statement failed or no
    // row has that code (then it says so instead of reporting a save that did not happen).
    static bool Update(const TeacherRecord &r);
    static bool Remove(const QString &uniqueid);
    // The id the next new teacher gets: above every id that any row still refers to.
    static int NextTeacherId();
    // False (after saying so) when another teacher has this name, ignoring letter case and
    // surrounding blanks.
    static bool NameIsFree(const QString &name, int exceptTeacherid);
    static QString DuplicateNameMessage();
    static std::optional<TeacherRecord> Load(int teacherid);

    // Picture files the register accepts as photos.
    static bool IsPhotoFile(const QString &path);

    // The case a character typed into the name box takes, given the text before it.
    static QChar NameKeyCase(const QString &textBefore, QChar typed);
    // Whether the husband's name applies to this gender and marital status.
    static bool HusbandApplies(const QString &gender, const QString &maritalStatus);
};
