#include "row_fields.h"

namespace jet {

RowFields::RowFields(Bytes row, const TableDefinition& table) : row_(row) {
    columnCount_ = u16At(row_, 0, "a row's column count");
    const std::size_t maskSize = (columnCount_ + 7u) / 8u;
    if (row_.size() < 2 + maskSize) {
        throwDamaged("a row is shorter than its null mask");
    }
    nullMaskStart_ = row_.size() - maskSize;
    variableDataLimit_ = nullMaskStart_;
    if (table.variableColumnCount > 0) {
        if (nullMaskStart_ < 4) {
            throwDamaged("a row is too short for its variable-value table");
        }
        variableCount_ = u16At(row_, nullMaskStart_ - 2, "a row's variable-value count");
        variableTableEnd_ = nullMaskStart_ - 2;
        // The table holds one offset per value and one for the end of the last value.
        const std::size_t tableSize = 2u * (variableCount_ + 1u);
        if (tableSize > variableTableEnd_ - 2) {
            throwDamaged("a row's variable-value table is larger than the row");
        }
        variableDataLimit_ = variableTableEnd_ - tableSize;
    }
}

bool RowFields::presenceBit(const ColumnDefinition& column) const {
    if (column.number >= columnCount_) {
        return false;
    }
    return ((row_[nullMaskStart_ + column.number / 8u] >> (column.number % 8u)) & 1u) != 0;
}

std::size_t RowFields::variableOffset(std::size_t slot) const {
    return u16At(row_, variableTableEnd_ - 2 * (slot + 1), "a variable-value offset");
}

std::optional<Bytes> RowFields::bytes(const ColumnDefinition& column) const {
    if (!presenceBit(column)) {
        return std::nullopt;
    }
    if (column.fixedLength) {
        const std::size_t start = 2u + column.fixedOffset;
        if (start > variableDataLimit_ || column.length > variableDataLimit_ - start) {
            throwDamaged("a fixed-length value lies outside its row");
        }
        return row_.subspan(start, column.length);
    }
    if (column.variableIndex >= variableCount_) {
        // Added to the table after this row was written.
        return std::nullopt;
    }
    const std::size_t start = variableOffset(column.variableIndex);
    const std::size_t end = variableOffset(column.variableIndex + 1u);
    if (start > end || end > variableDataLimit_) {
        throwDamaged("a variable-length value lies outside its row");
    }
    return row_.subspan(start, end - start);
}

} // namespace jet
