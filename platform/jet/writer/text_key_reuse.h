#pragma once

#include "jet/reader/database.h"
#include "jet/writer/index_key.h"

#include <optional>
#include <string_view>

namespace jet {

// Where a text's key was found in the file: the row that holds exactly that text, and the
// index whose entry for the row holds the key.
struct ReusedKey {
    KeyBytes key;            // ascending form
    std::uint32_t table = 0; // definition page
    std::size_t index = 0;
    RowLocation row;
};

// The key some index of the file already holds for exactly text, in a text column sorted like
// column (same sort order and version, the column alone in its index, in either direction):
// what the engine wrote for that text is what it would write again. Nothing when no such entry
// exists.
std::optional<ReusedKey> keyFromFile(const Database& database, const ColumnDefinition& column,
                                     std::u16string_view text);

} // namespace jet
