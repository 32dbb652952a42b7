#include "PeriodSystemData.h"

#include "Database.h"

#include <QHeaderView>
#include <QTreeWidget>

std::optional<PeriodSystem> FindPeriodSystem(const QString &name)
{
    Recordset rs = OpenRecordset(QStringLiteral("select * from periodsystem where ps_name = ?"), {name.trimmed()});
    if (rs.eof() || rs.isNull(QStringLiteral("ps_name")))
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
