#pragma once
// "Generate Timetable": the chosen class-sections' weeks built by the generator on a worker
// thread, shown before anything is written, then saved or discarded. The reading, the
// description of the result and the writing live in GenerateModel.
#include "GenerateModel.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;

class FrmGenerate : public QWidget {
    Q_OBJECT
public:
    explicit FrmGenerate(QWidget *parent = nullptr);
    ~FrmGenerate() override;

    GenerateModel &model() { return model_; }
    bool generating() const { return job_->running(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdAll_Click(bool all);
    void cmdGenerate_Click();
    void cmdStop_Click();
    void cmdSave_Click();
    void cmdDiscard_Click();
    void progressed(int phase, int placed, int total, int spreadFaults, int gaps);
    void generated();
    void showResult();
    void showClassWeek();
    void showTeacherWeek();
    void setBusy(bool busy);

    GenerateModel model_;
    GenerateJob *job_ = nullptr;
    QListWidget *LstClasses = nullptr;
    QPushButton *cmdAll = nullptr;
    QPushButton *cmdNone = nullptr;
    QCheckBox *ChkKeep = nullptr;
    QComboBox *CmbDayLimit = nullptr;
    QPushButton *cmdGenerate = nullptr;
    QPushButton *cmdStop = nullptr;
    QProgressBar *PrgGenerate = nullptr;
    QLabel *LblSummary = nullptr;
    QTabWidget *TabResult = nullptr;
    QTreeWidget *LvwClasses = nullptr;
    QListWidget *LstUnplaced = nullptr;
    QComboBox *CmbClass = nullptr;
    QComboBox *CmbTeacher = nullptr;
    std::array<QLabel *, gen::Cells> classCell_{};
    std::array<QLabel *, gen::Cells> teacherCell_{};
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdDiscard = nullptr;
    QPushButton *CmdExit = nullptr;
};
