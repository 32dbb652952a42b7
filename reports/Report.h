#pragma once
// The report component: fills a report template from the database and shows it in a print
// preview (print or save as PDF from there), or writes it straight to a PDF file.
//
// A request sets numbered formula slots ("school = 'Name'", "Dt = Date (2026,12,05)"), the
// template file, the connection, optionally a record-selection formula such as
// "{classsection.classid} = 12", and starts. The selection never reaches the SQL as text: it
// is read into a field and a value, and the value is bound where the template's queries say
// {selection}.
#include "ReportTemplate.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>

class QTextDocument;
class QPagedPaintDevice;

namespace rpt {

// "name = 'text'", "name = Date (y,m,d)" or "name = 12". Text is returned as QString, a date
// as QDate, a number as qlonglong. Anything else is refused with a reason.
bool ParseFormula(const QString &assignment, QString *name, QVariant *value, QString *error);
// "{Table.Column} = value" with the values above; the empty text is no selection.
bool ParseSelection(const QString &selection, QString *field, QVariant *value, QString *error);

// The assignments as the callers write them; a quote inside the text is doubled.
QString TextFormula(const QString &name, const QString &text);
QString DateFormula(const QString &name, const QDate &date);
// "Date (2026,12,05)"
QString DateLiteral(const QDate &date);

// Bell times of a period system, one "8:00-8:40" per period, on the 12-hour clock the
// period system window shows.
QStringList PeriodTimes(const QString &start, int duration, int beforeRecess, int recess, int periods);

// Draws a document on pages of the device, with the report's title, the printing date and
// "Page n of m" at the foot of each page. Returns the number of pages.
int PaintDocument(const QTextDocument &doc, QPagedPaintDevice *device, const QString &footer);

class Report {
public:
    enum WindowState { Normal, Maximized };

    // Formula slots; an empty assignment leaves the slot unused.
    void setFormula(int slot, const QString &assignment);
    QString formula(int slot) const { return formulas_.value(slot); }
    void clearFormulas() { formulas_.clear(); }
    void setReportFileName(const QString &file) { file_ = file; }
    QString reportFileName() const { return file_; }
    // "dsn=school;uid=pilot;pwd=": the registered data source, reached through Conn.
    void setConnect(const QString &connect) { connect_ = connect; }
    void setSelectionFormula(const QString &selection) { selection_ = selection; }
    QString selectionFormula() const { return selection_; }
    void setWindowState(WindowState s) { windowState_ = s; }
    WindowState windowState() const { return windowState_; }

    // Fills the document from the template; false with lastError() on any fault.
    bool render(QTextDocument *doc);
    // The same rendering written to a PDF file without any window.
    bool exportPdf(const QString &file, int *pages = nullptr);
    // Shows the preview and returns when it is closed. A fault is shown in a message box.
    bool start();

    QString lastError() const { return error_; }
    // The template's title, known after a render.
    QString title() const { return tpl_.title; }
    bool landscape() const { return tpl_.orientation == QLatin1String("landscape"); }

    // Replaces the preview window (tests read the document here instead).
    using PreviewHandler = std::function<void(Report &, const QTextDocument &)>;
    static void SetPreviewHandler(PreviewHandler handler);

private:
    bool fail(const QString &why);
    QString footer() const;

    QMap<int, QString> formulas_;
    QString file_;
    QString connect_;
    QString selection_;
    WindowState windowState_ = Normal;
    Template tpl_;
    QString error_;
};

} // namespace rpt
