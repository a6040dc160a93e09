#pragma once

#include "field_value.h"
#include "table_definition.h"

#include <string>

struct sqlite3_context;

namespace platform {

// A name from the file as an SQL identifier: in double quotes, inner quotes doubled.
std::string sqlIdentifier(const std::u16string& name);

// The CREATE TABLE text a virtual table declares for a Jet table: text and memo columns
// collated as JETTEXT, whole numbers INTEGER, Currency and floating values REAL, Date/Time as
// "YYYY-MM-DD HH:MM:SS" text like the embedded store keeps it, anything else BLOB.
std::string jetTableDeclaration(const jet::TableDefinition& table);

void setSqlResult(sqlite3_context* context, const jet::FieldValue& value);

} // namespace platform
