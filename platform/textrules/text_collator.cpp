#include "textrules/text_collator.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <string>

namespace textrules {
namespace {

UCollator* openRootCollator(UColAttributeValue strength) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("", &status);
    if (U_FAILURE(status) || collator == nullptr) {
        throw std::runtime_error(std::string("cannot open the ICU root collator: ") +
                                 u_errorName(status));
    }
    ucol_setStrength(collator, strength);
    return collator;
}

int icuCompare(const UCollator* collator, std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()),
                                                b.data(), static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) {
        // Only a broken ICU installation gets here; byte order keeps the order total.
        return a.compare(b);
    }
    return static_cast<int>(r);
}

// Rank of every ASCII character in the collation: 0 for characters the collation ignores,
// otherwise 1.. with equal ranks for characters that differ only in case. Valid only if
// every ASCII character carries one primary weight and no two ranks differ at the
// secondary level alone; the table checks that itself and disables the fast path if not.
struct AsciiRanks {
    std::array<unsigned char, 128> rank{};
    bool usable = false;

    AsciiRanks() {
        UCollator* secondary = openRootCollator(UCOL_SECONDARY);
        UCollator* primary = openRootCollator(UCOL_PRIMARY);
        std::array<std::string, 128> single;
        for (int c = 0; c < 128; ++c) {
            single[c] = std::string(1, static_cast<char>(c));
        }
        std::array<int, 128> order{};
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
            return icuCompare(secondary, single[x], single[y]) < 0;
        });
        usable = true;
        unsigned char next = 0;
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::string& s = single[order[i]];
            if (icuCompare(secondary, s, "") == 0) {
                rank[order[i]] = 0;
                continue;
            }
            const bool sameAsPrevious = i > 0 && rank[order[i - 1]] != 0 &&
                                        icuCompare(secondary, single[order[i - 1]], s) == 0;
            if (!sameAsPrevious) {
                if (i > 0 && rank[order[i - 1]] != 0 &&
                    icuCompare(primary, single[order[i - 1]], s) == 0) {
                    usable = false; // a secondary-only difference: ranks cannot express it
                }
                ++next;
            }
            rank[order[i]] = next;
        }
        ucol_close(primary);
        ucol_close(secondary);
    }
};

// The root collation at secondary strength is the same for every connection and is never
// changed once set, and ICU answers const comparisons on one collator from any thread, so
// all share one: opening it was a twentieth of a lookup on a fresh store connection.
class SharedCollator {
public:
    SharedCollator() : collator_(openRootCollator(UCOL_SECONDARY)) {}
    ~SharedCollator() { ucol_close(collator_); }
    SharedCollator(const SharedCollator&) = delete;
    SharedCollator& operator=(const SharedCollator&) = delete;
    const UCollator* get() const { return collator_; }

private:
    UCollator* collator_;
};

const UCollator* sharedCollator() {
    static const SharedCollator shared; // a failed open is tried again by the next caller
    return shared.get();
}

const AsciiRanks& asciiRanks() {
    static const AsciiRanks ranks;
    return ranks;
}

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int compareAscii(const AsciiRanks& table, std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < a.size() && table.rank[static_cast<unsigned char>(a[i])] == 0) {
            ++i;
        }
        while (j < b.size() && table.rank[static_cast<unsigned char>(b[j])] == 0) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        }
        const int ra = table.rank[static_cast<unsigned char>(a[i])];
        const int rb = table.rank[static_cast<unsigned char>(b[j])];
        if (ra != rb) {
            return ra < rb ? -1 : 1;
        }
        ++i;
        ++j;
    }
}

} // namespace

std::string_view withoutTrailingSpaces(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? text.substr(0, 0) : text.substr(0, end + 1);
}

TextCollator::TextCollator() : collator_(sharedCollator()) {}

int TextCollator::compare(std::string_view a, std::string_view b) const {
    // The same bytes are the same text under any rules. An index range read for one code
    // compares that code with itself once per row, so this answer comes first.
    if (a == b) {
        return 0;
    }
    a = withoutTrailingSpaces(a);
    b = withoutTrailingSpaces(b);
    const AsciiRanks& table = asciiRanks();
    if (table.usable && isAscii(a) && isAscii(b)) {
        return compareAscii(table, a, b);
    }
    return icuCompare(collator_, a, b);
}

int TextCollator::compareWithIcu(std::string_view a, std::string_view b) const {
    return icuCompare(collator_, withoutTrailingSpaces(a), withoutTrailingSpaces(b));
}

} // namespace textrules
