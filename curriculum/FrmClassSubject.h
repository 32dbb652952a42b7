#pragma once
#include "ClassSubjectLogic.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QChartView;

class FrmClassSubject : public QWidget {
    Q_OBJECT
public:
    FrmClassSubject();

private slots:
    void cmdAssign_Click();
    void CmbRemove_Click();
    void CmbClass_Click();

private:
    void showRows();
    void fillClassCombo();
    void FillSubjectCount();
    ClassSubjectLogic logic_;
    QListWidget *LstClass, *LstSubject;
    QLineEdit *TxtHrs;
    QComboBox *cmbSubLevel, *CmbClass;
    QTreeWidget *LvwClassSubject;
    QChartView *MSChart1, *MSChart2;
};
