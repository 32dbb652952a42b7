#pragma once
// "Teacher's Schedule": builds the weekly timetable from one teacher's side. The rules live
// in TeacherScheduleModel; this window draws its cells and wires the controls to it.
#include "TeacherScheduleModel.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QChartView;
class QMdiSubWindow;

class FrmTeacherSchedule : public QWidget {
    Q_OBJECT
public:
    explicit FrmTeacherSchedule(QWidget *parent = nullptr);

    tt::TeacherScheduleModel &model() { return model_; }
    QLabel *cell(int i) const { return Period[i]; }
    QLabel *periodHeading(int k) const { return Label4[k]; }
    QLabel *dayLoad(int d) const { return DayLoad[d]; }
    QLabel *periodLoad(int p) const { return PeriodLoad[p]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void CmbTeacher_Click();
    void CmbSubject_Click();
    void CmbClass_Click();
    void CmbClass2_Click();
    void chooseClassBox(int box, QComboBox *combo);
    void ChkAssign_Click();
    void cmdAssign_Click();
    void CmdUndo_Click();
    void CmdClear_Click();
    void CmdSwap_Click();
    void cmdSave_Click();
    void CmdPrint_Click();
    void CmdExit_Click();
    void CmdReset_Click();

private:
    void Form_Load();
    void Form_Activate();
    void buildUi();
    void Period_Click(int index);
    void Label4_Click(int index);
    void showCells();
    void ShowWorkLoad();
    void showLabels();
    void fillCharts();
    void setChoicesEnabled(bool enabled);
    tt::ClassChoice choiceOf(QComboBox *box) const;

    tt::TeacherScheduleModel model_;

    QComboBox *CmbTeacher = nullptr;
    QComboBox *CmbSubject = nullptr;
    QComboBox *CmbClass = nullptr;
    QComboBox *CmbClass2 = nullptr;
    QCheckBox *ChkAssign = nullptr;
    QTabWidget *SSTab1 = nullptr;
    std::array<QLabel *, tt::kCells> Period{};
    std::array<QLabel *, tt::kPeriods> Label4{};
    std::array<QLabel *, 8> Label3{};
    std::array<QLabel *, tt::kDays> DayLoad{};
    std::array<QLabel *, tt::kPeriods> PeriodLoad{};
    QLabel *TotalLoad = nullptr;
    QLabel *LblTot = nullptr;
    QLabel *LblAss = nullptr;
    QChartView *MSChart1 = nullptr;
    QChartView *MSChart2 = nullptr;
    QPushButton *cmdAssign = nullptr;
    QPushButton *CmdUndo = nullptr;
    QPushButton *CmdClear = nullptr;
    QPushButton *CmdSwap = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;
    QPushButton *CmdReset = nullptr;
    QMdiSubWindow *frame_ = nullptr;
};
