#pragma once
#include "TeacherSubjectLogic.h"

#include <QWidget>

class QComboBox;
class QListWidget;
class QTreeWidget;

class FrmTeacherSubject : public QWidget {
    Q_OBJECT
public:
    FrmTeacherSubject();

private slots:
    void cmdAssign_Click();
    void CmbRemove_Click();
    void CmbTeacher_Click();
    void CmbSubject_Click();

private:
    void showRows();
    void fillCombos();
    TeacherSubjectLogic logic_;
    QListWidget *LstClass, *LstSubject;
    QComboBox *cmbMostP, *cmbLeastP, *CmbTeacher, *CmbSubject;
    QTreeWidget *LvwClassSubject, *LvwTeacher, *LvwSubject;
};
