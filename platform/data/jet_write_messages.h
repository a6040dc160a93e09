#pragma once

#include "data/db_error.h"
#include "jet/writer/write_error.h"

#include <QString>

namespace platform {

// What the operator reads when a change to the Jet file at path does not happen: the engine's
// own words where the engine has them, in Thai otherwise, with what to do about it.
DbError writeErrorMessage(const jet::WriteError& error, const QString& path);

// A statement the file cannot run at all (anything but reading, UPDATE and DELETE).
DbError unsupportedStatementError();

} // namespace platform
