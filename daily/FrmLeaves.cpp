#include "FrmLeaves.h"

#include "Database.h"
#include "LeaveBook.h"
#include "Lookups.h"
#include "Platform.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QDateEdit *datePicker(const QString &name, QWidget *parent)
{
    auto *d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setCalendarPopup(true);
    return d;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}
} // namespace

FrmLeaves::FrmLeaves(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmLeaves"));
    setWindowTitle(QStringLiteral("Leave Entry"));

    CmbTeacher = new QComboBox(this);
    CmbTeacher->setObjectName(QStringLiteral("CmbTeacher"));
    CmbTeacher->setEditable(true);
    CmbTeacher->setInsertPolicy(QComboBox::NoInsert);
    CmbTeacher->setMinimumWidth(200);
    TrackTypedText(CmbTeacher);
    DTPFrom = datePicker(QStringLiteral("DTPFrom"), this);
    DTPTo = datePicker(QStringLiteral("DTPTo"), this);

    LvwLeave = new QTreeWidget(this);
    LvwLeave->setObjectName(QStringLiteral("LvwLeave"));
    LvwLeave->setRootIsDecorated(false);
    LvwLeave->setHeaderLabels({QStringLiteral("Teacher"), QStringLiteral("From Date"), QStringLiteral("To Date")});
    LvwLeave->header()->resizeSection(0, 200);
    LvwLeave->setMinimumSize(440, 220);

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    CmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    CmdDelete->setObjectName(QStringLiteral("CmdDelete"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));

    auto *grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Teacher"), CmbTeacher, this), 0, 0);
    grid->addWidget(CmbTeacher, 0, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("From Date"), DTPFrom, this), 1, 0);
    grid->addWidget(DTPFrom, 1, 1);
    grid->addWidget(label(QStringLiteral("To Date"), DTPTo, this), 1, 2);
    grid->addWidget(DTPTo, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(CmdDelete);
    buttons->addWidget(CmdExit);
    auto *box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addWidget(LvwLeave);
    box->addLayout(buttons);

    connect(cmdSave, &QPushButton::clicked, this, &FrmLeaves::cmdSave_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &FrmLeaves::CmdDelete_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    connect(LvwLeave, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { LvwLeave_ItemClick(item); });

    // Form_Load
    FillComboWithIds(CmbTeacher, QStringLiteral("select teacherNAME,teacherid from teachers order by teachername"));
    CmbTeacher->setCurrentIndex(-1);
    FillList();
}

void FrmLeaves::FillList()
{
    LvwLeave->clear();
    for (const LeaveLine &l : LeaveBook::list()) {
        auto *item = new QTreeWidgetItem(LvwLeave, {l.teacherName, DisplayDate(l.from), DisplayDate(l.to)});
        item->setData(0, Qt::UserRole, l.teacherid);
        item->setData(1, Qt::UserRole, l.from);
        item->setData(2, Qt::UserRole, l.to);
    }
}

int FrmLeaves::ChosenTeacher()
{
    // By the list's id, never by the name: two teachers may share one.
    const int id = ChosenId(CmbTeacher);
    if (id < 0)
        hx::MsgBox(QStringLiteral("More than one teacher has this name. Select the teacher from the list"));
    return id;
}

void FrmLeaves::cmdSave_Click()
{
    if (CmbTeacher->currentText().isEmpty())
        return;
    const int id = ChosenTeacher();
    if (id < 0)
        return;
    LeaveBook::save(id, DTPFrom->date(), DTPTo->date());
    FillList();
}

void FrmLeaves::CmdDelete_Click()
{
    const int id = ChosenTeacher();
    if (id >= 0 && LeaveBook::remove(id, DTPFrom->date()) == LeaveBook::Result::Done)
        FillList();
}

void FrmLeaves::LvwLeave_ItemClick(QTreeWidgetItem *item)
{
    if (!item)
        return;
    ForgetTypedText(CmbTeacher);
    const int at = CmbTeacher->findData(item->data(0, Qt::UserRole));
    if (at >= 0) {
        CmbTeacher->setCurrentIndex(at);
        CmbTeacher->setEditText(CmbTeacher->itemText(at)); // over anything typed before
    } else
        CmbTeacher->setEditText(item->text(0));
    DTPFrom->setDate(item->data(1, Qt::UserRole).toDate());
    DTPTo->setDate(item->data(2, Qt::UserRole).toDate());
}
