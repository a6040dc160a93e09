#include "jet/writer/index_entries_by_row.h"

#include "jet/writer/index_tree_page.h"
#include "jet/writer/write_error.h"

#include <set>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kMaxDepth = 16;

IndexTreePage readPage(const PageStore& pages, std::uint32_t number, std::uint32_t owner) {
    if (number == 0 || number >= pages.pageCount()) {
        refuseUnsupported("an index points to page " + std::to_string(number) +
                          ", which the file does not have");
    }
    return parseIndexPage(*pages.page(number), number, owner);
}

} // namespace

EntriesByRow readEntriesByRow(const PageStore& pages, const IndexDefinition& index,
                              std::uint32_t owner) {
    IndexTreePage page = readPage(pages, index.rootPage, owner);
    for (std::size_t depth = 0; !page.leaf; ++depth) {
        if (depth == kMaxDepth) {
            refuseUnsupported("an index leads in circles");
        }
        page = readPage(pages, page.children.front().page, owner);
    }
    EntriesByRow entries;
    std::set<std::uint32_t> visited{page.number};
    for (;;) {
        for (IndexEntry& entry : page.entries) {
            if (!entries.emplace(rowPointer(entry.row), std::move(entry.key)).second) {
                refuseUnsupported("an index names one row twice");
            }
        }
        if (page.next == 0) {
            return entries;
        }
        if (!visited.insert(page.next).second) {
            refuseUnsupported("the leaves of an index form a loop");
        }
        page = readPage(pages, page.next, owner);
        if (!page.leaf) {
            refuseUnsupported("a leaf of an index links to a node");
        }
    }
}

} // namespace jet
