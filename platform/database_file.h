#pragma once

#include <QString>

namespace platform {

enum class DatabaseFileKind { Missing, SqliteStore, Jet4, Unrecognized };

// Tells the kind of database file at path from its first bytes. A folder counts as missing.
DatabaseFileKind sniffDatabaseFile(const QString& path);

} // namespace platform
