#include "FrmAllocation.h"

#include "AllocationProblems.h"
#include "Lookups.h"
#include "Platform.h"
#include "TimetableShared.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A period the teacher cannot teach.
QColor colNotAvailable() { return QColor(96, 96, 96); }

QComboBox *box(const QString &name)
{
    auto *c = new QComboBox;
    c->setObjectName(name);
    c->setMinimumWidth(hx::Twips(2600));
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QLabel *labelFor(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

QPushButton *button(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QTreeWidget *listView(const QString &name, const QStringList &headers)
{
    auto *t = new QTreeWidget;
    t->setObjectName(name);
    t->setRootIsDecorated(false);
    t->setAllColumnsShowFocus(true);
    t->setHeaderLabels(headers);
    return t;
}

void fill(QComboBox *c, const QVector<alloc::Item> &items)
{
    c->clear();
    for (const alloc::Item &i : items)
        c->addItem(i.text, i.id);
    c->setCurrentIndex(-1);
}

void paint(QLabel *cell, const QColor &background, const QColor &text)
{
    QPalette pal = cell->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    cell->setPalette(pal);
}

QLabel *legend(const QColor &colour, const QString &text)
{
    QLabel *l = tt::Legend(colour, text);
    if (colour == colNotAvailable())
        paint(l, colour, Qt::white);
    return l;
}

} // namespace

FrmAllocation::FrmAllocation(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmAllocation"));
    setWindowTitle(QStringLiteral("Teaching Allocation"));

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildTeachersTab(), QStringLiteral("Teachers for Subjects"));
    SSTab1->addTab(buildAvailabilityTab(), QStringLiteral("Availability"));

    LstProblems = new QListWidget;
    LstProblems->setObjectName(QStringLiteral("LstProblems"));
    LstProblems->setWordWrap(true);
    LstProblems->setMinimumHeight(hx::Twips(1500));
    auto *problems = new QWidget;
    auto *pl = new QVBoxLayout(problems);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addWidget(labelFor(QStringLiteral("Problems"), LstProblems));
    pl->addWidget(LstProblems);
    // The problems stay in view under either tab; the user may give them more room.
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(SSTab1);
    split->addWidget(problems);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto *exit = button(QStringLiteral("E&xit"), QStringLiteral("CmdExit"));
    auto *main = new QVBoxLayout(this);
    main->addWidget(split, 1);
    main->addWidget(exit, 0, Qt::AlignRight);
    connect(exit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });

    fill(CmbClass, alloc::AllocationLogic::classList());
    const QVector<alloc::Item> teachers = alloc::AllocationLogic::teacherList();
    fill(CmbTeacherView, teachers);
    fill(CmbAvailTeacher, teachers);
    if (CmbClass->count() > 0) {
        CmbClass->setCurrentIndex(0);
        CmbClass_Click();
    }
    drawAvailability();
    refreshProblems();
    resize(hx::Twips(15000), hx::Twips(10500));
}

QWidget *FrmAllocation::buildTeachersTab()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    CmbClass = box(QStringLiteral("CmbClass"));
    ChkWholeSchool = new QCheckBox(QStringLiteral("Whole School"));
    ChkWholeSchool->setObjectName(QStringLiteral("ChkWholeSchool"));
    cmdSuggest = button(QStringLiteral("Su&ggest Teachers"), QStringLiteral("cmdSuggest"));
    cmdFromTimetable = button(QStringLiteral("From &Timetable"), QStringLiteral("cmdFromTimetable"));
    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("Class"), CmbClass));
    top->addWidget(CmbClass);
    top->addSpacing(hx::Twips(300));
    top->addWidget(ChkWholeSchool);
    top->addWidget(cmdSuggest);
    top->addWidget(cmdFromTimetable);
    top->addStretch();
    g->addLayout(top, 0, 0, 1, 2);

    LvwCurriculum = listView(QStringLiteral("LvwCurriculum"), {"Subject", "Periods", "Level", "Teachers", "Unallocated"});
    g->addWidget(labelFor(QStringLiteral("Curriculum of the class and its teachers"), LvwCurriculum), 1, 0);
    g->addWidget(LvwCurriculum, 2, 0);

    CmbTeacher = box(QStringLiteral("CmbTeacher"));
    CmbTeacher->setMinimumWidth(hx::Twips(3600)); // "name (allocated of available)" whole
    CmbTeacher->setToolTip(QStringLiteral("Best first: preferred levels nearest the class's, then the lightest load "
                                          "(periods allocated of the periods available)"));
    TxtPeriods = new QLineEdit;
    TxtPeriods->setObjectName(QStringLiteral("TxtPeriods"));
    TxtPeriods->setMaxLength(2); // a week has at most 54 periods
    TxtPeriods->setMaximumWidth(hx::Twips(900));
    cmdAllocate = button(QStringLiteral("&Allocate"), QStringLiteral("cmdAllocate"));
    cmdRemove = button(QStringLiteral("&Remove"), QStringLiteral("cmdRemove"));
    auto *edit = new QHBoxLayout;
    edit->addWidget(labelFor(QStringLiteral("Teacher"), CmbTeacher));
    edit->addWidget(CmbTeacher, 1);
    edit->addWidget(labelFor(QStringLiteral("Periods"), TxtPeriods));
    edit->addWidget(TxtPeriods);
    edit->addWidget(cmdAllocate);
    edit->addWidget(cmdRemove);
    g->addLayout(edit, 3, 0);

    fraPlan = new QGroupBox(QStringLiteral("Suggested Teachers"));
    fraPlan->setObjectName(QStringLiteral("fraPlan"));
    auto *pl = new QVBoxLayout(fraPlan);
    LvwPlan = listView(QStringLiteral("LvwPlan"), {"Class", "Subject", "Teacher", "Periods"});
    LblPlan = new QLabel;
    LblPlan->setObjectName(QStringLiteral("LblPlan"));
    LblPlan->setWordWrap(true);
    cmdSavePlan = button(QStringLiteral("Sa&ve Plan"), QStringLiteral("cmdSavePlan"));
    cmdDiscardPlan = button(QStringLiteral("&Discard Plan"), QStringLiteral("cmdDiscardPlan"));
    auto *planButtons = new QHBoxLayout;
    planButtons->addWidget(LblPlan, 1);
    planButtons->addWidget(cmdSavePlan);
    planButtons->addWidget(cmdDiscardPlan);
    pl->addWidget(LvwPlan);
    pl->addLayout(planButtons);
    fraPlan->hide();
    g->addWidget(fraPlan, 4, 0);

    CmbTeacherView = box(QStringLiteral("CmbTeacherView"));
    LvwTeacherView = listView(QStringLiteral("LvwTeacherView"), {"Class", "Subject", "Periods"});
    LblTeacherTotal = new QLabel;
    LblTeacherTotal->setObjectName(QStringLiteral("LblTeacherTotal"));
    LblTeacherTotal->setWordWrap(true);
    auto *side = new QVBoxLayout;
    auto *who = new QHBoxLayout;
    who->addWidget(labelFor(QStringLiteral("Allocations of"), CmbTeacherView));
    who->addWidget(CmbTeacherView, 1);
    side->addLayout(who);
    side->addWidget(LvwTeacherView, 1);
    side->addWidget(LblTeacherTotal);
    g->addLayout(side, 1, 1, 4, 1);
    g->setColumnStretch(0, 3);
    g->setColumnStretch(1, 2);
    g->setRowStretch(2, 1);

    connect(CmbClass, &QComboBox::activated, this, [this] { CmbClass_Click(); });
    connect(LvwCurriculum, &QTreeWidget::currentItemChanged, this, [this] { subjectChosen(); });
    connect(CmbTeacher, &QComboBox::activated, this, [this] { CmbTeacher_Click(); });
    connect(CmbTeacherView, &QComboBox::activated, this, [this] { CmbTeacherView_Click(); });
    connect(cmdAllocate, &QPushButton::clicked, this, [this] { cmdAllocate_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdSuggest, &QPushButton::clicked, this, [this] { cmdSuggest_Click(); });
    connect(cmdSavePlan, &QPushButton::clicked, this, [this] { cmdSavePlan_Click(); });
    connect(cmdDiscardPlan, &QPushButton::clicked, this, [this] { cmdDiscardPlan_Click(); });
    connect(cmdFromTimetable, &QPushButton::clicked, this, [this] { cmdFromTimetable_Click(); });
    connect(TxtPeriods, &QLineEdit::returnPressed, this, [this] { cmdAllocate_Click(); });
    return page;
}

QWidget *FrmAllocation::buildAvailabilityTab()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    CmbAvailTeacher = box(QStringLiteral("CmbAvailTeacher"));
    auto *top = new QHBoxLayout;
    top->addWidget(labelFor(QStringLiteral("Teacher"), CmbAvailTeacher));
    top->addWidget(CmbAvailTeacher);
    top->addStretch();
    v->addLayout(top);

    grid_ = new QWidget;
    auto *g = new QGridLayout(grid_);
    g->setSpacing(2);
    tt::AddWeekHeadings(g);
    for (int i = 0; i < tt::kCells; ++i) {
        auto *c = new QLabel;
        c->setObjectName(QStringLiteral("Avail_%1").arg(i));
        c->installEventFilter(this);
        avail_[i] = tt::AddWeekCell(g, i, c);
    }
    g->setColumnStretch(tt::kPeriods + 1, 1);
    v->addWidget(grid_);
    auto *legends = new QHBoxLayout;
    legends->addWidget(legend(tt::ColFree(), QStringLiteral("Available")));
    legends->addWidget(legend(colNotAvailable(), QStringLiteral("Not available")));
    legends->addWidget(legend(tt::ColBusy(), QStringLiteral("Lesson in a period not available")));
    legends->addWidget(legend(tt::ColUnavailable(), QStringLiteral("No class has this period")));
    legends->addStretch();
    v->addLayout(legends);
    auto *hint = new QLabel(QStringLiteral("Click a period, or drag over several, to mark them not available or available again."));
    v->addWidget(hint);
    LblAvailability = new QLabel;
    LblAvailability->setObjectName(QStringLiteral("LblAvailability"));
    v->addWidget(LblAvailability);
    v->addStretch();
    connect(CmbAvailTeacher, &QComboBox::activated, this, [this] { CmbAvailTeacher_Click(); });
    return page;
}

// --- teachers for subjects --------------------------------------------------------------------

int FrmAllocation::chosenSubject() const
{
    const QTreeWidgetItem *item = LvwCurriculum->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void FrmAllocation::CmbClass_Click()
{
    if (CmbClass->currentIndex() < 0)
        return;
    logic_.loadClass(CmbClass->currentData().toInt());
    showLines(0);
}

void FrmAllocation::showLines(int keepSubject)
{
    const QSignalBlocker quiet(LvwCurriculum);
    LvwCurriculum->clear();
    QTreeWidgetItem *keep = nullptr;
    for (const alloc::CurriculumLine &l : logic_.lines()) {
        auto *item = new QTreeWidgetItem(
            {l.subject, l.inCurriculum ? QString::number(l.periods) : QStringLiteral("not in curriculum"),
             l.inCurriculum ? QString::number(l.level) : QString(), l.teachersText(),
             l.inCurriculum ? QString::number(l.unallocated()) : QString()});
        item->setData(0, Qt::UserRole, l.subjectId);
        LvwCurriculum->addTopLevelItem(item);
        if (l.subjectId == keepSubject)
            keep = item;
    }
    for (int c = 0; c < 4; ++c)
        LvwCurriculum->resizeColumnToContents(c);
    LvwCurriculum->setCurrentItem(keep);
    if (keep)
        keep->setSelected(true);
    showOffers();
}

void FrmAllocation::subjectChosen()
{
    showOffers();
    if (const alloc::CurriculumLine *l = logic_.line(chosenSubject()))
        TxtPeriods->setText(QString::number(l->unallocated()));
}

void FrmAllocation::showOffers()
{
    const int chosenTeacher = CmbTeacher->currentIndex() >= 0 ? CmbTeacher->currentData().toInt() : 0;
    CmbTeacher->clear();
    const int subject = chosenSubject();
    if (subject == 0) {
        TxtPeriods->clear();
        return;
    }
    for (const alloc::Offer &o : logic_.offers(subject))
        CmbTeacher->addItem(o.text(), o.teacherId);
    CmbTeacher->setCurrentIndex(CmbTeacher->findData(chosenTeacher));
}

void FrmAllocation::CmbTeacher_Click()
{
    if (CmbTeacher->currentIndex() < 0)
        return;
    const int teacher = CmbTeacher->currentData().toInt();
    // A teacher who has periods of the subject already: those, to change; else what is left.
    if (const alloc::CurriculumLine *l = logic_.line(chosenSubject())) {
        int own = 0;
        for (const alloc::Share &s : l->teachers)
            if (s.teacherId == teacher)
                own = s.hours;
        TxtPeriods->setText(QString::number(own ? own : l->unallocated()));
    }
    CmbTeacherView->setCurrentIndex(CmbTeacherView->findData(teacher));
    showTeacherView(teacher);
}

void FrmAllocation::CmbTeacherView_Click()
{
    if (CmbTeacherView->currentIndex() >= 0)
        showTeacherView(CmbTeacherView->currentData().toInt());
}

void FrmAllocation::showTeacherView(int teacherid)
{
    LvwTeacherView->clear();
    if (teacherid == 0) {
        LblTeacherTotal->clear();
        return;
    }
    for (const QStringList &r : alloc::AllocationLogic::teacherAllocations(teacherid))
        LvwTeacherView->addTopLevelItem(new QTreeWidgetItem(r));
    LvwTeacherView->resizeColumnToContents(0);
    LvwTeacherView->resizeColumnToContents(1);
    LblTeacherTotal->setText(alloc::AllocationLogic::teacherTotal(teacherid));
}

void FrmAllocation::cmdAllocate_Click()
{
    const int subject = chosenSubject();
    if (subject == 0) {
        hx::MsgBox(QStringLiteral("Select a subject of the class"));
        LvwCurriculum->setFocus();
        return;
    }
    if (CmbTeacher->currentIndex() < 0) {
        hx::MsgBox(QStringLiteral("Select a teacher"));
        CmbTeacher->setFocus();
        return;
    }
    const int teacher = CmbTeacher->currentData().toInt();
    // A pasted text passes the box's own check: only a whole number of a week's periods is taken,
    // and 0 only where it takes something away.
    bool number = false;
    const int periods = TxtPeriods->text().trimmed().toInt(&number);
    bool has = false;
    for (const alloc::Share &s : logic_.line(subject)->teachers)
        has = has || s.teacherId == teacher;
    if (!number || periods < 0 || periods > 54 || (periods == 0 && !has)) {
        hx::MsgBox(QStringLiteral("Type the number of periods"));
        TxtPeriods->setFocus();
        return;
    }
    logic_.allocate(subject, teacher, periods);
    showLines(subject);
    CmbTeacher->setCurrentIndex(CmbTeacher->findData(teacher));
    showTeacherView(teacher);
    refreshProblems();
}

void FrmAllocation::cmdRemove_Click()
{
    const alloc::CurriculumLine *l = logic_.line(chosenSubject());
    if (!l || l->teachers.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select a subject that has teachers"));
        return;
    }
    const int subject = l->subjectId;
    const int teacher = CmbTeacher->currentIndex() >= 0 ? CmbTeacher->currentData().toInt() : 0;
    QVector<int> gone;
    for (const alloc::Share &s : l->teachers)
        if (s.teacherId == teacher)
            gone << teacher;
    if (gone.isEmpty()) {
        // No allocated teacher chosen: every teacher of the subject, after asking.
        if (hx::MsgBox(QStringLiteral("Remove every teacher of %1 from %2?").arg(l->subject, CmbClass->currentText()),
                       hx::MsgButtons::YesNo, hx::MsgIcon::Question)
            != hx::MsgResult::Yes)
            return;
        for (const alloc::Share &s : l->teachers)
            gone << s.teacherId;
    }
    for (int t : gone)
        if (!logic_.allocate(subject, t, 0))
            break;
    showLines(subject);
    showTeacherView(CmbTeacherView->currentIndex() >= 0 ? CmbTeacherView->currentData().toInt() : 0);
    refreshProblems();
}

void FrmAllocation::cmdSuggest_Click()
{
    const bool whole = ChkWholeSchool->isChecked();
    if (!whole && CmbClass->currentIndex() < 0) {
        hx::MsgBox(QStringLiteral("Select a class, or tick Whole School"));
        return;
    }
    hx::BusyCursor busy;
    logic_.suggest(whole);
    if (logic_.plan().isEmpty()) {
        fraPlan->hide();
        const QString scope = whole ? QStringLiteral("the school") : CmbClass->currentText();
        hx::MsgBox((QStringLiteral("Nothing to suggest: every subject of %1 that a teacher can take has its teachers.").arg(scope) +
                    QLatin1Char(' ') + logic_.planNotes().join(QLatin1Char(' ')))
                       .trimmed());
        return;
    }
    showPlan();
}

void FrmAllocation::showPlan()
{
    LvwPlan->clear();
    QList<QTreeWidgetItem *> items;
    for (const alloc::PlanLine &l : logic_.plan())
        items << new QTreeWidgetItem({l.classText, l.subject, l.teacher, QString::number(l.periods)});
    LvwPlan->addTopLevelItems(items);
    for (int c = 0; c < 3; ++c)
        LvwPlan->resizeColumnToContents(c);
    QString text = QStringLiteral("%1 periods in %2 allocations. Save Plan records them; Discard Plan drops them.")
                       .arg(logic_.planPeriods())
                       .arg(logic_.plan().size());
    if (!logic_.planNotes().isEmpty())
        text += QLatin1Char(' ') + logic_.planNotes().join(QLatin1Char(' '));
    LblPlan->setText(text);
    fraPlan->show();
    cmdSavePlan->setFocus();
}

void FrmAllocation::cmdSavePlan_Click()
{
    logic_.savePlan();
    if (logic_.plan().isEmpty())
        fraPlan->hide();
    refreshAll();
}

void FrmAllocation::cmdDiscardPlan_Click()
{
    logic_.discardPlan();
    fraPlan->hide();
}

void FrmAllocation::cmdFromTimetable_Click()
{
    const bool whole = ChkWholeSchool->isChecked();
    if (!whole && CmbClass->currentIndex() < 0) {
        hx::MsgBox(QStringLiteral("Select a class, or tick Whole School"));
        return;
    }
    if (logic_.fromTimetable(whole))
        refreshAll();
}

// --- availability -----------------------------------------------------------------------------

void FrmAllocation::CmbAvailTeacher_Click()
{
    if (CmbAvailTeacher->currentIndex() < 0)
        return;
    week_.loadTeacher(CmbAvailTeacher->currentData().toInt());
    drawAvailability();
}

void FrmAllocation::drawAvailability()
{
    const QVector<int> dragged = dragFrom_ >= 0 ? alloc::AvailabilityModel::span(dragFrom_, dragTo_) : QVector<int>();
    const bool loaded = week_.teacherId() != 0;
    for (int i = 0; i < tt::kCells; ++i) {
        QLabel *c = avail_[i];
        const QString caption = loaded ? QString(week_.lessons(i)).replace(QChar(13), QLatin1Char('\n')) : QString();
        if (c->text() != caption)
            c->setText(caption);
        QColor back = tt::ColUnavailable();
        QColor text = Qt::black;
        if (dragged.contains(i))
            back = tt::ColSelected();
        else if (loaded && week_.unavailable(i)) {
            back = week_.lessons(i).isEmpty() ? colNotAvailable() : tt::ColBusy();
            text = week_.lessons(i).isEmpty() ? QColor(Qt::white) : QColor(Qt::black);
        } else if (loaded && week_.inSchoolWeek(i))
            back = tt::ColFree();
        paint(c, back, text);
        c->setToolTip(loaded ? week_.toolTip(i) : QString());
    }
    LblAvailability->setText(loaded ? week_.summary() : QString());
}

int FrmAllocation::cellAt(const QPoint &global) const
{
    QWidget *w = grid_->childAt(grid_->mapFromGlobal(global));
    for (int i = 0; w && i < tt::kCells; ++i)
        if (avail_[i] == w)
            return i;
    return -1;
}

bool FrmAllocation::eventFilter(QObject *watched, QEvent *event)
{
    auto *cell = qobject_cast<QLabel *>(watched);
    const int index = cell ? int(std::find(avail_.begin(), avail_.end(), cell) - avail_.begin()) : tt::kCells;
    if (index >= tt::kCells || week_.teacherId() == 0)
        return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            break;
        dragFrom_ = dragTo_ = index;
        drawAvailability();
        return true;
    case QEvent::MouseMove:
        if (dragFrom_ >= 0) {
            // The pressed cell keeps the mouse; the cell under the pointer is found by position.
            const int at = cellAt(mouse->globalPosition().toPoint());
            if (at >= 0 && at != dragTo_) {
                dragTo_ = at;
                drawAvailability();
            }
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (dragFrom_ >= 0 && mouse->button() == Qt::LeftButton) {
            const int at = cellAt(mouse->globalPosition().toPoint());
            const int from = dragFrom_, to = at >= 0 ? at : dragTo_;
            dragFrom_ = dragTo_ = -1;
            week_.apply(from, to);
            drawAvailability();
            refreshProblems();
            if (CmbTeacherView->currentIndex() >= 0)
                showTeacherView(CmbTeacherView->currentData().toInt());
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// --- the whole window -------------------------------------------------------------------------

void FrmAllocation::refreshAll()
{
    const int subject = chosenSubject();
    if (logic_.classId())
        logic_.loadClass(logic_.classId());
    showLines(subject);
    if (CmbTeacherView->currentIndex() >= 0)
        showTeacherView(CmbTeacherView->currentData().toInt());
    if (week_.teacherId())
        week_.loadTeacher(week_.teacherId());
    drawAvailability();
    refreshProblems();
}

void FrmAllocation::refreshProblems()
{
    const QStringList lines = alloc::Problems();
    LstProblems->clear();
    if (lines.isEmpty())
        LstProblems->addItem(QStringLiteral("No problems: every class-subject can be given its teachers."));
    else
        LstProblems->addItems(lines);
}

void FrmAllocation::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || frame_ == sub || !sub->mdiArea())
        return;
    frame_ = sub;
    // Back from another window, which may have changed the curriculum or the timetable.
    connect(sub->mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        if (w && w == frame_)
            refreshAll();
    });
}
