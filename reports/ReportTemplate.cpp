#include "ReportTemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace rpt {

bool Template::takesSelection() const
{
    for (const Block &b : blocks)
        if (b.query.contains(QLatin1String("{selection}"), Qt::CaseInsensitive))
            return true;
    return false;
}

const FieldDecl *Template::field(const QString &name) const
{
    for (const FieldDecl &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const FormulaDecl *Template::formula(const QString &name) const
{
    for (const FormulaDecl &f : formulas)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

namespace {

struct Entry {
    QString key;
    QString value;
    int line = 0;
};

struct Section {
    QString name;
    int line = 0;
    QVector<Entry> entries;
};

bool isOneOf(const QString &v, std::initializer_list<const char *> allowed)
{
    for (const char *a : allowed)
        if (v == QLatin1String(a))
            return true;
    return false;
}

bool buildBlock(const Section &s, Template *t, QString *error)
{
    auto fail = [error](int line, const QString &why) {
        *error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return false;
    };
    if (s.name == QLatin1String("report")) {
        for (const Entry &e : s.entries) {
            const QString v = e.value.simplified();
            if (e.key == QLatin1String("title")) {
                t->title = v;
            } else if (e.key == QLatin1String("orientation")) {
                if (!isOneOf(v, {"portrait", "landscape"}))
                    return fail(e.line, QStringLiteral("orientation must be portrait or landscape"));
                t->orientation = v;
            } else if (e.key == QLatin1String("formula") || e.key == QLatin1String("field")) {
                const int eq = v.indexOf(QLatin1Char('='));
                const QString name = eq < 0 ? QString() : v.left(eq).trimmed();
                const QString rest = eq < 0 ? QString() : v.mid(eq + 1).trimmed();
                static const QRegularExpression id(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
                if (name.isEmpty() || !id.match(name).hasMatch())
                    return fail(e.line, QStringLiteral("%1 needs a name, \"=\" and a value").arg(e.key));
                if (e.key == QLatin1String("formula"))
                    t->formulas.push_back({name, rest});
                else if (rest.isEmpty())
                    return fail(e.line, QStringLiteral("field %1 needs the expression it stands for").arg(name));
                else
                    t->fields.push_back({name, rest});
            } else {
                return fail(e.line, QStringLiteral("unknown key \"%1\" in [report]").arg(e.key));
            }
        }
        return true;
    }

    Block b;
    b.line = s.line;
    if (s.name == QLatin1String("text"))
        b.kind = Block::Text;
    else if (s.name == QLatin1String("table"))
        b.kind = Block::Table;
    else if (s.name == QLatin1String("grid"))
        b.kind = Block::Grid;
    else if (s.name == QLatin1String("each"))
        b.kind = Block::Each;
    else if (s.name == QLatin1String("end"))
        b.kind = Block::End;
    else
        return fail(s.line, QStringLiteral("unknown section [%1]").arg(s.name));

    for (const Entry &e : s.entries) {
        const QString &k = e.key;
        const QString v = e.value.trimmed();
        auto allowed = [&](std::initializer_list<Block::Kind> kinds) {
            for (Block::Kind kind : kinds)
                if (kind == b.kind)
                    return true;
            return false;
        };
        if (k == QLatin1String("query") && allowed({Block::Text, Block::Table, Block::Grid, Block::Each})) {
            b.query = v;
        } else if (k == QLatin1String("empty") && allowed({Block::Text, Block::Table, Block::Each})) {
            b.empty = v;
        } else if (k == QLatin1String("text") && allowed({Block::Text})) {
            b.text = b.text.isEmpty() ? e.value : b.text + QLatin1Char('\n') + e.value;
        } else if (k == QLatin1String("style") && allowed({Block::Text})) {
            if (!isOneOf(v, {"heading", "title", "subtitle", "normal", "small"}))
                return fail(e.line, QStringLiteral("style must be heading, title, subtitle, normal or small"));
            b.style = v;
        } else if (k == QLatin1String("align") && allowed({Block::Text})) {
            if (!isOneOf(v, {"left", "center", "right"}))
                return fail(e.line, QStringLiteral("align must be left, center or right"));
            b.align = v;
        } else if (k == QLatin1String("column") && allowed({Block::Table})) {
            const QStringList parts = v.split(QLatin1Char('|'));
            if (parts.size() < 2 || parts.size() > 4)
                return fail(e.line, QStringLiteral("column needs: heading | cell text [| align [| width]]"));
            Column c;
            c.caption = parts[0].trimmed();
            c.text = parts[1].trimmed();
            if (parts.size() > 2) {
                c.align = parts[2].trimmed();
                if (!isOneOf(c.align, {"left", "center", "right"}))
                    return fail(e.line, QStringLiteral("a column's align must be left, center or right"));
            }
            if (parts.size() > 3) {
                c.width = parts[3].trimmed();
                static const QRegularExpression pct(QStringLiteral("^[0-9]{1,3}%$"));
                if (!pct.match(c.width).hasMatch())
                    return fail(e.line, QStringLiteral("a column's width is a percentage such as 20%"));
            }
            b.columns.push_back(c);
        } else if (k == QLatin1String("cell") && allowed({Block::Grid})) {
            b.cell.clear();
            for (const QString &part : v.split(QLatin1Char('|')))
                b.cell << part.trimmed();
        } else if (k == QLatin1String("days") && allowed({Block::Grid})) {
            b.days = v;
        } else if (k == QLatin1String("times") && allowed({Block::Grid})) {
            b.times = v;
        } else if (k == QLatin1String("newpage") && allowed({Block::Each})) {
            if (!isOneOf(v, {"yes", "no"}))
                return fail(e.line, QStringLiteral("newpage must be yes or no"));
            b.newPage = v == QLatin1String("yes");
        } else {
            return fail(e.line, QStringLiteral("unknown key \"%1\" in [%2]").arg(k, s.name));
        }
    }
    if (b.kind == Block::Table && b.columns.isEmpty())
        return fail(s.line, QStringLiteral("[table] needs at least one column"));
    if ((b.kind == Block::Table || b.kind == Block::Grid || b.kind == Block::Each) && b.query.isEmpty())
        return fail(s.line, QStringLiteral("[%1] needs a query").arg(s.name));
    if (b.kind == Block::Grid && b.cell.isEmpty())
        return fail(s.line, QStringLiteral("[grid] needs a cell"));
    t->blocks.push_back(b);
    return true;
}

} // namespace

bool ParseTemplate(const QString &text, Template *out, QString *error)
{
    QString dummy;
    if (!error)
        error = &dummy;
    Template t;
    QVector<Section> sections;
    sections.push_back({QStringLiteral("report"), 1, {}});
    bool sawReport = false;

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int number = i + 1;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (line.at(0).isSpace()) {
            // A continuation of the key above: queries and texts run over several lines.
            Section &s = sections.last();
            if (s.entries.isEmpty()) {
                *error = QStringLiteral("line %1: an indented line must follow a key").arg(number);
                return false;
            }
            s.entries.last().value += QLatin1Char('\n') + trimmed;
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (!trimmed.endsWith(QLatin1Char(']'))) {
                *error = QStringLiteral("line %1: a section name is written as [name]").arg(number);
                return false;
            }
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed().toLower();
            if (name == QLatin1String("report")) {
                if (sawReport || sections.size() > 1) {
                    *error = QStringLiteral("line %1: [report] comes once, at the top").arg(number);
                    return false;
                }
                sawReport = true;
                continue;
            }
            sections.push_back({name, number, {}});
            continue;
        }
        const int gap = trimmed.indexOf(QRegularExpression(QStringLiteral("\\s")));
        Entry e;
        e.key = (gap < 0 ? trimmed : trimmed.left(gap)).toLower();
        e.value = gap < 0 ? QString() : trimmed.mid(gap + 1).trimmed();
        e.line = number;
        sections.last().entries.push_back(e);
    }

    for (const Section &s : sections)
        if (!buildBlock(s, &t, error))
            return false;

    int open = 0;
    for (const Block &b : t.blocks) {
        if (b.kind == Block::Each && open++ > 0) {
            *error = QStringLiteral("line %1: an [each] inside another [each] is not possible").arg(b.line);
            return false;
        }
        if (b.kind == Block::End && open-- == 0) {
            *error = QStringLiteral("line %1: [end] without [each]").arg(b.line);
            return false;
        }
    }
    *out = t;
    return true;
}

bool LoadTemplate(const QString &file, Template *out, QString *error)
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("The report template %1 cannot be opened (%2).")
                         .arg(QFileInfo(file).fileName(),
                              QFileInfo::exists(file) ? f.errorString() : QStringLiteral("no such file in %1")
                                                                             .arg(QFileInfo(file).absolutePath()));
        return false;
    }
    const QString text = QString::fromUtf8(f.readAll());
    QString why;
    if (!ParseTemplate(text, out, &why)) {
        if (error)
            *error = QStringLiteral("The report template %1 cannot be read: %2").arg(QFileInfo(file).fileName(), why);
        return false;
    }
    out->file = file;
    return true;
}

} // namespace rpt
