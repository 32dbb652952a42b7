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
    // Rows may carry ids beyond the shown columns; those stay out of sight.
    for (const QStringList &r : rows)
        t->addTopLevelItem(new QTreeWidgetItem(r.mid(0, t->columnCount())));
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

inline QComboBox *Levels(const QString &name, const QString &prompt = QString())
{
    auto *c = new QComboBox;
    c->setObjectName(name);
    for (int i = 1; i <= 12; ++i)
        c->addItem(QString::number(i));
    if (!prompt.isEmpty()) {
        // No level until one is chosen: the box shows what it asks for.
        c->setPlaceholderText(prompt);
        c->setCurrentIndex(-1);
    }
    return c;
}
