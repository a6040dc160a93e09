#pragma once

#include "textrules/text_collator.h"
#include "tools/demo_store/split_mix.h"

#include <array>
#include <set>
#include <string>

namespace demostore {

// Hands out story codes in the shop's style (A0005, TH-0036, C0123, now and then typed in
// lower case), each unique as the store compares keys: letter case does not count there,
// so 'a0005' and 'A0005' would be the same story.
class StoryCodeMaker {
public:
    explicit StoryCodeMaker(SplitMix64 rng);

    // Takes a code out of the pool. False if the store would see it as one already taken.
    bool reserve(const std::string& code);
    std::string next();

private:
    struct CollatedLess {
        const textrules::TextCollator* collator;
        bool operator()(const std::string& a, const std::string& b) const {
            return collator->compare(a, b) < 0;
        }
    };
    static constexpr std::size_t kPrefixCount = 12;

    SplitMix64 rng_;
    textrules::TextCollator collator_;
    std::set<std::string, CollatedLess> taken_;
    std::array<std::int64_t, kPrefixCount> lastNumber_{};
};

} // namespace demostore
