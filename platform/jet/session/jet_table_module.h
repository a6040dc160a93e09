#pragma once

struct sqlite3;

namespace platform {

class JetWriteState;

// Makes every user table of the database behind writes a virtual table of db, under its own
// name (an eponymous one, connected when a statement first names it), with its columns in
// stored order and its text columns collated as JETTEXT (which must already be registered on
// db). Equality on a column that an index can look up is answered through that index; UPDATE
// and DELETE go to writes. writes must outlive db. Returns an SQLite result code.
int attachJetTables(sqlite3* db, JetWriteState& writes);

} // namespace platform
