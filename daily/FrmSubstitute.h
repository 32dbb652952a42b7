#pragma once
// "Substitute Teacher": who covers the periods of the teachers away on a date.
#include "SubstitutionPlan.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class FrmSubstitute : public QWidget {
    Q_OBJECT
public:
    explicit FrmSubstitute(QWidget *parent = nullptr);

    void CmdSave_Click();
    void LvwSub_ItemClick(QTreeWidgetItem *item);
    void DTP_Change();
    void CmdSuggestAll_Click();
    void CmdSaveAll_Click();
    void CmdRemove_Click();
    void CmbSubstitute_Activated(int index);

    const SubstitutionPlan &plan() const { return plan_; }

private:
    void FillList();
    void CalculateDay();
    void CalFreeTeacher();
    void ShowReasons(int index);
    void EnableProposalButtons();
    QTreeWidgetItem *clickedItem() const;

    QDateEdit *DTP;
    QLabel *lblDay;
    QTreeWidget *LvwSub;
    QLineEdit *TxtTeacher;
    QLineEdit *TxtClass;
    QLineEdit *TxtStatus;
    QLineEdit *TxtPerFrom;
    QLineEdit *TxtPerTo;
    QComboBox *CmbSubstitute;
    QLabel *lblReasons;
    QPushButton *CmdSave;
    QPushButton *CmdExit;
    QPushButton *CmdSuggestAll;
    QComboBox *CmbDailyLimit;
    QPushButton *CmdRemove;
    QPushButton *CmdSaveAll;

    SubstitutionPlan plan_;
    // From the last clicked line.
    int absentTeacher_ = 0;
    int period_ = -1; // stored, from 0
    int line_ = -1;   // index into the plan's lines
};
