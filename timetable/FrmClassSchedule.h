#pragma once
// "Class Schedule": the week of one class-section as a 6 x 9 grid of cells, built from the
// chosen subjects and teachers and saved as a whole. The week itself lives in
// ClassScheduleModel; this window draws it and forwards the user's actions.
#include "ClassScheduleModel.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QMdiSubWindow;
class QPushButton;
class QTabWidget;

class QChartView;

class FrmClassSchedule : public QWidget {
    Q_OBJECT
public:
    explicit FrmClassSchedule(QWidget *parent = nullptr);

    ClassScheduleModel &model() { return model_; }
    QLabel *Period(int cell) const { return period_[cell]; }
    QLabel *Alternate(int cell) const { return alternate_[cell]; }
    QLabel *Label4(int period) const { return label4_[period]; }
    QLabel *DayLoad(int day) const { return dayLoad_[day]; }
    QLabel *PeriodLoad(int period) const { return periodLoad_[period]; }

    // Events of the window, also called by tests.
    void Form_Activate();
    void CmbClass_Click();
    void CmbSubject_Click();
    void CmbSubject2_Click();
    void CmbTeacher_Click();
    void CmbTeacher2_Click();
    void ChkAssign_Click();
    void Period_MouseDown(int cell);
    void Period_DragDrop(int target);
    void Label4_Click(int period);
    void CmdReset_Click();
    void cmdAssign_Click();
    void Command1_Click();
    void CmdClear_Click();
    void CmdUndo_Click();
    void CmdSwap_Click();
    void CmdLatest_Click();
    void cmdSave_Click();
    void CmdPrint_Click();
    void CmdExit_Click();

    int dragSource() const { return dragSource_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildGrid(bool editable);
    void classLoaded();
    void subjectChosen(int box);
    void teacherChosen(int box);
    void fillBox(QComboBox *box, const QVector<Pick> &items);
    Pick pickOf(QComboBox *box) const;
    void refresh();
    void refreshChart();
    void setClassViewControls(bool enabled);

    ClassScheduleModel model_;
    QComboBox *CmbClass = nullptr;
    QComboBox *CmbSubject = nullptr;
    QComboBox *CmbTeacher = nullptr;
    QComboBox *CmbSubject2 = nullptr;
    QComboBox *CmbTeacher2 = nullptr;
    QCheckBox *ChkAssign = nullptr;
    QLabel *LblTot = nullptr;
    QLabel *LblAss = nullptr;
    QPushButton *cmdAssign = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *CmdUndo = nullptr;
    QPushButton *CmdClear = nullptr;
    QPushButton *CmdReset = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;
    QPushButton *CmdSwap = nullptr;
    QPushButton *CmdLatest = nullptr;
    QTabWidget *SSTab1 = nullptr;
    QChartView *MSChart1 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *TotalLoad = nullptr;
    std::array<QLabel *, tt::kCells> period_{};
    std::array<QLabel *, tt::kCells> alternate_{};
    std::array<QLabel *, tt::kPeriods> label4_{};
    std::array<QLabel *, tt::kDays> dayLoad_{};
    std::array<QLabel *, tt::kPeriods> periodLoad_{};
    QVector<ChartRow> shownChart_;
    bool chartShown_ = false;

    int dragSource_ = -1;
    QPoint pressPos_;
    bool activatedOnce_ = false;
    QPointer<QMdiSubWindow> frame_;
    bool command1WasEnabled_ = false;
    bool undoWasEnabled_ = false;
};
