#pragma once

#include "jet/reader/table_definition.h"
#include "jet/writer/index_tree_page.h"
#include "jet/writer/page_edits.h"

#include <deque>
#include <map>
#include <utility>
#include <vector>

namespace jet {

// Changes the entries of one index B-tree as the engine keeps it: entries in order on leaves
// linked from first to last; every node entry repeating the greatest entry below it, but the
// last child hanging off the node's tail; each page storing its entries once its shared
// prefix is left out. Pages that empty are taken out of the tree and reused before any new
// page is added; pages that overflow are split, the root by first moving its content one level
// down. Nothing reaches the file before finish() writes the changed pages into the edits.
class IndexTree {
public:
    // owner: the definition page of the table the index belongs to.
    IndexTree(PageEdits& edits, const IndexDefinition& index, std::uint32_t owner);

    // Each entry must be in the index (Unsupported otherwise: the index does not match the
    // rows it should describe).
    void remove(std::vector<IndexEntry> entries);
    // None may be in the index already.
    void insert(std::vector<IndexEntry> entries);
    // The entries whose key is exactly key, in order; at most limit of them.
    std::vector<IndexEntry> entriesWithKey(const KeyBytes& key,
                                           std::size_t limit = static_cast<std::size_t>(-1));
    bool containsKey(const KeyBytes& key) { return !entriesWithKey(key, 1).empty(); }

    void finish();

private:
    // The pages from the root down to a leaf, each with its position among its parent's
    // children.
    using Path = std::vector<std::pair<std::uint32_t, std::size_t>>;

    IndexTreePage& load(std::uint32_t number, std::uint32_t parent = 0);
    Path descend(const IndexEntry& target);
    const IndexEntry& lastOf(IndexTreePage& page);
    void lastChanged(const Path& path, std::size_t level);
    void removePage(const Path& path, std::size_t level);
    void unlink(const IndexTreePage& page);
    bool overflows(const IndexTreePage& page);
    void split(std::uint32_t number);
    IndexTreePage& nestRoot();
    std::uint32_t newPage();

    PageEdits& edits_;
    const IndexDefinition& index_;
    std::uint32_t owner_;
    std::map<std::uint32_t, IndexTreePage> pages_;
    std::deque<std::uint32_t> freed_;
};

} // namespace jet
