#include "FrmSubstitute.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "SubstituteLimit.h"
#include "SubstitutionBook.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QLineEdit *readOnlyBox(const QString &name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

enum { RoleTeacher = Qt::UserRole, RolePeriod, RoleLine, RoleReasons };
const QColor kNotFreeRed(190, 0, 0);
const QColor kProposedBlue(0, 70, 170);
const QColor kUncoveredOrange(180, 90, 0);
} // namespace

FrmSubstitute::FrmSubstitute(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmSubstitute"));
    setWindowTitle(QStringLiteral("Substitute Teacher"));

    DTP = new QDateEdit(QDate::currentDate(), this);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DTP->setCalendarPopup(true);
    lblDay = new QLabel(this);
    lblDay->setObjectName(QStringLiteral("lblDay"));
    lblDay->setMinimumWidth(90);

    LvwSub = new QTreeWidget(this);
    LvwSub->setObjectName(QStringLiteral("LvwSub"));
    LvwSub->setRootIsDecorated(false);
    LvwSub->setHeaderLabels({QStringLiteral("TeacherName"), QStringLiteral("Class"), QStringLiteral("Day"),
                             QStringLiteral("Period"), QStringLiteral("Substituted By")});
    LvwSub->header()->resizeSection(0, 160);
    LvwSub->header()->resizeSection(1, 90);
    LvwSub->header()->resizeSection(2, 50);
    LvwSub->header()->resizeSection(3, 60);
    LvwSub->setMinimumSize(560, 240);

    TxtTeacher = readOnlyBox(QStringLiteral("TxtTeacher"), this);
    TxtClass = readOnlyBox(QStringLiteral("TxtClass"), this);
    TxtStatus = readOnlyBox(QStringLiteral("TxtStatus"), this);
    TxtPerFrom = readOnlyBox(QStringLiteral("TxtPerFrom"), this);
    TxtPerTo = readOnlyBox(QStringLiteral("TxtPerTo"), this);
    TxtPerFrom->setMaximumWidth(40);
    TxtPerTo->setMaximumWidth(40);
    CmbSubstitute = new QComboBox(this);
    CmbSubstitute->setObjectName(QStringLiteral("CmbSubstitute"));
    CmbSubstitute->setMinimumWidth(200);
    lblReasons = new QLabel(this);
    lblReasons->setObjectName(QStringLiteral("lblReasons"));
    lblReasons->setWordWrap(true);
    lblReasons->setMinimumHeight(lblReasons->fontMetrics().height() * 2);

    CmdSave = new QPushButton(QStringLiteral("&Save"), this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));
    CmdSuggestAll = new QPushButton(QStringLiteral("Suggest &All"), this);
    CmdSuggestAll->setObjectName(QStringLiteral("CmdSuggestAll"));
    CmdSuggestAll->setToolTip(QStringLiteral("Propose a substitute for every period without one"));
    // Chosen from a list, like the period boxes: only 1 to 9 can be had.
    CmbDailyLimit = new QComboBox(this);
    CmbDailyLimit->setObjectName(QStringLiteral("CmbDailyLimit"));
    for (int n = 1; n <= SubstituteLimit::kMost; ++n)
        CmbDailyLimit->addItem(QString::number(n), n);
    CmbDailyLimit->setCurrentIndex(CmbDailyLimit->findData(SubstituteLimit::daily()));
    CmbDailyLimit->setToolTip(QStringLiteral("Most substitutions Suggest All gives one teacher on the date"));
    CmdRemove = new QPushButton(QStringLiteral("&Remove"), this);
    CmdRemove->setObjectName(QStringLiteral("CmdRemove"));
    CmdRemove->setToolTip(QStringLiteral("Remove the proposal of the chosen period"));
    CmdSaveAll = new QPushButton(QStringLiteral("Save A&ll"), this);
    CmdSaveAll->setObjectName(QStringLiteral("CmdSaveAll"));
    CmdSaveAll->setToolTip(QStringLiteral("Record every proposal at once"));

    auto *top = new QHBoxLayout;
    top->addWidget(label(QStringLiteral("Date"), DTP, this));
    top->addWidget(DTP);
    top->addWidget(lblDay);
    top->addStretch();

    auto *grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Teacher Name"), TxtTeacher, this), 0, 0);
    grid->addWidget(TxtTeacher, 0, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Class"), TxtClass, this), 1, 0);
    grid->addWidget(TxtClass, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Status"), TxtStatus, this), 2, 0);
    grid->addWidget(TxtStatus, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Period"), this), 3, 0);
    auto *span = new QHBoxLayout;
    span->addWidget(label(QStringLiteral("From"), TxtPerFrom, this));
    span->addWidget(TxtPerFrom);
    span->addWidget(TxtPerTo);
    span->addStretch();
    grid->addLayout(span, 3, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Substitute"), CmbSubstitute, this), 4, 0);
    grid->addWidget(CmbSubstitute, 4, 1, 1, 3);
    grid->addWidget(lblReasons, 5, 1, 1, 3);

    auto *plan = new QHBoxLayout;
    plan->addWidget(CmdSuggestAll);
    plan->addWidget(label(QStringLiteral("&Daily limit"), CmbDailyLimit, this));
    plan->addWidget(CmbDailyLimit);
    plan->addWidget(CmdRemove);
    plan->addWidget(CmdSaveAll);
    plan->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdExit);
    auto *box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(LvwSub);
    box->addLayout(grid);
    box->addLayout(plan);
    box->addLayout(buttons);

    connect(DTP, &QDateEdit::dateChanged, this, &FrmSubstitute::DTP_Change);
    connect(LvwSub, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { LvwSub_ItemClick(item); });
    connect(CmdSave, &QPushButton::clicked, this, &FrmSubstitute::CmdSave_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    connect(CmdSuggestAll, &QPushButton::clicked, this, &FrmSubstitute::CmdSuggestAll_Click);
    connect(CmdSaveAll, &QPushButton::clicked, this, &FrmSubstitute::CmdSaveAll_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmSubstitute::CmdRemove_Click);
    connect(CmbSubstitute, &QComboBox::activated, this, &FrmSubstitute::CmbSubstitute_Activated);
    connect(CmbSubstitute, &QComboBox::highlighted, this, &FrmSubstitute::ShowReasons);
    connect(CmbSubstitute, &QComboBox::currentIndexChanged, this, &FrmSubstitute::ShowReasons);
    connect(CmbDailyLimit, &QComboBox::activated, this, [this](int index) {
        // A limit that could not be stored (the user was told) goes back to the one in force.
        if (!SubstituteLimit::setDaily(CmbDailyLimit->itemData(index).toInt()))
            CmbDailyLimit->setCurrentIndex(CmbDailyLimit->findData(SubstituteLimit::daily()));
    });

    // Form_Load
    FillList();
}

void FrmSubstitute::CalculateDay()
{
    lblDay->setText(SubstitutionBook::DayLabel(SubstitutionBook::WeekDayNumber(DTP->date())));
}

namespace {
void paintLine(QTreeWidgetItem *item, const SubstitutionPlan &plan, int index)
{
    const CoverLine &l = plan.lines()[index];
    QString by = l.substituteName, tip;
    QColor colour = item->treeWidget()->palette().color(QPalette::Text);
    bool italic = false;
    if (l.substituteId > 0 && !l.substituteNotFree.isEmpty()) {
        // A substitute who is away or teaching by now is shown with the reason, in red, so the
        // period is seen to need another teacher.
        by = l.substituteName + QStringLiteral(" (not free: ") + l.substituteNotFree + QLatin1Char(')');
        colour = kNotFreeRed;
        tip = QStringLiteral("The substitute is not free in this period any more: choose another");
    } else if (plan.proposed(index) > 0) {
        by = plan.proposedName(index);
        colour = kProposedBlue;
        italic = true;
        tip = QStringLiteral("Proposed, not recorded yet: Save All records the proposals");
    } else if (l.substituteId == 0 && plan.uncoverable(index)) {
        by = QStringLiteral("(nobody can cover)");
        colour = kUncoveredOrange;
        italic = true;
        tip = QStringLiteral("No teacher is free in this period within the daily limit");
    }
    item->setText(4, by);
    for (int c = 0; c < item->columnCount(); ++c) {
        item->setForeground(c, colour);
        item->setToolTip(c, tip);
        QFont f = item->font(c);
        f.setItalic(italic);
        item->setFont(c, f);
    }
}
} // namespace

void FrmSubstitute::FillList()
{
    CalculateDay();
    LvwSub->clear();
    plan_.load(DTP->date());
    line_ = -1;
    const QVector<CoverLine> &lines = plan_.lines();
    for (int i = 0; i < lines.size(); ++i) {
        const CoverLine &l = lines[i];
        auto *item = new QTreeWidgetItem(LvwSub, {l.teacherName, l.classSection, QString::number(l.weekday + 1),
                                                  QString::number(l.period + 1), QString()});
        item->setData(0, RoleTeacher, l.teacherid);
        item->setData(0, RolePeriod, l.period);
        item->setData(0, RoleLine, i);
        paintLine(item, plan_, i);
        if (line_ < 0 && l.teacherid == absentTeacher_ && l.period == period_)
            line_ = i;
    }
    EnableProposalButtons();
}

QTreeWidgetItem *FrmSubstitute::clickedItem() const
{
    for (int i = 0; i < LvwSub->topLevelItemCount(); ++i)
        if (LvwSub->topLevelItem(i)->data(0, RoleLine).toInt() == line_)
            return LvwSub->topLevelItem(i);
    return nullptr;
}

void FrmSubstitute::EnableProposalButtons()
{
    CmdSaveAll->setEnabled(plan_.hasProposals());
    CmdRemove->setEnabled(line_ >= 0 && plan_.proposed(line_) > 0);
}

void FrmSubstitute::DTP_Change()
{
    // The clicked line belongs to the old date: forget it, so Save cannot carry it over.
    ClearFormControls(this);
    CmbSubstitute->clear();
    lblReasons->clear();
    absentTeacher_ = 0;
    period_ = -1;
    FillList();
}

void FrmSubstitute::LvwSub_ItemClick(QTreeWidgetItem *item)
{
    if (!item || LvwSub->topLevelItemCount() == 0)
        return;
    TxtTeacher->setText(item->text(0));
    TxtClass->setText(item->text(1));
    absentTeacher_ = item->data(0, RoleTeacher).toInt();
    period_ = item->data(0, RolePeriod).toInt();
    line_ = item->data(0, RoleLine).toInt();
    const AwayStatus a = SubstitutionBook::awayStatus(absentTeacher_, DTP->date(), period_);
    TxtStatus->setText(a.found ? a.modetype : QString());
    TxtPerFrom->setText(a.found ? QString::number(a.perFrom) : QString());
    TxtPerTo->setText(a.found ? QString::number(a.perTo) : QString());
    CalFreeTeacher();
    EnableProposalButtons();
}

void FrmSubstitute::CalFreeTeacher()
{
    CmbSubstitute->clear();
    // The empty first item is "no substitute": choosing it and saving removes the one recorded.
    CmbSubstitute->addItem(QString(), 0);
    // Best first; each item keeps the teacher's name, the reasons go to the tool-tip and the
    // label under the box.
    if (line_ >= 0)
        for (const RankedTeacher &t : plan_.choices(line_)) {
            CmbSubstitute->addItem(t.name, t.teacherid);
            const QString why = t.reasons(plan_.lines()[line_]);
            CmbSubstitute->setItemData(CmbSubstitute->count() - 1, why, Qt::ToolTipRole);
            CmbSubstitute->setItemData(CmbSubstitute->count() - 1, why, RoleReasons);
        }
    const int proposed = line_ >= 0 ? plan_.proposed(line_) : 0;
    CmbSubstitute->setCurrentIndex(proposed > 0 ? CmbSubstitute->findData(proposed) : -1);
    ShowReasons(CmbSubstitute->currentIndex());
}

void FrmSubstitute::ShowReasons(int index)
{
    lblReasons->setText(index > 0 ? CmbSubstitute->itemData(index, RoleReasons).toString() : QString());
}

void FrmSubstitute::CmbSubstitute_Activated(int index)
{
    // On a proposed line the box changes the proposal itself; the empty item removes it.
    if (line_ < 0 || plan_.proposed(line_) == 0)
        return;
    plan_.propose(line_, CmbSubstitute->itemData(index).toInt(), CmbSubstitute->itemText(index));
    if (QTreeWidgetItem *item = clickedItem())
        paintLine(item, plan_, line_);
    EnableProposalButtons();
}

void FrmSubstitute::CmdRemove_Click()
{
    if (line_ < 0)
        return;
    plan_.removeProposal(line_);
    if (QTreeWidgetItem *item = clickedItem())
        paintLine(item, plan_, line_);
    CmbSubstitute->setCurrentIndex(-1);
    EnableProposalButtons();
}

void FrmSubstitute::CmdSuggestAll_Click()
{
    plan_.load(DTP->date());
    plan_.suggestAll(CmbDailyLimit->currentData().toInt());
    FillList();
    if (line_ >= 0)
        CalFreeTeacher();
}

void FrmSubstitute::CmdSaveAll_Click()
{
    // A refusal keeps the proposals on screen, so the one named can be changed and saved again.
    plan_.saveAll();
    FillList();
    if (line_ >= 0)
        CalFreeTeacher();
}

void FrmSubstitute::CmdSave_Click()
{
    const int sub = CmbSubstitute->currentIndex() >= 0 ? CmbSubstitute->currentData().toInt() : 0;
    const int teacher = TxtTeacher->text().isEmpty() ? 0 : absentTeacher_;
    const SubstitutionBook::Result r = SubstitutionBook::save(teacher, DTP->date(), period_, sub);
    if (teacher == 0)
        return;
    FillList();
    CalFreeTeacher(); // the one just chosen is no longer free then
    // A refused save keeps the choice when that teacher is still free, so it can be saved again.
    if (r == SubstitutionBook::Result::Refused && sub > 0)
        CmbSubstitute->setCurrentIndex(CmbSubstitute->findData(sub));
}
