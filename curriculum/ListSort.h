#pragma once
#include <QStringList>
#include <QVector>

// Column-click sorting of a list view's rows by the cell texts of one column.
struct ListSort {
    int key = -1;
    bool ascending = true;
    // A click on the key column turns the order round; another column becomes the key, ascending.
    void click(int column)
    {
        if (column == key)
            ascending = !ascending;
        else {
            key = column;
            ascending = true;
        }
    }
    void apply(QVector<QStringList> &rows) const;
};
