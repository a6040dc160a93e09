#include "jet/writer/index_tree.h"

#include "jet/writer/page_allocation.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <set>
#include <string>

namespace jet {
namespace {

// Far deeper than any real tree (a full 2 GB file needs four levels); more means a loop.
constexpr std::size_t kMaxDepth = 16;

// Entries mostly come in order already (a statement's rows arrive in the order of the index it
// found them by), and sorting tens of thousands of them afresh would cost more than the change.
void sortEntries(std::vector<IndexEntry>& entries) {
    if (!std::is_sorted(entries.begin(), entries.end())) {
        std::sort(entries.begin(), entries.end());
    }
}

} // namespace

IndexTree::IndexTree(PageEdits& edits, const IndexDefinition& index, std::uint32_t owner)
    : edits_(edits), index_(index), owner_(owner) {}

IndexTreePage& IndexTree::load(std::uint32_t number, std::uint32_t parent) {
    auto found = pages_.find(number);
    if (found == pages_.end()) {
        if (number == 0 || number >= edits_.pageCount()) {
            refuseUnsupported("an index points to page " + std::to_string(number) +
                              ", which the file does not have");
        }
        found = pages_.emplace(number, parseIndexPage(edits_.page(number), number, owner_)).first;
    }
    if (parent != 0) {
        found->second.parent = parent;
    }
    return found->second;
}

IndexTree::Path IndexTree::descend(const IndexEntry& target) {
    Path path{{index_.rootPage, 0}};
    for (IndexTreePage* page = &load(index_.rootPage); !page->leaf;) {
        if (path.size() > kMaxDepth) {
            refuseUnsupported("the index rooted at page " + std::to_string(index_.rootPage) +
                              " leads in circles");
        }
        // Every child but the last has its greatest entry at hand; whatever is greater than
        // all of them belongs under the last.
        const auto& children = page->children;
        const auto stored = children.end() - 1;
        const auto child = std::partition_point(
            children.begin(), stored, [&](const IndexChild& c) { return *c.last < target; });
        const auto position = static_cast<std::size_t>(child - children.begin());
        const std::uint32_t parent = page->number;
        page = &load(child->page, parent);
        path.emplace_back(page->number, position);
    }
    return path;
}

const IndexEntry& IndexTree::lastOf(IndexTreePage& page) {
    if (page.leaf) {
        if (page.entries.empty()) {
            refuseUnsupported("index page " + std::to_string(page.number) + " is empty");
        }
        return page.entries.back();
    }
    IndexChild& tail = page.children.back();
    if (!tail.last) {
        tail.last = lastOf(load(tail.page, page.number));
    }
    return *tail.last;
}

void IndexTree::lastChanged(const Path& path, std::size_t level) {
    for (std::size_t k = level; k > 0; --k) {
        IndexTreePage& parent = pages_.at(path[k - 1].first);
        const std::size_t position = path[k].second;
        parent.children[position].last = lastOf(pages_.at(path[k].first));
        const bool isLast = position + 1 == parent.children.size();
        // A tail's entry is not stored, so the parent page itself does not change.
        if (!isLast || parent.children.size() == 1) {
            parent.modified = true;
        }
        if (!isLast) {
            return;
        }
    }
}

void IndexTree::unlink(const IndexTreePage& page) {
    if (page.previous != 0) {
        IndexTreePage& previous = load(page.previous);
        previous.next = page.next;
        previous.modified = true;
    }
    if (page.next != 0) {
        IndexTreePage& next = load(page.next);
        next.previous = page.previous;
        next.modified = true;
    }
}

void IndexTree::removePage(const Path& path, std::size_t level) {
    IndexTreePage& page = pages_.at(path[level].first);
    if (level == 0) {
        // The root stays where the table definition points, as an empty leaf.
        page.leaf = true;
        page.entries.clear();
        page.children.clear();
        page.modified = true;
        return;
    }
    unlink(page);
    freed_.push_back(page.number);
    pages_.erase(page.number);

    IndexTreePage& parent = pages_.at(path[level - 1].first);
    const std::size_t position = path[level].second;
    const bool wasLast = position + 1 == parent.children.size();
    parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(position));
    parent.modified = true;
    if (parent.children.empty()) {
        removePage(path, level - 1);
    } else if (wasLast) {
        lastChanged(path, level - 1);
    }
}

void IndexTree::remove(std::vector<IndexEntry> entries) {
    sortEntries(entries);
    for (std::size_t i = 0; i < entries.size();) {
        const Path path = descend(entries[i]);
        IndexTreePage& leaf = pages_.at(path.back().first);
        if (leaf.entries.empty()) {
            refuseUnsupported("the index rooted at page " + std::to_string(index_.rootPage) +
                              " lacks an entry for a row it should hold");
        }
        const IndexEntry last = leaf.entries.back();
        std::vector<IndexEntry> kept;
        kept.reserve(leaf.entries.size());
        std::size_t next = i;
        for (IndexEntry& entry : leaf.entries) {
            if (next < entries.size() && entries[next] == entry) {
                ++next;
            } else {
                kept.push_back(std::move(entry));
            }
        }
        // What this leaf should have held and did not is missing from the index.
        if (next == i || (next < entries.size() && !(last < entries[next]))) {
            refuseUnsupported("the index rooted at page " + std::to_string(index_.rootPage) +
                              " lacks an entry for a row it should hold");
        }
        leaf.entries = std::move(kept);
        leaf.modified = true;
        i = next;
        if (leaf.entries.empty()) {
            removePage(path, path.size() - 1);
        } else if (!(leaf.entries.back() == last)) {
            lastChanged(path, path.size() - 1);
        }
    }
}

void IndexTree::insert(std::vector<IndexEntry> entries) {
    sortEntries(entries);
    for (std::size_t i = 0; i < entries.size();) {
        const Path path = descend(entries[i]);
        IndexTreePage& leaf = pages_.at(path.back().first);
        // This leaf takes what sorts up to its greatest entry; the last leaf takes the rest.
        std::size_t end = entries.size();
        if (leaf.next != 0 && !leaf.entries.empty()) {
            end = static_cast<std::size_t>(
                std::upper_bound(entries.begin() + static_cast<std::ptrdiff_t>(i), entries.end(),
                                 leaf.entries.back()) -
                entries.begin());
        }
        if (end == i) {
            refuseUnsupported("the index rooted at page " + std::to_string(index_.rootPage) +
                              " does not keep its pages in order");
        }
        const bool lastChanges = leaf.entries.empty() || leaf.entries.back() < entries[end - 1];
        std::vector<IndexEntry> merged;
        merged.reserve(leaf.entries.size() + end - i);
        std::merge(std::make_move_iterator(leaf.entries.begin()),
                   std::make_move_iterator(leaf.entries.end()),
                   std::make_move_iterator(entries.begin() + static_cast<std::ptrdiff_t>(i)),
                   std::make_move_iterator(entries.begin() + static_cast<std::ptrdiff_t>(end)),
                   std::back_inserter(merged));
        if (std::adjacent_find(merged.begin(), merged.end()) != merged.end()) {
            refuseUnsupported("an index already holds an entry for a row it is given again");
        }
        leaf.entries = std::move(merged);
        leaf.modified = true;
        i = end;
        if (lastChanges) {
            lastChanged(path, path.size() - 1);
        }
    }
}

std::vector<IndexEntry> IndexTree::entriesWithKey(const KeyBytes& key, std::size_t limit) {
    const IndexEntry first{key, RowLocation{0, 0}};
    const Path path = descend(first);
    const IndexTreePage* leaf = &pages_.at(path.back().first);
    auto at = std::lower_bound(leaf->entries.begin(), leaf->entries.end(), first);
    std::vector<IndexEntry> found;
    std::set<std::uint32_t> visited{leaf->number};
    while (found.size() < limit) {
        if (at == leaf->entries.end()) {
            if (leaf->next == 0) {
                break;
            }
            if (!visited.insert(leaf->next).second) {
                refuseUnsupported("the leaves of an index form a loop");
            }
            leaf = &load(leaf->next);
            at = leaf->entries.begin();
            continue;
        }
        if (at->key != key) {
            break;
        }
        found.push_back(*at++);
    }
    return found;
}

void IndexTree::finish() {
    // A node left with one child stores that child's entry, which may have been its tail's.
    std::vector<std::uint32_t> lone;
    for (const auto& [number, page] : pages_) {
        if (page.modified && !page.leaf && page.children.size() == 1) {
            lone.push_back(number);
        }
    }
    for (const std::uint32_t number : lone) {
        lastOf(pages_.at(number));
    }
    for (bool splitAny = true; splitAny;) {
        splitAny = false;
        for (auto& [number, page] : pages_) {
            if (page.modified && overflows(page)) {
                split(number);
                splitAny = true;
                break;
            }
        }
    }
    for (const auto& [number, page] : pages_) {
        if (page.modified) {
            writeIndexPage(page, owner_, edits_.edit(number));
        }
    }
    for (const std::uint32_t page : freed_) {
        releasePage(edits_, page, index_.usageMap);
    }
    freed_.clear();
}

} // namespace jet
