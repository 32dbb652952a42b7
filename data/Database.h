#pragma once
// The one connection to school.db and the routines every window uses to read and change it.
// Nothing outside this folder talks to SQLite directly.
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

// A value list for ExecuteSql: one entry per mark; an invalid QVariant is an empty entry.
using Values = QVariantList;

// Rows of a query held in memory, walked with a cursor (the static cursor the windows expect).
class Recordset {
public:
    Recordset() = default;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

    int RecordCount() const { return rows_.size(); }
    bool eof() const { return pos_ >= rows_.size(); }
    bool bof() const { return pos_ < 0 || rows_.isEmpty(); }
    int position() const { return pos_; }
    void moveFirst() { pos_ = 0; }
    void moveLast() { pos_ = rows_.isEmpty() ? 0 : rows_.size() - 1; }
    void moveNext() { if (pos_ < rows_.size()) ++pos_; }
    void movePrevious() { if (pos_ >= 0) --pos_; }
    void move(int row) { pos_ = row; }

    int fieldCount() const { return columns_.size(); }
    QString fieldName(int i) const { return columns_.value(i); }
    // Column index by name without regard to case; -1 when there is none.
    int fieldIndex(const QString &name) const;

    // Value of the current row; null when there is no such column or no current row.
    QVariant value(int column) const;
    QVariant value(const QString &column) const;
    QString text(const QString &column) const { return value(column).toString(); }
    QString text(int column) const { return value(column).toString(); }
    int integer(const QString &column) const { return value(column).toInt(); }
    int integer(int column) const { return value(column).toInt(); }
    bool isNull(const QString &column) const { return value(column).isNull(); }

    // Searches forward from the current row for column = value (text without regard to case);
    // leaves the cursor on the row found, or at the end. Returns whether one was found.
    bool find(const QString &column, const QVariant &value);

    const QVector<QVariantList> &rows() const { return rows_; }
    const QStringList &columns() const { return columns_; }

private:
    friend struct RecordsetReader;
    QStringList columns_;
    QVector<QVariantList> rows_;
    int pos_ = 0;
    QString error_;
};

// --- data source and connection ---------------------------------------------------------

bool ConfigDataSource(const QString &driver, const QString &attributes);
bool RegisterDataSource(const QString &dataSourceName, const QString &databaseFile);
QString DataSourceFile(const QString &dataSourceName);

// Folder the program runs from; tests point it at a folder of their own.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

// Registers "school", sets ReportPath, opens Conn and reads SchoolName. On failure returns
// false with the reason; the file is never changed then.
bool InitializeDatabase(QString *error = nullptr);
void CloseDatabase();

QSqlDatabase Conn();
extern QString ReportPath;
extern QString SchoolName;
extern Recordset RsSubjects;

// Reloads the subject snapshot (the main window does it once per run).
void LoadSubjectSnapshot();

// The version of the database this program reads and writes (PRAGMA user_version). An older
// file is upgraded in one transaction when it is opened; a newer one is refused untouched.
int SchemaVersion();
// Test seam: upgrade steps to use instead of the shipped ones (each a list of statements taking
// the file one version up); nullopt restores the shipped steps.
void SetSchemaUpgradesForTest(std::optional<QVector<QStringList>> steps);
// The steps this program ships, oldest first (tests make files of earlier versions from them).
QVector<QStringList> ShippedSchemaUpgrades();

// Creates a new database file from a schema script and the upgrade steps. Refuses to touch
// an existing file.
bool CreateDatabaseFile(const QString &file, const QString &schemaFile, QString *error = nullptr);

// --- statements -------------------------------------------------------------------------

// Runs a query with its values bound in order to plain ? marks. A failing query shows
// "Error :" + the description and gives an empty record set.
Recordset OpenRecordset(const QString &sql, const QVariantList &params = {});
// The same without any message: for checks that handle the failure themselves.
Recordset QueryQuiet(const QString &sql, const QVariantList &params = {});

// First column of the first row, or the given default when there is no row.
QVariant QueryValue(const QString &sql, const QVariantList &params = {},
                    const QVariant &none = QVariant());

// A second connection to the same file that SQLite opens for reading only, for statements
// the program did not write itself (the report templates): whatever such a statement tries,
// the school's data cannot change through it. Lives for one run of those statements.
class ReadOnlySession {
public:
    ReadOnlySession();
    ~ReadOnlySession();
    ReadOnlySession(const ReadOnlySession &) = delete;
    ReadOnlySession &operator=(const ReadOnlySession &) = delete;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    // Like QueryQuiet; `triedToWrite` tells a statement refused because it would change data.
    Recordset query(const QString &sql, const QVariantList &params = {}, bool *triedToWrite = nullptr) const;

private:
    QString name_;
    QString error_;
};

// Runs a change statement whose marks follow the old conventions:
//   '?'  a text value (an empty entry is the empty text); marks inside a longer quoted
//        literal such as '?%' build that literal's text;
//   #?#  a date (QDate, dd/mm/yyyy or yyyy-mm-dd text), stored as yyyy-mm-dd; empty is NULL;
//   ?    a number; an empty entry is NULL; a list such as 0,2,4 fills an in (...) list.
// Every value is bound, never joined into the text. A failure (also a list shorter than the
// marks, in which case nothing runs) shows "Error :" + the description and returns false.
bool ExecuteSql(const QString &sql, const Values &values = {});

// The text that ExecuteSql would prepare and the values it would bind (for tests and logs).
struct PreparedStatement {
    QString sql;
    QVariantList binds;
    QString error;
    int marks = 0;
};
PreparedStatement PrepareMarks(const QString &sql, const Values &values);

// Test seam: consulted before every change statement of ExecuteSql (with the text as
// prepared); returning true makes that statement fail as if SQLite had refused it. Empty
// function = no hook.
void SetStatementFailureHook(std::function<bool(const QString &sql)> hook);

// Description of the last failure of ExecuteSql/OpenRecordset, empty after a success.
QString LastDatabaseError();

// One transaction for a user action that writes several statements. Rolls back unless
// committed. Nested guards join the outer one; any rollback makes the whole action fail.
class Transaction {
public:
    Transaction();
    ~Transaction();
    bool commit();
    void rollback();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    bool open_ = false;
};

// --- dates ------------------------------------------------------------------------------

QString IsoDate(const QDate &d);               // 2026-12-05
QDate FromIsoDate(const QString &iso);
QString DisplayDate(const QDate &d);           // 05/12/2026
QDate FromDisplayDate(const QString &ddmmyyyy);
// A value as ISO date text: accepts QDate, dd/mm/yyyy and yyyy-mm-dd; empty when invalid.
QString ToIsoDateText(const QVariant &v);
