#include "tools/demo_store/copy_spread.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace demostore {
namespace {

std::int64_t storyWeight(SplitMix64& rng) {
    const auto tier = rng.below(100);
    if (tier < 1) {
        return rng.between(300, 1000);
    }
    if (tier < 10) {
        return rng.between(20, 80);
    }
    return rng.between(1, 5);
}

// Partial Fisher-Yates: `count` distinct stories, one copy each.
void giveOneCopyToSome(std::vector<std::int64_t>& counts, std::int64_t count, SplitMix64& rng) {
    std::vector<std::int64_t> order(counts.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::int64_t i = 0; i < count; ++i) {
        const auto remaining =
            static_cast<std::uint64_t>(order.size()) - static_cast<std::uint64_t>(i);
        const auto j = i + static_cast<std::int64_t>(rng.below(remaining));
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
        ++counts[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    }
}

} // namespace

std::vector<std::int64_t> spreadCopies(std::int64_t copies, std::int64_t stories, SplitMix64& rng) {
    std::vector<std::int64_t> counts(static_cast<std::size_t>(std::max<std::int64_t>(stories, 0)));
    if (counts.empty() || copies <= 0) {
        return counts;
    }
    if (copies < stories) {
        giveOneCopyToSome(counts, copies, rng);
        return counts;
    }
    std::fill(counts.begin(), counts.end(), 1);
    const std::int64_t extra = copies - stories;

    std::vector<std::int64_t> weights(counts.size());
    for (std::int64_t& weight : weights) {
        weight = storyWeight(rng);
    }
    std::vector<std::int64_t> runningWeight(weights.size());
    std::partial_sum(weights.begin(), weights.end(), runningWeight.begin());
    const std::int64_t totalWeight = runningWeight.back();

    // Integer shares keep the result the same on every machine; the few copies that
    // rounding leaves over go to stories drawn by weight.
    std::int64_t given = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const std::int64_t share = extra * weights[i] / totalWeight;
        counts[i] += share;
        given += share;
    }
    for (; given < extra; ++given) {
        const auto draw =
            static_cast<std::int64_t>(rng.below(static_cast<std::uint64_t>(totalWeight)));
        const auto hit = std::upper_bound(runningWeight.begin(), runningWeight.end(), draw);
        ++counts[static_cast<std::size_t>(hit - runningWeight.begin())];
    }
    return counts;
}

std::vector<std::int32_t> shuffledOwners(const std::vector<std::int64_t>& copiesPerStory,
                                         SplitMix64& rng) {
    std::vector<std::int32_t> owners;
    owners.reserve(static_cast<std::size_t>(
        std::accumulate(copiesPerStory.begin(), copiesPerStory.end(), std::int64_t{0})));
    for (std::size_t story = 0; story < copiesPerStory.size(); ++story) {
        owners.insert(owners.end(), static_cast<std::size_t>(copiesPerStory[story]),
                      static_cast<std::int32_t>(story));
    }
    for (std::size_t i = owners.size(); i > 1; --i) {
        std::swap(owners[i - 1], owners[static_cast<std::size_t>(rng.below(i))]);
    }
    return owners;
}

} // namespace demostore
