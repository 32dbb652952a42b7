#pragma once
#include <QComboBox>
#include <QListWidget>
#include <QTreeWidget>

// Small builders shared by the two assignment windows.
inline QListWidget *MultiList(const QString &name, const QStringList &items)
{
    auto *l = new QListWidget;
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::MultiSelection);
    l->addItems(items);
    return l;
}

inline QTreeWidget *ListView(const QString &name, const QStringList &headers, bool multi)
{
    auto *t = new QTreeWidget;
    t->setObjectName(name);
    t->setRootIsDecorated(false);
    t->setHeaderLabels(headers);
    t->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    return t;
}

inline void ShowRows(QTreeWidget *t, const QVector<QStringList> &rows)
{
    t->clear();
    for (const QStringList &r : rows)
        t->addTopLevelItem(new QTreeWidgetItem(r));
    // Long subject titles would otherwise be cut short; the last column takes the rest.
    for (int c = 0; c + 1 < t->columnCount(); ++c)
        t->resizeColumnToContents(c);
}

inline QVector<bool> SelectedRows(QTreeWidget *t)
{
    QVector<bool> sel;
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        sel << t->topLevelItem(i)->isSelected();
    return sel;
}

inline QStringList SelectedTexts(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->isSelected())
            out << l->item(i)->text();
    return out;
}

inline QComboBox *Levels(const QString &name)
{
    auto *c = new QComboBox;
    c->setObjectName(name);
    for (int i = 1; i <= 12; ++i)
        c->addItem(QString::number(i));
    return c;
}
