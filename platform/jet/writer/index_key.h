#pragma once

#include "jet/reader/byte_order.h"
#include "jet/reader/table_definition.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace jet {

using KeyBytes = std::vector<std::uint8_t>;

// One column's part of an index key for a stored value (nothing for NULL), as the engine
// writes it in a column of the given direction; nothing when the bytes cannot be proven right
// here. Proven in ascending form: NULL (0x00); 16- and 32-bit integers (0x7F, then the value
// big-endian with its sign bit flipped); text under the General sort order, for the
// characters generalSortKey knows. A descending column holds that form as inDirection gives it.
std::optional<KeyBytes> keySegment(const ColumnDefinition& column, bool ascending,
                                   const std::optional<Bytes>& stored);

// An ascending key segment of column as a column of the given direction holds it: unchanged,
// or with every byte inverted (0x7F becomes 0x80 and NULL's 0x00 becomes 0xFF) and, for a text
// value, a 0x00 after it, so that a descending index sorts its values the other way round under
// the same byte order. ascendingForm undoes it.
KeyBytes inDirection(KeyBytes segment, const ColumnDefinition& column, bool ascending);
KeyBytes ascendingForm(KeyBytes segment, const ColumnDefinition& column, bool ascending);

// A text as a text column stores it: one byte per character after an FF FE marker when the
// column allows it, every character fits a byte (and none is NUL) and that is shorter;
// UTF-16LE otherwise.
std::vector<std::uint8_t> storedTextBytes(const ColumnDefinition& column, std::u16string_view text);

} // namespace jet
