#pragma once

#include "data/provider_session.h"
#include "data/store_schema.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace platform {

class SqliteSession;

// The embedded store: an SQLite file marked with this application id, whose text columns
// declare the JETTEXT collation and whose database password lives, salted and hashed, in
// the table MSysStoreAccess.
inline constexpr int kStoreApplicationId = 0x4A455453;

// Whether the read of the file that checks a connection ends with the check, or lasts until
// the connection's first query has begun, so that both read under one lock of the file.
enum class FirstRead { Ends, LastsUntilFirstQuery };

// The same for a file whose head the provider has just read, found ordinary and an SQLite
// file with this application id: nothing of that is asked again.
std::unique_ptr<ProviderSession> openReadSqliteStore(const QString& path, const QString& password,
                                                     std::uint32_t applicationId,
                                                     FirstRead firstRead);

// A connection to an existing store, for the store's own tools and tests: the file checked
// to be a store and the password its password. Never creates a file.
std::unique_ptr<SqliteSession> openCheckedSqliteSession(const QString& path,
                                                        const QString& password);

} // namespace platform
