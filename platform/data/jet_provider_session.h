#pragma once

#include "data/provider_session.h"

#include <QString>

#include <memory>

namespace platform {

// Opens a Jet 4.0 database file with our own reader and checks the database password. The
// statements of a session run through SQLite over the file's tables, with the same text rules
// as the embedded store. UPDATE and DELETE are written to the file by our own writer, all or
// nothing, or refused with nothing changed; every other statement that would write is
// refused before anything is touched. Throws DbError.
std::unique_ptr<ProviderSession> openJetSession(const QString& path, const QString& password);

} // namespace platform
