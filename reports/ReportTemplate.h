#pragma once
// A report template: a small text file with the report's queries and its layout, read once
// per run. The format is documented in the README ("Report templates"); it has no
// expressions or loops of its own, only queries, value references and a fixed set of blocks.
#include <QString>
#include <QStringList>
#include <QVector>

namespace rpt {

// One table column: its heading, the text of each cell (with {name} references) and how the
// cell is aligned.
struct Column {
    QString caption;
    QString text;
    QString align = QStringLiteral("left");
    QString width; // "20%" or empty
};

struct Block {
    enum Kind { Text, Table, Grid, Each, End };
    Kind kind = Text;
    int line = 0; // where the block starts, for messages

    QString query;   // all kinds may have one (End has none)
    QString text;    // Text: the lines, separated by '\n'
    QString style = QStringLiteral("normal"); // Text: heading, title, subtitle, normal, small
    QString align = QStringLiteral("left");   // Text
    QString empty;   // Text, Table, Each: what shows when the query gives no row
    QVector<Column> columns; // Table
    QStringList cell;        // Grid: lines of one lesson in a cell
    QString days;            // Grid: query giving each week-day's number of periods
    QString times;           // Grid: query giving the one period system of the page
    bool newPage = true;     // Each
};

// A declared formula with its default value (as written, e.g. 'text' or Date (2026,12,05)).
struct FormulaDecl {
    QString name;
    QString value;
};

// A record field the selection formula may name, and the SQL expression it stands for.
struct FieldDecl {
    QString name; // e.g. classsection.classid
    QString expr; // e.g. cs.classid
};

struct Template {
    QString file;
    QString title;
    QString orientation = QStringLiteral("portrait");
    QVector<FormulaDecl> formulas;
    QVector<FieldDecl> fields;
    QVector<Block> blocks;

    bool takesSelection() const;
    const FieldDecl *field(const QString &name) const;
    const FormulaDecl *formula(const QString &name) const;
};

// Reads a template from its text; on a fault returns false with "line N: ..." in error.
bool ParseTemplate(const QString &text, Template *out, QString *error);
// Reads the file; a missing or unreadable file is an error with the file's name.
bool LoadTemplate(const QString &file, Template *out, QString *error);

} // namespace rpt
