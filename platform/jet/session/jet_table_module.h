#pragma once

#include "jet/session/jet_file_session.h"

#include <memory>

struct sqlite3;

namespace platform {

class JetWriteState;

// Makes every user table of the database behind writes a virtual table of db, under its own
// name (an eponymous one, connected when a statement first names it), with its columns in
// stored order and its text columns collated as JETTEXT (which must already be registered on
// db). Equality on a column that an index can look up is answered through that index; UPDATE
// and DELETE go to writes. writes must outlive db. Returns an SQLite result code.
int attachJetTables(sqlite3* db, JetWriteState& writes);

// The Jet file a connection's module "jet" serves: none until one is opened into it.
struct JetFileSlot {
    std::unique_ptr<JetFileSession> file;
    // While set, DROP TABLE takes a table of the file out of the connection; otherwise it is
    // refused (the file keeps its tables).
    bool releasing = false;
};

// Registers the module "jet" on db: CREATE VIRTUAL TABLE name USING jet(...) makes the table
// of that name in the slot's file a virtual table as attachJetTables does (the module's
// arguments are for people to read; the file decides the columns). The slot lives as long as
// the module, which db owns; nullptr if it cannot be registered.
JetFileSlot* createJetModule(sqlite3* db);

} // namespace platform
