#pragma once

#include "jet/reader/page_store.h"

#include <vector>

namespace jet {

// One page of an index B-tree. Entries start at 0x1E0; a bitmask from 0x1B marks where each
// one ends. Every entry after the first omits the bytes it shares with the first entry's
// start (the page's prefix length). A leaf entry is the key, then a 3-byte big-endian page and
// a row byte; a node entry adds the 4-byte big-endian page of the child whose last entry it
// repeats. Children beyond a node's last entry hang off its tail page.
//
// The entries are located on first use: a lookup that crosses many pages of equal keys only
// counts their entries and checks their last one.
class IndexPage {
public:
    // Throws ReadError (Damaged) when the page is no index page.
    IndexPage(PageRef page, std::uint32_t number);

    bool isLeaf() const noexcept { return leaf_; }
    std::uint32_t number() const noexcept { return number_; }
    // The table definition page of the index's table.
    std::uint32_t owner() const;
    std::uint16_t freeSpace() const;
    std::uint32_t previousPage() const;
    std::uint32_t nextPage() const;
    std::uint32_t tailPage() const;
    std::size_t entryCount() const noexcept { return entryCount_; }

    // Compares entry i's key with key, byte by byte (<0, 0, >0).
    int compareKey(std::size_t i, Bytes key) const;
    bool lastKeyEquals(Bytes key) const;
    // The first entry at or after from whose key is not less than (lowerBound) or greater
    // than (upperBound) key; entryCount() when there is none.
    std::size_t lowerBound(Bytes key, std::size_t from = 0) const;
    std::size_t upperBound(Bytes key, std::size_t from = 0) const;
    RowLocation rowOf(std::size_t i) const;
    std::uint32_t childOf(std::size_t i) const;
    // Appends entry i as stored, its shared prefix restored: the key, the row pointer and, on a
    // node, the child's page.
    void appendEntry(std::size_t i, std::vector<std::uint8_t>& out) const;
    // Where the last entry ends (the start of the entry area when there is none).
    std::size_t entriesEnd() const;

    static bool isIndexPage(const PageBuffer& page);

private:
    // An entry as the shared prefix it omits (empty for the first) followed by its own bytes.
    struct Entry {
        Bytes shared;
        Bytes own;
        std::size_t size() const noexcept { return shared.size() + own.size(); }
        std::uint8_t operator[](std::size_t k) const {
            return k < shared.size() ? shared[k] : own[k - shared.size()];
        }
    };
    // Throws ReadError (Damaged) when the entry cannot be one.
    Entry entryBetween(std::size_t start, std::size_t end, bool first) const;
    Entry entry(std::size_t i) const;
    int compareKey(const Entry& entry, Bytes key) const;
    const std::vector<std::uint16_t>& ends() const;
    std::size_t pointerSize() const noexcept;

    PageRef page_;
    std::uint32_t number_;
    bool leaf_;
    std::size_t prefixLength_ = 0;
    std::size_t entryCount_ = 0;
    mutable std::vector<std::uint16_t> ends_;
};

} // namespace jet
