#include "jet/writer/row_layout.h"

#include "jet/writer/write_error.h"

#include <array>

namespace jet {
namespace {

void appendU16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

} // namespace

std::vector<std::uint8_t> withVariableValue(Bytes row, const ColumnDefinition& column,
                                            const std::optional<Bytes>& value) {
    if (column.fixedLength) {
        refuseUnsupported("only variable-length values are rewritten");
    }
    const std::uint16_t columnCount = u16At(row, 0, "a row's column count");
    const std::size_t maskSize = (columnCount + 7u) / 8u;
    if (column.number >= columnCount || row.size() < 2 + maskSize + 4) {
        refuseUnsupported("a row is older than the column it should change");
    }
    const std::size_t maskStart = row.size() - maskSize;
    const std::size_t tableEnd = maskStart - 2;
    const std::uint16_t count = u16At(row, tableEnd, "a row's variable-value count");
    if (column.variableIndex >= count || 2u * (count + 1u) > tableEnd - 2) {
        refuseUnsupported("a row is older than the column it should change");
    }
    const std::size_t tableStart = tableEnd - 2u * (count + 1u);
    // Offset i is the start of value i; offset count is the end of the last value. A row
    // has at most 255 columns, so a larger count does not add up either.
    std::array<std::size_t, 257> offsets{};
    if (count > 255) {
        refuseUnsupported("a row whose variable values do not add up");
    }
    for (std::size_t i = 0; i <= count; ++i) {
        offsets[i] = u16At(row, tableEnd - 2 * (i + 1));
        if (offsets[i] < 2 || offsets[i] > tableStart || (i > 0 && offsets[i] < offsets[i - 1])) {
            refuseUnsupported("a row whose variable values do not add up");
        }
    }
    const std::size_t slot = column.variableIndex;
    const std::size_t oldStart = offsets[slot];
    const std::size_t oldEnd = offsets[slot + 1];
    const std::size_t newSize = value ? value->size() : 0;

    std::vector<std::uint8_t> out;
    out.reserve(row.size() - (oldEnd - oldStart) + newSize);
    out.insert(out.end(), row.begin(), row.begin() + static_cast<std::ptrdiff_t>(oldStart));
    if (value) {
        out.insert(out.end(), value->begin(), value->end());
    }
    out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(oldEnd),
               row.begin() + static_cast<std::ptrdiff_t>(tableStart));
    for (std::size_t i = count + 1; i-- > 0;) {
        appendU16(out, i > slot ? offsets[i] - oldEnd + oldStart + newSize : offsets[i]);
    }
    appendU16(out, count);
    const std::size_t maskAt = out.size();
    out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(maskStart), row.end());
    const auto bit = static_cast<std::uint8_t>(1u << (column.number % 8));
    std::uint8_t& maskByte = out[maskAt + column.number / 8];
    maskByte = static_cast<std::uint8_t>(value ? (maskByte | bit) : (maskByte & ~bit));
    if (out.size() > kMaxRowSize || out.size() > 0xFFFF) {
        refuseUnsupported("a rewritten row would be larger than a row may be");
    }
    return out;
}

} // namespace jet
