#pragma once

#include "byte_order.h"
#include "table_definition.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace jet {

using KeyBytes = std::vector<std::uint8_t>;

// One column's part of an index key for a stored value (nothing for NULL), as the engine
// writes it; nothing when the bytes cannot be proven right here. Proven: NULL in an ascending
// column (0x00); 16- and 32-bit integers ascending (0x7F, then the value big-endian with its
// sign bit flipped); text under the General sort order ascending, for the characters
// generalSortKey knows.
std::optional<KeyBytes> keySegment(const ColumnDefinition& column, bool ascending,
                                   const std::optional<Bytes>& stored);

// A text as a text column stores it: one byte per character after an FF FE marker when the
// column allows it, every character fits a byte (and none is NUL) and that is shorter;
// UTF-16LE otherwise.
std::vector<std::uint8_t> storedTextBytes(const ColumnDefinition& column, std::u16string_view text);

} // namespace jet
