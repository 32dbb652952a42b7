#include "Database.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <optional>

QString ReportPath;
QString SchoolName;
Recordset RsSubjects;

namespace {
const QString kConnection = QStringLiteral("school");
QString g_programFolder;
QString g_lastError;
int g_transactionDepth = 0;
bool g_transactionFailed = false;
QString g_beginError; // why the open transaction could not be started, if it could not
std::function<bool(const QString &)> g_failureHook;
// How long a statement waits for another program's lock before it fails with a message:
// long enough to ride out a short write by someone else, short enough never to look hung.
constexpr int kBusyTimeoutMs = 2000;

QHash<QString, QString> &dataSources()
{
    static QHash<QString, QString> map;
    return map;
}

const QStringList &requiredTables()
{
    static const QStringList t = {
        "libdtl", "class", "classsection", "teachers", "subjects", "subjtype",
        "periodsystem", "classperiods", "classsubjects", "teachersubjects",
        "timeschedule", "cummtimeschedule", "teacherattendence", "substitute"};
    return t;
}

QString describe(const QSqlError &e)
{
    const QString db = e.databaseText().trimmed();
    const QString text = db.isEmpty() ? e.text().trimmed() : db;
    // The conditions an office meets with its file get a sentence the user can act on; the
    // driver's own words stay behind it for whoever has to look further.
    const int code = e.nativeErrorCode().toInt() & 0xff;
    QString plain;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        plain = QStringLiteral("The database is in use by another program; nothing was changed. Try again in a moment.");
        break;
    case 8: // SQLITE_READONLY
        plain = QStringLiteral("The database file is read-only; nothing was changed.");
        break;
    case 13: // SQLITE_FULL
        plain = QStringLiteral("The disk is full; nothing was changed. Free some space and try again.");
        break;
    case 10: // SQLITE_IOERR
        plain = QStringLiteral("The database file cannot be written; nothing was changed.");
        break;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        plain = QStringLiteral("The database file is damaged or not a database.");
        break;
    default:
        return text;
    }
    return plain + QStringLiteral(" (") + text + QLatin1Char(')');
}

bool bindAndRun(QSqlQuery &q, const QString &sql, const QVariantList &binds, QString *error)
{
    if (!q.prepare(sql)) {
        *error = describe(q.lastError());
        return false;
    }
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    if (!q.exec()) {
        *error = describe(q.lastError());
        return false;
    }
    return true;
}

// A number for a bare mark: integers stay integers so STRICT columns accept them.
QVariant asNumber(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return v;
    const QString s = v.toString().trimmed();
    bool ok = false;
    const qlonglong n = s.toLongLong(&ok);
    if (ok)
        return n;
    const double d = s.toDouble(&ok);
    if (ok)
        return d;
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return 1;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return 0;
    return v; // left to the column's type check, which refuses it
}

QString asText(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return IsoDate(v.toDate());
    return v.toString();
}

bool isEmptyEntry(const QVariant &v) { return !v.isValid() || v.isNull(); }

// What brings an older school.db up to this program: step i takes a file of version i + 1 to
// version i + 2, one statement after another. A new file is made from schema.sql (version 1)
// and the same steps, so a new file and an upgraded one cannot drift apart. Append only:
// a step once shipped is never changed.
const QVector<QStringList> &shippedUpgrades()
{
    static const QVector<QStringList> steps = {
        // 2: the most substitutions a day "Suggest All" gives one teacher, one row at most.
        {QStringLiteral("CREATE TABLE substitutelimit ("
                        " id INTEGER NOT NULL PRIMARY KEY CHECK (id = 1),"
                        " dailylimit INTEGER NOT NULL CHECK (dailylimit BETWEEN 1 AND 9)) STRICT")},
        // 3: who teaches which class-subject, and the periods a teacher cannot teach.
        {QStringLiteral("CREATE TABLE classsubjectteachers (classid INTEGER NOT NULL, subid INTEGER NOT NULL, "
                        "teacherid INTEGER NOT NULL, hours INTEGER NOT NULL CHECK (hours > 0), "
                        "UNIQUE (classid, subid, teacherid)) STRICT"),
         QStringLiteral("CREATE TABLE teacherunavailable (teacherid INTEGER NOT NULL, weekday INTEGER NOT NULL "
                        "CHECK (weekday BETWEEN 0 AND 5), period INTEGER NOT NULL CHECK (period BETWEEN 0 AND 8), "
                        "UNIQUE (teacherid, weekday, period)) STRICT")},
    };
    return steps;
}

std::optional<QVector<QStringList>> g_upgradesForTest;

const QVector<QStringList> &upgrades() { return g_upgradesForTest ? *g_upgradesForTest : shippedUpgrades(); }

// Runs the steps after version `from` inside the caller's transaction and stamps the file
// with the version reached; the reason when a statement fails.
QString applyUpgrades(QSqlQuery &q, int from)
{
    const QVector<QStringList> &steps = upgrades();
    for (int i = qMax(from, 1) - 1; i < steps.size(); ++i)
        for (const QString &statement : steps[i])
            if (!q.exec(statement))
                return describe(q.lastError()) + QStringLiteral(" in: ") + statement.simplified();
    // The version is our own number, never user input; a pragma takes no bound value.
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion())))
        return describe(q.lastError());
    return QString();
}

// Brings a school database of an older version up to this program's in one transaction; a
// file of a newer version is refused. Either way a refused file is left as it was.
QString upgradeIfOlder(QSqlDatabase &db, const QString &shown, bool readOnly)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return QStringLiteral("The database %1 cannot be opened: %2").arg(shown, describe(q.lastError()));
    const int version = q.value(0).toInt();
    q.finish();
    if (version > SchemaVersion())
        return QStringLiteral("%1 was written by a newer version of Horalux (database version %2; this "
                              "program knows versions up to %3). It is left as it is: open it with the "
                              "newer program.")
            .arg(shown).arg(version).arg(SchemaVersion());
    if (version == SchemaVersion())
        return QString();
    // A file marked read-only (a backup, a copy from a CD) is never written, not even to
    // upgrade it; without the newer tables every window would fail, so it is refused.
    if (readOnly)
        return QStringLiteral("%1 is read-only, so it cannot be brought up to this version of Horalux (database "
                              "version %2, this program needs %3). It is left as it is: make the file writable "
                              "and open it again.")
            .arg(shown).arg(version).arg(SchemaVersion());
    QString why;
    if (!db.transaction())
        why = describe(db.lastError());
    else {
        why = applyUpgrades(q, version);
        q.finish();
        if (why.isEmpty() && !db.commit())
            why = describe(db.lastError());
        if (!why.isEmpty())
            db.rollback();
    }
    if (why.isEmpty())
        return QString();
    return QStringLiteral("%1 could not be brought up to this version of Horalux: %2. It is left as it was.")
        .arg(shown, why);
}

// Opens the connection and makes sure the file is a school database; the reason when not.
QString openAndCheck(const QString &file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(file);
    // A file locked by another program makes a save wait this long (ms) and then fail with
    // a message, rather than hang the window.
    // A file whose write permission is off is opened for reading only, so that SQLite
    // never writes to it, whoever runs the program.
    const QFileDevice::Permissions permissions = QFileInfo(file).permissions();
    const bool readOnly = !(permissions & QFileDevice::WriteOwner) || !(permissions & QFileDevice::WriteUser);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(kBusyTimeoutMs)
                             .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    const QString shown = QDir::toNativeSeparators(file);
    if (!db.open())
        return QStringLiteral("The database %1 cannot be opened: %2").arg(shown, describe(db.lastError()));
    // Reading the table list is the first touch of the file: a file that is not a database
    // fails here, and nothing has been written to it.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select lower(name) from sqlite_master where type = 'table'")))
        return QStringLiteral("The database %1 cannot be opened: %2").arg(shown, describe(q.lastError()));
    QStringList present;
    while (q.next())
        present << q.value(0).toString();
    QStringList missing;
    for (const QString &t : requiredTables())
        if (!present.contains(t))
            missing << t;
    if (!missing.isEmpty())
        return QStringLiteral("%1 is not a Horalux database: the table(s) %2 are missing.")
            .arg(shown, missing.join(QStringLiteral(", ")));
    // Only a file known to be ours is configured. A rollback journal beside the file (rather
    // than WAL) keeps school.db a single file that a copy backs up whole; with full
    // synchronisation a commit is on the disk before the save reports success, and a save
    // cut off by a crash is rolled back from the journal at the next open.
    if (!readOnly && (!q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) ||
                      !q.exec(QStringLiteral("PRAGMA synchronous = FULL"))))
        return QStringLiteral("The database %1 cannot be opened: %2").arg(shown, describe(q.lastError()));
    q.finish();
    return upgradeIfOlder(db, shown, readOnly);
}
} // namespace

// --- Recordset --------------------------------------------------------------------------

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::value(int column) const
{
    if (pos_ < 0 || pos_ >= rows_.size() || column < 0 || column >= columns_.size())
        return QVariant();
    return rows_[pos_][column];
}

QVariant Recordset::value(const QString &column) const { return value(fieldIndex(column)); }

bool Recordset::find(const QString &column, const QVariant &v)
{
    const int c = fieldIndex(column);
    if (pos_ < 0)
        pos_ = 0;
    for (; c >= 0 && pos_ < rows_.size(); ++pos_) {
        const QVariant &cell = rows_[pos_][c];
        if (cell.isNull())
            continue;
        const bool numeric = v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
        if (numeric ? cell.toLongLong() == v.toLongLong()
                    : cell.toString().compare(v.toString(), Qt::CaseInsensitive) == 0)
            return true;
    }
    pos_ = rows_.size();
    return false;
}

// --- data source ------------------------------------------------------------------------

bool ConfigDataSource(const QString &driver, const QString &attributes)
{
    // The attributes are "DSN=name\0DBQ=file\0", as an ODBC installer takes them.
    Q_UNUSED(driver);
    QString dsn, file;
    for (const QString &part : attributes.split(QChar(0), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed().toUpper();
        if (key == QLatin1String("DSN"))
            dsn = part.mid(eq + 1);
        else if (key == QLatin1String("DBQ"))
            file = part.mid(eq + 1);
    }
    if (dsn.isEmpty() || file.isEmpty())
        return false;
    dataSources().insert(dsn.toLower(), file);
    return true;
}

bool RegisterDataSource(const QString &dataSourceName, const QString &databaseFile)
{
    if (!QFileInfo(databaseFile).isFile())
        return false;
    const QString attributes = QStringLiteral("DSN=") + dataSourceName + QChar(0) +
                               QStringLiteral("DBQ=") + databaseFile + QChar(0);
    return ConfigDataSource(QStringLiteral("SQLite"), attributes);
}

QString DataSourceFile(const QString &dataSourceName)
{
    return dataSources().value(dataSourceName.toLower());
}

QString ProgramFolder()
{
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void SetProgramFolder(const QString &folder) { g_programFolder = folder; }

QSqlDatabase Conn() { return QSqlDatabase::database(kConnection, false); }

void CloseDatabase()
{
    RsSubjects = Recordset();
    {
        QSqlDatabase db = QSqlDatabase::database(kConnection, false);
        if (db.isOpen())
            db.close();
    }
    if (QSqlDatabase::contains(kConnection))
        QSqlDatabase::removeDatabase(kConnection);
    g_transactionDepth = 0;
    g_transactionFailed = false;
}

bool InitializeDatabase(QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        CloseDatabase();
        return false;
    };
    QString folder = QDir::toNativeSeparators(ProgramFolder());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    RegisterDataSource(kConnection, folder + QStringLiteral("school.db"));
    ReportPath = folder + QStringLiteral("reports") + QDir::separator();

    const QString file = DataSourceFile(kConnection);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return fail(QStringLiteral("Database cannot be found!"));

    CloseDatabase();
    const QString why = openAndCheck(file);
    if (!why.isEmpty())
        return fail(why);

    SchoolName.clear();
    Recordset rs = QueryQuiet(QStringLiteral("select libname from libdtl "));
    if (!rs.eof())
        SchoolName = rs.text(0);
    return true;
}

int SchemaVersion() { return 1 + upgrades().size(); }

QVector<QStringList> ShippedSchemaUpgrades() { return shippedUpgrades(); }

void SetSchemaUpgradesForTest(std::optional<QVector<QStringList>> steps) { g_upgradesForTest = std::move(steps); }

void LoadSubjectSnapshot() { RsSubjects = QueryQuiet(QStringLiteral("select * from subjects")); }

bool CreateDatabaseFile(const QString &file, const QString &schemaFile, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo::exists(file))
        return fail(QStringLiteral("%1 exists already; it is left as it is.").arg(file));
    QFile schema(schemaFile);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("Cannot read %1: %2").arg(schemaFile, schema.errorString()));
    const QString script = QString::fromUtf8(schema.readAll());

    // Built beside the target and renamed into place, so a half-made file never stands
    // under the real name.
    const QString temp = file + QStringLiteral(".new");
    QFile::remove(temp);
    QString why;
    {
        const QString name = QStringLiteral("horalux-create-") + file;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temp);
        if (!db.open()) {
            why = describe(db.lastError());
        } else {
            QSqlQuery q(db);
            db.transaction();
            QString statement;
            for (const QString &line : script.split(QLatin1Char('\n'))) {
                const QString trimmed = line.trimmed();
                if (trimmed.startsWith(QLatin1String("--")) || trimmed.isEmpty())
                    continue;
                statement += line + QLatin1Char('\n');
                if (trimmed.endsWith(QLatin1Char(';'))) {
                    if (!q.exec(statement)) {
                        why = describe(q.lastError()) + QStringLiteral(" in: ") + statement.trimmed();
                        break;
                    }
                    statement.clear();
                }
            }
            if (why.isEmpty())
                why = applyUpgrades(q, 1);
            if (why.isEmpty())
                db.commit();
            else
                db.rollback();
            q.finish();
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    if (!why.isEmpty()) {
        QFile::remove(temp);
        return fail(why);
    }
    if (!QFile::rename(temp, file)) {
        QFile::remove(temp);
        return fail(QStringLiteral("Cannot create %1").arg(file));
    }
    return true;
}

// --- statements -------------------------------------------------------------------------

QString LastDatabaseError() { return g_lastError; }

void SetStatementFailureHook(std::function<bool(const QString &sql)> hook) { g_failureHook = std::move(hook); }

// Runs a query on a connection and keeps its rows; the SQLite result code of a failure in *code.
struct RecordsetReader {
    static Recordset read(const QSqlDatabase &db, const QString &sql, const QVariantList &params, int *code)
    {
        Recordset rs;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!bindAndRun(q, sql, params, &rs.error_)) {
            if (code)
                *code = q.lastError().nativeErrorCode().toInt() & 0xff;
            g_lastError = rs.error_;
            return rs;
        }
        const QSqlRecord rec = q.record();
        for (int i = 0; i < rec.count(); ++i)
            rs.columns_ << rec.fieldName(i);
        while (q.next()) {
            QVariantList row;
            row.reserve(rec.count());
            for (int i = 0; i < rec.count(); ++i)
                row << q.value(i);
            rs.rows_ << row;
        }
        g_lastError.clear();
        return rs;
    }
};

Recordset QueryQuiet(const QString &sql, const QVariantList &params)
{
    return RecordsetReader::read(Conn(), sql, params, nullptr);
}

Recordset OpenRecordset(const QString &sql, const QVariantList &params)
{
    Recordset rs = QueryQuiet(sql, params);
    if (!rs.ok())
        hx::MsgBox(QStringLiteral("Error :") + rs.error());
    return rs;
}

QVariant QueryValue(const QString &sql, const QVariantList &params, const QVariant &none)
{
    Recordset rs = OpenRecordset(sql, params);
    return rs.eof() ? none : rs.value(0);
}

PreparedStatement PrepareMarks(const QString &sql, const Values &values)
{
    PreparedStatement out;
    int next = 0;
    auto take = [&](QVariant *v) {
        ++out.marks;
        if (next < values.size()) {
            *v = values[next++];
            return true;
        }
        return false;
    };
    static const QRegularExpression intList(QStringLiteral("^\\s*-?\\d+(\\s*,\\s*-?\\d+)+\\s*$"));
    static const QRegularExpression inListOpen(QStringLiteral("\\bin\\s*\\(\\s*$"),
                                               QRegularExpression::CaseInsensitiveOption);

    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            // A quoted literal: marks inside it build its text, which is bound as one value.
            QString text = QStringLiteral(""); // not null: an empty entry binds as empty text
            bool hasMark = false;
            int j = i + 1;
            for (; j < n; ++j) {
                if (sql[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        ++j;
                        continue;
                    }
                    break;
                }
                if (sql[j] == QLatin1Char('?')) {
                    hasMark = true;
                    QVariant v;
                    take(&v);
                    text += asText(v);
                } else {
                    text += sql[j];
                }
            }
            if (hasMark) {
                out.sql += QLatin1Char('?');
                out.binds << text;
            } else {
                out.sql += sql.mid(i, j - i + 1);
            }
            i = j;
        } else if (c == QLatin1Char('#') && i + 2 < n && sql[i + 1] == QLatin1Char('?') &&
                   sql[i + 2] == QLatin1Char('#')) {
            QVariant v;
            take(&v);
            if (isEmptyEntry(v) || asText(v).trimmed().isEmpty()) {
                out.sql += QStringLiteral("NULL");
            } else {
                const QString iso = ToIsoDateText(v);
                if (iso.isEmpty() && out.error.isEmpty())
                    out.error = QStringLiteral("'%1' is not a valid date.").arg(asText(v));
                out.sql += QLatin1Char('?');
                out.binds << iso;
            }
            i += 2;
        } else if (c == QLatin1Char('?')) {
            QVariant v;
            take(&v);
            if (isEmptyEntry(v)) {
                out.sql += QStringLiteral("NULL");
            } else if (v.typeId() == QMetaType::QString && intList.match(v.toString()).hasMatch()
                       && inListOpen.match(out.sql).hasMatch()) {
                // Only the mark that is the whole of an in (...) list takes a list of numbers;
                // anywhere else "1,2" stays one value, which a number column refuses.
                const QStringList items = v.toString().split(QLatin1Char(','));
                QStringList marks;
                for (const QString &item : items) {
                    marks << QStringLiteral("?");
                    out.binds << item.trimmed().toLongLong();
                }
                out.sql += marks.join(QLatin1Char(','));
            } else {
                out.sql += QLatin1Char('?');
                out.binds << asNumber(v);
            }
        } else {
            out.sql += c;
        }
    }
    if (out.marks > values.size())
        out.error = QStringLiteral("The statement has %1 value mark(s) but only %2 value(s) were given; "
                                   "nothing was changed.")
                        .arg(out.marks)
                        .arg(values.size());
    return out;
}

bool ExecuteSql(const QString &sql, const Values &values)
{
    const PreparedStatement p = PrepareMarks(sql, values);
    QString error = p.error;
    // Inside an action that has already failed, or whose transaction never started, a further
    // statement would be written on its own and survive the rollback.
    if (error.isEmpty() && g_transactionDepth > 0 && g_transactionFailed)
        error = g_beginError.isEmpty()
                    ? QStringLiteral("An earlier step of this change failed; nothing was changed.")
                    : QStringLiteral("The change could not be started; nothing was changed. ") + g_beginError;
    if (error.isEmpty() && g_failureHook && g_failureHook(p.sql))
        error = QStringLiteral("The database refused the change (injected failure).");
    if (error.isEmpty()) {
        QSqlQuery q(Conn());
        bindAndRun(q, p.sql, p.binds, &error);
    }
    g_lastError = error;
    if (!error.isEmpty()) {
        if (g_transactionDepth > 0)
            g_transactionFailed = true;
        hx::MsgBox(QStringLiteral("Error :") + error);
        return false;
    }
    return true;
}

// --- read-only session ------------------------------------------------------------------

ReadOnlySession::ReadOnlySession()
{
    static int sessions = 0;
    name_ = QStringLiteral("school-readonly-%1").arg(++sessions);
    const QSqlDatabase conn = Conn();
    if (!conn.isOpen()) {
        error_ = QStringLiteral("The database is not open.");
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(conn.databaseName());
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        error_ = describe(db.lastError());
        return;
    }
    // A second lock besides the read-only file: no statement may write, not even to a
    // temporary table.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA query_only = ON")))
        error_ = describe(q.lastError());
}

ReadOnlySession::~ReadOnlySession()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

Recordset ReadOnlySession::query(const QString &sql, const QVariantList &params, bool *triedToWrite) const
{
    int code = 0;
    Recordset rs = RecordsetReader::read(QSqlDatabase::database(name_, false), sql, params, &code);
    if (triedToWrite)
        *triedToWrite = !rs.ok() && code == 8; // SQLITE_READONLY
    return rs;
}

// --- transactions -----------------------------------------------------------------------

Transaction::Transaction()
{
    if (g_transactionDepth == 0) {
        g_transactionFailed = false;
        g_beginError.clear();
        if (!Conn().transaction()) {
            g_lastError = describe(Conn().lastError());
            g_beginError = g_lastError;
            g_transactionFailed = true;
        }
    }
    ++g_transactionDepth;
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_)
        rollback();
}

bool Transaction::commit()
{
    if (!open_)
        return false;
    open_ = false;
    if (--g_transactionDepth > 0)
        return !g_transactionFailed;
    if (g_transactionFailed) {
        if (g_beginError.isEmpty()) // a transaction that never began is not ours to end
            Conn().rollback();
        return false;
    }
    if (!Conn().commit()) {
        g_lastError = describe(Conn().lastError());
        Conn().rollback();
        hx::MsgBox(QStringLiteral("Error :") + g_lastError);
        return false;
    }
    return true;
}

void Transaction::rollback()
{
    if (!open_)
        return;
    open_ = false;
    g_transactionFailed = true;
    if (--g_transactionDepth == 0 && g_beginError.isEmpty())
        Conn().rollback();
}

// --- dates ------------------------------------------------------------------------------

QString IsoDate(const QDate &d) { return d.isValid() ? d.toString(Qt::ISODate) : QString(); }
QDate FromIsoDate(const QString &iso) { return QDate::fromString(iso.left(10), Qt::ISODate); }
QString DisplayDate(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}
QDate FromDisplayDate(const QString &s)
{
    QDate d = QDate::fromString(s.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        d = QDate::fromString(s.trimmed(), QStringLiteral("d/M/yyyy"));
    return d;
}

QString ToIsoDateText(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return IsoDate(v.toDate());
    if (v.typeId() == QMetaType::QDateTime)
        return IsoDate(v.toDateTime().date());
    const QString s = v.toString().trimmed();
    QDate d = FromDisplayDate(s);
    if (!d.isValid())
        d = QDate::fromString(s, Qt::ISODate);
    return IsoDate(d);
}
