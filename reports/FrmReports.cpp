#include "FrmReports.h"

#include "Platform.h"
#include "Report.h"
#include "ReportRunner.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QString SubstitutionSlip::Selection(const QDate &date)
{
    return QStringLiteral("{Substitute.Dt}=") + rpt::DateLiteral(date);
}

QStringList SubstitutionSlip::Formulas(const QDate &date)
{
    return {rpt::DateFormula(QStringLiteral("Dt"), date)};
}

bool SubstitutionSlip::Print(const QDate &date)
{
    return rpt::RunTemplate(QStringLiteral("substitute.rpt"), Selection(date), Formulas(date));
}

FrmReports::FrmReports(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmReports"));
    setWindowTitle(QStringLiteral("Substitution Slip"));

    auto *label = new QLabel(QStringLiteral("Date"), this);
    label->setObjectName(QStringLiteral("Label1"));
    DTP = new QDateEdit(this);
    DTP->setObjectName(QStringLiteral("DTP"));
    DTP->setCalendarPopup(true);
    DTP->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    label->setBuddy(DTP);
    CmdPrint = new QPushButton(QStringLiteral("&Print "), this);
    CmdPrint->setObjectName(QStringLiteral("CmdPrint"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(hx::Twips(240), hx::Twips(240), hx::Twips(240), hx::Twips(240));
    grid->setHorizontalSpacing(hx::Twips(180));
    grid->setVerticalSpacing(hx::Twips(240));
    grid->addWidget(label, 0, 0);
    grid->addWidget(DTP, 0, 1, 1, 2);
    grid->addWidget(CmdPrint, 1, 1);
    grid->addWidget(CmdExit, 1, 2);
    setTabOrder(DTP, CmdPrint);
    setTabOrder(CmdPrint, CmdExit);

    connect(CmdPrint, &QPushButton::clicked, this, &FrmReports::CmdPrint_Click);
    connect(CmdExit, &QPushButton::clicked, this, &FrmReports::CmdExit_Click);
    Form_Load();
}

void FrmReports::Form_Load()
{
    DTP->setDate(QDate::currentDate());
    setFixedSize(sizeHint().expandedTo(QSize(hx::Twips(4200), hx::Twips(1700))));
}

void FrmReports::CmdPrint_Click() { SubstitutionSlip::Print(DTP->date()); }

void FrmReports::CmdExit_Click() { hx::CloseWindow(this); }
