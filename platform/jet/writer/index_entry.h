#pragma once

#include "jet/reader/page_store.h"
#include "jet/writer/index_key.h"

#include <algorithm>
#include <compare>
#include <cstring>

namespace jet {

// Key bytes compare as unsigned bytes, a key before any longer key it begins. (Spelled out
// rather than left to std::vector's <=>, which GCC 12 warns about falsely when optimising.)
inline std::strong_ordering compareKeys(const KeyBytes& a, const KeyBytes& b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common != 0) {
        if (const int c = std::memcmp(a.data(), b.data(), common); c != 0) {
            return c < 0 ? std::strong_ordering::less : std::strong_ordering::greater;
        }
    }
    return a.size() <=> b.size();
}

// How many bytes two keys share from their start.
inline std::size_t commonPrefix(const KeyBytes& a, const KeyBytes& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(ia - a.begin());
}

struct KeyLess {
    bool operator()(const KeyBytes& a, const KeyBytes& b) const { return compareKeys(a, b) < 0; }
};

// One leaf entry of an index: the key of a row and where the row is. Entries sort by their
// key bytes (unsigned, a key before any longer key it begins), then by row location.
struct IndexEntry {
    KeyBytes key;
    RowLocation row;

    friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
    friend std::strong_ordering operator<=>(const IndexEntry& a, const IndexEntry& b) {
        if (const auto byKey = compareKeys(a.key, b.key); byKey != 0) {
            return byKey;
        }
        return a.row <=> b.row;
    }
};

} // namespace jet
