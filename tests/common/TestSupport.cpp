#include "TestSupport.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

TestDatabase::TestDatabase()
{
    QString error;
    ok_ = CreateDatabaseFile(file(), QStringLiteral(HORALUX_SCHEMA_FILE), &error);
    if (!ok_) {
        qWarning("cannot create test database: %s", qPrintable(error));
        return;
    }
    SetProgramFolder(dir_.path());
    ok_ = InitializeDatabase(&error);
    if (!ok_)
        qWarning("cannot open test database: %s", qPrintable(error));
    LoadSubjectSnapshot();
}

TestDatabase::~TestDatabase() { CloseDatabase(); }

QString TestDatabase::file() const { return QDir(dir_.path()).filePath(QStringLiteral("school.db")); }

void TestDatabase::exec(const QString &sql, const QVariantList &params)
{
    QSqlQuery q(Conn());
    if (!q.prepare(sql))
        QFAIL(qPrintable(q.lastError().text() + QStringLiteral(" in ") + sql));
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec())
        QFAIL(qPrintable(q.lastError().text() + QStringLiteral(" in ") + sql));
}

int TestDatabase::count(const QString &table, const QString &where, const QVariantList &params)
{
    QString sql = QStringLiteral("select count(*) from ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return QueryQuiet(sql, params).value(0).toInt();
}

MessageLog::MessageLog()
{
    hx::SetMsgBoxHandler([this](const hx::ShownMessage &m) {
        messages << m;
        if (m.buttons == hx::MsgButtons::Ok)
            return hx::MsgResult::Ok;
        if (answers_.isEmpty()) {
            ++unexpectedQuestions;
            return m.buttons == hx::MsgButtons::YesNo ? hx::MsgResult::No : hx::MsgResult::Cancel;
        }
        return answers_.takeFirst();
    });
    hx::SetEndHandler([this](int code) { endCodes << code; });
}

MessageLog::~MessageLog()
{
    hx::SetMsgBoxHandler({});
    hx::SetEndHandler({});
}

QStringList MessageLog::texts() const
{
    QStringList out;
    for (const hx::ShownMessage &m : messages)
        out << m.text;
    return out;
}

QStringList DumpDatabase()
{
    QStringList out;
    const Recordset tables = QueryQuiet("select name from sqlite_master where type = 'table' order by name");
    for (const QVariantList &t : tables.rows()) {
        const QString name = t.value(0).toString();
        // The name comes from the database itself; a table name cannot be bound.
        const Recordset rs = QueryQuiet(QStringLiteral("select * from \"%1\"").arg(name));
        QStringList rows;
        for (const QVariantList &r : rs.rows()) {
            QStringList cells;
            for (const QVariant &v : r)
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            rows << name + QLatin1Char('|') + cells.join(QLatin1Char('|'));
        }
        rows.sort();
        out << rows;
    }
    return out;
}

int FuzzRounds(int normal)
{
    const int n = qEnvironmentVariableIntValue("HORALUX_FUZZ_ROUNDS");
    return n > 0 ? n : normal;
}

quint32 FuzzSeed()
{
    bool ok = false;
    const quint32 s = qEnvironmentVariable("HORALUX_FUZZ_SEED").toUInt(&ok);
    return ok ? s : 20261207u;
}
