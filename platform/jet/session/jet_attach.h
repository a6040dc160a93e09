#pragma once

struct sqlite3;

namespace platform {

// Gives any SQLite connection the tables of one Jet 4.0 file: registers the module "jet" and
// the SQL function jet_attach(path [, password]), which opens the file as the window opens it
// (password checked as the engine checks it, the file locked while the connection lives) and
// makes each of its user tables a virtual table of its own name, declared with the file's
// columns: in main when main is a database in memory, in temp otherwise, so that nothing is
// written to a database file. It returns the number of tables. One file per connection; the
// text rules must already be registered on db. Returns an SQLite result code.
int registerJetAttach(sqlite3* db);

} // namespace platform
