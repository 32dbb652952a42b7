#pragma once
// Small builders for the controls every form has, named as the handlers refer to them.
#include <QPushButton>
#include <QTreeWidget>

namespace hx {

inline QPushButton *NamedButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

// A report-style list: one row per item, whole rows selected.
inline QTreeWidget *NamedListView(QWidget *parent, const QString &name, const QStringList &columns)
{
    auto *t = new QTreeWidget(parent);
    t->setObjectName(name);
    t->setColumnCount(columns.size());
    t->setHeaderLabels(columns);
    t->setRootIsDecorated(false);
    t->setAllColumnsShowFocus(true);
    return t;
}

} // namespace hx
