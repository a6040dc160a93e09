#pragma once

#include "tools/demo_store/demo_request.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// What the large shop is measured with: a best seller's copies looked up by Enter, and
// the largest move. Smaller shops cannot hold these and get a quarter of their copies.
inline constexpr std::int64_t kBestSellerCopies = 40'000;
inline constexpr std::int64_t kLargestMoveCopies = 100'000;

// The stories whose copy counts the measurements depend on. Every one of them has a name,
// so the window finds it; the targets start with no copies, so moving copies onto one and
// back again leaves the store as it was.
struct ShopCodes {
    std::string enterFew; // looked up by Enter: a handful of copies
    std::int64_t enterFewCopies = 0;
    std::string enterMany; // looked up by Enter: as many copies as a best seller has
    std::int64_t enterManyCopies = 0;
    struct Move {
        std::string from;
        std::string to;
        std::int64_t copies = 0;
    };
    std::vector<Move> moves; // fewest copies first
};

// One store size: how many stories and copies it holds in all, special ones included.
struct ShopSize {
    std::string label; // "S", "M", "L"
    std::int64_t stories = 0;
    std::int64_t copies = 0;
    std::uint64_t seed = 1;
    ShopCodes codes;

    // What the demo tool is asked for: the special stories, and ordinary ones for the rest.
    demostore::DemoRequest demoRequest() const;
    // A file name that changes whenever the rows would.
    std::string storeKey() const;
};

// A size of any other dimensions, with the same special stories.
ShopSize shopSize(std::string label, std::int64_t stories, std::int64_t copies, std::uint64_t seed);

// S, M and L: 1,000 / 10,000, 10,000 / 100,000 and 100,000 / 1,000,000 stories / copies.
std::vector<ShopSize> shopSizes(std::uint64_t seed);

} // namespace bench
