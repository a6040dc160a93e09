#include "jet/writer/image_index_pages.h"

#include "jet/format/jet_format.h"

namespace jet::image_check {
namespace {

std::string pageName(const TreeView& tree, std::uint32_t page) {
    return "page " + std::to_string(page) + " of " + tree.name();
}

// The page's leftmost or rightmost entry, to find the page again from the root.
std::optional<IndexEntry> firstEntry(TreeView& tree, std::uint32_t page) {
    const IndexPage& parsed = tree.page(page);
    if (parsed.entryCount() == 0) {
        return std::nullopt;
    }
    return tree.entryAt(parsed, 0);
}

void checkLinks(TreeView& tree, std::uint32_t page) {
    const IndexPage& current = tree.page(page);
    const std::optional<IndexEntry> first = firstEntry(tree, page);
    const std::optional<IndexEntry> last = tree.greatest(page);
    if (const std::uint32_t previous = current.previousPage(); previous != 0) {
        const IndexPage& left = tree.page(previous);
        if (left.nextPage() != page || left.isLeaf() != current.isLeaf()) {
            fail(pageName(tree, page) + " and the page before it would not link to each other");
        }
        const std::optional<IndexEntry> leftLast = tree.greatest(previous);
        if (current.isLeaf() && first && leftLast && !(*leftLast < *first)) {
            fail(pageName(tree, page) + " would not follow the page before it in key order");
        }
    }
    if (const std::uint32_t next = current.nextPage(); next != 0) {
        const IndexPage& right = tree.page(next);
        if (right.previousPage() != page || right.isLeaf() != current.isLeaf()) {
            fail(pageName(tree, page) + " and the page after it would not link to each other");
        }
        const std::optional<IndexEntry> rightFirst = firstEntry(tree, next);
        if (current.isLeaf() && last && rightFirst && !(*last < *rightFirst)) {
            fail(pageName(tree, page) + " would not precede the page after it in key order");
        }
    }
}

// The entry that bounds page from above is its parent's entry for it, or, for a tail, the
// entry of the nearest page above that is not a tail: it must be the page's greatest entry.
void checkBound(TreeView& tree, const std::vector<TreeView::Step>& path) {
    const std::uint32_t page = path.back().page;
    for (std::size_t level = path.size(); level-- > 1;) {
        if (const auto entry = path[level].entry) {
            const IndexEntry bound = tree.entryAt(tree.page(path[level - 1].page), *entry);
            if (tree.greatest(page) != bound) {
                fail(pageName(tree, page) +
                     " would not end with the entry its parent keeps for it");
            }
            return;
        }
    }
}

// Pages not written stay in the tree before and after alike, so that the entries of the
// pages written are all that an index gains or loses: a child a node names and the change does
// not write must be found from the root in the other image too.
void checkStaysInTree(TreeView& from, std::uint32_t page, TreeView& other,
                      const std::set<std::uint32_t>& writtenInFrom) {
    const IndexPage& node = from.page(page);
    std::vector<std::uint32_t> children;
    for (std::size_t i = 0; i < node.entryCount(); ++i) {
        std::uint32_t child = 0;
        from.entryAt(node, i, &child);
        children.push_back(child);
    }
    if (node.tailPage() != 0) {
        children.push_back(node.tailPage());
    }
    for (const std::uint32_t child : children) {
        const std::optional<IndexEntry> first = firstEntry(from, child);
        if (!writtenInFrom.contains(child) && (!first || !other.pathTo(*first, child))) {
            fail("page " + std::to_string(child) + " of " + from.name() +
                 " would be found from the root before the change or after it, not both");
        }
    }
}

void checkChildren(TreeView& tree, std::uint32_t page, const std::set<std::uint32_t>& written) {
    const IndexPage& node = tree.page(page);
    for (std::size_t i = 0; i < node.entryCount(); ++i) {
        std::uint32_t child = 0;
        const IndexEntry bound = tree.entryAt(node, i, &child);
        // A child written is checked from its own side.
        if (!written.contains(child) && tree.greatest(child) != bound) {
            fail(pageName(tree, page) + " would keep an entry that is not the last of its child " +
                 std::to_string(child));
        }
    }
}

void checkPage(TreeView& tree, std::uint32_t page, const std::vector<TreeView::Step>& path,
               const std::set<std::uint32_t>& written) {
    const IndexPage& current = tree.page(page);
    if (current.freeSpace() != kPageSize - current.entriesEnd()) {
        fail(pageName(tree, page) +
             " would have a free-space count that does not match its entries");
    }
    if (current.isLeaf() && current.tailPage() != 0) {
        fail(pageName(tree, page) + " would be a leaf with a tail");
    }
    for (std::size_t i = 1; !current.isLeaf() && i < current.entryCount(); ++i) {
        if (!(tree.entryAt(current, i - 1) < tree.entryAt(current, i))) {
            fail(pageName(tree, page) + " would hold its entries out of order");
        }
    }
    checkLinks(tree, page);
    checkBound(tree, path);
    if (!current.isLeaf()) {
        checkChildren(tree, page, written);
    }
}

} // namespace

IndexTrees::IndexTrees(const Images& images, const UserTable& table, std::size_t position)
    : index(table.definition.indexes[position]) {
    const std::string name = "index " + std::to_string(position) + " of " + tableName(table);
    before =
        std::make_unique<TreeView>(images.before, index, table.definition.definitionPage, name);
    after = std::make_unique<TreeView>(images.after, index, table.definition.definitionPage, name);
}

bool IndexTrees::holds(std::uint32_t page, bool inAfter) {
    TreeView& tree = inAfter ? *after : *before;
    std::optional<std::vector<TreeView::Step>> path;
    if (page == index.rootPage) {
        path = std::vector<TreeView::Step>{{page, std::nullopt}};
    } else if (const std::optional<IndexEntry> first = firstEntry(tree, page)) {
        path = tree.pathTo(*first, page);
    }
    if (!path) {
        return false;
    }
    (inAfter ? afterPages : beforePages).insert(page);
    if (inAfter) {
        pathsAfter.emplace(page, std::move(*path));
    }
    return true;
}

void checkTreePages(IndexTrees& trees) {
    // The root stays where the table's definition says, an index page.
    trees.after->page(trees.index.rootPage);
    for (const std::uint32_t page : trees.afterPages) {
        checkPage(*trees.after, page, trees.pathsAfter.at(page), trees.afterPages);
        if (!trees.after->page(page).isLeaf()) {
            checkStaysInTree(*trees.after, page, *trees.before, trees.afterPages);
        }
    }
    for (const std::uint32_t page : trees.beforePages) {
        if (!trees.before->page(page).isLeaf()) {
            checkStaysInTree(*trees.before, page, *trees.after, trees.beforePages);
        }
    }
    for (const std::uint32_t page : trees.beforePages) {
        if (trees.afterPages.contains(page)) {
            continue;
        }
        const IndexPage& gone = trees.before->page(page);
        for (const std::uint32_t neighbour : {gone.previousPage(), gone.nextPage()}) {
            const bool alsoGone =
                trees.beforePages.contains(neighbour) && !trees.afterPages.contains(neighbour);
            if (neighbour == 0 || alsoGone) {
                continue;
            }
            // A neighbour that stays was rewritten to close the gap.
            if (!trees.afterPages.contains(neighbour) ||
                trees.after->page(neighbour).previousPage() == page ||
                trees.after->page(neighbour).nextPage() == page) {
                fail("page " + std::to_string(page) + " leaves " + trees.after->name() +
                     ", but its neighbour " + std::to_string(neighbour) +
                     " would still link to it");
            }
        }
    }
}

} // namespace jet::image_check
