#include "FrmSubstitutionStats.h"

#include "Platform.h"
#include "Report.h"
#include "ReportRunner.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QStringList SubstitutionStatistics::Formulas(const QDate &since, const QDate &today)
{
    return {rpt::DateFormula(QStringLiteral("Dt"), today), rpt::DateFormula(QStringLiteral("Since"), since)};
}

bool SubstitutionStatistics::Print(const QDate &since, const QDate &today)
{
    return rpt::RunTemplate(QStringLiteral("substats.rpt"), QString(), Formulas(since, today));
}

FrmSubstitutionStats::FrmSubstitutionStats(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmSubstitutionStats"));
    setWindowTitle(QStringLiteral("Substitution Statistics"));

    auto *label = new QLabel(QStringLiteral("&Since"), this);
    label->setObjectName(QStringLiteral("lblSince"));
    DTPSince = new QDateEdit(this);
    DTPSince->setObjectName(QStringLiteral("DTPSince"));
    DTPSince->setCalendarPopup(true);
    DTPSince->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    // The start of the year unless the user says otherwise.
    DTPSince->setDate(QDate(QDate::currentDate().year(), 1, 1));
    label->setBuddy(DTPSince);
    CmdPrint = new QPushButton(QStringLiteral("&Print "), this);
    CmdPrint->setObjectName(QStringLiteral("CmdPrint"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(hx::Twips(240), hx::Twips(240), hx::Twips(240), hx::Twips(240));
    grid->setHorizontalSpacing(hx::Twips(180));
    grid->setVerticalSpacing(hx::Twips(240));
    grid->addWidget(label, 0, 0);
    grid->addWidget(DTPSince, 0, 1, 1, 2);
    grid->addWidget(CmdPrint, 1, 1);
    grid->addWidget(CmdExit, 1, 2);
    setTabOrder(DTPSince, CmdPrint);
    setTabOrder(CmdPrint, CmdExit);

    connect(CmdPrint, &QPushButton::clicked, this, &FrmSubstitutionStats::CmdPrint_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    setFixedSize(sizeHint().expandedTo(QSize(hx::Twips(4200), hx::Twips(1700))));
}

void FrmSubstitutionStats::CmdPrint_Click() { SubstitutionStatistics::Print(DTPSince->date()); }
