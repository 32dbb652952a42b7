#include "PeriodSystemDefinition.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "TimetableStore.h"

namespace {

// A whole number typed in a box; false for anything else (blanks around it are allowed).
bool wholeNumber(const QString &text, int *value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    }
    bool ok = false;
    *value = t.toInt(&ok);
    return ok;
}

} // namespace

QString PeriodSystemDefinition::IncZero(const QString &hour)
{
    return hour.size() == 1 ? QStringLiteral("0") + hour : hour;
}

QString PeriodSystemDefinition::StartText(const QString &hour, const QString &minute)
{
    const QString h = hour.trimmed();
    const QString m = minute.trimmed();
    return (h.isEmpty() ? QStringLiteral("00") : IncZero(h)) + QLatin1Char(':') + (m.isEmpty() ? QStringLiteral("00") : m);
}

PeriodSystemDefinition::Check PeriodSystemDefinition::Validate(const PeriodSystemInput &in)
{
    int v = 0;
    if (in.name.trimmed().isEmpty())
        return {QStringLiteral("Enter Period System Name"), Field::Name};
    if (!in.hour.trimmed().isEmpty() && (!wholeNumber(in.hour, &v) || v > 12))
        return {QStringLiteral("Start hour should be from 0 to 12"), Field::Hour};
    if (!in.minute.trimmed().isEmpty() && (!wholeNumber(in.minute, &v) || v > 59))
        return {QStringLiteral("Start minute should be from 0 to 59"), Field::Minute};
    int periods = 0;
    if (!wholeNumber(in.periods, &periods) || periods < 1 || periods > 9)
        return {QStringLiteral("Number of Periods/Day should be from 1 to 9"), Field::Periods};
    if (!wholeNumber(in.duration, &v) || v < 1)
        return {QStringLiteral("Period Duration should be a whole number of minutes above 0"), Field::Duration};
    int before = 0;
    if (!wholeNumber(in.beforeRecess, &before) || before < 1 || before > 9)
        return {QStringLiteral("Periods before Recess should be from 1 to 9"), Field::BeforeRecess};
    if (before > periods)
        return {QStringLiteral("Periods before Recess cannot be more than Number of Periods/Day"), Field::BeforeRecess};
    if (!wholeNumber(in.recessDuration, &v) || v < 1)
        return {QStringLiteral("Recess Duration should be a whole number of minutes above 0"), Field::RecessDuration};
    return {};
}

int PeriodSystemDefinition::NextId()
{
    // Assignments of a deleted system stay behind in classperiods; a new system must not
    // take over their id, or those classes would suddenly follow it.
    const QVariant top = QueryValue(QStringLiteral(
        "select max(id) from (select max(periodsysid) as id from periodsystem "
        "union all select max(periodsysid) from classperiods)"));
    return top.isNull() ? 1 : top.toInt() + 1;
}

PeriodSystemDefinition::SaveResult PeriodSystemDefinition::Save(const PeriodSystemInput &in, Field *faulty,
                                                                int *savedId)
{
    const Check check = Validate(in);
    if (faulty)
        *faulty = check.field;
    if (!check.ok()) {
        hx::MsgBox(check.message);
        return SaveResult::Invalid;
    }
    const QString name = in.name.trimmed();
    const QString start = StartText(in.hour, in.minute);
    const int periods = in.periods.trimmed().toInt();
    const int duration = in.duration.trimmed().toInt();
    const int before = in.beforeRecess.trimmed().toInt();
    const int recess = in.recessDuration.trimmed().toInt();
    const QString amPm = in.amPm.isEmpty() ? QStringLiteral("AM") : in.amPm;

    if (const int id = PeriodSystemIdByName(name)) {
        Transaction t;
        if (!ExecuteSql(QStringLiteral("update periodsystem set p_no=?,p_duration=?,p_start='?',p_before_rec=?,"
                                       "rec_duration=?,amorpm='?' where periodsysid=?"),
                        {periods, duration, start, before, recess, amPm, id})
            || !RemoveSurplusPeriods(id) || !t.commit())
            return SaveResult::Failed;
        if (savedId)
            *savedId = id;
        return SaveResult::Updated;
    }

    if (hx::MsgBox(QStringLiteral("Add New Period System?"), hx::MsgButtons::YesNo, hx::MsgIcon::Question,
                   QStringLiteral("Add Confirmation"))
        != hx::MsgResult::Yes)
        return SaveResult::Cancelled;
    const int id = NextId();
    if (!ExecuteSql(QStringLiteral("insert into periodsystem values(?,'?',?,?,'?',?,?,'?')"),
                    {id, name, periods, duration, start, before, recess, amPm}))
        return SaveResult::Failed;
    if (savedId)
        *savedId = id;
    return SaveResult::Added;
}

bool PeriodSystemDefinition::Delete(int periodsysid)
{
    Recordset rs = OpenRecordset(QStringLiteral("select classid, days from classperiods where periodsysid = ?"),
                                 {periodsysid});
    if (!rs.ok())
        return false;
    Transaction t;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (!store::RemoveClassDayLessons(rs.value(QStringLiteral("classid")), rs.text(QStringLiteral("days"))))
            return false;
    }
    if (!ExecuteSql(QStringLiteral("delete from periodsystem where periodsysid=?"), {periodsysid}))
        return false;
    return t.commit();
}
