#pragma once

struct sqlite3;

namespace textrules {

// The collation name that the store's text columns declare.
inline constexpr const char* kCollationName = "JETTEXT";

// Registers the JETTEXT collation and the engine's LIKE (two and three arguments) on one
// connection. Returns an SQLite result code.
int registerTextFunctions(sqlite3* db);

} // namespace textrules
