#pragma once
// "Class Section": which classes the school runs with which sections.
#include "ClassSectionList.h"

#include <QWidget>

class QPushButton;
class QTreeWidget;

class FrmClassSection : public QWidget {
    Q_OBJECT
public:
    explicit FrmClassSection(QWidget *parent = nullptr);

    const ClassSectionList &list() const { return list_; }

public slots:
    void cmdAllClass_Click();
    void cmdClearClass_Click();
    void cmdAllSec_Click();
    void cmdClearSec_Click();
    void cmdAssign_Click();
    void cmdDel_Click();
    void CmdExit_Click();

private:
    void Form_Load();
    void FillSec();
    void FillClass();
    static void checkAll(QTreeWidget *list, bool on);

    QTreeWidget *LvwClass;
    QTreeWidget *LvwSec;
    QTreeWidget *LvwCS;

    ClassSectionList list_;
};
