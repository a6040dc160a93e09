#pragma once

#include "data/db_error.h"

#include <QString>

namespace platform {

// The engine's own wording for the failures a user can meet, so the tool reads the same
// whichever store is behind it.
DbError fileNotFoundError(const QString& path);
DbError unrecognizedFormatError(const QString& path);
DbError invalidPasswordError();
DbError providerNotFoundError();
DbError noDataSourceError();

// Maps an SQLite failure on the file at path to the description the user sees.
DbError translateSqliteError(int code, const QString& message, const QString& path);

} // namespace platform
