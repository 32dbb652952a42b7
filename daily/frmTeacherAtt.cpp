#include "frmTeacherAtt.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QComboBox *periodBox(const QString &name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    for (int p = 1; p <= 9; ++p)
        c->addItem(QString::number(p));
    c->setCurrentIndex(-1);
    return c;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

// The grey of the desktop's application workspace, for lines that cannot be changed here.
const QColor kLeaveGrey(171, 171, 171);
} // namespace

frmTeacherAtt::frmTeacherAtt(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTeacherAtt"));
    setWindowTitle(QStringLiteral("Absent Teachers"));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("TabStrip1"));
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("Absent Teachers"));

    DTP = new QDateEdit(QDate::currentDate(), page);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DTP->setCalendarPopup(true);
    CmbTeacher = new QComboBox(page);
    CmbTeacher->setObjectName(QStringLiteral("CmbTeacher"));
    CmbTeacher->setMinimumWidth(200);
    ChkAbsent = new QCheckBox(QStringLiteral("Absent"), page);
    ChkAbsent->setObjectName(QStringLiteral("ChkAbsent"));
    CmbPerFrom = periodBox(QStringLiteral("CmbPerFrom"), page);
    CmbPerTo = periodBox(QStringLiteral("CmbPerTo"), page);

    LvwAtt = new QTreeWidget(page);
    LvwAtt->setObjectName(QStringLiteral("LvwAtt"));
    LvwAtt->setRootIsDecorated(false);
    LvwAtt->setHeaderLabels({QStringLiteral("Status"), QStringLiteral("Teacher Name"), QStringLiteral("Period From"),
                             QStringLiteral("Period To"), QStringLiteral("Date")});
    LvwAtt->header()->setSectionsClickable(true);
    LvwAtt->header()->resizeSection(0, 80);
    LvwAtt->header()->resizeSection(1, 170);
    LvwAtt->header()->resizeSection(2, 85);
    LvwAtt->header()->resizeSection(3, 75);
    LvwAtt->setMinimumSize(520, 220);

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    CmdShow = new QPushButton(QStringLiteral("S&how All"), this);
    CmdShow->setObjectName(QStringLiteral("CmdShow"));
    cmdCancel = new QPushButton(QStringLiteral("E&xit"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Date"), DTP, page), 0, 0);
    grid->addWidget(DTP, 0, 1);
    grid->addWidget(label(QStringLiteral("Teacher Name"), CmbTeacher, page), 1, 0);
    grid->addWidget(CmbTeacher, 1, 1, 1, 3);
    grid->addWidget(ChkAbsent, 2, 1);
    grid->addWidget(label(QStringLiteral("Period From"), CmbPerFrom, page), 3, 0);
    grid->addWidget(CmbPerFrom, 3, 1);
    grid->addWidget(CmbPerTo, 3, 2);
    auto *pageBox = new QVBoxLayout(page);
    pageBox->addLayout(grid);
    pageBox->addWidget(LvwAtt);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(CmdShow);
    buttons->addWidget(cmdCancel);
    auto *box = new QVBoxLayout(this);
    box->addWidget(tabs);
    box->addLayout(buttons);

    connect(DTP, &QDateEdit::dateChanged, this, &frmTeacherAtt::DTP_Change);
    connect(CmbTeacher, &QComboBox::activated, this, &frmTeacherAtt::CmbTeacher_Click);
    connect(ChkAbsent, &QCheckBox::clicked, this, &frmTeacherAtt::ChkAbsent_Click);
    connect(CmbPerFrom, &QComboBox::activated, this, &frmTeacherAtt::CmbPeriod_Click);
    connect(CmbPerTo, &QComboBox::activated, this, &frmTeacherAtt::CmbPeriod_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmTeacherAtt::cmdSave_Click);
    connect(CmdShow, &QPushButton::clicked, this, &frmTeacherAtt::CmdShow_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    connect(LvwAtt->header(), &QHeaderView::sectionClicked, this, &frmTeacherAtt::LvwAtt_ColumnClick);

    // Form_Load
    FillComboWithIds(CmbTeacher, QStringLiteral("select teachername,teacherid from teachers order by teachername"));
    CmbTeacher->setCurrentIndex(-1);
    FillList(-1);
}

AttendanceControls frmTeacherAtt::controls() const
{
    AttendanceControls c;
    c.date = DTP->date();
    c.teacherid = CmbTeacher->currentIndex() >= 0 ? CmbTeacher->currentData().toInt() : 0;
    c.absent = ChkAbsent->isChecked();
    c.perFrom = CmbPerFrom->currentText();
    c.perTo = CmbPerTo->currentText();
    return c;
}

void frmTeacherAtt::FillList(int teacherid)
{
    if (book_.fillList(teacherid, controls()))
        ShowLines();
}

void frmTeacherAtt::ShowLines()
{
    LvwAtt->clear();
    for (const StatusLine &l : book_.lines()) {
        auto *item = new QTreeWidgetItem(LvwAtt, {l.status, l.teacherName, l.perFrom, l.perTo, l.date});
        if (l.onLeave)
            for (int c = 0; c < LvwAtt->columnCount(); ++c)
                item->setForeground(c, kLeaveGrey);
    }
    ChkAbsent->setEnabled(book_.editable());
    cmdSave->setEnabled(book_.editable());
}

void frmTeacherAtt::MakeCmbNill()
{
    CmbPerFrom->setCurrentIndex(-1);
    CmbPerTo->setCurrentIndex(-1);
    ChkAbsent->setChecked(false);
}

void frmTeacherAtt::DTP_Change()
{
    MakeCmbNill();
    CmbTeacher->setCurrentIndex(-1);
    FillList(-1);
}

void frmTeacherAtt::CmbTeacher_Click()
{
    if (CmbTeacher->currentIndex() < 0)
        return;
    MakeCmbNill();
    FillList(CmbTeacher->currentData().toInt());
}

void frmTeacherAtt::ChkAbsent_Click()
{
    if (ChkAbsent->isChecked()) {
        CmbPerFrom->setCurrentIndex(CmbPerFrom->findText(QStringLiteral("1")));
        CmbPerTo->setCurrentIndex(CmbPerTo->findText(QStringLiteral("9")));
    } else {
        CmbPerFrom->setCurrentIndex(-1);
        CmbPerTo->setCurrentIndex(-1);
    }
    // The teacher's line follows the box at once, so it always shows what Save writes.
    CmbPeriod_Click();
}

void frmTeacherAtt::CmbPeriod_Click()
{
    // Without a chosen teacher there is no single line to show: list the date instead.
    FillList(CmbTeacher->currentIndex() >= 0 ? CmbTeacher->currentData().toInt() : -1);
}

void frmTeacherAtt::CmdShow_Click() { FillList(-1); }

void frmTeacherAtt::LvwAtt_ColumnClick(int column)
{
    sortOrder_ = (column == sortColumn_ && sortOrder_ == Qt::AscendingOrder) ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    sortColumn_ = column;
    LvwAtt->sortItems(column, sortOrder_);
    LvwAtt->header()->setSortIndicatorShown(true);
    LvwAtt->header()->setSortIndicator(column, sortOrder_);
}

void frmTeacherAtt::cmdSave_Click()
{
    AttendanceBook::Focus focus = AttendanceBook::Focus::None;
    const AttendanceBook::Result r = book_.save(controls(), &focus);
    if (focus == AttendanceBook::Focus::PerFrom)
        CmbPerFrom->setFocus();
    else if (focus == AttendanceBook::Focus::PerTo)
        CmbPerTo->setFocus();
    if (r == AttendanceBook::Result::Saved)
        ShowLines(); // the book has listed the whole date
}
