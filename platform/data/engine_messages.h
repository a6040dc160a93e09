#pragma once

#include "data/db_error.h"
#include "jet/session/engine_words.h"

#include <QString>

namespace platform {

// The engine's own wording for the failures a user can meet, so the tool reads the same
// whichever store is behind it.
DbError fileNotFoundError(const QString& path);
DbError unrecognizedFormatError(const QString& path);
DbError invalidPasswordError();
DbError providerNotFoundError();
DbError noDataSourceError();

// The engine's words as the error the data-access objects throw.
DbError toDbError(const EngineWords& words);

// Maps an SQLite failure on the file at path to the description the user sees.
DbError translateSqliteError(int code, const QString& message, const QString& path);

} // namespace platform
