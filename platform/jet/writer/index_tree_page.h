#pragma once

#include "jet/reader/page_store.h"
#include "jet/writer/index_entry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace jet {

// A node's link to one child: the child's page and its greatest entry. On the page, a node
// with several children stores an entry for each but the last, whose page is the node's tail;
// the tail's greatest entry is therefore not on the node and is looked up when needed.
struct IndexChild {
    std::optional<IndexEntry> last;
    std::uint32_t page = 0;
};

// One page of an index B-tree, decoded. Leaves hold entries; nodes hold children. Leaves are
// linked to their neighbours along the whole level; nodes only to those with the same parent.
struct IndexTreePage {
    std::uint32_t number = 0;
    bool leaf = true;
    std::uint32_t previous = 0;
    std::uint32_t next = 0;
    std::vector<IndexEntry> entries;
    std::vector<IndexChild> children;
    // The page above, where known (0 for the root).
    std::uint32_t parent = 0;
    bool modified = false;

    std::size_t itemCount() const { return leaf ? entries.size() : children.size(); }
};

using layout::kIndexEntryArea;

// Reads an index page of the table whose definition is on owner. Refuses (Unsupported) a page
// that is not such a page or whose entries are out of order.
IndexTreePage parseIndexPage(const PageBuffer& bytes, std::uint32_t number, std::uint32_t owner);

// The page's entries as stored: the shared prefix counted once. For a node, items [begin, end)
// of children as one page would store them (the last as its tail when there are several).
std::size_t storedLeafSize(const std::vector<IndexEntry>& entries, std::size_t begin,
                           std::size_t end);
std::size_t storedNodeSize(const std::vector<IndexChild>& children, std::size_t begin,
                           std::size_t end);

// Writes page into bytes. Bytes the format leaves unexplained keep what they held; every
// child's last entry must be known for the entries a node stores.
void writeIndexPage(const IndexTreePage& page, std::uint32_t owner, PageBuffer& bytes);

} // namespace jet
