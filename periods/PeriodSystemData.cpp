#include "PeriodSystemData.h"

#include "Database.h"

#include <QHeaderView>
#include <QTreeWidget>

int PeriodSystemIdByName(const QString &name)
{
    // Compared here rather than in SQL, whose case rules know only the English letters.
    const QString wanted = name.trimmed();
    Recordset rs = OpenRecordset(QStringLiteral("select periodsysid, ps_name from periodsystem order by periodsysid"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (!rs.value(1).isNull() && rs.text(1).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return rs.integer(0);
    }
    return 0;
}

std::optional<PeriodSystem> FindPeriodSystem(const QString &name)
{
    const int id = PeriodSystemIdByName(name);
    if (id == 0)
        return std::nullopt;
    Recordset rs = OpenRecordset(QStringLiteral("select * from periodsystem where periodsysid = ?"), {id});
    if (rs.eof())
        return std::nullopt;
    PeriodSystem ps;
    ps.id = rs.integer(QStringLiteral("periodsysid"));
    ps.name = rs.text(QStringLiteral("ps_name"));
    ps.periods = rs.integer(QStringLiteral("p_no"));
    ps.duration = rs.integer(QStringLiteral("p_duration"));
    ps.start = rs.text(QStringLiteral("p_start"));
    ps.beforeRecess = rs.integer(QStringLiteral("p_before_rec"));
    ps.recessDuration = rs.integer(QStringLiteral("rec_duration"));
    ps.amPm = rs.text(QStringLiteral("amorpm"));
    return ps;
}

QStringList PeriodSystemNames(bool byName)
{
    Recordset rs = OpenRecordset(byName ? QStringLiteral("select ps_name from periodsystem order by ps_name")
                                        : QStringLiteral("select ps_name from periodsystem order by periodsysid"));
    QStringList names;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        names << rs.text(0).trimmed();
    return names;
}

void SetUpPeriodList(QTreeWidget *list)
{
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("Period"), QStringLiteral("Start Time"), QStringLiteral("End Time")});
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnWidth(0, 70);
    list->setColumnWidth(1, 75);
    list->setColumnWidth(2, 70);
    list->setMinimumWidth(235);
}

void ShowPeriodTimes(QTreeWidget *list, const QList<PeriodRow> &rows)
{
    list->clear();
    for (const PeriodRow &r : rows) {
        auto *item = new QTreeWidgetItem(list, {r.period, r.start, r.end});
        if (r.recess) {
            for (int c = 0; c < 3; ++c)
                item->setForeground(c, QColor(0xFF, 0, 0));
        }
    }
}
