#pragma once

#include "tools/demo_store/split_mix.h"

#include <optional>
#include <string>
#include <string_view>

namespace demostore {

// The text of demo rows, in UTF-8: titles a Thai rental shop would carry (Thai, Latin and
// mixed, with leading vowels, tone marks, the repetition mark and Thai digits), authors,
// categories, copy states and prices.
std::string makeTitle(SplitMix64& rng);
std::optional<std::string> makeAuthor(SplitMix64& rng); // sometimes unknown
std::optional<std::string> pickCategory(SplitMix64& rng);
std::string_view pickCopyStatus(SplitMix64& rng);
double pickPrice(SplitMix64& rng);
std::string makeAddedDate(SplitMix64& rng); // ISO yyyy-MM-dd

} // namespace demostore
