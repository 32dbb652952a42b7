#include "FrmSubstitutionStats.h"

#include "FrmReports.h"
#include "Platform.h"
#include "Report.h"
#include "ReportRunner.h"

#include <QDateEdit>
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

    const DatePrintControls c =
        AddDatePrintControls(this, QStringLiteral("&Since"), QStringLiteral("lblSince"), QStringLiteral("DTPSince"));
    DTPSince = c.date;
    CmdPrint = c.print;
    CmdExit = c.exit;
    // The start of the year unless the user says otherwise.
    DTPSince->setDate(QDate(QDate::currentDate().year(), 1, 1));

    connect(CmdPrint, &QPushButton::clicked, this, &FrmSubstitutionStats::CmdPrint_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    setFixedSize(sizeHint().expandedTo(QSize(hx::Twips(4200), hx::Twips(1700))));
}

void FrmSubstitutionStats::CmdPrint_Click() { SubstitutionStatistics::Print(DTPSince->date()); }
