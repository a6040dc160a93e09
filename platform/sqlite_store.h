#pragma once

#include "provider_session.h"
#include "store_schema.h"
#include "store_writer.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace platform {

class SqliteSession;

// The embedded store: an SQLite file marked with this application id, whose text columns
// declare the JETTEXT collation and whose database password lives, salted and hashed, in
// the table MSysStoreAccess. Its schema and the writer that fills it in bulk come with it.
inline constexpr int kStoreApplicationId = 0x4A455453;

// How long a connection waits for another program's lock before giving up.
inline constexpr int kLockWaitMilliseconds = 5000;

// Opens a connection to an existing store and checks its password. Never creates a file.
std::unique_ptr<ProviderSession> openSqliteStore(const QString& path, const QString& password);

// Whether the read of the file that checks a connection ends with the check, or lasts until
// the connection's first query has begun, so that both read under one lock of the file.
enum class FirstRead { Ends, LastsUntilFirstQuery };

// The same for a file whose head the provider has just read, found ordinary and an SQLite
// file with this application id: nothing of that is asked again.
std::unique_ptr<ProviderSession> openReadSqliteStore(const QString& path, const QString& password,
                                                     std::uint32_t applicationId,
                                                     FirstRead firstRead);

// The same connection, for the store's own tools: the file checked to be a store and the
// password its password.
std::unique_ptr<SqliteSession> openCheckedSqliteSession(const QString& path,
                                                        const QString& password);

// Writes a new store with the shop's schema and the given password. Refuses to replace an
// existing file.
void createSqliteStore(const QString& path, const QString& password);

} // namespace platform
