#pragma once
// The load charts, shared by the editors so the charts read alike: one bar per name, whole
// numbers of periods on the value axis, and names turned rather than cut short.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPair>
#include <QStringList>
#include <QValueAxis>
#include <QVector>

namespace hx {

// 0 .. top rounded up to a step of 1, 2, 5, 10 ... periods, so every tick is a whole number.
inline QValueAxis *PeriodAxis(int top, const QString &title = QString())
{
    top = qMax(1, top);
    int step = 1;
    for (int s : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
        step = s;
        if (top <= s * 10)
            break;
    }
    const int end = (top + step - 1) / step * step;
    auto *y = new QValueAxis;
    y->setRange(0, end);
    y->setTickCount(end / step + 1);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(title);
    return y;
}

// The axis's names, one per bar: the axis takes a name only once and never a null one, so a
// repeated name gets invisible zero-width spaces and a missing one is the empty text.
inline QStringList BarNames(const QStringList &names)
{
    QStringList out;
    for (QString n : names) {
        if (n.isNull())
            n = QStringLiteral("");
        while (out.contains(n))
            n += QChar(0x200B);
        out << n;
    }
    return out;
}

inline QBarCategoryAxis *NameAxis(const QStringList &names, const QString &title = QString())
{
    auto *x = new QBarCategoryAxis;
    x->append(BarNames(names));
    x->setTitleText(title);
    qsizetype letters = 0;
    for (const QString &n : names)
        letters = qMax(letters, n.size());
    // The chart's own shortening cuts names that would fit; beyond about forty letters in a
    // row they no longer fit side by side and are turned instead.
    x->setTruncateLabels(false);
    if (letters * names.size() > 40)
        x->setLabelsAngle(-40);
    return x;
}

// Replaces what the view shows by one bar set of (name, periods) pairs.
inline void ShowBars(QChartView *view, const QVector<QPair<QString, int>> &rows, const QString &setName,
                     const QString &xTitle, const QString &yTitle, bool legend)
{
    QChart *chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    auto *set = new QBarSet(setName);
    QStringList names;
    int top = 0;
    for (const auto &row : rows) {
        names << row.first;
        *set << row.second;
        top = qMax(top, row.second);
    }
    auto *series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto *x = NameAxis(names, xTitle);
    auto *y = PeriodAxis(top, yTitle);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    chart->legend()->setVisible(legend);
}

} // namespace hx
