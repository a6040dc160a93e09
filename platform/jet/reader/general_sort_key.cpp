#include "jet/reader/general_sort_key.h"

#include <array>

namespace jet {
namespace {

constexpr std::array<std::uint8_t, 26> kLetterCodes = {
    0x4A, 0x4C, 0x4D, 0x4F, 0x51, 0x53, 0x55, 0x57, 0x59, 0x5B, 0x5C, 0x5E, 0x60,
    0x62, 0x64, 0x66, 0x68, 0x69, 0x6B, 0x6D, 0x6F, 0x71, 0x73, 0x75, 0x76, 0x78};
constexpr std::uint8_t kDigitZeroCode = 0x36; // then every second code up to '9'
constexpr std::uint8_t kSpaceCode = 0x07;
constexpr std::uint8_t kFullStopCode = 0x1C;
constexpr std::array<std::uint8_t, 2> kUnderscoreCodes = {0x2B, 0x03};

constexpr std::uint8_t kKeyStart = 0x7F;
constexpr std::uint8_t kSectionEnd = 0x01;
constexpr std::uint8_t kKeyEnd = 0x00;
// The position byte counts in steps of four; beyond what one byte holds we have no sample.
constexpr std::size_t kMaxMarkPosition = 30;

// Appends the codes of c when it sorts by itself; false when it does not or is unknown.
bool appendSortingCodes(char16_t c, std::vector<std::uint8_t>& key) {
    if (c >= u'0' && c <= u'9') {
        key.push_back(static_cast<std::uint8_t>(kDigitZeroCode + 2 * (c - u'0')));
        return true;
    }
    if (c >= u'a' && c <= u'z') {
        c = static_cast<char16_t>(c - u'a' + u'A');
    }
    if (c >= u'A' && c <= u'Z') {
        key.push_back(kLetterCodes[c - u'A']);
        return true;
    }
    switch (c) {
    case u' ':
        key.push_back(kSpaceCode);
        return true;
    case u'.':
        key.push_back(kFullStopCode);
        return true;
    case u'_':
        key.insert(key.end(), kUnderscoreCodes.begin(), kUnderscoreCodes.end());
        return true;
    default:
        return false;
    }
}

std::optional<std::uint8_t> markCode(char16_t c) {
    switch (c) {
    case u'-':
        return 0x82;
    case u'\'':
        return 0x80;
    default:
        return std::nullopt;
    }
}

struct Mark {
    std::size_t position;
    std::uint8_t code;
};

} // namespace

std::optional<std::vector<std::uint8_t>> generalSortKey(std::u16string_view value) {
    while (!value.empty() && value.back() == u' ') {
        value.remove_suffix(1);
    }
    std::vector<std::uint8_t> key{kKeyStart};
    std::vector<Mark> marks;
    std::size_t sorting = 0;
    bool underscoreSeen = false;
    for (const char16_t c : value) {
        if (appendSortingCodes(c, key)) {
            underscoreSeen = underscoreSeen || c == u'_';
            ++sorting;
        } else if (const auto mark = markCode(c); mark && !underscoreSeen) {
            marks.push_back({sorting, *mark});
        } else {
            return std::nullopt;
        }
    }
    if (sorting == 0) {
        return std::nullopt;
    }
    key.push_back(kSectionEnd);
    if (!marks.empty()) {
        key.insert(key.end(), {kSectionEnd, kSectionEnd, kSectionEnd});
        for (const Mark& mark : marks) {
            if (mark.position > kMaxMarkPosition) {
                return std::nullopt;
            }
            key.insert(key.end(),
                       {0x80, static_cast<std::uint8_t>(4 * mark.position + 7), 0x06, mark.code});
        }
    }
    key.push_back(kKeyEnd);
    return key;
}

} // namespace jet
