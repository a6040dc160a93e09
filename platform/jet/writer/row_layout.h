#pragma once

#include "jet/reader/byte_order.h"
#include "jet/reader/table_definition.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace jet {

// The most bytes the engine lets one row take.
inline constexpr std::size_t kMaxRowSize = 4060;

// The row with column's variable-length value replaced by value (nothing for NULL): the
// values after it move, their offsets and the end-of-data offset follow, the null mask bit
// follows the value, and everything else (the column count, fixed values, the slots of
// columns the table no longer has, any bytes between the data and the trailer) stays as
// stored. Refuses (Unsupported) a row whose layout does not add up or that lacks the column,
// and a result larger than a row may be.
std::vector<std::uint8_t> withVariableValue(Bytes row, const ColumnDefinition& column,
                                            const std::optional<Bytes>& value);

} // namespace jet
