#pragma once
// Shared by the tests: a fresh database per test and a script for the message boxes.
#include "Database.h"
#include "Platform.h"

#include <QList>
#include <QTemporaryDir>

// A new school.db from the schema in a folder of its own, opened as the program opens it.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    bool ok() const { return ok_; }
    QString folder() const { return dir_.path(); }
    QString file() const;
    // Runs statements that set up a case; fails the test on any error.
    void exec(const QString &sql, const QVariantList &params = {});
    int count(const QString &table, const QString &where = QString(), const QVariantList &params = {});

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

// Records every message the user would see and answers questions from a script.
// A question with no scripted answer is answered No and recorded as unexpected.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    void answer(hx::MsgResult r) { answers_ << r; }
    QList<hx::ShownMessage> messages;
    QStringList texts() const;
    QString last() const { return messages.isEmpty() ? QString() : messages.last().text; }
    bool contains(const QString &text) const { return texts().contains(text); }
    void clear() { messages.clear(); }
    int unexpectedQuestions = 0;
    QList<int> endCodes;

private:
    QList<hx::MsgResult> answers_;
};

// Every row of every table of the open database, as text lines sorted per table, so two
// states compare row for row regardless of the order SQLite returns them in.
QStringList DumpDatabase();

// The fuzz tests' round count and seed: fixed in CI so that a failure repeats;
// HORALUX_FUZZ_ROUNDS and HORALUX_FUZZ_SEED change them for a longer local run.
int FuzzRounds(int normal);
quint32 FuzzSeed();
