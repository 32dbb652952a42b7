#pragma once
// "Period System": create, change and delete bell schedules, with the list of periods.
#include "PeriodSystemDefinition.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmDefinePeriodSys : public QWidget {
    Q_OBJECT
public:
    explicit frmDefinePeriodSys(QWidget *parent = nullptr);

    int currentPeriodSysId() const { return periodSysId_; }
    PeriodSystemInput input() const;

public slots:
    void cmdSave_Click();
    void CmdDelete_Click();
    void CmdExit_Click();
    void cmbPeriodSysName_Click();
    void cmbPeriodSysName_Change(const QString &text);
    void txtStHr_LostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ClearFields();
    void Fill_PSname_cmb();
    void Fill_box_on_cmb_click();
    void Fill_lvPSDetail();
    void focusField(PeriodSystemDefinition::Field field);

    QComboBox *cmbPeriodSysName;
    QLineEdit *txtStHr;
    QLineEdit *txtStMin;
    QComboBox *cmbAMPM;
    QComboBox *cmbPeriodNumber;
    QLineEdit *txtPeriodDuration;
    QComboBox *cmbPBeforeRec;
    QLineEdit *txtRecDuration;
    QTreeWidget *lvPSDetail;
    QPushButton *cmdSave;
    QPushButton *CmdExit;
    QPushButton *CmdDelete;

    int periodSysId_ = 0;
    QString chosenName_;
    bool unsaved_ = false; // numbers typed since the inputs were last filled or cleared
};
