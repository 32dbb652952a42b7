#include "ListSort.h"

#include <algorithm>

void ListSort::apply(QVector<QStringList> &rows) const
{
    if (key < 0)
        return;
    const int k = key;
    const bool asc = ascending;
    std::stable_sort(rows.begin(), rows.end(), [k, asc](const QStringList &a, const QStringList &b) {
        const int c = QString::compare(a.value(k), b.value(k), Qt::CaseInsensitive);
        return asc ? c < 0 : c > 0;
    });
}
