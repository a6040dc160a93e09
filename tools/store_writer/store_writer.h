#pragma once

#include <QString>

#include <memory>

namespace platform {

class SqliteDatabase;
class SqliteSession;

// Writes a new store with the shop's schema and the given password. Refuses to replace an
// existing file.
void createSqliteStore(const QString& path, const QString& password);

// A checked connection to a store for the tools and tests that build stores in bulk.
class StoreWriter {
public:
    StoreWriter(const QString& path, const QString& password);
    ~StoreWriter();
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;

    // Runs any number of ';'-separated statements in one transaction: all or nothing.
    void runScript(const QString& sql);
    SqliteDatabase& database();

private:
    std::unique_ptr<SqliteSession> session_;
};

} // namespace platform
