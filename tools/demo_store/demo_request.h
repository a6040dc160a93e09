#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace demostore {

// The largest demo stores we promise to build quickly.
inline constexpr std::int64_t kMaxStories = 100'000;
inline constexpr std::int64_t kMaxCopies = 1'000'000;
// Story codes are TEXT(15) in the shop's schema.
inline constexpr int kMaxCodeLength = 15;

// A story the caller needs with an exact number of copies, e.g. the one a test will move.
struct SpecialStory {
    std::string code;
    std::int64_t copies = 0;
    std::string name; // empty: a generated title
};

// Ordinary stories and copies come from the seed; special stories and their copies are
// added on top of them.
struct DemoRequest {
    std::int64_t stories = 1000;
    std::int64_t copies = 20000;
    std::uint64_t seed = 1;
    std::vector<SpecialStory> specials;
};

// What a request or one of its parts gets wrong, worded for the person who typed it.
class DemoRequestError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// "CODE=COUNT" or "CODE=COUNT:NAME", both UTF-8.
SpecialStory parseSpecialStory(std::string_view text);

// Throws DemoRequestError for sizes out of range, bad codes, or two special codes the store
// would take for the same key.
void checkDemoRequest(const DemoRequest& request);

} // namespace demostore
