#include "FrmClassSection.h"

#include "Platform.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include "FormControls.h"
#include <QVBoxLayout>

namespace {

using hx::NamedButton;
using hx::NamedListView;

} // namespace

FrmClassSection::FrmClassSection(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmClassSection"));
    setWindowTitle(QStringLiteral("Class Section"));

    auto *classFrame = new QGroupBox(QStringLiteral("  Class  "), this);
    classFrame->setObjectName(QStringLiteral("fraClass"));
    // The second column holds the class's sort order, which new rows copy.
    LvwClass = NamedListView(classFrame, QStringLiteral("LvwClass"), {QStringLiteral("Class"), QStringLiteral("SortOrder")});
    LvwClass->setColumnHidden(1, true);
    LvwClass->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *cmdAllClass = NamedButton(classFrame, QStringLiteral("cmdAllClass"), QStringLiteral("Check All"));
    auto *cmdClearClass = NamedButton(classFrame, QStringLiteral("cmdClearClass"), QStringLiteral("Clear"));
    auto *classLayout = new QVBoxLayout(classFrame);
    classLayout->addWidget(LvwClass);
    auto *classButtons = new QHBoxLayout;
    classButtons->addWidget(cmdAllClass);
    classButtons->addWidget(cmdClearClass);
    classLayout->addLayout(classButtons);

    auto *secFrame = new QGroupBox(QStringLiteral("  Section  "), this);
    secFrame->setObjectName(QStringLiteral("fraSection"));
    LvwSec = NamedListView(secFrame, QStringLiteral("LvwSec"), {QStringLiteral("Section")});
    LvwSec->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *cmdAllSec = NamedButton(secFrame, QStringLiteral("cmdAllSec"), QStringLiteral("Check All"));
    auto *cmdClearSec = NamedButton(secFrame, QStringLiteral("cmdClearSec"), QStringLiteral("Clear"));
    auto *secLayout = new QVBoxLayout(secFrame);
    secLayout->addWidget(LvwSec);
    auto *secButtons = new QHBoxLayout;
    secButtons->addWidget(cmdAllSec);
    secButtons->addWidget(cmdClearSec);
    secLayout->addLayout(secButtons);

    auto *csLabel = new QLabel(QStringLiteral("Class - Section"), this);
    csLabel->setObjectName(QStringLiteral("lblClassSection"));
    LvwCS = NamedListView(this, QStringLiteral("LvwCS"), {QStringLiteral("Class - Section")});
    LvwCS->setSelectionMode(QAbstractItemView::ExtendedSelection);
    csLabel->setBuddy(LvwCS);

    auto *cmdAssign = NamedButton(this, QStringLiteral("cmdAssign"), QStringLiteral("&Assign"));
    auto *cmdDel = NamedButton(this, QStringLiteral("cmdDel"), QStringLiteral("&Remove"));
    auto *CmdExit = NamedButton(this, QStringLiteral("CmdExit"), QStringLiteral("E&xit"));

    auto *csLayout = new QVBoxLayout;
    csLayout->addWidget(csLabel);
    csLayout->addWidget(LvwCS);

    auto *lists = new QHBoxLayout;
    lists->addWidget(classFrame);
    lists->addWidget(secFrame);
    lists->addLayout(csLayout);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAssign);
    buttons->addWidget(cmdDel);
    buttons->addWidget(CmdExit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    connect(cmdAllClass, &QPushButton::clicked, this, &FrmClassSection::cmdAllClass_Click);
    connect(cmdClearClass, &QPushButton::clicked, this, &FrmClassSection::cmdClearClass_Click);
    connect(cmdAllSec, &QPushButton::clicked, this, &FrmClassSection::cmdAllSec_Click);
    connect(cmdClearSec, &QPushButton::clicked, this, &FrmClassSection::cmdClearSec_Click);
    connect(cmdAssign, &QPushButton::clicked, this, &FrmClassSection::cmdAssign_Click);
    connect(cmdDel, &QPushButton::clicked, this, &FrmClassSection::cmdDel_Click);
    connect(CmdExit, &QPushButton::clicked, this, &FrmClassSection::CmdExit_Click);

    resize(hx::Twips(7800), hx::Twips(5400));
    hx::NameControlsForAccessibility(this);
    Form_Load();
}

void FrmClassSection::Form_Load()
{
    FillSec();
    list_.load();
    LvwClass->clear();
    for (const ClassEntry &c : list_.classes()) {
        auto *item = new QTreeWidgetItem(LvwClass, {c.name, QString::number(c.sortOrder)});
        item->setCheckState(0, Qt::Unchecked);
    }
    FillClass();
}

void FrmClassSection::FillSec()
{
    LvwSec->clear();
    for (const QString &s : ClassSectionList::sections()) {
        auto *item = new QTreeWidgetItem(LvwSec, {s});
        item->setCheckState(0, Qt::Unchecked);
    }
}

void FrmClassSection::FillClass()
{
    LvwCS->clear();
    for (const QString &text : list_.classSections())
        new QTreeWidgetItem(LvwCS, {text});
}

void FrmClassSection::checkAll(QTreeWidget *list, bool on)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void FrmClassSection::cmdAllClass_Click() { checkAll(LvwClass, true); }
void FrmClassSection::cmdClearClass_Click() { checkAll(LvwClass, false); }
void FrmClassSection::cmdAllSec_Click() { checkAll(LvwSec, true); }
void FrmClassSection::cmdClearSec_Click() { checkAll(LvwSec, false); }

void FrmClassSection::cmdAssign_Click()
{
    QVector<int> classRows;
    for (int i = 0; i < LvwClass->topLevelItemCount(); ++i)
        if (LvwClass->topLevelItem(i)->checkState(0) == Qt::Checked)
            classRows << i;
    QStringList sections;
    for (int i = 0; i < LvwSec->topLevelItemCount(); ++i)
        if (LvwSec->topLevelItem(i)->checkState(0) == Qt::Checked)
            sections << LvwSec->topLevelItem(i)->text(0);

    QStringList added;
    if (list_.assign(classRows, sections, &added) != ClassSectionList::AssignResult::Done)
        return;
    // New rows go to the end; the ticks stay for the next click.
    for (const QString &text : added)
        new QTreeWidgetItem(LvwCS, {text});
}

void FrmClassSection::cmdDel_Click()
{
    if (LvwCS->topLevelItemCount() == 0)
        return;
    QVector<int> rows;
    for (int i = 0; i < LvwCS->topLevelItemCount(); ++i)
        if (LvwCS->topLevelItem(i)->isSelected())
            rows << i;
    if (rows.isEmpty())
        return;
    if (hx::MsgBox(list_.removalQuestion(rows), hx::MsgButtons::YesNo, hx::MsgIcon::Question,
                   QStringLiteral("Remove Confirmation"))
        != hx::MsgResult::Yes)
        return;
    if (!list_.remove(rows))
        return;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        delete LvwCS->takeTopLevelItem(*it);
}

void FrmClassSection::CmdExit_Click() { hx::CloseWindow(this); }
