#pragma once

#include "index_key.h"
#include "row_fields.h"
#include "table_definition.h"

#include <optional>
#include <vector>

namespace jet {

// A row's key in one index, one part per index column, each as keySegment() gives it: known,
// or not proven here.
using KeyParts = std::vector<std::optional<KeyBytes>>;

const ColumnDefinition& columnNumbered(const TableDefinition& table, std::uint16_t number);

KeyParts rowKeyParts(const TableDefinition& table, const IndexDefinition& index,
                     const RowFields& row);

// The whole key once every part is known.
std::optional<KeyBytes> joinKey(const KeyParts& parts);

// Fills in the one part not known from the key the index really holds for the row: the
// known parts must be where they belong at its start and its end. Nothing when more than one
// part is unknown or stored does not fit around the known ones.
std::optional<KeyParts> completeFrom(KeyParts parts, const KeyBytes& stored);

// Whether the part is NULL's.
bool isNullPart(const std::optional<KeyBytes>& part);

} // namespace jet
