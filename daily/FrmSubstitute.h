#pragma once
// "Substitute Teacher": who covers the periods of the teachers away on a date.
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

private:
    void FillList();
    void CalculateDay();
    void CalFreeTeacher();

    QDateEdit *DTP;
    QLabel *lblDay;
    QTreeWidget *LvwSub;
    QLineEdit *TxtTeacher;
    QLineEdit *TxtClass;
    QLineEdit *TxtStatus;
    QLineEdit *TxtPerFrom;
    QLineEdit *TxtPerTo;
    QComboBox *CmbSubstitute;
    QPushButton *CmdSave;
    QPushButton *CmdExit;

    // From the last clicked line.
    int absentTeacher_ = 0;
    int period_ = -1; // stored, from 0
};
