#pragma once

#include "provider_session.h"

#include <QString>

#include <memory>

namespace platform {

// Opens a Jet 4.0 database file read-only with our own reader and checks the database
// password. The statements of a session run through SQLite over the file's tables, with the
// same text rules as the embedded store; any statement that would write is refused before
// anything is touched. Throws DbError.
std::unique_ptr<ProviderSession> openJetSession(const QString& path, const QString& password);

} // namespace platform
