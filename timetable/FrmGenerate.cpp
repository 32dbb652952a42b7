#include "FrmGenerate.h"

#include "FormControls.h"
#include "Platform.h"
#include "TimetableShared.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The week of one class or one teacher, drawn as the editors draw theirs.
QWidget *weekGrid(std::array<QLabel *, gen::Cells> &cells, const QString &prefix)
{
    auto *w = new QWidget;
    auto *g = new QGridLayout(w);
    g->setSpacing(2);
    tt::AddWeekHeadings(g);
    for (int i = 0; i < gen::Cells; ++i) {
        cells[i] = tt::AddWeekCell(g, i, new QLabel);
        cells[i]->setObjectName(prefix + QString::number(i));
    }
    g->setColumnStretch(tt::kPeriods + 1, 1);
    g->setRowStretch(tt::kDays + 1, 1);
    return w;
}

// A tab with a box to choose whose week, the week, and the legend of its colours.
QWidget *weekTab(QComboBox *box, std::array<QLabel *, gen::Cells> &cells, const QString &prefix,
                 std::initializer_list<GenCellLook> looks)
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(box);
    layout->addWidget(weekGrid(cells, prefix));
    auto *legends = new QHBoxLayout;
    for (GenCellLook look : looks) {
        auto *l = new QLabel(GenerateModel::lookName(look));
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Box);
        tt::PaintCell(l, GenerateModel::colourOf(look));
        legends->addWidget(l);
    }
    legends->addStretch();
    layout->addLayout(legends);
    return tab;
}

void fill(QComboBox *box, const QVector<GenItem> &items)
{
    box->clear();
    for (const GenItem &i : items)
        box->addItem(i.text, i.id);
}

} // namespace

FrmGenerate::FrmGenerate(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmGenerate"));
    setWindowTitle(QStringLiteral("Generate Timetable"));
    job_ = new GenerateJob(this);

    // Left: what to build.
    auto *choose = new QGroupBox(QStringLiteral("Class-Sections"));
    auto *chooseLayout = new QVBoxLayout(choose);
    LstClasses = new QListWidget;
    LstClasses->setObjectName(QStringLiteral("LstClasses"));
    LstClasses->setAccessibleName(QStringLiteral("Class-Sections"));
    for (const GenItem &c : GenerateModel::classList()) {
        auto *item = new QListWidgetItem(c.text, LstClasses);
        item->setData(Qt::UserRole, c.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    chooseLayout->addWidget(LstClasses, 1);
    auto *allNone = new QHBoxLayout;
    cmdAll = hx::NamedButton(this, QStringLiteral("cmdAll"), QStringLiteral("&All"));
    cmdNone = hx::NamedButton(this, QStringLiteral("cmdNone"), QStringLiteral("&None"));
    allNone->addWidget(cmdAll);
    allNone->addWidget(cmdNone);
    chooseLayout->addLayout(allNone);
    ChkKeep = new QCheckBox(QStringLiteral("&Keep lessons already placed"));
    ChkKeep->setObjectName(QStringLiteral("ChkKeep"));
    ChkKeep->setChecked(true);
    chooseLayout->addWidget(ChkKeep);
    auto *limitRow = new QHBoxLayout;
    auto *limitLabel = new QLabel(QStringLiteral("Teacher's &lessons a day at most"));
    // A list, not a number box: the few sensible limits, nothing odd to type.
    CmbDayLimit = new QComboBox;
    CmbDayLimit->setObjectName(QStringLiteral("CmbDayLimit"));
    CmbDayLimit->addItem(QStringLiteral("Even"), 0);
    for (int n = 1; n <= tt::kPeriods; ++n)
        CmbDayLimit->addItem(QString::number(n), n);
    CmbDayLimit->setToolTip(QStringLiteral("Even: each teacher's week spread evenly over the days, rounded up"));
    limitLabel->setBuddy(CmbDayLimit);
    limitRow->addWidget(limitLabel);
    limitRow->addWidget(CmbDayLimit);
    chooseLayout->addLayout(limitRow);
    auto *runRow = new QHBoxLayout;
    cmdGenerate = hx::NamedButton(this, QStringLiteral("cmdGenerate"), QStringLiteral("&Generate"));
    cmdStop = hx::NamedButton(this, QStringLiteral("cmdStop"), QStringLiteral("S&top"));
    cmdStop->setEnabled(false);
    runRow->addWidget(cmdGenerate);
    runRow->addWidget(cmdStop);
    chooseLayout->addLayout(runRow);
    PrgGenerate = new QProgressBar;
    PrgGenerate->setObjectName(QStringLiteral("PrgGenerate"));
    PrgGenerate->setAccessibleName(QStringLiteral("Progress"));
    PrgGenerate->setRange(0, 1);
    PrgGenerate->setValue(0);
    PrgGenerate->setFormat(QString());
    chooseLayout->addWidget(PrgGenerate);

    // Right: the result, before anything is written.
    LblSummary = new QLabel(QStringLiteral("Tick the class-sections to build and press Generate."));
    LblSummary->setObjectName(QStringLiteral("LblSummary"));
    LblSummary->setWordWrap(true);
    TabResult = new QTabWidget;
    TabResult->setObjectName(QStringLiteral("TabResult"));
    LvwClasses = hx::NamedListView(this, QStringLiteral("LvwClasses"),
                                   {QStringLiteral("Class"), QStringLiteral("Placed"), QStringLiteral("Planned"),
                                    QStringLiteral("Spread Faults")});
    LvwClasses->setAccessibleName(QStringLiteral("Classes"));
    TabResult->addTab(LvwClasses, QStringLiteral("Classes"));
    LstUnplaced = new QListWidget;
    LstUnplaced->setObjectName(QStringLiteral("LstUnplaced"));
    LstUnplaced->setAccessibleName(QStringLiteral("Not Placed"));
    LstUnplaced->setWordWrap(true);
    TabResult->addTab(LstUnplaced, QStringLiteral("Not Placed"));

    CmbClass = new QComboBox;
    CmbClass->setObjectName(QStringLiteral("CmbClass"));
    CmbClass->setAccessibleName(QStringLiteral("Class"));
    TabResult->addTab(weekTab(CmbClass, classCell_, QStringLiteral("ClassCell_"),
                              {GenCellLook::Placed, GenCellLook::Kept, GenCellLook::Free}),
                      QStringLiteral("Class Week"));
    CmbTeacher = new QComboBox;
    CmbTeacher->setObjectName(QStringLiteral("CmbTeacher"));
    CmbTeacher->setAccessibleName(QStringLiteral("Teacher"));
    TabResult->addTab(weekTab(CmbTeacher, teacherCell_, QStringLiteral("TeacherCell_"),
                              {GenCellLook::Placed, GenCellLook::Kept, GenCellLook::Elsewhere, GenCellLook::Unavailable}),
                      QStringLiteral("Teacher Week"));

    auto *endRow = new QHBoxLayout;
    cmdSave = hx::NamedButton(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    cmdDiscard = hx::NamedButton(this, QStringLiteral("cmdDiscard"), QStringLiteral("&Discard"));
    CmdExit = hx::NamedButton(this, QStringLiteral("CmdExit"), QStringLiteral("E&xit"));
    endRow->addStretch();
    endRow->addWidget(cmdSave);
    endRow->addWidget(cmdDiscard);
    endRow->addWidget(CmdExit);

    auto *right = new QVBoxLayout;
    right->addWidget(LblSummary);
    right->addWidget(TabResult, 1);
    right->addLayout(endRow);
    auto *main = new QHBoxLayout(this);
    main->addWidget(choose);
    main->addLayout(right, 1);

    connect(cmdAll, &QPushButton::clicked, this, [this] { cmdAll_Click(true); });
    connect(cmdNone, &QPushButton::clicked, this, [this] { cmdAll_Click(false); });
    connect(cmdGenerate, &QPushButton::clicked, this, [this] { cmdGenerate_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdDiscard, &QPushButton::clicked, this, [this] { cmdDiscard_Click(); });
    connect(CmdExit, &QPushButton::clicked, this, [this] { close(); });
    connect(CmbClass, &QComboBox::currentIndexChanged, this, [this] { showClassWeek(); });
    connect(CmbTeacher, &QComboBox::currentIndexChanged, this, [this] { showTeacherWeek(); });
    connect(job_, &GenerateJob::progressed, this, &FrmGenerate::progressed);
    connect(job_, &GenerateJob::finished, this, &FrmGenerate::generated);
    showResult();
}

FrmGenerate::~FrmGenerate()
{
    job_->stop(); // the job waits for its worker as it goes
}

void FrmGenerate::closeEvent(QCloseEvent *event)
{
    // The worker is stopped and waited for; its week is dropped, nothing was written.
    job_->stop();
    QWidget::closeEvent(event);
}

void FrmGenerate::cmdAll_Click(bool all)
{
    for (int i = 0; i < LstClasses->count(); ++i)
        LstClasses->item(i)->setCheckState(all ? Qt::Checked : Qt::Unchecked);
}

void FrmGenerate::cmdGenerate_Click()
{
    QVector<int> ids;
    for (int i = 0; i < LstClasses->count(); ++i)
        if (LstClasses->item(i)->checkState() == Qt::Checked)
            ids << LstClasses->item(i)->data(Qt::UserRole).toInt();
    if (ids.isEmpty()) {
        hx::MsgBox(QStringLiteral("Tick the class-sections whose weeks are to be built."));
        return;
    }
    model_.discard();
    showResult();
    if (!model_.read(ids, ChkKeep->isChecked()))
        return;
    setBusy(true);
    LblSummary->setText(QStringLiteral("Generating…"));
    PrgGenerate->setRange(0, 0);
    job_->start(model_.snapshot(), model_.options(1, CmbDayLimit->currentData().toInt()));
}

void FrmGenerate::cmdStop_Click()
{
    job_->stop();
    cmdStop->setEnabled(false);
}

void FrmGenerate::progressed(int phase, int placed, int total, int spreadFaults, int gaps)
{
    if (!job_->running())
        return;
    switch (gen::Phase(phase)) {
    case gen::Phase::Checking:
        PrgGenerate->setRange(0, 0);
        break;
    case gen::Phase::Placing:
        PrgGenerate->setRange(0, std::max(total, 1));
        PrgGenerate->setValue(placed);
        PrgGenerate->setFormat(QStringLiteral("Placing lessons: %v of %m"));
        break;
    case gen::Phase::Improving:
    case gen::Phase::Done:
        PrgGenerate->setRange(0, std::max(total, 1));
        PrgGenerate->setValue(placed);
        PrgGenerate->setFormat(QStringLiteral("Improving: %1 spread faults, %2 gaps").arg(spreadFaults).arg(gaps));
        break;
    }
}

void FrmGenerate::generated()
{
    model_.setResult(job_->takeResult());
    setBusy(false);
    PrgGenerate->setRange(0, std::max(model_.result().planned, 1));
    PrgGenerate->setValue(model_.result().placed);
    PrgGenerate->setFormat(QStringLiteral("%v of %m placed"));
    showResult();
}

void FrmGenerate::cmdSave_Click()
{
    const store::SaveResult saved = model_.save();
    if (saved.saved()) {
        hx::MsgBox(QStringLiteral("The generated timetable has been saved."));
        LblSummary->setText(QStringLiteral("Saved."));
        showResult();
        return;
    }
    if (tt::TellSaveResult(saved) == tt::AfterSave::Reload) {
        // The weeks changed meanwhile: what was built from them is dropped, to be built again.
        model_.discard();
        showResult();
    }
}

void FrmGenerate::cmdDiscard_Click()
{
    model_.discard();
    LblSummary->setText(QStringLiteral("Discarded: nothing was written."));
    showResult();
}

void FrmGenerate::setBusy(bool busy)
{
    cmdGenerate->setEnabled(!busy);
    cmdStop->setEnabled(busy);
    LstClasses->setEnabled(!busy);
    cmdAll->setEnabled(!busy);
    cmdNone->setEnabled(!busy);
    ChkKeep->setEnabled(!busy);
    CmbDayLimit->setEnabled(!busy);
    cmdSave->setEnabled(!busy && model_.hasResult());
    cmdDiscard->setEnabled(!busy && model_.hasResult());
}

void FrmGenerate::showResult()
{
    const bool has = model_.hasResult();
    cmdSave->setEnabled(has && !job_->running());
    cmdDiscard->setEnabled(has && !job_->running());
    LvwClasses->clear();
    LstUnplaced->clear();
    if (has) {
        const gen::Result &r = model_.result();
        LblSummary->setText((r.cancelled ? QStringLiteral("Stopped: the best week so far, ") : QString())
                            + model_.summary());
        for (const gen::ClassReport &c : r.classes) {
            auto *item = new QTreeWidgetItem(LvwClasses, {model_.className(c.classId), QString::number(c.placed),
                                                          QString::number(c.planned),
                                                          QString::number(c.spreadFaults)});
            item->setData(0, Qt::UserRole, c.classId);
        }
        LstUnplaced->addItems(model_.unplacedLines());
        TabResult->setTabText(1, QStringLiteral("Not Placed (%1)").arg(r.planned - r.placed));
    } else {
        TabResult->setTabText(1, QStringLiteral("Not Placed"));
    }
    const int classId = CmbClass->currentData().toInt();
    const int teacherId = CmbTeacher->currentData().toInt();
    {
        const QSignalBlocker a(CmbClass), b(CmbTeacher);
        fill(CmbClass, has ? model_.resultClasses() : QVector<GenItem>());
        fill(CmbTeacher, has ? model_.resultTeachers() : QVector<GenItem>());
        CmbClass->setCurrentIndex(std::max(0, CmbClass->findData(classId)));
        CmbTeacher->setCurrentIndex(std::max(0, CmbTeacher->findData(teacherId)));
    }
    showClassWeek();
    showTeacherWeek();
}

void FrmGenerate::showClassWeek()
{
    const int id = model_.hasResult() ? CmbClass->currentData().toInt() : 0;
    for (int i = 0; i < gen::Cells; ++i) {
        classCell_[i]->setText(id ? model_.classCaption(id, i) : QString());
        tt::PaintCell(classCell_[i], GenerateModel::colourOf(id ? model_.classLook(id, i) : GenCellLook::Outside));
    }
}

void FrmGenerate::showTeacherWeek()
{
    const int id = model_.hasResult() ? CmbTeacher->currentData().toInt() : 0;
    for (int i = 0; i < gen::Cells; ++i) {
        teacherCell_[i]->setText(id ? model_.teacherCaption(id, i) : QString());
        tt::PaintCell(teacherCell_[i], GenerateModel::colourOf(id ? model_.teacherLook(id, i) : GenCellLook::Outside));
    }
}
