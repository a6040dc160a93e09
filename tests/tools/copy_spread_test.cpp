// Spreading copies over stories: exact totals, and the skew of a real shop.

#include "tools/demo_store/copy_spread.h"

#include "tests/testkit/gtest_qt.h"

#include <algorithm>
#include <numeric>

namespace {

class CopySpread : public ::testing::TestWithParam<std::pair<std::int64_t, std::int64_t>> {};

TEST_P(CopySpread, AddsUpExactlyAndEveryStoryGetsOneBeforeAnyGetsTwo) {
    const auto [copies, stories] = GetParam();
    demostore::SplitMix64 rng(3);
    const std::vector<std::int64_t> counts = demostore::spreadCopies(copies, stories, rng);
    ASSERT_EQ(static_cast<std::int64_t>(counts.size()), stories);
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::int64_t{0}), copies);
    for (const std::int64_t count : counts) {
        EXPECT_TRUE(copies >= stories ? count >= 1 : count <= 1) << count;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CopySpread,
                         ::testing::Values(std::pair{0, 0}, std::pair{0, 5}, std::pair{1, 1},
                                           std::pair{7, 1}, std::pair{3, 10}, std::pair{10, 10},
                                           std::pair{11, 10}, std::pair{20'000, 1000},
                                           std::pair{1'000'000, 100'000}));

TEST(CopySpreadShape, AFewStoriesAreLargeAndMostAreSmall) {
    demostore::SplitMix64 rng(1);
    std::vector<std::int64_t> counts = demostore::spreadCopies(1'000'000, 100'000, rng);
    std::sort(counts.begin(), counts.end(), std::greater<>());
    // The top 1% of stories hold over a quarter of the copies; the median story a handful.
    EXPECT_GT(std::accumulate(counts.begin(), counts.begin() + 1000, std::int64_t{0}), 250'000);
    EXPECT_LE(counts[counts.size() / 2], 5);
}

} // namespace
