#include "bench/shop_sizes.h"

#include <algorithm>

namespace bench {
namespace {

// A smaller store cannot hold the large shop's counts next to its ordinary stories.
std::int64_t fitting(std::int64_t wanted, std::int64_t storeCopies) {
    return std::min(wanted, storeCopies / 4);
}

// Bumped whenever the plan below changes, so cached stores are made again.
constexpr int kPlanVersion = 1;

} // namespace

ShopSize shopSize(std::string label, std::int64_t stories, std::int64_t copies,
                  std::uint64_t seed) {
    ShopSize size;
    size.label = std::move(label);
    size.stories = stories;
    size.copies = copies;
    size.seed = seed;
    ShopCodes& codes = size.codes;
    codes.enterFew = "BE-FEW";
    codes.enterFewCopies = 10;
    codes.enterMany = "BE-MANY";
    codes.enterManyCopies = fitting(kBestSellerCopies, copies);
    codes.moves = {{"BM-10", "BT-10", 10},
                   {"BM-1000", "BT-1000", 1'000},
                   {"BM-MAX", "BT-MAX", fitting(kLargestMoveCopies, copies)}};
    return size;
}

demostore::DemoRequest ShopSize::demoRequest() const {
    demostore::DemoRequest request;
    request.seed = seed;
    request.specials.push_back({codes.enterFew, codes.enterFewCopies, {}});
    request.specials.push_back({codes.enterMany, codes.enterManyCopies, {}});
    for (const ShopCodes::Move& move : codes.moves) {
        request.specials.push_back({move.from, move.copies, {}});
        request.specials.push_back({move.to, 0, {}});
    }
    std::int64_t specialCopies = 0;
    for (const demostore::SpecialStory& special : request.specials) {
        specialCopies += special.copies;
    }
    request.stories = stories - static_cast<std::int64_t>(request.specials.size());
    request.copies = copies - specialCopies;
    return request;
}

std::string ShopSize::storeKey() const {
    return label + "-" + std::to_string(stories) + "x" + std::to_string(copies) + "-seed" +
           std::to_string(seed) + "-v" + std::to_string(kPlanVersion);
}

std::vector<ShopSize> shopSizes(std::uint64_t seed) {
    return {shopSize("S", 1'000, 10'000, seed), shopSize("M", 10'000, 100'000, seed),
            shopSize("L", 100'000, 1'000'000, seed)};
}

} // namespace bench
