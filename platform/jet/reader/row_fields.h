#pragma once

#include "jet/reader/byte_order.h"
#include "jet/reader/table_definition.h"

#include <optional>

namespace jet {

// The fields of one stored row: a column count, the fixed-length values, the variable-length
// values, and from the row's end backwards the null mask, the variable-value count and their
// offsets.
//
// A row is laid out as its table was when the row was written, and the row itself says how:
// its column count sizes the null mask, its own count sizes the variable-value table. A row
// written while the table had no variable-length column has no such table at all, so it is
// only looked for when a variable-length value the row holds is asked for.
class RowFields {
public:
    // Throws ReadError (Damaged) when the row is too short for its null mask. The table is
    // not needed: the row and the column asked for describe everything.
    RowFields(Bytes row, const TableDefinition& table);

    // The not-null bit of the column; for a Boolean column this bit is the value itself.
    bool presenceBit(const ColumnDefinition& column) const;
    // The stored bytes of the column, or nothing when it is NULL (or newer than the row).
    // Throws ReadError (Damaged) when the value lies outside the row.
    std::optional<Bytes> bytes(const ColumnDefinition& column) const;

private:
    std::optional<Bytes> variableBytes(std::size_t slot) const;

    Bytes row_;
    std::uint16_t columnCount_ = 0;
    std::size_t nullMaskStart_ = 0;
};

} // namespace jet
