#pragma once

#include "jet/reader/row_fields.h"
#include "jet/reader/table_definition.h"
#include "jet/writer/index_key.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jet {

// A row's key in one index, one part per index column, each as keySegment() gives it: known,
// or not proven here.
using KeyParts = std::vector<std::optional<KeyBytes>>;

const ColumnDefinition& columnNumbered(const TableDefinition& table, std::uint16_t number);

KeyParts rowKeyParts(const TableDefinition& table, const IndexDefinition& index,
                     const RowFields& row);

// rowKeyParts for many rows of one index: rows that hold the same values in the index's
// columns (the tens of thousands of copies a change moves hold a handful) share their parts,
// worked out once.
class RowKeyParts {
public:
    struct Key {
        KeyParts parts;
        std::optional<KeyBytes> joined; // joinKey(parts)
    };

    RowKeyParts(const TableDefinition& table, const IndexDefinition& index);

    const Key& of(const RowFields& row);
    // The same for the values of the index's columns (nothing for NULL), read already.
    const Key& of(const std::array<std::optional<Bytes>, 10>& values, std::size_t count);

private:
    const IndexDefinition& index_;
    std::vector<const ColumnDefinition*> columns_;
    std::string signature_;
    std::map<std::string, Key, std::less<>> known_;
};

// The whole key once every part is known.
std::optional<KeyBytes> joinKey(const KeyParts& parts);

// Fills in the one part not known from the key the index really holds for the row: the
// known parts must be where they belong at its start and its end. Nothing when more than one
// part is unknown or stored does not fit around the known ones.
std::optional<KeyParts> completeFrom(KeyParts parts, const KeyBytes& stored);

// Whether the part is NULL's.
bool isNullPart(const std::optional<KeyBytes>& part);

} // namespace jet
