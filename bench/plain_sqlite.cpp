#include "bench/plain_sqlite.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace bench {
namespace {

// Owns one prepared statement.
class Statement {
public:
    Statement(sqlite3* db, const QByteArray& sql) {
        if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt_,
                               nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(db) + " in " +
                                     sql.toStdString());
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    bool step(sqlite3* db) {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            throw std::runtime_error(std::string("step: ") + sqlite3_errmsg(db));
        }
        return false;
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

PlainConnection::PlainConnection(const QString& path, Mode mode) {
    const int flags = SQLITE_OPEN_READWRITE | (mode == Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        throw std::runtime_error("cannot open " + path.toStdString() + ": " + message);
    }
}

PlainConnection::~PlainConnection() {
    sqlite3_close_v2(db_);
}

void PlainConnection::fail(const char* what) const {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
}

void PlainConnection::execute(const QString& sql) {
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail("execute");
    }
}

std::int64_t PlainConnection::singleInteger(const QString& sql) {
    Statement statement(db_, sql.toUtf8());
    if (!statement.step(db_)) {
        fail("no row");
    }
    return sqlite3_column_int64(statement.get(), 0);
}

std::int64_t PlainConnection::readAll(const QString& sql) {
    Statement statement(db_, sql.toUtf8());
    const int columns = sqlite3_column_count(statement.get());
    std::int64_t rows = 0;
    while (statement.step(db_)) {
        for (int i = 0; i < columns; ++i) {
            // Asking for the text makes SQLite hand over the value as a reader gets it.
            sqlite3_column_text(statement.get(), i);
            sqlite3_column_bytes(statement.get(), i);
        }
        ++rows;
    }
    return rows;
}

std::vector<std::optional<QByteArray>> PlainConnection::firstRow(const QString& sql) {
    Statement statement(db_, sql.toUtf8());
    std::vector<std::optional<QByteArray>> row;
    if (!statement.step(db_)) {
        return row;
    }
    for (int i = 0; i < sqlite3_column_count(statement.get()); ++i) {
        if (sqlite3_column_type(statement.get(), i) == SQLITE_NULL) {
            row.emplace_back(std::nullopt);
        } else {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), i));
            row.emplace_back(QByteArray(text, sqlite3_column_bytes(statement.get(), i)));
        }
    }
    return row;
}

void PlainConnection::executeWith(const QString& sql,
                                  const std::vector<std::optional<QByteArray>>& values) {
    Statement statement(db_, sql.toUtf8());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const int rc =
            values[i] ? sqlite3_bind_text(statement.get(), index, values[i]->constData(),
                                          static_cast<int>(values[i]->size()), SQLITE_TRANSIENT)
                      : sqlite3_bind_null(statement.get(), index);
        if (rc != SQLITE_OK) {
            fail("bind");
        }
    }
    while (statement.step(db_)) {
    }
}

} // namespace bench
