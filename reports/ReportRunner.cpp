#include "ReportRunner.h"

#include "Database.h"
#include "Platform.h"

namespace rpt {

Report &SharedReport()
{
    static Report report;
    return report;
}

QString ConnectString() { return QStringLiteral("dsn=school;uid=pilot;pwd="); }

QString SchoolFormula() { return TextFormula(QStringLiteral("school"), SchoolName); }

bool RunTemplate(const QString &templateFile, const QString &selection, const QStringList &extraFormulas)
{
    Report &report = SharedReport();
    // Nothing of an earlier request may carry over: a slip's date or selection would
    // otherwise restrict the next menu report.
    report.clearFormulas();
    report.setFormula(0, SchoolFormula());
    for (int i = 0; i < extraFormulas.size(); ++i)
        report.setFormula(i + 1, extraFormulas[i]);
    // Callers name the template; a folder written in front of the name is
    // the reports folder anyway.
    QString name = templateFile;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    report.setReportFileName(ReportPath + name.section(QLatin1Char('/'), -1));
    report.setConnect(ConnectString());
    report.setSelectionFormula(selection);
    report.setWindowState(Report::Maximized);
    const bool ok = report.start();
    report.setSelectionFormula(QString());
    return ok;
}

bool RunMenuReport(const QString &templateFile) { return RunTemplate(templateFile); }

void InstallReportRunner()
{
    hx::SetReportRunner([](const QString &templateFile, const QString &selection) {
        RunTemplate(templateFile, selection);
    });
}

} // namespace rpt
