#include "FrmClassSchedule.h"

#include "AutoAssign.h"
#include "Lookups.h"
#include "Platform.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabWidget>
#include <QPainter>
#include <QValueAxis>

#include "Charts.h"
#include <QVBoxLayout>

namespace {

const char *kCellMime = "application/x-horalux-class-cell";

QColor colourOf(CellColour c)
{
    switch (c) {
    case CellColour::Selected: return tt::ColSelected();
    case CellColour::Free: return tt::ColFree();
    case CellColour::Busy: return tt::ColBusy();
    case CellColour::Subject: return tt::ColSubject();
    case CellColour::Unavailable: break;
    }
    return tt::ColUnavailable();
}

// A free-teacher cell: its text stays the whole " / " list (the tool-tip shows it all), but it
// paints only the names that fit and says how many more there are, instead of cutting a
// name in half at the cell's foot.
class NameListLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QRect box = contentsRect().adjusted(2, 1, -2, -1);
        const QFontMetrics fm(font());
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QString all = text();
        if (fm.boundingRect(box, flags, all).height() <= box.height()) {
            QLabel::paintEvent(event);
            return;
        }
        const QStringList names = all.split(QStringLiteral(" / "));
        auto shown = [&](int n) {
            return QStringList(names.mid(0, n)).join(QStringLiteral(" / ")) +
                   QStringLiteral("\n+%1 more").arg(names.size() - n);
        };
        // The most names that still fit beside the count.
        int lo = 0, hi = int(names.size()) - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (fm.boundingRect(box, flags, shown(mid)).height() <= box.height())
                lo = mid;
            else
                hi = mid - 1;
        }
        QFrame::paintEvent(event); // frame and background
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(box, flags, shown(lo));
    }
};

// Captions keep their lines apart with carriage returns; a label breaks lines at line feeds.
QString shown(QString text) { return text.replace(tt::kCR, QLatin1Char('\n')); }

void setText(QLabel *l, const QString &text)
{
    const QString s = shown(text);
    if (l->text() != s)
        l->setText(s);
}

void setTip(QWidget *w, const QString &text)
{
    const QString s = shown(text);
    if (w->toolTip() != s)
        w->setToolTip(s);
}


} // namespace

FrmClassSchedule::FrmClassSchedule(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmClassSchedule"));
    setWindowTitle(QStringLiteral("Class Schedule"));

    auto *top = new QGridLayout;
    auto addBox = [&](const QString &label, const QString &name, int row, int col) {
        auto *l = new QLabel(label);
        auto *c = new QComboBox;
        c->setObjectName(name);
        c->setMinimumWidth(hx::Twips(2600));
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        l->setBuddy(c);
        top->addWidget(l, row, col);
        top->addWidget(c, row, col + 1);
        return c;
    };
    CmbClass = addBox(QStringLiteral("Class"), QStringLiteral("CmbClass"), 0, 0);
    CmbSubject = addBox(QStringLiteral("Subject I"), QStringLiteral("CmbSubject"), 1, 0);
    CmbTeacher = addBox(QStringLiteral("Teacher I"), QStringLiteral("CmbTeacher"), 2, 0);
    ChkAssign = new QCheckBox(QStringLiteral("Assign Two Subjects"));
    ChkAssign->setObjectName(QStringLiteral("ChkAssign"));
    top->addWidget(ChkAssign, 0, 3);
    CmbSubject2 = addBox(QStringLiteral("Subject II"), QStringLiteral("CmbSubject2"), 1, 2);
    CmbTeacher2 = addBox(QStringLiteral("Teacher II"), QStringLiteral("CmbTeacher2"), 2, 2);
    CmbSubject2->setEnabled(false);
    CmbTeacher2->setEnabled(false);
    LblTot = new QLabel;
    LblTot->setObjectName(QStringLiteral("LblTot"));
    LblAss = new QLabel;
    LblAss->setObjectName(QStringLiteral("LblAss"));
    top->addWidget(LblTot, 3, 0, 1, 2);
    top->addWidget(LblAss, 3, 2, 1, 2);

    auto button = [this](const QString &caption, const QString &name) {
        auto *b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdAssign = button(QStringLiteral("&Assign Teacher"), QStringLiteral("cmdAssign"));
    Command1 = button(QStringLiteral("Au&to Assign"), QStringLiteral("Command1"));
    CmdUndo = button(QStringLiteral("&Undo Assign"), QStringLiteral("CmdUndo"));
    CmdClear = button(QStringLiteral("&Clear Periods"), QStringLiteral("CmdClear"));
    CmdReset = button(QStringLiteral("&Reset Selection"), QStringLiteral("CmdReset"));
    cmdSave = button(QStringLiteral("&Save"), QStringLiteral("cmdSave"));
    CmdPrint = button(QStringLiteral("&Print Schedule"), QStringLiteral("CmdPrint"));
    CmdExit = button(QStringLiteral("E&xit"), QStringLiteral("CmdExit"));
    cmdAssign->setEnabled(false);
    Command1->setEnabled(false);
    CmdUndo->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {cmdAssign, Command1, CmdUndo, CmdClear, CmdReset, cmdSave, CmdPrint, CmdExit})
        buttons->addWidget(b);
    buttons->addStretch();

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    // Tab 1: the week.
    auto *schedule = new QWidget;
    auto *scheduleLayout = new QVBoxLayout(schedule);
    scheduleLayout->addWidget(buildGrid(true));
    auto *legends = new QHBoxLayout;
    legends->addWidget(tt::Legend(tt::ColSubject(), QStringLiteral("Periods of Subject")));
    legends->addWidget(tt::Legend(tt::ColBusy(), QStringLiteral("Teacher Busy"), QStringLiteral("LblOccupied")));
    legends->addStretch();
    CmdSwap = button(QStringLiteral("Show Teacher's Details"), QStringLiteral("CmdSwap"));
    CmdSwap->setProperty("tag", QStringLiteral("Show Class Details"));
    CmdSwap->setEnabled(false);
    legends->addWidget(CmdSwap);
    scheduleLayout->addLayout(legends);
    SSTab1->addTab(schedule, QStringLiteral("Class Schedule"));

    // Tab 2: planned against placed periods.
    auto *chartTab = new QWidget;
    auto *stack = new QStackedLayout(chartTab);
    stack->setStackingMode(QStackedLayout::StackAll);
    MSChart1 = new QChartView;
    MSChart1->setObjectName(QStringLiteral("MSChart1"));
    MSChart1->setRenderHint(QPainter::Antialiasing);
    Label10 = new QLabel(QStringLiteral("No Subject Assigned !!"));
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setAlignment(Qt::AlignCenter);
    QFont big = Label10->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    Label10->setFont(big);
    stack->addWidget(Label10);
    stack->addWidget(MSChart1);
    stack->setCurrentWidget(MSChart1); // the chart lies over the label when there is one
    MSChart1->hide();
    SSTab1->addTab(chartTab, QStringLiteral(" Subject Assigned"));

    // Tab 3: free teachers.
    auto *freeTab = new QWidget;
    auto *freeLayout = new QVBoxLayout(freeTab);
    freeLayout->addWidget(buildGrid(false));
    CmdLatest = button(QStringLiteral("Get Latest Information"), QStringLiteral("CmdLatest"));
    auto *latestRow = new QHBoxLayout;
    latestRow->addStretch();
    latestRow->addWidget(CmdLatest);
    freeLayout->addLayout(latestRow);
    SSTab1->addTab(freeTab, QStringLiteral("Free Teachers"));
    SSTab1->setCurrentIndex(0);

    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);
    main->addWidget(SSTab1, 1);

    connect(CmbClass, &QComboBox::activated, this, [this] { CmbClass_Click(); });
    connect(CmbSubject, &QComboBox::activated, this, [this] { CmbSubject_Click(); });
    connect(CmbSubject2, &QComboBox::activated, this, [this] { CmbSubject2_Click(); });
    connect(CmbTeacher, &QComboBox::activated, this, [this] { CmbTeacher_Click(); });
    connect(CmbTeacher2, &QComboBox::activated, this, [this] { CmbTeacher2_Click(); });
    connect(ChkAssign, &QCheckBox::clicked, this, [this] { ChkAssign_Click(); });
    connect(cmdAssign, &QPushButton::clicked, this, [this] { cmdAssign_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(CmdUndo, &QPushButton::clicked, this, [this] { CmdUndo_Click(); });
    connect(CmdClear, &QPushButton::clicked, this, [this] { CmdClear_Click(); });
    connect(CmdReset, &QPushButton::clicked, this, [this] { CmdReset_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(CmdPrint, &QPushButton::clicked, this, [this] { CmdPrint_Click(); });
    connect(CmdExit, &QPushButton::clicked, this, [this] { CmdExit_Click(); });
    connect(CmdSwap, &QPushButton::clicked, this, [this] { CmdSwap_Click(); });
    connect(CmdLatest, &QPushButton::clicked, this, [this] { CmdLatest_Click(); });

    // Form_Load: the classes that have subjects.
    fillBox(CmbClass, ClassScheduleModel::classList());
    refresh();
}

QWidget *FrmClassSchedule::buildGrid(bool editable)
{
    auto *w = new QWidget;
    auto *g = new QGridLayout(w);
    g->setSpacing(2);
    const std::array<QLabel *, tt::kPeriods> headings = tt::AddWeekHeadings(g);
    for (QLabel *h : headings)
        h->setToolTip(QStringLiteral("Click here to select whole period"));
    for (int p = 0; p < tt::kPeriods && editable; ++p) {
        QLabel *h = headings[p];
        h->setObjectName(QStringLiteral("Label4_%1").arg(p));
        h->setCursor(Qt::PointingHandCursor);
        h->installEventFilter(this);
        label4_[p] = h;
    }
    for (int d = 0; d < tt::kDays && editable; ++d)
        g->itemAtPosition(d + 1, 0)->widget()->setObjectName(QStringLiteral("Label3_%1").arg(d));
    for (int i = 0; i < tt::kCells; ++i) {
        QLabel *c = tt::AddWeekCell(g, i, editable ? new QLabel : new NameListLabel);
        if (editable) {
            c->setObjectName(QStringLiteral("Period_%1").arg(i));
            c->setAcceptDrops(true);
            c->installEventFilter(this);
            period_[i] = c;
        } else {
            c->setObjectName(QStringLiteral("Alternate_%1").arg(i));
            c->setAlignment(Qt::AlignHCenter | Qt::AlignTop); // the whole list is in the tool-tip
            tt::PaintCell(c, tt::ColFree(), false);
            alternate_[i] = c;
        }
    }
    if (editable) {
        auto *heading = new QLabel(QStringLiteral("Day Load"));
        heading->setAlignment(Qt::AlignCenter);
        g->addWidget(heading, 0, tt::kPeriods + 1);
        for (int d = 0; d < tt::kDays; ++d) {
            auto *l = new QLabel;
            l->setObjectName(QStringLiteral("DayLoad_%1").arg(d));
            l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            l->setMinimumWidth(hx::Twips(700));
            g->addWidget(l, d + 1, tt::kPeriods + 1);
            dayLoad_[d] = l;
        }
        auto *perLoad = new QLabel(QStringLiteral("Per. Load"));
        g->addWidget(perLoad, tt::kDays + 1, 0);
        for (int p = 0; p < tt::kPeriods; ++p) {
            auto *l = new QLabel;
            l->setObjectName(QStringLiteral("PeriodLoad_%1").arg(p));
            l->setAlignment(Qt::AlignCenter);
            g->addWidget(l, tt::kDays + 1, p + 1);
            periodLoad_[p] = l;
        }
        TotalLoad = new QLabel;
        TotalLoad->setObjectName(QStringLiteral("TotalLoad"));
        TotalLoad->setAlignment(Qt::AlignCenter);
        QFont f = TotalLoad->font();
        f.setBold(true);
        TotalLoad->setFont(f);
        g->addWidget(TotalLoad, tt::kDays + 1, tt::kPeriods + 1);
    }
    g->setColumnStretch(tt::kPeriods + 2, 1);
    g->setRowStretch(tt::kDays + 2, 1);
    return w;
}

// --- drawing ------------------------------------------------------------------------------

void FrmClassSchedule::fillBox(QComboBox *box, const QVector<Pick> &items)
{
    box->clear();
    for (const Pick &p : items)
        box->addItem(p.text, p.id);
    box->setCurrentIndex(-1);
}

Pick FrmClassSchedule::pickOf(QComboBox *box) const
{
    if (box->currentIndex() < 0)
        return {};
    return {box->currentData().toInt(), box->currentText()};
}

void FrmClassSchedule::refresh()
{
    for (int i = 0; i < tt::kCells; ++i) {
        QLabel *c = period_[i];
        setText(c, model_.caption(i));
        setTip(c, model_.toolTip(i));
        tt::PaintCell(c, colourOf(model_.colour(i)), model_.substituteLook(i) && !model_.showingTeacher());
        setText(alternate_[i], model_.alternateCaption(i));
        setTip(alternate_[i], model_.alternateToolTip(i));
    }
    for (int d = 0; d < tt::kDays; ++d)
        setText(dayLoad_[d], model_.dayLoadText(d));
    for (int p = 0; p < tt::kPeriods; ++p)
        setText(periodLoad_[p], QString::number(model_.periodLoad(p)));
    setText(TotalLoad, QString::number(model_.totalLoad()));
    setText(LblTot, model_.lblTot());
    setText(LblAss, model_.lblAss());
    if (!model_.showingTeacher())
        CmdUndo->setEnabled(model_.canUndo());
    if (windowTitle() != model_.windowCaption())
        setWindowTitle(model_.windowCaption());
    refreshChart();
}

void FrmClassSchedule::refreshChart()
{
    const QVector<ChartRow> &rows = model_.chart();
    const bool show = !rows.isEmpty();
    bool same = show == chartShown_ && rows.size() == shownChart_.size();
    for (int i = 0; same && i < rows.size(); ++i)
        same = rows[i].subject == shownChart_[i].subject && rows[i].scheduled == shownChart_[i].scheduled &&
               rows[i].assigned == shownChart_[i].assigned;
    if (same)
        return;
    shownChart_ = rows;
    chartShown_ = show;
    MSChart1->setVisible(show);
    if (!show)
        return;
    auto *chart = new QChart;
    auto *scheduled = new QBarSet(QStringLiteral("Scheduled"));
    auto *assigned = new QBarSet(QStringLiteral("Assigned"));
    QStringList categories;
    int top = 1;
    for (const ChartRow &r : rows) {
        categories << r.subject;
        *scheduled << r.scheduled;
        *assigned << r.assigned;
        top = std::max({top, r.scheduled, r.assigned});
    }
    auto *series = new QBarSeries;
    series->append(scheduled);
    series->append(assigned);
    chart->addSeries(series);
    auto *x = hx::NameAxis(categories);
    auto *y = hx::PeriodAxis(top);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    chart->legend()->setAlignment(Qt::AlignRight);
    QChart *old = MSChart1->chart();
    MSChart1->setChart(chart);
    delete old;
}

// --- activation ---------------------------------------------------------------------------

void FrmClassSchedule::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub) {
        if (!activatedOnce_)
            Form_Activate();
        return;
    }
    if (frame_ == sub)
        return;
    frame_ = sub;
    tt::ConnectActivation(sub, this, [this] { Form_Activate(); });
}

void FrmClassSchedule::Form_Activate()
{
    // Coming back while the teacher's lessons are shown: the class view first, with its controls.
    if (model_.showingTeacher())
        CmdSwap_Click();
    if (!activatedOnce_) {
        activatedOnce_ = true;
        if (CmbClass->count() > 0) {
            CmbClass->setCurrentIndex(0);
            CmbClass_Click();
        }
    } else if (!model_.dirty() && CmbClass->currentIndex() >= 0) {
        // Nothing unsaved: show what may have been saved meanwhile in another window.
        CmbClass_Click();
    } else if (CmbClass->currentIndex() >= 0) {
        // Unsaved work stays; only the marks of what other windows saved are drawn again.
        model_.refreshMarks();
        refresh();
    }
    if (frame_)
        frame_->move(0, 0);
}

// --- choices ------------------------------------------------------------------------------

void FrmClassSchedule::CmbClass_Click()
{
    const Pick cls = pickOf(CmbClass);
    if (!cls.chosen())
        return;
    hx::BusyCursor busy;
    model_.loadClass(cls.id, cls.text);
    classLoaded();
}

void FrmClassSchedule::classLoaded()
{
    const QVector<Pick> subjects = ClassScheduleModel::subjectList(model_.classId());
    fillBox(CmbSubject, subjects);
    fillBox(CmbSubject2, subjects);
    CmbTeacher->clear();
    CmbTeacher2->clear();
    CmdSwap->setEnabled(false);
    if (ChkAssign->isChecked())
        model_.setTwoSubjects(true);
    refresh();
}

void FrmClassSchedule::subjectChosen(int box)
{
    QComboBox *subject = box == 2 ? CmbSubject2 : CmbSubject;
    QComboBox *teacher = box == 2 ? CmbTeacher2 : CmbTeacher;
    if (box == 2 && subject->currentIndex() < 0)
        return;
    hx::BusyCursor busy;
    const QVector<Pick> teachers = model_.chooseSubject(box, pickOf(subject));
    fillBox(teacher, teachers);
    if (box == 1 && !teachers.isEmpty() && model_.subjectHours())
        Command1->setEnabled(teacher->currentIndex() >= 0);
    refresh();
}

void FrmClassSchedule::CmbSubject_Click() { subjectChosen(1); }
void FrmClassSchedule::CmbSubject2_Click() { subjectChosen(2); }

void FrmClassSchedule::teacherChosen(int box)
{
    QComboBox *teacher = box == 2 ? CmbTeacher2 : CmbTeacher;
    model_.chooseTeacher(box, pickOf(teacher));
    CmdSwap->setEnabled(true);
    if (teacher->currentIndex() >= 0) {
        Command1->setEnabled(true);
        cmdAssign->setEnabled(true);
    }
    refresh();
}

void FrmClassSchedule::CmbTeacher_Click() { teacherChosen(1); }
void FrmClassSchedule::CmbTeacher2_Click() { teacherChosen(2); }

void FrmClassSchedule::ChkAssign_Click()
{
    const bool on = ChkAssign->isChecked();
    model_.setTwoSubjects(on);
    CmbSubject2->setEnabled(on);
    CmbTeacher2->setEnabled(on);
    if (!on) {
        CmbSubject2->setCurrentIndex(-1);
        CmbTeacher2->setCurrentIndex(-1);
        refresh();
    }
}

// --- the cells ----------------------------------------------------------------------------

void FrmClassSchedule::Period_MouseDown(int cell)
{
    if (model_.showingTeacher())
        return; // the grid shows another teacher's lessons
    dragSource_ = model_.press(cell) ? cell : -1;
    refresh();
}

void FrmClassSchedule::Period_DragDrop(int target)
{
    if (model_.drop(dragSource_, target))
        refresh();
    dragSource_ = -1;
}

void FrmClassSchedule::Label4_Click(int period)
{
    if (model_.showingTeacher())
        return;
    model_.periodHeaderClick(period);
    refresh();
}

bool FrmClassSchedule::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label)
        return QWidget::eventFilter(watched, event);
    const int cell = int(std::find(period_.begin(), period_.end(), label) - period_.begin());
    const int header = int(std::find(label4_.begin(), label4_.end(), label) - label4_.begin());
    if (header < tt::kPeriods) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            Label4_Click(header);
        return QWidget::eventFilter(watched, event);
    }
    if (cell >= tt::kCells)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            pressPos_ = me->position().toPoint();
            Period_MouseDown(cell);
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (dragSource_ == cell && (me->buttons() & Qt::LeftButton) &&
            (me->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
            auto *drag = new QDrag(label);
            auto *mime = new QMimeData;
            mime->setData(kCellMime, QByteArray::number(cell));
            drag->setMimeData(mime);
            drag->setPixmap(label->grab());
            drag->exec(Qt::MoveAction);
            dragSource_ = -1;
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragSource_ = -1; // a drag that never left the cell
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *de = static_cast<QDragMoveEvent *>(event);
        if (de->mimeData()->hasFormat(kCellMime))
            de->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *de = static_cast<QDropEvent *>(event);
        if (de->mimeData()->hasFormat(kCellMime)) {
            dragSource_ = de->mimeData()->data(kCellMime).toInt();
            de->acceptProposedAction();
            Period_DragDrop(cell);
        }
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmClassSchedule::CmdReset_Click()
{
    model_.resetSelection();
    refresh();
}

// --- changes ------------------------------------------------------------------------------

void FrmClassSchedule::cmdAssign_Click()
{
    const ClassScheduleModel::AssignResult r = model_.assign();
    if (r == ClassScheduleModel::AssignResult::SameSubject)
        CmbSubject2->setFocus();
    else if (r == ClassScheduleModel::AssignResult::SameTeacher)
        CmbTeacher2->setFocus();
    refresh();
}

void FrmClassSchedule::Command1_Click()
{
    if (model_.showingTeacher())
        return;
    AutoAssign run(model_);
    const AutoAssign::Result r = run.run();
    if (r == AutoAssign::Result::NoSubject)
        CmbSubject->setFocus();
    else if (r == AutoAssign::Result::NoTeacher)
        CmbTeacher->setFocus();
    refresh();
}

void FrmClassSchedule::CmdClear_Click()
{
    if (model_.clearSelected())
        refresh();
}

void FrmClassSchedule::CmdUndo_Click()
{
    model_.undo();
    refresh();
}

// --- views --------------------------------------------------------------------------------

void FrmClassSchedule::setClassViewControls(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{CmbTeacher, CmbClass, CmbSubject, CmdReset, CmdClear,
                                                       cmdAssign, cmdSave, ChkAssign})
        w->setEnabled(enabled);
    // Editing the class's lessons while another teacher's are shown would mix the two.
    if (!enabled) {
        command1WasEnabled_ = Command1->isEnabled();
        undoWasEnabled_ = CmdUndo->isEnabled();
        Command1->setEnabled(false);
        CmdUndo->setEnabled(false);
        CmbSubject2->setEnabled(false);
        CmbTeacher2->setEnabled(false);
    } else {
        Command1->setEnabled(command1WasEnabled_);
        CmdUndo->setEnabled(model_.canUndo());
        CmbSubject2->setEnabled(ChkAssign->isChecked());
        CmbTeacher2->setEnabled(ChkAssign->isChecked());
    }
}

void FrmClassSchedule::CmdSwap_Click()
{
    model_.swapView();
    setClassViewControls(!model_.showingTeacher());
    SwapCaption(CmdSwap, 1, 3);
    refresh();
}

void FrmClassSchedule::CmdLatest_Click()
{
    model_.fillFreeTeacher();
    refresh();
}

// --- saving and closing -------------------------------------------------------------------

void FrmClassSchedule::cmdSave_Click()
{
    if (!model_.hasClass() || model_.showingTeacher())
        return;
    if (!model_.save() && model_.dirty()) {
        refresh(); // the grid keeps its work
        return;
    }
    CmdUndo->setEnabled(false);
    classLoaded();
}

void FrmClassSchedule::CmdPrint_Click()
{
    hx::RunReport(QStringLiteral("classtmtable.rpt"),
                  QStringLiteral("{classsection.classid} = ") + QString::number(model_.classId()));
}

void FrmClassSchedule::CmdExit_Click() { hx::CloseWindow(this); }
