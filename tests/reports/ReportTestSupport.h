#pragma once
// A small school with a known week, leave and substitutions, and the shipped templates in
// the test database's reports folder.
#include "Report.h"
#include "ReportRunner.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTest>

namespace reporttest {

inline bool InstallTemplates()
{
    QDir().mkpath(ReportPath);
    const QDir source(QStringLiteral(HORALUX_TEMPLATES_DIR));
    const QStringList files = source.entryList({QStringLiteral("*.rpt")}, QDir::Files);
    for (const QString &f : files) {
        QFile::remove(ReportPath + f);
        if (!QFile::copy(source.filePath(f), ReportPath + f))
            return false;
    }
    return files.size() == 8;
}

struct School {
    int vii = 0, viii = 0, ix = 0; // VII-B, VIII-A, IX (no section)
    // Teachers: 1 Anita Rao, 2 Bimal Das, 3 Chitra O'Neil, 4 Dev Mehta (teaches nothing).
    // Subject titles: 1 Maths, 2 English, 3 Science Physics.
};

// Monday 7 December 2026: Anita on leave (7-8 Dec), Chitra absent in periods II-III.
inline School FillSchool(TestDatabase &db)
{
    School s;
    db.exec("update libdtl set libname = ?", {QStringLiteral("St. Mary's School")});
    SchoolName = QStringLiteral("St. Mary's School");
    db.exec("insert into classsection (class, section, sortorder) values ('VII', 'B', 10), ('VIII', 'A', 11),"
            " ('IX', NULL, 12)");
    s.vii = QueryValue("select classid from classsection where class = 'VII'").toInt();
    s.viii = QueryValue("select classid from classsection where class = 'VIII'").toInt();
    s.ix = QueryValue("select classid from classsection where class = 'IX'").toInt();
    db.exec("insert into teachers (uniqueid, Teachername, designation, teacherid, stillworking) values"
            " ('AR1', 'Anita Rao', 'PGT Maths', 1, 'Y'), ('BD1', 'Bimal Das', '', 2, 'Y'),"
            " ('CO1', ?, 'TGT English', 3, 'Y'), ('DM1', 'Dev Mehta', '', 4, 'Y')",
            {QStringLiteral("Chitra O'Neil")});
    db.exec("insert into subjects (subname, subid) values ('Maths', 1), ('English', 2), ('Science', 3)");
    db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2), (3, 'Physics', 3)");
    db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:00', 4, 20, 'AM'),"
            " (2, 'Short', 5, 30, '08:00', 3, 10, 'AM')");
    db.exec("insert into classperiods values (?, 1, '0,1,2,3,4,5'), (?, 1, '0,1,2,3,4'), (?, 2, '5')",
            {s.vii, s.viii, s.viii});
    db.exec("insert into classsubjects (classid, subid, hours, level1) values (?, 1, 6, 7), (?, 2, 5, 7),"
            " (?, 3, 4, 7), (?, 1, 6, 8)",
            {s.vii, s.vii, s.vii, s.viii});
    // teacher, subject, class, period, weekday
    const QList<QVariantList> lessons = {
        {1, 1, s.vii, 0, 0},  // Monday I: Maths, Anita
        {1, 1, s.vii, 1, 1},  // Tuesday II
        {3, 2, s.vii, 1, 0},  // Monday II: English, Chitra
        {1, 1, s.vii, 2, 2},  // Wednesday III holds two lessons
        {2, 2, s.vii, 2, 2},
        {2, 1, s.viii, 0, 0}, // VIII-A Monday I: Maths, Bimal
        {3, 3, s.viii, 4, 5}, // VIII-A Saturday V: Science Physics, Chitra
    };
    for (const QVariantList &l : lessons)
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday) values (?, ?, ?, ?, ?)", l);
    db.exec("insert into teacherattendence values (1, 'Leave', 0, 8, '2026-12-07', '2026-12-08'),"
            " (3, 'Absent', 1, 2, '2026-12-07', '2026-12-07')");
    db.exec("insert into substitute values (1, 0, ?, 0, '2026-12-07', 4), (3, 1, ?, 0, '2026-12-07', 2),"
            " (1, 1, ?, 1, '2026-12-08', 4)",
            {s.vii, s.vii, s.vii});
    return s;
}

// Renders a template of the reports folder the way a request does, without a window.
inline bool Render(QTextDocument *doc, const QString &templateFile, const QString &selection = QString(),
                   const QStringList &formulas = {rpt::SchoolFormula()}, QString *error = nullptr)
{
    rpt::Report r;
    for (int i = 0; i < formulas.size(); ++i)
        r.setFormula(i, formulas[i]);
    r.setReportFileName(ReportPath + templateFile);
    r.setConnect(rpt::ConnectString());
    r.setSelectionFormula(selection);
    const bool ok = r.render(doc);
    if (error)
        *error = r.lastError();
    return ok;
}

// The tables of a document in order.
inline QList<QTextTable *> Tables(const QTextDocument &doc)
{
    QList<QTextTable *> out;
    for (QTextFrame *f : doc.rootFrame()->childFrames())
        if (auto *t = qobject_cast<QTextTable *>(f))
            out << t;
    return out;
}

inline QString CellText(QTextTable *t, int row, int column)
{
    const QTextTableCell c = t->cellAt(row, column);
    QTextCursor from = c.firstCursorPosition();
    from.setPosition(c.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return from.selectedText().replace(QChar::LineSeparator, QLatin1Char('\n'))
        .replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

// A page count as the printed pages would have it, on A4 at the PDF writer's resolution.
inline int PdfPages(const QString &templateFile, const QString &selection, const QString &file)
{
    rpt::Report r;
    r.setFormula(0, rpt::SchoolFormula());
    r.setReportFileName(ReportPath + templateFile);
    r.setConnect(rpt::ConnectString());
    r.setSelectionFormula(selection);
    int pages = 0;
    if (!r.exportPdf(file, &pages))
        qWarning("%s", qPrintable(r.lastError()));
    return pages;
}

} // namespace reporttest
