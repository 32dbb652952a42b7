#pragma once
// "Teaching Allocation": which teacher takes how many periods of each class-subject, and the
// periods each teacher cannot teach, with the problems of both kept in view under the tabs.
// The logic lives in AllocationLogic and AvailabilityModel; this window draws them.
#include "AllocationLogic.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMdiSubWindow;
class QPushButton;
class QTabWidget;
class QTreeWidget;

class FrmAllocation : public QWidget {
    Q_OBJECT
public:
    explicit FrmAllocation(QWidget *parent = nullptr);

    QLabel *Avail(int cell) const { return avail_[cell]; }
    alloc::AllocationLogic &logic() { return logic_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CmbClass_Click();
    void subjectChosen();
    void CmbTeacher_Click();
    void CmbTeacherView_Click();
    void cmdAllocate_Click();
    void cmdRemove_Click();
    void cmdSuggest_Click();
    void cmdSavePlan_Click();
    void cmdDiscardPlan_Click();
    void cmdFromTimetable_Click();
    void CmbAvailTeacher_Click();

    QWidget *buildTeachersTab();
    QWidget *buildAvailabilityTab();
    int chosenSubject() const;
    void showLines(int keepSubject);
    void showOffers();
    void showTeacherView(int teacherid);
    void showPlan();
    void drawAvailability();
    int cellAt(const QPoint &global) const;
    void refreshAll();
    void refreshProblems();

    alloc::AllocationLogic logic_;
    alloc::AvailabilityModel week_;
    QTabWidget *SSTab1 = nullptr;
    QComboBox *CmbClass = nullptr;
    QCheckBox *ChkWholeSchool = nullptr;
    QPushButton *cmdSuggest = nullptr;
    QPushButton *cmdFromTimetable = nullptr;
    QTreeWidget *LvwCurriculum = nullptr;
    QComboBox *CmbTeacher = nullptr;
    QLineEdit *TxtPeriods = nullptr;
    QPushButton *cmdAllocate = nullptr;
    QPushButton *cmdRemove = nullptr;
    QGroupBox *fraPlan = nullptr;
    QTreeWidget *LvwPlan = nullptr;
    QLabel *LblPlan = nullptr;
    QPushButton *cmdSavePlan = nullptr;
    QPushButton *cmdDiscardPlan = nullptr;
    QComboBox *CmbTeacherView = nullptr;
    QTreeWidget *LvwTeacherView = nullptr;
    QLabel *LblTeacherTotal = nullptr;
    QComboBox *CmbAvailTeacher = nullptr;
    QWidget *grid_ = nullptr;
    QLabel *LblAvailability = nullptr;
    QListWidget *LstProblems = nullptr;
    std::array<QLabel *, 54> avail_{};
    int dragFrom_ = -1;
    int dragTo_ = -1;
    QPointer<QMdiSubWindow> frame_;
};
