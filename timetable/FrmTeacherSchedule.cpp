#include "FrmTeacherSchedule.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QValueAxis>

#include "Charts.h"
#include <QVBoxLayout>

using namespace tt;

namespace {

QLabel *heading(const QString &text, const QString &name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// Captions keep carriage returns between lines; a label breaks lines at '\n'.
QString displayText(const QString &caption)
{
    QString s = caption;
    s.replace(kCR, QLatin1Char('\n'));
    return s;
}

void paint(QLabel *l, const QColor &c)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(pal);
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QChartView *barChart(const QString &name, QWidget *parent)
{
    auto *view = new QChartView(new QChart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(380, 260);
    return view;
}

} // namespace

FrmTeacherSchedule::FrmTeacherSchedule(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmTeacherSchedule"));
    setWindowTitle(QStringLiteral("Teacher's Schedule"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    Form_Load();
}

void FrmTeacherSchedule::buildUi()
{
    auto *outer = new QVBoxLayout(this);

    // Choices.
    auto *choices = new QGridLayout;
    auto addChoice = [&](int col, const QString &label, QComboBox *&box, const QString &name) {
        box = new QComboBox(this);
        box->setObjectName(name);
        box->setMinimumWidth(150);
        auto *l = new QLabel(label + QStringLiteral(" *"), this);
        l->setBuddy(box);
        choices->addWidget(l, 0, col);
        choices->addWidget(box, 1, col);
    };
    addChoice(0, QStringLiteral("Teacher"), CmbTeacher, QStringLiteral("CmbTeacher"));
    addChoice(1, QStringLiteral("Subject"), CmbSubject, QStringLiteral("CmbSubject"));
    addChoice(2, QStringLiteral("Class I"), CmbClass, QStringLiteral("CmbClass"));
    ChkAssign = new QCheckBox(QStringLiteral("Assign Two Classes"), this);
    ChkAssign->setObjectName(QStringLiteral("ChkAssign"));
    choices->addWidget(ChkAssign, 1, 3);
    CmbClass2 = new QComboBox(this);
    CmbClass2->setObjectName(QStringLiteral("CmbClass2"));
    CmbClass2->setMinimumWidth(120);
    CmbClass2->setEnabled(false);
    auto *l2 = new QLabel(QStringLiteral("Class II"), this);
    l2->setBuddy(CmbClass2);
    choices->addWidget(l2, 0, 4);
    choices->addWidget(CmbClass2, 1, 4);
    choices->setColumnStretch(5, 1);
    outer->addLayout(choices);

    // The grid page.
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(SSTab1);
    auto *grid = new QGridLayout(page);
    grid->setSpacing(2);
    for (int p = 0; p < kPeriods; ++p) {
        Label4[p] = heading(PeriodRoman(p), QStringLiteral("Label4_%1").arg(p), page);
        Label4[p]->setAlignment(Qt::AlignCenter);
        Label4[p]->setToolTip(QStringLiteral("Click here to select whole period"));
        Label4[p]->setCursor(Qt::PointingHandCursor);
        Label4[p]->installEventFilter(this);
        grid->addWidget(Label4[p], 0, p + 1);
    }
    static const char *extra[] = {"Per Load", "Day Load"};
    for (int i = 0; i < 8; ++i) {
        const QString text = i < kDays ? DayCaption(i) : QString::fromLatin1(extra[i - kDays]);
        Label3[i] = heading(text, QStringLiteral("Label3_%1").arg(i), page);
    }
    grid->addWidget(Label3[7], 0, kPeriods + 1);
    for (int d = 0; d < kDays; ++d) {
        grid->addWidget(Label3[d], d + 1, 0);
        DayLoad[d] = heading(QString(), QStringLiteral("DayLoad_%1").arg(d), page);
        DayLoad[d]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        grid->addWidget(DayLoad[d], d + 1, kPeriods + 1);
    }
    for (int i = 0; i < kCells; ++i) {
        auto *c = new QLabel(page);
        c->setObjectName(QStringLiteral("Period_%1").arg(i));
        c->setAutoFillBackground(true);
        c->setFrameShape(QFrame::Box);
        c->setAlignment(Qt::AlignCenter);
        c->setWordWrap(true);
        c->setMinimumSize(88, 64);
        QFont small = c->font();
        small.setPointSizeF(small.pointSizeF() * 0.85); // three lines fit without clipping
        c->setFont(small);
        c->installEventFilter(this);
        Period[i] = c;
        grid->addWidget(c, CellDay(i) + 1, CellPeriod(i) + 1);
    }
    grid->addWidget(Label3[6], kDays + 1, 0);
    for (int p = 0; p < kPeriods; ++p) {
        PeriodLoad[p] = heading(QString(), QStringLiteral("PeriodLoad_%1").arg(p), page);
        PeriodLoad[p]->setAlignment(Qt::AlignCenter);
        grid->addWidget(PeriodLoad[p], kDays + 1, p + 1);
    }
    TotalLoad = heading(QString(), QStringLiteral("TotalLoad"), page);
    TotalLoad->setAlignment(Qt::AlignCenter);
    grid->addWidget(TotalLoad, kDays + 1, kPeriods + 1);

    auto *legend = new QHBoxLayout;
    const QList<QPair<QColor, QString>> legends = {{ColSelected(), QStringLiteral("Selected Period")},
                                                   {ColFree(), QStringLiteral("Free Periods in Class")},
                                                   {ColBusy(), QStringLiteral("Class Occupied ")},
                                                   {ColSubject(), QStringLiteral("Same Subject")}};
    for (const auto &entry : legends) {
        auto *sample = new QLabel(page);
        sample->setAutoFillBackground(true);
        sample->setFrameShape(QFrame::Box);
        sample->setFixedSize(24, 16);
        paint(sample, entry.first);
        legend->addWidget(sample);
        legend->addWidget(new QLabel(entry.second, page));
        legend->addSpacing(16);
    }
    legend->addStretch(1);
    grid->addLayout(legend, kDays + 2, 0, 1, kPeriods + 2);
    SSTab1->addTab(page, QStringLiteral("   Schedule    "));

    // The charts page.
    auto *charts = new QWidget(SSTab1);
    auto *chartRow = new QHBoxLayout(charts);
    MSChart1 = barChart(QStringLiteral("MSChart1"), charts);
    MSChart2 = barChart(QStringLiteral("MSChart2"), charts);
    chartRow->addWidget(MSChart1);
    chartRow->addWidget(MSChart2);
    SSTab1->addTab(charts, QStringLiteral("   Work Load    "));
    outer->addWidget(SSTab1, 1);

    LblTot = heading(QString(), QStringLiteral("LblTot"), this);
    LblAss = heading(QString(), QStringLiteral("LblAss"), this);
    auto *figures = new QHBoxLayout;
    figures->addWidget(LblTot);
    figures->addSpacing(24);
    figures->addWidget(LblAss);
    figures->addStretch(1);
    outer->addLayout(figures);

    auto *buttons = new QHBoxLayout;
    cmdAssign = button(QStringLiteral("&Assign"), QStringLiteral("cmdAssign"), this);
    CmdUndo = button(QStringLiteral("&Undo Assign"), QStringLiteral("CmdUndo"), this);
    CmdUndo->setEnabled(false);
    CmdClear = button(QStringLiteral("&Clear Periods"), QStringLiteral("CmdClear"), this);
    CmdReset = button(QStringLiteral("&Reset Selection"), QStringLiteral("CmdReset"), this);
    CmdSwap = button(QStringLiteral("Show Class &Details"), QStringLiteral("CmdSwap"), this);
    CmdSwap->setProperty("tag", QStringLiteral("Show Teacher's Details"));
    CmdSwap->setEnabled(false);
    cmdSave = button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    CmdPrint = button(QStringLiteral("&Print Schedule"), QStringLiteral("CmdPrint"), this);
    CmdExit = button(QStringLiteral("E&xit"), QStringLiteral("CmdExit"), this);
    for (QPushButton *b : {cmdAssign, CmdUndo, CmdClear, CmdReset, CmdSwap, cmdSave, CmdPrint, CmdExit})
        buttons->addWidget(b);
    outer->addLayout(buttons);

    connect(CmbTeacher, &QComboBox::activated, this, &FrmTeacherSchedule::CmbTeacher_Click);
    connect(CmbSubject, &QComboBox::activated, this, &FrmTeacherSchedule::CmbSubject_Click);
    connect(CmbClass, &QComboBox::activated, this, &FrmTeacherSchedule::CmbClass_Click);
    connect(CmbClass2, &QComboBox::activated, this, &FrmTeacherSchedule::CmbClass2_Click);
    connect(ChkAssign, &QCheckBox::clicked, this, &FrmTeacherSchedule::ChkAssign_Click);
    connect(cmdAssign, &QPushButton::clicked, this, &FrmTeacherSchedule::cmdAssign_Click);
    connect(CmdUndo, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdUndo_Click);
    connect(CmdClear, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdClear_Click);
    connect(CmdSwap, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdSwap_Click);
    connect(cmdSave, &QPushButton::clicked, this, &FrmTeacherSchedule::cmdSave_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdPrint_Click);
    connect(CmdExit, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdExit_Click);
    connect(CmdReset, &QPushButton::clicked, this, &FrmTeacherSchedule::CmdReset_Click);
    hx::NameControlsForAccessibility(this);
}

void FrmTeacherSchedule::Form_Load()
{
    FillComboWithIds(CmbTeacher, TeacherScheduleModel::TeacherListSql());
    CmbTeacher->setCurrentIndex(-1);
    if (CmbTeacher->count() > 0) {
        CmbTeacher->setCurrentIndex(0);
        CmbTeacher_Click();
    } else {
        showCells();
        ShowWorkLoad();
    }
    move(hx::Twips(100), hx::Twips(100));
}

void FrmTeacherSchedule::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || frame_ == sub)
        return;
    frame_ = sub;
    tt::ConnectActivation(sub, this, [this] { Form_Activate(); });
}

void FrmTeacherSchedule::Form_Activate()
{
    // Nothing unsaved: show what other windows may have saved for this teacher meanwhile.
    if (model_.teacherId() <= 0 || model_.dirty())
        return;
    model_.reload();
    fillCharts();
    showCells();
    showLabels();
    ShowWorkLoad();
}

ClassChoice FrmTeacherSchedule::choiceOf(QComboBox *box) const
{
    if (box->currentIndex() < 0)
        return {};
    return {box->currentData().toInt(), box->currentText()};
}

bool FrmTeacherSchedule::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < kCells; ++i) {
            if (watched == Period[i]) {
                Period_Click(i);
                return true;
            }
        }
        for (int k = 0; k < kPeriods; ++k) {
            if (watched == Label4[k]) {
                Label4_Click(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- choices ----------------------------------------------------------------------------

void FrmTeacherSchedule::CmbTeacher_Click()
{
    if (CmbTeacher->currentIndex() < 0)
        return;
    const int teacherid = CmbTeacher->currentData().toInt();
    CmbClass->clear();
    model_.loadTeacher(teacherid, CmbTeacher->currentText());
    CmdUndo->setEnabled(false);
    fillCharts();
    FillComboWithIds(CmbSubject, TeacherScheduleModel::SubjectListSql(), {teacherid});
    CmbSubject->setCurrentIndex(-1);
    CmdSwap->setEnabled(false);
    hx::SetCaption(this, QStringLiteral("Schedule of teacher ") + CmbTeacher->currentText());
    showCells();
    ShowWorkLoad();
}

void FrmTeacherSchedule::CmbSubject_Click()
{
    model_.setSubject(CmbSubject->currentData().toInt(), CmbSubject->currentText());
    const QVariantList subject{CmbSubject->currentData().toInt()};
    FillComboWithIds(CmbClass, TeacherScheduleModel::ClassListSql(), subject);
    CmbClass->setCurrentIndex(-1);
    FillComboWithIds(CmbClass2, TeacherScheduleModel::ClassListSql(), subject);
    CmbClass2->setCurrentIndex(-1);
    model_.setClass(1, {});
    model_.setClass(2, {});
}

void FrmTeacherSchedule::CmbClass_Click()
{
    chooseClassBox(1, CmbClass);
}

void FrmTeacherSchedule::CmbClass2_Click()
{
    if (CmbClass2->currentIndex() < 0) {
        model_.setClass(2, choiceOf(CmbClass2));
        return;
    }
    chooseClassBox(2, CmbClass2);
}

// Both class boxes lay their class's periods and lessons over the teacher's grid.
void FrmTeacherSchedule::chooseClassBox(int box, QComboBox *combo)
{
    model_.setClass(box, choiceOf(combo));
    QString message;
    {
        hx::BusyCursor busy;
        message = model_.chooseClass(box);
        showCells();
        showLabels();
    }
    if (!message.isEmpty())
        hx::MsgBox(message);
    else
        CmdSwap->setEnabled(true);
}

void FrmTeacherSchedule::ChkAssign_Click()
{
    if (ChkAssign->isChecked()) {
        CmbClass2->setEnabled(true);
    } else {
        CmbClass2->setEnabled(false);
        CmbClass2->setCurrentIndex(-1);
        CmbClass2_Click();
    }
}

// --- grid -------------------------------------------------------------------------------

void FrmTeacherSchedule::Period_Click(int index)
{
    model_.clickCell(index);
    showCells();
}

void FrmTeacherSchedule::Label4_Click(int index)
{
    model_.clickPeriodHeading(index);
    showCells();
}

void FrmTeacherSchedule::CmdReset_Click()
{
    model_.resetSelection();
    showCells();
}

void FrmTeacherSchedule::showCells()
{
    for (int i = 0; i < kCells; ++i) {
        QLabel *c = Period[i];
        c->setText(displayText(model_.shownCaption(i)));
        c->setToolTip(displayText(model_.shownToolTip(i)));
        paint(c, ToColor(model_.colour(i)));
        QFont f = c->font();
        if (f.bold() != model_.bold(i)) {
            f.setBold(model_.bold(i));
            c->setFont(f);
        }
    }
}

void FrmTeacherSchedule::ShowWorkLoad()
{
    const LoadFigures f = model_.loads();
    for (int d = 0; d < kDays; ++d)
        DayLoad[d]->setText(QStringLiteral("\n\n") + QString::number(f.day[d]));
    for (int p = 0; p < kPeriods; ++p)
        PeriodLoad[p]->setText(QString::number(f.period[p]));
    TotalLoad->setText(QString::number(f.total));
}

void FrmTeacherSchedule::showLabels()
{
    LblTot->setText(model_.totalText());
    LblAss->setText(model_.assignedText());
}

void FrmTeacherSchedule::fillCharts()
{
    hx::ShowBars(MSChart1, model_.classChart(), QStringLiteral("Period"), QStringLiteral("Classes"),
                 QStringLiteral("Priods"), false);
    hx::ShowBars(MSChart2, model_.subjectChart(), QStringLiteral("Period"), QStringLiteral("Subjects"),
                 QStringLiteral("Periods"), false);
}

// --- editing ----------------------------------------------------------------------------

void FrmTeacherSchedule::cmdAssign_Click()
{
    switch (model_.checkAssign(ChkAssign->isChecked())) {
    case TeacherScheduleModel::Check::NoSubject:
        hx::MsgBox(QStringLiteral("Select Subject"));
        CmbSubject->setFocus();
        return;
    case TeacherScheduleModel::Check::NoClass:
        hx::MsgBox(QStringLiteral("Select class"));
        CmbClass->setFocus();
        return;
    case TeacherScheduleModel::Check::NoSecondClass:
        hx::MsgBox(QStringLiteral("Select the second class"));
        CmbClass2->setFocus();
        return;
    case TeacherScheduleModel::Check::Ok:
        break;
    }
    const QString report = model_.assign();
    if (model_.canUndo())
        CmdUndo->setEnabled(true);
    showCells();
    showLabels();
    ShowWorkLoad();
    if (!report.isEmpty())
        hx::MsgBox(report);
}

void FrmTeacherSchedule::CmdUndo_Click()
{
    model_.undo();
    CmdUndo->setEnabled(model_.canUndo());
    showCells();
    showLabels();
    ShowWorkLoad();
}

void FrmTeacherSchedule::CmdClear_Click()
{
    if (hx::MsgBox(QStringLiteral("This will clear the assignments. are you sure?"), hx::MsgButtons::YesNo,
                   hx::MsgIcon::Question)
        != hx::MsgResult::Yes)
        return;
    model_.clearSelected();
    showCells();
    showLabels();
    ShowWorkLoad();
}

void FrmTeacherSchedule::setChoicesEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{CmbTeacher, CmbClass, CmbSubject, CmdReset, CmdClear,
                                                       cmdAssign, cmdSave})
        w->setEnabled(enabled);
    CmbClass2->setEnabled(enabled && ChkAssign->isChecked());
    // Ticking two classes while the class's lessons are shown would change the choice under them.
    ChkAssign->setEnabled(enabled);
}

void FrmTeacherSchedule::CmdSwap_Click()
{
    model_.toggleClassDetails();
    if (model_.classDetailsView()) {
        setChoicesEnabled(false);
        hx::SetCaption(this, QStringLiteral("Schedule of Class ") + CmbClass->currentText());
    } else {
        setChoicesEnabled(true);
        hx::SetCaption(this, QStringLiteral("Schedule of teacher ") + CmbTeacher->currentText());
    }
    SwapCaption(CmdSwap, 1, 3);
    showCells();
    ShowWorkLoad();
}

void FrmTeacherSchedule::cmdSave_Click()
{
    if (model_.classDetailsView() || CmbTeacher->currentIndex() < 0)
        return;
    hx::BusyCursor busy;
    if (model_.save()) {
        CmdUndo->setEnabled(false);
    } else if (!model_.dirty()) {
        CmbTeacher_Click(); // the user chose to reload the week saved elsewhere
    }
}

void FrmTeacherSchedule::CmdPrint_Click()
{
    // The id of the teacher chosen, not one looked up again by a name two teachers may share.
    const int teacherid = CmbTeacher->currentIndex() >= 0 ? CmbTeacher->currentData().toInt() : 0;
    hx::RunReport(QStringLiteral("tchrtmtable.rpt"),
                  QStringLiteral("{timeschedule.teacherid} = ") + QString::number(teacherid));
}

void FrmTeacherSchedule::CmdExit_Click() { hx::CloseWindow(this); }
