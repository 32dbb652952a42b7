#include "ClassPeriodList.h"

#include "Database.h"
#include "Lookups.h"
#include "PeriodSystemData.h"
#include "Platform.h"

const QStringList &ClassPeriodList::DayAbbreviations()
{
    static const QStringList days = {QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                                     QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    return days;
}

QString ClassPeriodList::DaysToConst(const QString &days)
{
    QStringList out;
    for (const QString &d : days.split(QLatin1Char(','))) {
        const int i = DayAbbreviations().indexOf(d.trimmed());
        if (i >= 0)
            out << QString::number(i);
    }
    return out.join(QLatin1Char(','));
}

QString ClassPeriodList::ConstToDays(const QString &numbers)
{
    QStringList out;
    for (const QString &n : numbers.split(QLatin1Char(','))) {
        const QString t = n.trimmed();
        if (t.size() == 1 && t[0] >= QLatin1Char('0') && t[0] <= QLatin1Char('5'))
            out << DayAbbreviations().at(t.toInt());
    }
    return out.join(QLatin1Char(','));
}

void ClassPeriodList::load()
{
    rows_.clear();
    Recordset rs = OpenRecordset(QStringLiteral("select %1 as classtext, ps.ps_name, cp.days, cp.classid, "
                                                "cp.periodsysid from classperiods cp, classsection cs, "
                                                "periodsystem ps where cp.classid = cs.classid and "
                                                "cp.periodsysid = ps.periodsysid order by cs.sortorder, 1")
                                     .arg(ClassSectionExpr(QStringLiteral("cs"))));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ClassPeriodRow r;
        r.classText = rs.text(0);
        r.periodSystem = rs.text(1);
        r.days = ConstToDays(rs.text(2));
        r.classId = rs.integer(3);
        r.periodSysId = rs.integer(4);
        rows_ << r;
    }
}

void ClassPeriodList::assign(const QList<ClassChoice> &classes, const QString &periodSystem, int periodSysId,
                             const QStringList &selectedDays)
{
    for (const ClassChoice &c : classes) {
        const QString classText = c.classText.trimmed();
        // AlreadyExists: the days other systems hold for this class, and this system's row.
        int sameRow = -1;
        QStringList occupied;
        for (int i = 0; i < rows_.size(); ++i) {
            const ClassPeriodRow &r = rows_[i];
            if (r.classText.trimmed() != classText)
                continue;
            if (r.periodSystem.trimmed() == periodSystem.trimmed()) {
                if (sameRow < 0)
                    sameRow = i;
                continue;
            }
            const QStringList rowDays = r.days.split(QLatin1Char(','));
            for (const QString &d : selectedDays) {
                if (rowDays.contains(d) && !occupied.contains(d))
                    occupied << d;
            }
        }
        // Remaining, and the occupied days too, in Monday-first order.
        QStringList remaining;
        QStringList occupiedInOrder;
        for (const QString &d : DayAbbreviations()) {
            if (!selectedDays.contains(d))
                continue;
            if (occupied.contains(d))
                occupiedInOrder << d;
            else
                remaining << d;
        }
        if (remaining.isEmpty()) {
            hx::MsgBox(QStringLiteral("All days are already assigned"));
            continue;
        }
        const QString remainingText = remaining.join(QLatin1Char(','));
        if (!occupiedInOrder.isEmpty()
            && hx::MsgBox(occupiedInOrder.join(QLatin1Char(',')) + QStringLiteral(" are already occupied for class ")
                              + classText + QLatin1Char('\n') + QStringLiteral("Assign ") + remainingText
                              + QStringLiteral(" ?"),
                          hx::MsgButtons::OkCancel)
                   != hx::MsgResult::Ok)
            continue;
        if (sameRow >= 0) {
            rows_[sameRow].days = remainingText;
        } else {
            ClassPeriodRow r;
            r.classText = classText;
            r.periodSystem = periodSystem;
            r.days = remainingText;
            r.classId = c.classId;
            r.periodSysId = periodSysId;
            rows_ << r;
        }
    }
}

void ClassPeriodList::remove(int index)
{
    if (index >= 0 && index < rows_.size())
        rows_.removeAt(index);
}

int ClassPeriodList::ClassIdOf(const QString &classText)
{
    const QStringList parts = classText.split(QLatin1Char('-'));
    const QString cls = parts.value(0);
    const QString section = parts.value(1);
    const QVariant id =
        section.isEmpty()
            ? QueryValue(QStringLiteral("select classid from classsection where class = ? and "
                                        "(section is null or section = '') order by classid"),
                         {cls}, 0)
            : QueryValue(QStringLiteral("select classid from classsection where class = ? and section = ? "
                                        "order by classid"),
                         {cls, section}, 0);
    return id.toInt();
}

bool ClassPeriodList::save()
{
    if (rows_.isEmpty())
        return true;
    // Find every row's ids first: a row whose class or period system has gone is left out,
    // never stored with the ids of another row.
    struct Insert {
        int classId;
        int periodSysId;
        QString days;
    };
    QList<Insert> inserts;
    QStringList leftOut;
    for (const ClassPeriodRow &r : rows_) {
        const int classId = ClassIdOf(r.classText);
        const int psId = PeriodSystemIdByName(r.periodSystem);
        const QString days = DaysToConst(r.days);
        if (classId == 0 || psId == 0 || days.isEmpty()) {
            leftOut << r.classText + QLatin1Char(' ') + r.periodSystem + QLatin1Char(' ') + r.days;
            continue;
        }
        inserts << Insert{classId, psId, days};
    }

    Transaction t;
    if (!ExecuteSql(QStringLiteral("delete from classperiods")))
        return false;
    for (const Insert &i : inserts) {
        if (!ExecuteSql(QStringLiteral("insert into classperiods values(?,?,'?')"), {i.classId, i.periodSysId, i.days}))
            return false;
    }
    if (!t.commit())
        return false;
    if (!leftOut.isEmpty())
        hx::MsgBox(QStringLiteral("These rows were not saved, their class or period system no longer exists:\n")
                       + leftOut.join(QLatin1Char('\n')),
                   hx::MsgButtons::Ok, hx::MsgIcon::Exclamation);
    return true;
}
