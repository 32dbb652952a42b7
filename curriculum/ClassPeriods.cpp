#include "ClassPeriods.h"

#include "Platform.h"

#include "Database.h"

qint16 ClassWeekPeriods(int classid)
{
    Recordset rs = OpenRecordset(
        "select cp.days, ps.p_no from classperiods cp, periodsystem ps"
        " where cp.classid = ? and cp.periodsysid = ps.periodsysid",
        {classid});
    int total = 0;
    for (; !rs.eof(); rs.moveNext()) {
        const QString days = rs.text("days");
        if (days.isEmpty())
            continue;
        total += rs.integer("p_no") * days.split(QLatin1Char(',')).size();
    }
    return qint16(total);
}

qint16 ClassAssignedPeriods(int classid)
{
    return qint16(QueryValue("select sum(hours) from classsubjects where classid = ?", {classid}, 0).toInt());
}

int ClassIdFromText(const QString &classText)
{
    const int dash = classText.indexOf(QLatin1Char('-'));
    const QString cls = (dash < 0 ? classText : classText.left(dash)).trimmed();
    const QString section = dash < 0 ? QString() : classText.mid(dash + 1).trimmed();
    if (!section.isEmpty())
        return QueryValue("select classid from classsection where class = ? and section = ?", {cls, section}, 0)
            .toInt();
    return QueryValue("select classid from classsection where class = ? and (section is null or section = '')",
                      {cls}, 0)
        .toInt();
}

int LeadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    qint64 n = 0;
    for (; i < t.size() && t[i].isDigit() && n < 100000; ++i)
        n = n * 10 + t[i].digitValue();
    return int(negative ? -n : n);
}

bool RefuseDeletedMeanwhile(const QString &what)
{
    hx::MsgBox(what + " no longer exists; nothing was assigned.", hx::MsgButtons::Ok, hx::MsgIcon::None);
    return false;
}

void Conclude(Transaction &tx, bool written)
{
    if (written)
        tx.commit();
    else
        tx.rollback();
}
