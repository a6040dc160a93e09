#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace jet {

// The key an ascending index on a text column holds for value under the General sort order:
// 0x7F, one code per character that sorts (letter case does not count), 0x01, then, when the
// text holds characters that do not sort by themselves ('-' and '\''), three more 0x01 bytes
// and for each such character its position among the sorting characters and its code; last
// 0x00. Nothing when value is empty or holds a character whose code is not confirmed here;
// the caller then has to compare the rows themselves.
std::optional<std::vector<std::uint8_t>> generalSortKey(std::u16string_view value);

} // namespace jet
