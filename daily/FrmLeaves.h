#pragma once
// "Leave Entry": a teacher's leave over a range of days.
#include <QWidget>

class QComboBox;
class QDateEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

class FrmLeaves : public QWidget {
    Q_OBJECT
public:
    explicit FrmLeaves(QWidget *parent = nullptr);

    void cmdSave_Click();
    void CmdDelete_Click();
    void LvwLeave_ItemClick(QTreeWidgetItem *item);

private:
    void FillList();
    int ChosenTeacher();

    QComboBox *CmbTeacher;
    QDateEdit *DTPFrom;
    QDateEdit *DTPTo;
    QTreeWidget *LvwLeave;
    QPushButton *cmdSave;
    QPushButton *CmdDelete;
    QPushButton *CmdExit;
};
