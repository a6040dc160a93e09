#pragma once

#include <QString>

#include <cstdint>

namespace platform {

enum class DatabaseFileKind { Missing, SqliteStore, Jet4, Unrecognized };

struct DatabaseFileHead {
    DatabaseFileKind kind = DatabaseFileKind::Missing;
    // An SQLite file's application id, as its header gives it; 0 for any other kind.
    std::uint32_t applicationId = 0;
};

// Tells the kind of database file at path from its first bytes. Anything but an ordinary file
// (a folder, a FIFO, a device, a socket) counts as missing; nothing here ever waits.
DatabaseFileHead readDatabaseFileHead(const QString& path);

} // namespace platform
