#pragma once

#include "provider_session.h"

#include <QString>

#include <memory>

namespace platform {

// The embedded store: an SQLite file marked with this application id, whose text columns
// declare the JETTEXT collation and whose database password lives, salted and hashed, in
// the table MSysStoreAccess.
inline constexpr int kStoreApplicationId = 0x4A455453;

// How long a connection waits for another program's lock before giving up.
inline constexpr int kLockWaitMilliseconds = 5000;

// Opens a connection to an existing store and checks its password. Never creates a file.
std::unique_ptr<ProviderSession> openSqliteStore(const QString& path, const QString& password);

// Writes a new store with the shop's schema and the given password. Refuses to replace an
// existing file.
void createSqliteStore(const QString& path, const QString& password);

// The shop's schema, as created by createSqliteStore.
QString storeSchemaSql();

class SqliteDatabase;
class SqliteSession;

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
