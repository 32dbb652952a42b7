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

DatePrintControls AddDatePrintControls(QWidget *window, const QString &caption, const QString &labelName,
                                       const QString &dateName)
{
    DatePrintControls c;
    c.label = new QLabel(caption, window);
    c.label->setObjectName(labelName);
    c.date = new QDateEdit(window);
    c.date->setObjectName(dateName);
    c.date->setCalendarPopup(true);
    c.date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    c.label->setBuddy(c.date);
    c.print = new QPushButton(QStringLiteral("&Print "), window);
    c.print->setObjectName(QStringLiteral("CmdPrint"));
    c.exit = new QPushButton(QStringLiteral("E&xit"), window);
    c.exit->setObjectName(QStringLiteral("CmdExit"));

    auto *grid = new QGridLayout(window);
    grid->setContentsMargins(hx::Twips(240), hx::Twips(240), hx::Twips(240), hx::Twips(240));
    grid->setHorizontalSpacing(hx::Twips(180));
    grid->setVerticalSpacing(hx::Twips(240));
    grid->addWidget(c.label, 0, 0);
    grid->addWidget(c.date, 0, 1, 1, 2);
    grid->addWidget(c.print, 1, 1);
    grid->addWidget(c.exit, 1, 2);
    QWidget::setTabOrder(c.date, c.print);
    QWidget::setTabOrder(c.print, c.exit);
    return c;
}

FrmReports::FrmReports(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmReports"));
    setWindowTitle(QStringLiteral("Substitution Slip"));

    const DatePrintControls c =
        AddDatePrintControls(this, QStringLiteral("Date"), QStringLiteral("Label1"), QStringLiteral("DTP"));
    DTP = c.date;
    CmdPrint = c.print;
    CmdExit = c.exit;

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
