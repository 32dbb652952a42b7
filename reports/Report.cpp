#include "Report.h"
#include "TimetableCheck.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolBar>
#include <memory>

namespace rpt {

namespace {

Report::PreviewHandler &previewHandler()
{
    static Report::PreviewHandler h;
    return h;
}

const QRegularExpression &identifier()
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re;
}

// Reads the value side of a formula or selection: 'text', Date (y,m,d) or a whole number.
bool parseValue(const QString &raw, QVariant *value, QString *error)
{
    const QString v = raw.trimmed();
    if (v.startsWith(QLatin1Char('\''))) {
        QString text;
        int i = 1;
        for (; i < v.size(); ++i) {
            if (v[i] == QLatin1Char('\'')) {
                if (i + 1 < v.size() && v[i + 1] == QLatin1Char('\'')) {
                    text += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                break;
            }
            text += v[i];
        }
        if (i >= v.size()) {
            *error = QStringLiteral("the text has no closing quote");
            return false;
        }
        if (i != v.size() - 1) {
            *error = QStringLiteral("something follows the closing quote");
            return false;
        }
        *value = text;
        return true;
    }
    static const QRegularExpression date(
        QStringLiteral("^date\\s*\\(\\s*(\\d{4})\\s*,\\s*(\\d{1,2})\\s*,\\s*(\\d{1,2})\\s*\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = date.match(v);
    if (m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!d.isValid()) {
            *error = QStringLiteral("%1 is not a date of the calendar").arg(v);
            return false;
        }
        *value = d;
        return true;
    }
    static const QRegularExpression number(QStringLiteral("^-?\\d{1,18}$"));
    if (number.match(v).hasMatch()) {
        *value = v.toLongLong();
        return true;
    }
    *error = v.isEmpty() ? QStringLiteral("the value is missing")
                         : QStringLiteral("%1 is neither a quoted text, a Date (y,m,d) nor a number").arg(v);
    return false;
}

QString display(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return DisplayDate(v.toDate());
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (d == static_cast<double>(static_cast<long long>(d)))
            return QString::number(static_cast<long long>(d));
        return QString::number(d, 'f', 1);
    }
    return v.toString();
}

QVariant bindable(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return IsoDate(v.toDate());
    return v;
}

// Line breaks and runs of blanks as the template's author wrote them.
QString htmlLines(const QString &plain)
{
    return plain.toHtmlEscaped()
        .replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"))
        .replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

using Scope = QHash<QString, QVariant>;

Scope rowScope(const Recordset &rs, int row)
{
    Scope s;
    for (int c = 0; c < rs.fieldCount(); ++c)
        s.insert(rs.fieldName(c).toLower(), rs.rows().at(row).value(c));
    return s;
}

// Turns a template into HTML for QTextDocument.
class Renderer {
public:
    Renderer(const Template &t, const QString &fileName) : t_(t), file_(fileName) {}

    Scope globals;
    const ReadOnlySession *session = nullptr; // every query of the template runs here
    QString selectionExpr; // empty: no selection
    QVariant selectionValue;
    QString html;
    QString error;

    bool run()
    {
        scopes_.clear();
        scopes_.push_back(globals);
        return emitRange(0, t_.blocks.size());
    }

private:
    bool fail(int line, const QString &why)
    {
        error = QStringLiteral("%1, line %2: %3").arg(file_).arg(line).arg(why);
        return false;
    }

    bool lookup(const QString &name, QVariant *v) const
    {
        const QString key = name.toLower();
        for (int i = scopes_.size() - 1; i >= 0; --i) {
            auto it = scopes_[i].constFind(key);
            if (it != scopes_[i].constEnd()) {
                *v = *it;
                return true;
            }
        }
        return false;
    }

    // Replaces {name} by its value; an unknown name is a fault of the template.
    bool fill(const QString &text, int line, QString *out)
    {
        out->clear();
        int i = 0;
        while (i < text.size()) {
            const int open = text.indexOf(QLatin1Char('{'), i);
            if (open < 0) {
                *out += text.mid(i);
                break;
            }
            const int close = text.indexOf(QLatin1Char('}'), open);
            if (close < 0)
                return fail(line, QStringLiteral("a { without its }"));
            *out += text.mid(i, open - i);
            const QString name = text.mid(open + 1, close - open - 1).trimmed();
            QVariant v;
            if (!lookup(name, &v))
                return fail(line, QStringLiteral("{%1} is neither a column of the query nor a formula").arg(name));
            *out += display(v);
            i = close + 1;
        }
        return true;
    }

    // :name marks become bound values and {selection} the selection's bound condition;
    // quoted literals of the query are passed over untouched.
    bool prepare(const QString &sql, int line, QString *out, QVariantList *params)
    {
        out->clear();
        params->clear();
        const int n = sql.size();
        int i = 0;
        while (i < n) {
            const QChar c = sql[i];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                const int end = sql.indexOf(c, i + 1);
                if (end < 0)
                    return fail(line, QStringLiteral("a quote in the query is not closed"));
                *out += sql.mid(i, end - i + 1);
                i = end + 1;
                continue;
            }
            // {query:name}: a query the program defines once for a report and a tool alike.
            if (c == QLatin1Char('{') && sql.mid(i, 7).compare(QLatin1String("{query:"), Qt::CaseInsensitive) == 0) {
                const int close = sql.indexOf(QLatin1Char('}'), i);
                const QString name = close < 0 ? QString() : sql.mid(i + 7, close - i - 7).trimmed();
                const QString named = check::NamedQuery(name);
                if (named.isEmpty())
                    return fail(line, QStringLiteral("{query:%1} names no query of the program").arg(name));
                *out += QStringLiteral("(") + named + QStringLiteral(")");
                i = close + 1;
                continue;
            }
            if (c == QLatin1Char('{') && sql.mid(i, 11).compare(QLatin1String("{selection}"), Qt::CaseInsensitive) == 0) {
                if (selectionExpr.isEmpty()) {
                    *out += QStringLiteral("1 = 1");
                } else {
                    *out += QStringLiteral("(") + selectionExpr + QStringLiteral(" = ?)");
                    *params << bindable(selectionValue);
                }
                i += 11;
                continue;
            }
            if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))
                && (i == 0 || sql[i - 1] != QLatin1Char(':'))) {
                int j = i + 1;
                while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                    ++j;
                const QString name = sql.mid(i + 1, j - i - 1);
                QVariant v;
                if (!lookup(name, &v))
                    return fail(line, QStringLiteral(":%1 is neither a column of the query above nor a formula").arg(name));
                *out += QLatin1Char('?');
                *params << bindable(v);
                i = j;
                continue;
            }
            *out += c;
            ++i;
        }
        return true;
    }

    bool query(const QString &sql, int line, Recordset *rs)
    {
        QString text;
        QVariantList params;
        if (!prepare(sql, line, &text, &params))
            return false;
        bool triedToWrite = false;
        *rs = session->query(text, params, &triedToWrite);
        if (triedToWrite)
            return fail(line, QStringLiteral("the query would change the school's data; a report may only read it"));
        if (!rs->ok())
            return fail(line, QStringLiteral("the query failed: %1").arg(rs->error()));
        return true;
    }

    QString breakStyle()
    {
        if (!pendingBreak_)
            return QString();
        pendingBreak_ = false;
        return QStringLiteral("page-break-before: always;");
    }

    void paragraph(const QString &style, const QString &align, const QString &innerHtml)
    {
        QString css;
        if (style == QLatin1String("heading"))
            css = QStringLiteral("font-size: 18pt; font-weight: bold; margin-top: 0px; margin-bottom: 2px;");
        else if (style == QLatin1String("title"))
            css = QStringLiteral("font-size: 14pt; font-weight: bold; margin-top: 4px; margin-bottom: 6px;");
        else if (style == QLatin1String("subtitle"))
            css = QStringLiteral("font-size: 11pt; font-weight: bold; margin-top: 10px; margin-bottom: 2px;");
        else if (style == QLatin1String("small"))
            css = QStringLiteral("font-size: 8pt; color: #505050; margin-top: 0px; margin-bottom: 6px;");
        else
            css = QStringLiteral("font-size: 10pt; margin-top: 2px; margin-bottom: 4px;");
        html += QStringLiteral("<p align=\"%1\" style=\"%2%3\">%4</p>\n").arg(align, breakStyle(), css, innerHtml);
    }

    bool emitText(const Block &b)
    {
        bool pushed = false;
        if (!b.query.isEmpty()) {
            Recordset rs;
            if (!query(b.query, b.line, &rs))
                return false;
            if (rs.RecordCount() == 0) {
                if (!b.empty.isEmpty()) {
                    QString t;
                    if (!fill(b.empty, b.line, &t))
                        return false;
                    paragraph(b.style, b.align, htmlLines(t));
                }
                return true;
            }
            scopes_.push_back(rowScope(rs, 0));
            pushed = true;
        }
        QString t;
        const bool ok = fill(b.text, b.line, &t);
        if (ok)
            paragraph(b.style, b.align, htmlLines(t));
        if (pushed)
            scopes_.pop_back();
        return ok;
    }

    QString tableOpen()
    {
        return QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                              "style=\"%1border-collapse: collapse; border-color: #707070; "
                              "margin-top: 4px; margin-bottom: 10px;\">\n")
            .arg(breakStyle());
    }

    bool emitTable(const Block &b)
    {
        Recordset rs;
        if (!query(b.query, b.line, &rs))
            return false;
        if (rs.RecordCount() == 0) {
            QString t;
            if (!fill(b.empty.isEmpty() ? QStringLiteral("No records.") : b.empty, b.line, &t))
                return false;
            html += QStringLiteral("<p style=\"%1font-size: 10pt; font-style: italic; margin-top: 6px;\">%2</p>\n")
                        .arg(breakStyle(), htmlLines(t));
            return true;
        }
        html += tableOpen();
        html += QStringLiteral("<thead><tr>");
        for (const Column &c : b.columns) {
            html += QStringLiteral("<th bgcolor=\"#d8d8d8\" align=\"%1\"%2 style=\"font-size: 9pt;\">%3</th>")
                        .arg(c.align,
                             c.width.isEmpty() ? QString() : QStringLiteral(" width=\"%1\"").arg(c.width),
                             htmlLines(c.caption));
        }
        html += QStringLiteral("</tr></thead>\n");
        for (int r = 0; r < rs.RecordCount(); ++r) {
            scopes_.push_back(rowScope(rs, r));
            html += r % 2 ? QStringLiteral("<tr bgcolor=\"#f2f2f2\">") : QStringLiteral("<tr>");
            for (const Column &c : b.columns) {
                QString t;
                if (!fill(c.text, b.line, &t)) {
                    scopes_.pop_back();
                    return false;
                }
                html += QStringLiteral("<td align=\"%1\" style=\"font-size: 9pt;\">%2</td>").arg(c.align, htmlLines(t));
            }
            html += QStringLiteral("</tr>\n");
            scopes_.pop_back();
        }
        html += QStringLiteral("</table>\n");
        return true;
    }

    bool emitGrid(const Block &b)
    {
        Recordset rs;
        if (!query(b.query, b.line, &rs))
            return false;
        if (rs.fieldIndex(QStringLiteral("weekday")) < 0 || rs.fieldIndex(QStringLiteral("period")) < 0)
            return fail(b.line, QStringLiteral("the query of a [grid] must give the columns weekday and period"));

        QMap<int, QStringList> cells; // period * 6 + weekday -> lessons
        int used = 0;
        for (int r = 0; r < rs.RecordCount(); ++r) {
            const Scope row = rowScope(rs, r);
            const int day = row.value(QStringLiteral("weekday")).toInt();
            const int period = row.value(QStringLiteral("period")).toInt();
            if (day < 0 || day > 5 || period < 0 || period > 8)
                continue;
            scopes_.push_back(row);
            QStringList lines;
            bool first = true;
            for (const QString &line : b.cell) {
                QString t;
                if (!fill(line, b.line, &t)) {
                    scopes_.pop_back();
                    return false;
                }
                // The first line of a lesson (the subject or the class) stands out.
                if (!t.trimmed().isEmpty())
                    lines << (first ? QStringLiteral("<b>%1</b>").arg(t.toHtmlEscaped()) : t.toHtmlEscaped());
                first = false;
            }
            scopes_.pop_back();
            cells[period * 6 + day] << lines.join(QStringLiteral("<br>"));
            used = qMax(used, period + 1);
        }

        // Periods a day per week-day; cells beyond a day's periods are shaded.
        QMap<int, int> open;
        int periods = used;
        if (!b.days.isEmpty()) {
            Recordset d;
            if (!query(b.days, b.line, &d))
                return false;
            if (d.RecordCount() > 0 && (d.fieldIndex(QStringLiteral("weekday")) < 0 || d.fieldIndex(QStringLiteral("periods")) < 0))
                return fail(b.line, QStringLiteral("the days query of a [grid] must give the columns weekday and periods"));
            for (; !d.eof(); d.moveNext()) {
                const int n = qBound(0, d.integer(QStringLiteral("periods")), 9);
                open[d.integer(QStringLiteral("weekday"))] = n;
                periods = qMax(periods, n);
            }
        }
        // Without period systems to go by, the whole day of nine periods.
        if (open.isEmpty())
            periods = 9;

        QStringList times;
        if (!b.times.isEmpty()) {
            Recordset ps;
            if (!query(b.times, b.line, &ps))
                return false;
            // Times only when the page follows one period system all week.
            if (ps.RecordCount() == 1) {
                for (const char *col : {"p_start", "p_duration", "p_before_rec", "rec_duration"})
                    if (ps.fieldIndex(QLatin1String(col)) < 0)
                        return fail(b.line, QStringLiteral("the times query must give p_start, p_duration, "
                                                           "p_before_rec and rec_duration"));
                times = PeriodTimes(ps.text(QStringLiteral("p_start")), ps.integer(QStringLiteral("p_duration")),
                                    ps.integer(QStringLiteral("p_before_rec")),
                                    ps.integer(QStringLiteral("rec_duration")), periods);
            }
        }

        // A week of nine periods must still fit one page: a narrow day column leaves the
        // lessons room for their subject and teacher without breaking words.
        const int cellWidth = 90 / periods;
        const int dayWidth = 100 - cellWidth * periods;
        html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"5\" "
                               "style=\"%1border-collapse: collapse; border-color: #505050; margin-top: 6px;\">\n")
                    .arg(breakStyle());
        html += QStringLiteral("<thead><tr><th bgcolor=\"#d8d8d8\" width=\"%1%\" style=\"font-size: 9pt;\">Day</th>")
                    .arg(dayWidth);
        for (int p = 0; p < periods; ++p) {
            QString head = PeriodRomanText(p);
            if (p < times.size())
                head += QStringLiteral("<br><span style=\"font-size: 7pt; font-weight: normal;\">%1</span>")
                            .arg(times[p].toHtmlEscaped());
            html += QStringLiteral("<th bgcolor=\"#d8d8d8\" width=\"%1%\" style=\"font-size: 10pt;\">%2</th>")
                        .arg(cellWidth)
                        .arg(head);
        }
        html += QStringLiteral("</tr></thead>\n");
        for (int d = 0; d < 6; ++d) {
            html += QStringLiteral("<tr><td bgcolor=\"#ececec\" valign=\"middle\" style=\"font-size: 10pt; font-weight: bold;\">%1</td>")
                        .arg(DayName(d).toHtmlEscaped());
            for (int p = 0; p < periods; ++p) {
                const QStringList lessons = cells.value(p * 6 + d);
                const bool closed = !open.isEmpty() && lessons.isEmpty() && p >= open.value(d, 0);
                html += QStringLiteral("<td align=\"center\" valign=\"middle\"%1 style=\"font-size: 9pt;\">%2</td>")
                            .arg(closed ? QStringLiteral(" bgcolor=\"#d0d0d0\"") : QString(),
                                 lessons.isEmpty() ? QStringLiteral("&nbsp;<br>&nbsp;<br>&nbsp;")
                                                   : lessons.join(QStringLiteral("<br>&#8212;<br>")));
            }
            html += QStringLiteral("</tr>\n");
        }
        html += QStringLiteral("</table>\n");
        return true;
    }

    static QString PeriodRomanText(int p)
    {
        static const char *roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
        return p >= 0 && p < 9 ? QString::fromLatin1(roman[p]) : QString::number(p + 1);
    }

    int groupEnd(int from) const
    {
        for (int j = from; j < t_.blocks.size(); ++j)
            if (t_.blocks[j].kind == Block::End)
                return j;
        return t_.blocks.size();
    }

    bool emitRange(int from, int to)
    {
        for (int i = from; i < to; ++i) {
            const Block &b = t_.blocks[i];
            switch (b.kind) {
            case Block::Text:
                if (!emitText(b))
                    return false;
                break;
            case Block::Table:
                if (!emitTable(b))
                    return false;
                break;
            case Block::Grid:
                if (!emitGrid(b))
                    return false;
                break;
            case Block::End:
                break;
            case Block::Each: {
                const int end = groupEnd(i + 1);
                Recordset rs;
                if (!query(b.query, b.line, &rs))
                    return false;
                if (rs.RecordCount() == 0 && !b.empty.isEmpty()) {
                    QString t;
                    if (!fill(b.empty, b.line, &t))
                        return false;
                    paragraph(QStringLiteral("normal"), QStringLiteral("left"), htmlLines(t));
                }
                for (int r = 0; r < rs.RecordCount(); ++r) {
                    if (b.newPage && r > 0)
                        pendingBreak_ = true;
                    scopes_.push_back(rowScope(rs, r));
                    const bool ok = emitRange(i + 1, end);
                    scopes_.pop_back();
                    if (!ok)
                        return false;
                }
                i = end;
                break;
            }
            }
        }
        return true;
    }

    const Template &t_;
    QString file_;
    QVector<Scope> scopes_;
    bool pendingBreak_ = false;
};

QPageLayout pageLayoutFor(bool landscape)
{
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

} // namespace

bool ParseFormula(const QString &assignment, QString *name, QVariant *value, QString *error)
{
    const int eq = assignment.indexOf(QLatin1Char('='));
    const QString left = eq < 0 ? QString() : assignment.left(eq).trimmed();
    if (eq < 0 || !identifier().match(left).hasMatch()) {
        *error = QStringLiteral("\"%1\" is not written as name = value").arg(assignment);
        return false;
    }
    QString why;
    if (!parseValue(assignment.mid(eq + 1), value, &why)) {
        *error = QStringLiteral("the formula %1: %2").arg(left, why);
        return false;
    }
    *name = left;
    return true;
}

bool ParseSelection(const QString &selection, QString *field, QVariant *value, QString *error)
{
    field->clear();
    *value = QVariant();
    const QString s = selection.trimmed();
    if (s.isEmpty())
        return true;
    static const QRegularExpression form(
        QStringLiteral("^\\{\\s*([A-Za-z_][A-Za-z0-9_]*\\.[A-Za-z_][A-Za-z0-9_]*)\\s*\\}\\s*=(.*)$"));
    const QRegularExpressionMatch m = form.match(s);
    if (!m.hasMatch()) {
        *error = QStringLiteral("The selection formula \"%1\" cannot be read: it must be {table.field} = value.").arg(s);
        return false;
    }
    QString why;
    if (!parseValue(m.captured(2), value, &why)) {
        *error = QStringLiteral("The selection formula \"%1\" cannot be read: %2.").arg(s, why);
        return false;
    }
    *field = m.captured(1);
    return true;
}

QString TextFormula(const QString &name, const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return name + QStringLiteral(" = '") + quoted + QLatin1Char('\'');
}

QString DateLiteral(const QDate &date) { return QStringLiteral("Date (") + date.toString(QStringLiteral("yyyy,MM,dd")) + QLatin1Char(')'); }

QString DateFormula(const QString &name, const QDate &date) { return name + QStringLiteral(" = ") + DateLiteral(date); }

QStringList PeriodTimes(const QString &start, int duration, int beforeRecess, int recess, int periods)
{
    const QStringList parts = start.split(QLatin1Char(':'));
    int h = parts.value(0).trimmed().toInt();
    int m = parts.size() > 1 ? parts[1].trimmed().toInt() : 0;
    auto text = [](int hour, int minute) {
        return QStringLiteral("%1:%2").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
    };
    auto advance = [&](int minutes) {
        m += minutes;
        while (m >= 60) {
            m -= 60;
            ++h;
            if (h > 12)
                h -= 12;
        }
    };
    QStringList out;
    for (int p = 0; p < periods; ++p) {
        if (p == beforeRecess)
            advance(recess);
        const QString from = text(h, m);
        advance(duration);
        out << from + QLatin1Char('-') + text(h, m);
    }
    return out;
}

int PaintDocument(const QTextDocument &source, QPagedPaintDevice *device, const QString &footer)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);
    const qreal scale = device->logicalDpiY() / 96.0;
    const QRectF area = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const qreal footerHeight = 26 * scale;
    const QSizeF body(area.width(), area.height() - footerHeight);
    doc->setPageSize(body);
    const int pages = doc->pageCount();

    QPainter p;
    if (!p.begin(device))
        return 0;
    QFont small(doc->defaultFont());
    small.setPointSizeF(7.5);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device->newPage();
        p.save();
        p.translate(0, -page * body.height());
        doc->drawContents(&p, QRectF(0, page * body.height(), body.width(), body.height()));
        p.restore();

        const qreal y = body.height() + 8 * scale;
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.7 * scale));
        p.drawLine(QPointF(0, y), QPointF(body.width(), y));
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.setFont(small);
        const QRectF line(0, y + 2 * scale, body.width(), footerHeight - 10 * scale);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, footer);
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    }
    p.end();
    return pages;
}

void Report::SetPreviewHandler(PreviewHandler handler) { previewHandler() = std::move(handler); }

void Report::setFormula(int slot, const QString &assignment)
{
    if (assignment.isEmpty())
        formulas_.remove(slot);
    else
        formulas_.insert(slot, assignment);
}

bool Report::fail(const QString &why)
{
    error_ = why;
    return false;
}

QString Report::footer() const
{
    return tpl_.title + QStringLiteral("  \u2022  printed ") + DisplayDate(QDate::currentDate());
}

bool Report::render(QTextDocument *doc)
{
    error_.clear();
    tpl_ = Template();
    if (file_.isEmpty())
        return fail(QStringLiteral("No report template was given."));
    if (!LoadTemplate(file_, &tpl_, &error_))
        return false;
    const QString name = QFileInfo(file_).fileName();

    // The connection names the registered data source; its rows come through Conn.
    QString dsn = QStringLiteral("school");
    for (const QString &part : connect_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("dsn"), Qt::CaseInsensitive) == 0)
            dsn = part.mid(eq + 1).trimmed();
    }
    if (DataSourceFile(dsn).isEmpty())
        return fail(QStringLiteral("The data source %1 is not registered.").arg(dsn));
    if (!Conn().isOpen())
        return fail(QStringLiteral("The database is not open."));

    Renderer r(tpl_, name);
    for (const FormulaDecl &f : tpl_.formulas) {
        QVariant v = QString();
        QString why;
        if (!f.value.isEmpty() && !parseValue(f.value, &v, &why))
            return fail(QStringLiteral("%1: the formula %2 of the template: %3").arg(name, f.name, why));
        r.globals.insert(f.name.toLower(), v);
    }
    for (auto it = formulas_.constBegin(); it != formulas_.constEnd(); ++it) {
        QString fname, why;
        QVariant v;
        if (!ParseFormula(it.value(), &fname, &v, &why))
            return fail(QStringLiteral("Formula %1 cannot be read: %2.").arg(it.key()).arg(why));
        if (!tpl_.formula(fname))
            return fail(QStringLiteral("The report %1 has no formula named %2.").arg(name, fname));
        r.globals.insert(fname.toLower(), v);
    }
    r.globals.insert(QStringLiteral("printed"), QDate::currentDate());
    r.globals.insert(QStringLiteral("title"), tpl_.title);

    QString field, why;
    QVariant value;
    if (!ParseSelection(selection_, &field, &value, &why))
        return fail(why);
    if (!field.isEmpty()) {
        const FieldDecl *decl = tpl_.field(field);
        if (!decl || !tpl_.takesSelection())
            return fail(QStringLiteral("The report %1 cannot select records by {%2}.").arg(name, field));
        r.selectionExpr = decl->expr;
        r.selectionValue = value;
    }

    // The template's statements are the template author's, not the program's: they read
    // through a connection that cannot write.
    const ReadOnlySession session;
    if (!session.ok())
        return fail(QStringLiteral("The report %1 cannot read the database: %2").arg(name, session.error()));
    r.session = &session;
    if (!r.run())
        return fail(r.error);

    doc->clear();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    doc->setDefaultFont(font);
    doc->setMetaInformation(QTextDocument::DocumentTitle, tpl_.title);
    doc->setHtml(QStringLiteral("<html><body>") + r.html + QStringLiteral("</body></html>"));
    return true;
}

bool Report::exportPdf(const QString &file, int *pages)
{
    QTextDocument doc;
    if (!render(&doc))
        return false;
    QPdfWriter writer(file);
    writer.setPageLayout(pageLayoutFor(landscape()));
    writer.setTitle(tpl_.title);
    writer.setCreator(QStringLiteral("Horalux"));
    const int n = PaintDocument(doc, &writer, footer());
    if (n == 0)
        return fail(QStringLiteral("The PDF file %1 cannot be written.").arg(file));
    if (pages)
        *pages = n;
    return true;
}

bool Report::start()
{
    QTextDocument doc;
    if (!render(&doc)) {
        hx::MsgBox(error_);
        return false;
    }
    if (previewHandler()) {
        previewHandler()(*this, doc);
        return true;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutFor(landscape()));
    printer.setDocName(tpl_.title);
    QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
    preview.setWindowTitle(tpl_.title);
    const QString foot = footer();
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&doc, foot](QPrinter *p) { PaintDocument(doc, p, foot); });
    if (auto *bar = preview.findChild<QToolBar *>()) {
        bar->addSeparator();
        QAction *save = bar->addAction(QStringLiteral("Save as PDF..."));
        save->setObjectName(QStringLiteral("actSavePdf"));
        QObject::connect(save, &QAction::triggered, &preview, [this, &preview] {
            const QString file = QFileDialog::getSaveFileName(&preview, QStringLiteral("Save as PDF"),
                                                              tpl_.title + QStringLiteral(".pdf"),
                                                              QStringLiteral("PDF files (*.pdf)"));
            if (!file.isEmpty() && !exportPdf(file))
                hx::MsgBox(error_);
        });
    }
    if (windowState_ == Maximized)
        preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
    return true;
}

} // namespace rpt
