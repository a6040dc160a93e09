#include "jet/writer/index_tree.h"

#include "jet/writer/page_allocation.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kLeafPointers = layout::kIndexRowPointerSize;
constexpr std::size_t kNodePointers = layout::kIndexRowPointerSize + layout::kIndexChildPointerSize;

// Where to cut a page's items so that every part fits a page: the end of each part but the
// last, which stays on the page itself. Parts are filled in order, each as far as it goes.
std::vector<std::size_t> cutPoints(const IndexTreePage& page) {
    const std::size_t count = page.itemCount();
    const auto keyOf = [&](std::size_t i) -> const KeyBytes& {
        return page.leaf ? page.entries[i].key : page.children[i].last->key;
    };
    std::vector<std::size_t> sums{0};
    for (std::size_t i = 0; i < count; ++i) {
        sums.push_back(sums.back() + keyOf(i).size() + (page.leaf ? kLeafPointers : kNodePointers));
    }
    // A node page stores an entry for every child but the last, its tail, unless that is the
    // only one.
    const auto storedSize = [&](std::size_t begin, std::size_t end) {
        const std::size_t storedEnd = !page.leaf && end - begin >= 2 ? end - 1 : end;
        return sums[storedEnd] - sums[begin] -
               commonPrefix(keyOf(begin), keyOf(storedEnd - 1)) * (storedEnd - begin - 1);
    };
    std::vector<std::size_t> cuts;
    for (std::size_t begin = 0; storedSize(begin, count) > kIndexEntryArea;) {
        std::size_t end = begin + 1;
        if (storedSize(begin, end) > kIndexEntryArea) {
            refuseUnsupported("an index entry is larger than an index page holds");
        }
        while (end < count && storedSize(begin, end + 1) <= kIndexEntryArea) {
            ++end;
        }
        cuts.push_back(end);
        begin = end;
    }
    return cuts;
}

} // namespace

std::uint32_t IndexTree::newPage() {
    if (!freed_.empty()) {
        const std::uint32_t page = freed_.front();
        freed_.pop_front();
        return page;
    }
    return allocatePage(edits_, index_.usageMap);
}

IndexTreePage& IndexTree::nestRoot() {
    IndexTreePage& root = pages_.at(index_.rootPage);
    IndexTreePage moved = root;
    moved.number = newPage();
    moved.parent = root.number;
    moved.previous = 0;
    moved.next = 0;
    moved.modified = true;
    for (const IndexChild& child : moved.children) {
        if (const auto found = pages_.find(child.page); found != pages_.end()) {
            found->second.parent = moved.number;
        }
    }
    IndexTreePage& below = pages_.insert_or_assign(moved.number, std::move(moved)).first->second;
    root.leaf = false;
    root.entries.clear();
    root.children = {{lastOf(below), below.number}};
    root.modified = true;
    return below;
}

bool IndexTree::overflows(const IndexTreePage& page) {
    const std::size_t size = page.leaf ? storedLeafSize(page.entries, 0, page.entries.size())
                                       : storedNodeSize(page.children, 0, page.children.size());
    return size > kIndexEntryArea;
}

void IndexTree::split(std::uint32_t number) {
    IndexTreePage* page = &pages_.at(number);
    if (number == index_.rootPage) {
        page = &nestRoot();
    }
    if (page->parent == 0) {
        refuseUnsupported("an index page to split has no known parent");
    }
    if (!page->leaf) {
        lastOf(*page); // every child's greatest entry is needed to cut the node
    }
    const std::vector<std::size_t> cuts = cutPoints(*page);
    // The parts before the last go to pages placed before this one, which keeps the last part
    // and with it its place in the parent.
    std::vector<IndexTreePage*> parts;
    std::size_t begin = 0;
    for (const std::size_t end : cuts) {
        IndexTreePage part;
        part.number = newPage();
        part.leaf = page->leaf;
        part.parent = page->parent;
        part.modified = true;
        const auto from = static_cast<std::ptrdiff_t>(begin);
        const auto to = static_cast<std::ptrdiff_t>(end);
        if (page->leaf) {
            part.entries.assign(std::make_move_iterator(page->entries.begin() + from),
                                std::make_move_iterator(page->entries.begin() + to));
        } else {
            part.children.assign(page->children.begin() + from, page->children.begin() + to);
        }
        parts.push_back(&pages_.insert_or_assign(part.number, std::move(part)).first->second);
        begin = end;
    }
    const auto kept = static_cast<std::ptrdiff_t>(begin);
    if (page->leaf) {
        page->entries.erase(page->entries.begin(), page->entries.begin() + kept);
    } else {
        page->children.erase(page->children.begin(), page->children.begin() + kept);
    }
    page->modified = true;

    // Link the parts in before the page.
    std::uint32_t previous = page->previous;
    if (previous != 0) {
        IndexTreePage& before = load(previous);
        before.next = parts.front()->number;
        before.modified = true;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i]->previous = previous;
        parts[i]->next = i + 1 < parts.size() ? parts[i + 1]->number : page->number;
        previous = parts[i]->number;
    }
    page->previous = previous;

    if (!page->leaf) {
        // Nodes are linked only to nodes of the same parent: children now under different
        // parents let go of each other.
        const bool childrenAreNodes = !load(page->children.front().page).leaf;
        for (IndexTreePage* part : parts) {
            for (const IndexChild& child : part->children) {
                if (const auto found = pages_.find(child.page); found != pages_.end()) {
                    found->second.parent = part->number;
                }
            }
            IndexTreePage& lastChild = load(part->children.back().page, part->number);
            if (childrenAreNodes && lastChild.next != 0) {
                IndexTreePage& nextChild = load(lastChild.next);
                lastChild.next = 0;
                nextChild.previous = 0;
                lastChild.modified = true;
                nextChild.modified = true;
            }
        }
    }

    IndexTreePage& parent = pages_.at(page->parent);
    const auto position = std::find_if(parent.children.begin(), parent.children.end(),
                                       [&](const IndexChild& c) { return c.page == page->number; });
    if (position == parent.children.end()) {
        refuseUnsupported("an index page is missing from its parent");
    }
    std::vector<IndexChild> added;
    for (IndexTreePage* part : parts) {
        added.push_back({lastOf(*part), part->number});
    }
    parent.children.insert(position, added.begin(), added.end());
    parent.modified = true;
}

} // namespace jet
