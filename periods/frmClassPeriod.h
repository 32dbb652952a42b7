#pragma once
// "Assign Period System to Class": which period system each class follows on which days.
#include "ClassPeriodList.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTreeWidget;

class frmClassPeriod : public QWidget {
    Q_OBJECT
public:
    explicit frmClassPeriod(QWidget *parent = nullptr);

    int currentPeriodSysId() const { return periodSysId_; }
    const ClassPeriodList &list() const { return list_; }
    // Selected days as "Mon,Wed,Fri", Monday first.
    QString PS_Days() const;

public slots:
    void cmbPSnm_Click();
    void cmdAssign_Click();
    void cmdDel_Click();
    void cmdSave_Click();
    void CmdExit_Click();
    void Form_Activate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Fill_lvClass();
    void Fill_PS_cmb();
    void Fill_lvPSDetail();
    void showList();
    void Chk_All(bool on);
    void Chk_All_lv(bool on);

    QTreeWidget *lvClass;
    QComboBox *cmbPSnm;
    QTreeWidget *lvPSDetail;
    QList<QCheckBox *> dayBoxes_; // chkMon ... chkSat
    QPushButton *cmdAssign;
    QTreeWidget *lvPSList;
    QPushButton *cmdDel;
    QPushButton *cmdSave;
    QPushButton *CmdExit;

    ClassPeriodList list_;
    int periodSysId_ = 0;
    bool bringDefinitionForward_ = false;
};
