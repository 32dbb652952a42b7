#pragma once
// "Absent Teachers": marks a teacher absent for a span of periods on one date, or present.
#include "AttendanceBook.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTreeWidget;

class frmTeacherAtt : public QWidget {
    Q_OBJECT
public:
    explicit frmTeacherAtt(QWidget *parent = nullptr);

    void cmdSave_Click();
    void CmdShow_Click();
    void DTP_Change();
    void CmbTeacher_Click();
    void ChkAbsent_Click();
    void CmbPeriod_Click();
    void LvwAtt_ColumnClick(int column);

    const AttendanceBook &book() const { return book_; }

private:
    void FillList(int teacherid);
    void ShowLines();
    void MakeCmbNill();
    AttendanceControls controls() const;

    AttendanceBook book_;
    QDateEdit *DTP;
    QComboBox *CmbTeacher;
    QCheckBox *ChkAbsent;
    QComboBox *CmbPerFrom;
    QComboBox *CmbPerTo;
    QTreeWidget *LvwAtt;
    QPushButton *cmdSave;
    QPushButton *CmdShow;
    QPushButton *cmdCancel;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
