#pragma once

#include "tools/demo_store/split_mix.h"

#include <cstdint>
#include <vector>

namespace demostore {

// How many of `copies` copies each of `stories` stories holds; the counts add up exactly.
// Every story gets one copy while they last; the rest go by weight, skewed the way a
// rental shop's shelves are: a few long-running series with hundreds of copies, a middle
// band with dozens, and most stories with a handful.
std::vector<std::int64_t> spreadCopies(std::int64_t copies, std::int64_t stories, SplitMix64& rng);

// The story of every copy, in the order the copies are to be stored: shuffled, since a
// shop adds copies of its stories over the years, not one story at a time.
std::vector<std::int32_t> shuffledOwners(const std::vector<std::int64_t>& copiesPerStory,
                                         SplitMix64& rng);

} // namespace demostore
