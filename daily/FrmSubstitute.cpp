#include "FrmSubstitute.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
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

enum { RoleTeacher = Qt::UserRole, RolePeriod };
const QColor kNotFreeRed(190, 0, 0);
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

    CmdSave = new QPushButton(QStringLiteral("&Save"), this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));

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

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdExit);
    auto *box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(LvwSub);
    box->addLayout(grid);
    box->addLayout(buttons);

    connect(DTP, &QDateEdit::dateChanged, this, &FrmSubstitute::DTP_Change);
    connect(LvwSub, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { LvwSub_ItemClick(item); });
    connect(CmdSave, &QPushButton::clicked, this, &FrmSubstitute::CmdSave_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });

    // Form_Load
    FillList();
}

void FrmSubstitute::CalculateDay()
{
    lblDay->setText(SubstitutionBook::DayLabel(SubstitutionBook::WeekDayNumber(DTP->date())));
}

void FrmSubstitute::FillList()
{
    CalculateDay();
    LvwSub->clear();
    for (const CoverLine &l : SubstitutionBook::periodsToCover(DTP->date())) {
        // A substitute who is away or teaching by now is shown with the reason, in red, so the
        // period is seen to need another teacher.
        const QString by = l.substituteNotFree.isEmpty()
                               ? l.substituteName
                               : l.substituteName + QStringLiteral(" (not free: ") + l.substituteNotFree + QLatin1Char(')');
        auto *item = new QTreeWidgetItem(LvwSub, {l.teacherName, l.classSection, QString::number(l.weekday + 1),
                                                  QString::number(l.period + 1), by});
        if (!l.substituteNotFree.isEmpty())
            for (int c = 0; c < LvwSub->columnCount(); ++c) {
                item->setForeground(c, kNotFreeRed);
                item->setToolTip(c, QStringLiteral("The substitute is not free in this period any more: choose another"));
            }
        item->setData(0, RoleTeacher, l.teacherid);
        item->setData(0, RolePeriod, l.period);
    }
}

void FrmSubstitute::DTP_Change()
{
    // The clicked line belongs to the old date: forget it, so Save cannot carry it over.
    ClearFormControls(this);
    CmbSubstitute->clear();
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
    const AwayStatus a = SubstitutionBook::awayStatus(absentTeacher_, DTP->date(), period_);
    TxtStatus->setText(a.found ? a.modetype : QString());
    TxtPerFrom->setText(a.found ? QString::number(a.perFrom) : QString());
    TxtPerTo->setText(a.found ? QString::number(a.perTo) : QString());
    CalFreeTeacher();
}

void FrmSubstitute::CalFreeTeacher()
{
    CmbSubstitute->clear();
    // The empty first item is "no substitute": choosing it and saving removes the one recorded.
    CmbSubstitute->addItem(QString(), 0);
    for (const FreeTeacher &t : SubstitutionBook::freeTeachers(DTP->date(), period_))
        CmbSubstitute->addItem(t.name, t.teacherid);
    CmbSubstitute->setCurrentIndex(-1);
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
