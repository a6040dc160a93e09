#pragma once

#include <QString>
#include <QVariant>

#include "data/db_error.h"

#include <functional>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// Turns an SQLite failure into the DbError the user sees; given the result code and the
// engine's own message.
using SqliteErrorTranslator = std::function<DbError(int code, const QString& message)>;

enum class OpenMode { ExistingFile, CreateNewFile };

// One SQLite connection, closed with its owner. Opening an existing file never creates one,
// whatever happens to the file in between.
class SqliteDatabase {
public:
    SqliteDatabase(const QString& path, OpenMode mode, SqliteErrorTranslator translate);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const noexcept { return db_; }
    void execute(const QString& sql);
    [[noreturn]] void fail(int code) const;

private:
    sqlite3* db_ = nullptr;
    SqliteErrorTranslator translate_;
};

// One prepared statement on a connection that outlives it.
class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Runs to the next row; false once the statement is done.
    bool step();
    int columnCount() const;
    QString columnName(int index) const;
    // The type a table column's declaration gives; empty for an expression.
    QString declaredType(int index) const;
    QVariant value(int index) const;
    std::string_view textView(int index) const;
    bool isNull(int index) const;

    // Parameters are numbered from 1; reset() makes the statement ready to run again.
    void bindText(int index, std::string_view utf8);
    void bindInt64(int index, long long value);
    void bindDouble(int index, double value);
    void bindNull(int index);
    void reset();

private:
    void check(int rc) const;

    const SqliteDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace platform
