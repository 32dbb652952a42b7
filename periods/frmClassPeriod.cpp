#include "frmClassPeriod.h"

#include "Database.h"
#include "Lookups.h"
#include "PeriodSystemData.h"
#include "Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include "FormControls.h"
#include <QVBoxLayout>

namespace {

using hx::NamedButton;

QTreeWidget *listView(QWidget *parent, const QString &name, const QStringList &columns)
{
    QTreeWidget *t = hx::NamedListView(parent, name, columns);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    return t;
}

} // namespace

frmClassPeriod::frmClassPeriod(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmClassPeriod"));
    setWindowTitle(QStringLiteral("Assign Period System to Class"));

    // Left: the classes.
    auto *classFrame = new QGroupBox(QStringLiteral("Select Class"), this);
    lvClass = listView(classFrame, QStringLiteral("lvClass"), {QStringLiteral("Class"), QStringLiteral("ClassID")});
    lvClass->setColumnHidden(1, false);
    auto *Command3 = NamedButton(classFrame, QStringLiteral("Command3"), QStringLiteral("Check All"));
    auto *Command4 = NamedButton(classFrame, QStringLiteral("Command4"), QStringLiteral("Uncheck All"));
    auto *classLayout = new QVBoxLayout(classFrame);
    classLayout->addWidget(lvClass);
    auto *classButtons = new QHBoxLayout;
    classButtons->addWidget(Command3);
    classButtons->addWidget(Command4);
    classLayout->addLayout(classButtons);

    // Middle: the period system, its periods and the days.
    cmbPSnm = new QComboBox(this);
    cmbPSnm->setObjectName(QStringLiteral("cmbPSnm"));
    cmbPSnm->setMinimumWidth(160);
    auto *psLabel = new QLabel(QStringLiteral("Period System"), this);
    psLabel->setBuddy(cmbPSnm);

    auto *detailFrame = new QGroupBox(QStringLiteral("Period System Details"), this);
    lvPSDetail = new QTreeWidget(detailFrame);
    lvPSDetail->setObjectName(QStringLiteral("lvPSDetail"));
    SetUpPeriodList(lvPSDetail);
    (new QVBoxLayout(detailFrame))->addWidget(lvPSDetail);

    auto *dayFrame = new QGroupBox(QStringLiteral("Choose Days for Period System"), this);
    auto *dayGrid = new QGridLayout(dayFrame);
    const QStringList dayNames = {QStringLiteral("Monday"), QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
                                  QStringLiteral("Thursday"), QStringLiteral("Friday"), QStringLiteral("Saturday")};
    for (int d = 0; d < 6; ++d) {
        auto *box = new QCheckBox(dayNames[d], dayFrame);
        box->setObjectName(QStringLiteral("chk") + ClassPeriodList::DayAbbreviations()[d]);
        dayGrid->addWidget(box, d % 3, d / 3);
        dayBoxes_ << box;
    }
    auto *Command2 = NamedButton(dayFrame, QStringLiteral("Command2"), QStringLiteral("Check All"));
    auto *Command1 = NamedButton(dayFrame, QStringLiteral("Command1"), QStringLiteral("Uncheck All"));
    dayGrid->addWidget(Command2, 3, 0);
    dayGrid->addWidget(Command1, 3, 1);

    cmdAssign = NamedButton(this, QStringLiteral("cmdAssign"), QStringLiteral("&Assign "));

    auto *middle = new QVBoxLayout;
    auto *psRow = new QHBoxLayout;
    psRow->addWidget(psLabel);
    psRow->addWidget(cmbPSnm, 1);
    middle->addLayout(psRow);
    middle->addWidget(detailFrame, 1);
    middle->addWidget(dayFrame);
    middle->addWidget(cmdAssign);

    // Right: the working list.
    auto *listFrame = new QGroupBox(QStringLiteral("Class Period System List"), this);
    lvPSList = listView(listFrame, QStringLiteral("lvPSList"),
                        {QStringLiteral("Class"), QStringLiteral("Period System"), QStringLiteral("Days"),
                         QStringLiteral("classid"), QStringLiteral("PSid")});
    for (const auto &[col, width] : {std::pair{0, 85}, {1, 105}, {2, 175}, {3, 45}, {4, 35}})
        lvPSList->setColumnWidth(col, width);
    lvPSList->setMinimumWidth(420);
    lvClass->setColumnWidth(0, 90);
    cmdDel = NamedButton(listFrame, QStringLiteral("cmdDel"), QStringLiteral("&Remove"));
    auto *listLayout = new QVBoxLayout(listFrame);
    listLayout->addWidget(lvPSList);
    auto *delRow = new QHBoxLayout;
    delRow->addStretch();
    delRow->addWidget(cmdDel);
    listLayout->addLayout(delRow);

    cmdSave = NamedButton(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    CmdExit = NamedButton(this, QStringLiteral("CmdExit"), QStringLiteral("E&xit"));

    auto *columns = new QHBoxLayout;
    columns->addWidget(classFrame);
    columns->addLayout(middle);
    columns->addWidget(listFrame, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdSave);
    bottom->addWidget(CmdExit);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addLayout(bottom);
    resize(1040, 460);

    connect(cmbPSnm, &QComboBox::currentIndexChanged, this, &frmClassPeriod::cmbPSnm_Click);
    connect(cmdAssign, &QPushButton::clicked, this, &frmClassPeriod::cmdAssign_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmClassPeriod::cmdDel_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmClassPeriod::cmdSave_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmClassPeriod::CmdExit_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { Chk_All(false); });
    connect(Command2, &QPushButton::clicked, this, [this] { Chk_All(true); });
    connect(Command3, &QPushButton::clicked, this, [this] { Chk_All_lv(true); });
    connect(Command4, &QPushButton::clicked, this, [this] { Chk_All_lv(false); });

    // Form_Load
    bringDefinitionForward_ = false;
    Fill_lvClass();
    Fill_PS_cmb();
    list_.load();
    showList();
}

void frmClassPeriod::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The main window makes this window the active one after building it; the period-system
    // window opened for the user must come forward after that.
    if (bringDefinitionForward_)
        QTimer::singleShot(0, this, &frmClassPeriod::Form_Activate);
}

void frmClassPeriod::Form_Activate()
{
    if (!bringDefinitionForward_)
        return;
    bringDefinitionForward_ = false;
    hx::OpenWindow(QStringLiteral("mnuPeriodSystem"));
}

void frmClassPeriod::Fill_lvClass()
{
    lvClass->clear();
    Recordset rs = OpenRecordset(QStringLiteral("select %1 as classtext, classid from classsection "
                                                "order by sortorder, section")
                                     .arg(ClassSectionExpr()));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        auto *item = new QTreeWidgetItem(lvClass, {rs.text(0), rs.text(1)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
}

void frmClassPeriod::Fill_PS_cmb()
{
    {
        const QSignalBlocker block(cmbPSnm);
        cmbPSnm->clear();
        cmbPSnm->addItems(PeriodSystemNames(true));
        cmbPSnm->setCurrentIndex(-1);
    }
    if (cmbPSnm->count() > 0) {
        cmbPSnm->setCurrentIndex(0);
        return;
    }
    if (hx::MsgBox(QStringLiteral("You haven't defined period system. Want to define?"), hx::MsgButtons::YesNo,
                   hx::MsgIcon::Question, QStringLiteral("Define Period System"))
        == hx::MsgResult::Yes) {
        hx::OpenWindow(QStringLiteral("mnuPeriodSystem"));
        bringDefinitionForward_ = true;
    }
}

void frmClassPeriod::cmbPSnm_Click() { Fill_lvPSDetail(); }

void frmClassPeriod::Fill_lvPSDetail()
{
    const auto ps = FindPeriodSystem(cmbPSnm->currentText());
    if (!ps)
        return;
    periodSysId_ = ps->id;
    ShowPeriodTimes(lvPSDetail, ps->times());
}

QString frmClassPeriod::PS_Days() const
{
    QStringList days;
    for (int d = 0; d < dayBoxes_.size(); ++d) {
        if (dayBoxes_[d]->isChecked())
            days << ClassPeriodList::DayAbbreviations()[d];
    }
    return days.join(QLatin1Char(','));
}

void frmClassPeriod::cmdAssign_Click()
{
    // chk_lv_sel
    QList<ClassChoice> classes;
    for (int i = 0; i < lvClass->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvClass->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            classes << ClassChoice{item->text(0), item->text(1).toInt()};
    }
    if (classes.isEmpty()) {
        hx::MsgBox(QStringLiteral("Select atleast one Class"), hx::MsgButtons::Ok, hx::MsgIcon::Information,
                   QStringLiteral("Assing Class-Period"));
        return;
    }
    // Chk_Empty_Chkboxes
    const QString days = PS_Days();
    if (days.isEmpty()) {
        hx::MsgBox(QStringLiteral("Aleast one weekday should be selected"), hx::MsgButtons::Ok,
                   hx::MsgIcon::Information);
        return;
    }
    if (cmbPSnm->currentIndex() < 0 || cmbPSnm->currentText().isEmpty()) {
        hx::MsgBox(QStringLiteral("Select period system to assign"));
        cmbPSnm->setFocus();
        return;
    }
    list_.assign(classes, cmbPSnm->currentText(), periodSysId_, days.split(QLatin1Char(',')));
    showList();
}

void frmClassPeriod::cmdDel_Click()
{
    QTreeWidgetItem *item = lvPSList->currentItem();
    if (!item || !item->isSelected())
        return;
    list_.remove(lvPSList->indexOfTopLevelItem(item));
    showList();
}

void frmClassPeriod::cmdSave_Click() { list_.save(); }

void frmClassPeriod::CmdExit_Click()
{
    if (hx::MsgBox(QStringLiteral("Do you want to save changes?"), hx::MsgButtons::YesNo, hx::MsgIcon::Question,
                   QStringLiteral("Save Confirmation"))
            == hx::MsgResult::Yes
        && !list_.save())
        return; // the table refused the list: stay open so the work is not lost
    hx::CloseWindow(this);
}

void frmClassPeriod::showList()
{
    lvPSList->clear();
    for (const ClassPeriodRow &r : list_.rows())
        new QTreeWidgetItem(lvPSList, {r.classText, r.periodSystem, r.days, QString::number(r.classId),
                                       QString::number(r.periodSysId)});
}

void frmClassPeriod::Chk_All(bool on)
{
    for (QCheckBox *b : dayBoxes_)
        b->setChecked(on);
}

void frmClassPeriod::Chk_All_lv(bool on)
{
    for (int i = 0; i < lvClass->topLevelItemCount(); ++i)
        lvClass->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}
