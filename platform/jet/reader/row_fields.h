#pragma once

#include "byte_order.h"
#include "table_definition.h"

#include <optional>

namespace jet {

// The fields of one stored row: a column count, the fixed-length values, the variable-length
// values, and from the row's end backwards the null mask, the variable-value count and their
// offsets.
class RowFields {
public:
    // Throws ReadError (Damaged) when the row is too short for its own bookkeeping.
    RowFields(Bytes row, const TableDefinition& table);

    // The not-null bit of the column; for a Boolean column this bit is the value itself.
    bool presenceBit(const ColumnDefinition& column) const;
    // The stored bytes of the column, or nothing when it is NULL (or newer than the row).
    std::optional<Bytes> bytes(const ColumnDefinition& column) const;

private:
    std::size_t variableOffset(std::size_t slot) const;

    Bytes row_;
    std::uint16_t columnCount_ = 0;
    std::size_t nullMaskStart_ = 0;
    std::uint16_t variableCount_ = 0;
    // Start of the variable-value offset table, which grows downwards from here.
    std::size_t variableTableEnd_ = 0;
    std::size_t variableDataLimit_ = 0;
};

} // namespace jet
