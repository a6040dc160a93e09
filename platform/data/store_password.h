#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

class SqliteDatabase;
class SqliteSession;
class SqliteStatement;

// The store keeps no password, only a random salt and the HMAC-SHA256 of the password under
// it, in the one row of MSysStoreAccess: a copy of the file gives the password away to no one.

// Creates MSysStoreAccess with its row for the password, inside the caller's transaction.
void writeStorePassword(SqliteDatabase& db, const QString& password);

// Checks, on every connection, that the file is one of our stores and that the password is
// its password. Throws the engine's DbError for a foreign file or a wrong password. The
// application id is read from the file unless the caller has just read it from its header.
// Returns the statement that read the password's row, still on it and so still holding the
// connection's read of the file.
std::unique_ptr<SqliteStatement>
checkStoreAndPassword(const SqliteSession& session, const QString& path, const QString& password,
                      std::optional<std::uint32_t> applicationId = std::nullopt);

} // namespace platform
