#pragma once

#include "jet/reader/field_value.h"
#include "jet/reader/table_definition.h"

#include <string>

struct sqlite3_context;

namespace platform {

// A name or text from the file in UTF-8, as SQLite and the text rules take it.
std::string utf8Text(const std::u16string& text);

// A name from the file as an SQL identifier: in double quotes, inner quotes doubled.
std::string sqlIdentifier(const std::u16string& name);

// Whether SQLite keeps a name (UTF-8) for itself, so that no table of a file can have it.
bool nameReservedBySqlite(const std::string& name);

// The CREATE TABLE text a virtual table declares for a Jet table: each column under the
// engine's name for its type, text and memo collated as JETTEXT. Values come as setSqlResult
// gives them.
std::string jetTableDeclaration(const jet::TableDefinition& table);
// The column list of that text, without the parentheses.
std::string jetColumnDeclarations(const jet::TableDefinition& table);

// Whole numbers and Yes/No as INTEGER, Currency and floating values as REAL, Date/Time as
// "YYYY-MM-DD HH:MM:SS" text like the embedded store keeps it, GUID as text, Numeric as a
// NUMERIC column keeps its value, the rest as BLOB.
void setSqlResult(sqlite3_context* context, const jet::FieldValue& value);

} // namespace platform
