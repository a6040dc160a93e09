#pragma once

#include "jet/reader/index_page.h"
#include "jet/writer/index_entry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace jet::image_check {

// Leaf entries gathered from many pages, their keys kept in one block of bytes: the tens of
// thousands of entries a large change moves are compared without a buffer each.
class EntryList {
public:
    // Every entry of a leaf page; false when they are not in strictly increasing order.
    bool addLeaf(const IndexPage& leaf);
    void add(const KeyBytes& key, RowLocation row);

    // Room for entries entries of keyBytes bytes in all: a list that grows as it goes copies
    // itself over and over, which tens of thousands of entries feel.
    void reserve(std::size_t entries, std::size_t keyBytes);
    std::size_t size() const noexcept { return items_.size(); }
    std::size_t keyBytes() const noexcept { return bytes_.size(); }
    Bytes key(std::size_t i) const;
    RowLocation row(std::size_t i) const { return items_[i].row; }
    IndexEntry entry(std::size_t i) const;

    void sort();
    // The entries of a that b lacks, and of b that a lacks, counting repeats; both sorted.
    static void difference(const EntryList& a, const EntryList& b, EntryList& onlyA,
                           EntryList& onlyB);
    // Whether the two sorted lists hold the same entries; else the first position that differs.
    static std::optional<std::size_t> firstDifference(const EntryList& a, const EntryList& b);

private:
    struct Item {
        std::size_t at = 0;
        std::size_t size = 0;
        RowLocation row;
    };
    int compare(const Item& a, const EntryList& other, const Item& b) const;
    void append(Bytes key, RowLocation row);

    std::vector<std::uint8_t> bytes_;
    std::vector<Item> items_;
};

} // namespace jet::image_check
