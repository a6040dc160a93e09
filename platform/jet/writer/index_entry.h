#pragma once

#include "index_key.h"
#include "page_store.h"

#include <compare>

namespace jet {

// One leaf entry of an index: the key of a row and where the row is. Entries sort by their
// key bytes (unsigned, a key before any longer key it begins), then by row location.
struct IndexEntry {
    KeyBytes key;
    RowLocation row;

    friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
    friend std::strong_ordering operator<=>(const IndexEntry& a, const IndexEntry& b) {
        if (const auto byKey = a.key <=> b.key; byKey != 0) {
            return byKey;
        }
        return a.row <=> b.row;
    }
};

} // namespace jet
