#pragma once

#include "page_store.h"

#include <vector>

namespace jet {

// One page of an index B-tree. Entries start at 0x1E0; a bitmask from 0x1B marks where each
// one ends. Every entry after the first omits the bytes it shares with the first entry's
// start (the page's prefix length). A leaf entry is the key, then a 3-byte big-endian page and
// a row byte; a node entry adds the 4-byte big-endian page of the child whose last entry it
// repeats. Children beyond a node's last entry hang off its tail page.
class IndexPage {
public:
    // Throws ReadError (Damaged) when the page is no index page or its entries do not fit.
    IndexPage(PageRef page, std::uint32_t number);

    bool isLeaf() const noexcept { return leaf_; }
    std::uint32_t nextPage() const;
    std::uint32_t tailPage() const;
    std::size_t entryCount() const noexcept { return ends_.size(); }

    // Compares entry i's key with key, byte by byte (<0, 0, >0).
    int compareKey(std::size_t i, Bytes key) const;
    // The first entry whose key is not less than key; entryCount() when there is none.
    std::size_t lowerBound(Bytes key) const;
    RowLocation rowOf(std::size_t i) const;
    std::uint32_t childOf(std::size_t i) const;

    static bool isIndexPage(const PageBuffer& page);

private:
    // Entry i as the shared prefix it omits (empty for the first) followed by its own bytes.
    struct Entry {
        Bytes shared;
        Bytes own;
        std::size_t size() const noexcept { return shared.size() + own.size(); }
        std::uint8_t operator[](std::size_t k) const {
            return k < shared.size() ? shared[k] : own[k - shared.size()];
        }
    };
    Entry entry(std::size_t i) const;
    std::size_t pointerSize() const noexcept;

    PageRef page_;
    std::uint32_t number_;
    bool leaf_;
    std::size_t prefixLength_ = 0;
    std::vector<std::uint16_t> ends_;
};

} // namespace jet
