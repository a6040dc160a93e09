#pragma once

struct sqlite3;

namespace jet {
class Database;
}

namespace platform {

// Makes every user table of database a read-only virtual table of db, under its own name,
// with its columns in stored order and its text columns collated as JETTEXT (which must
// already be registered on db). Equality on a column that an index can look up is answered
// through that index. database must outlive db. Returns an SQLite result code.
int attachJetTables(sqlite3* db, const jet::Database& database);

} // namespace platform
