#pragma once

#include "database.h"
#include "index_key.h"

#include <optional>
#include <string_view>

namespace jet {

// The key some index of the file already holds for exactly text, in a text column sorted like
// column (same sort order and version, ascending, the column alone in its index): what the
// engine wrote for that text is what it would write again. Nothing when no such entry exists.
std::optional<KeyBytes> keyFromFile(const Database& database, const ColumnDefinition& column,
                                    std::u16string_view text);

} // namespace jet
