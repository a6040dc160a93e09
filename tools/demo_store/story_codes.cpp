#include "tools/demo_store/story_codes.h"

#include <cctype>
#include <string_view>

namespace demostore {
namespace {

struct Prefix {
    std::string_view text;
    int weight;
};

// Letters only, so a code splits into prefix and number one way only.
constexpr std::array<Prefix, 12> kPrefixes = {{{"A", 15},
                                               {"B", 10},
                                               {"C", 12},
                                               {"D", 6},
                                               {"M", 8},
                                               {"N", 8},
                                               {"TH-", 14},
                                               {"KH-", 8},
                                               {"JP-", 7},
                                               {"CN-", 5},
                                               {"NV-", 4},
                                               {"LN", 3}}};

std::size_t pickPrefix(SplitMix64& rng) {
    int total = 0;
    for (const Prefix& prefix : kPrefixes) {
        total += prefix.weight;
    }
    int draw = static_cast<int>(rng.below(static_cast<std::uint64_t>(total)));
    for (std::size_t i = 0; i < kPrefixes.size(); ++i) {
        if (draw < kPrefixes[i].weight) {
            return i;
        }
        draw -= kPrefixes[i].weight;
    }
    return 0;
}

std::string formatCode(std::string_view prefix, std::int64_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return std::string(prefix) + digits;
}

} // namespace

StoryCodeMaker::StoryCodeMaker(SplitMix64 rng) : rng_(rng), taken_(CollatedLess{&collator_}) {
    static_assert(kPrefixes.size() == kPrefixCount);
}

bool StoryCodeMaker::reserve(const std::string& code) {
    return taken_.insert(code).second;
}

std::string StoryCodeMaker::next() {
    const std::size_t prefix = pickPrefix(rng_);
    const bool typedInLowerCase = rng_.percent(1);
    // Numbers grow with small gaps, as codes do where copies were retired; at 100,000
    // stories the longest code stays near ten characters.
    for (;;) {
        lastNumber_[prefix] += rng_.between(1, 3);
        std::string code = formatCode(kPrefixes[prefix].text, lastNumber_[prefix]);
        if (typedInLowerCase) {
            for (char& c : code) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
        }
        if (reserve(code)) {
            return code;
        }
    }
}

} // namespace demostore
