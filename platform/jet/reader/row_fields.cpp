#include "jet/reader/row_fields.h"

namespace jet {

RowFields::RowFields(Bytes row, const TableDefinition&) : row_(row) {
    columnCount_ = u16At(row_, 0, "a row's column count");
    const std::size_t maskSize = (columnCount_ + 7u) / 8u;
    if (row_.size() < 2 + maskSize) {
        throwDamaged("a row is shorter than its null mask");
    }
    nullMaskStart_ = row_.size() - maskSize;
}

bool RowFields::presenceBit(const ColumnDefinition& column) const {
    if (column.number >= columnCount_) {
        return false;
    }
    return ((row_[nullMaskStart_ + column.number / 8u] >> (column.number % 8u)) & 1u) != 0;
}

std::optional<Bytes> RowFields::variableBytes(std::size_t slot) const {
    if (nullMaskStart_ < 4) {
        throwDamaged("a row is too short for its variable-value table");
    }
    const std::size_t tableEnd = nullMaskStart_ - 2;
    const std::uint16_t count = u16At(row_, tableEnd, "a row's variable-value count");
    if (slot >= count) {
        // Added to the table after this row was written.
        return std::nullopt;
    }
    // The table holds one offset per value and one for the end of the last value.
    const std::size_t tableSize = 2u * (count + 1u);
    if (tableSize > tableEnd - 2) {
        throwDamaged("a row's variable-value table is larger than the row");
    }
    const std::size_t dataLimit = tableEnd - tableSize;
    const std::size_t start = u16At(row_, tableEnd - 2 * (slot + 1), "a variable-value offset");
    const std::size_t end = u16At(row_, tableEnd - 2 * (slot + 2), "a variable-value offset");
    if (start > end || end > dataLimit) {
        throwDamaged("a variable-length value lies outside its row");
    }
    return row_.subspan(start, end - start);
}

std::optional<Bytes> RowFields::bytes(const ColumnDefinition& column) const {
    if (!presenceBit(column)) {
        return std::nullopt;
    }
    if (column.fixedLength) {
        const std::size_t start = 2u + column.fixedOffset;
        if (start > nullMaskStart_ || column.length > nullMaskStart_ - start) {
            throwDamaged("a fixed-length value lies outside its row");
        }
        return row_.subspan(start, column.length);
    }
    // A value the row holds (its bit is set and the row knows the column) was written with
    // the variable-value table that every row of a table with such columns carries.
    return variableBytes(column.variableIndex);
}

} // namespace jet
