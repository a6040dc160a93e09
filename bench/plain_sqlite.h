#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

namespace bench {

// The baseline: SQLite's C API on one connection that stays open, with SQLite's own
// collation and LIKE. Every statement is prepared, run and finalized as it comes, as a
// program without a statement cache would do.
class PlainConnection {
public:
    enum Mode { Existing, Create };

    PlainConnection(const QString& path, Mode mode);
    ~PlainConnection();
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    sqlite3* handle() const { return db_; }

    // Runs any number of ';'-separated statements. Throws std::runtime_error.
    void execute(const QString& sql);
    std::int64_t singleInteger(const QString& sql);
    // Steps through every row, reading every column as text the way a caller that shows
    // the rows would; returns the number of rows.
    std::int64_t readAll(const QString& sql);
    // The first row's columns, null ones as nullopt; empty when there is no row.
    std::vector<std::optional<QByteArray>> firstRow(const QString& sql);
    // Runs one statement with text parameters ?1, ?2, ... (nullopt binds NULL).
    void executeWith(const QString& sql, const std::vector<std::optional<QByteArray>>& values);

private:
    [[noreturn]] void fail(const char* what) const;

    sqlite3* db_ = nullptr;
};

} // namespace bench
