#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace jet {

// The key an ascending index on a text column holds for value under the General sort order
// (1033, version 0): 0x7F, one code per character that sorts (letter case does not count),
// 0x01, then, when the text holds characters without a sort weight of their own ('-' and
// '\''), three more 0x01 bytes and for each such character its position among the sorting
// characters and its code; last 0x00. Trailing spaces are not part of a key.
//
// Only characters whose codes are confirmed by keys in real files are computed: A-Z in either
// case, the digits, the space, '.', '_', '-' and '\''. Nothing for any other character, for a
// text that is empty once trailing spaces are gone, and for a '_' before a '-' or '\'', whose
// position counting has no sample: a caller then has to find the key some other way or
// compare the rows themselves.
std::optional<std::vector<std::uint8_t>> generalSortKey(std::u16string_view value);

} // namespace jet
