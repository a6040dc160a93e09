#include "jet/writer/image_tree.h"

#include "jet/format/jet_format.h"
#include "jet/writer/image_check_parts.h"

#include <set>

namespace jet::image_check {
namespace {

// Far deeper than any real tree; more means pages that lead in circles.
constexpr std::size_t kMaxDepth = 16;

} // namespace

TreeView::TreeView(const PageStore& pages, const IndexDefinition& index, std::uint32_t owner,
                   std::string name)
    : pages_(pages), index_(index), owner_(owner), name_(std::move(name)) {}

const IndexPage& TreeView::page(std::uint32_t number) {
    auto found = parsed_.find(number);
    if (found == parsed_.end()) {
        if (number == 0 || number >= pages_.pageCount() ||
            !IndexPage::isIndexPage(*pages_.page(number))) {
            fail(name_ + " leads to page " + std::to_string(number) +
                 ", which is not an index page");
        }
        auto parsed = std::make_unique<IndexPage>(pages_.page(number), number);
        if (parsed->owner() != owner_) {
            fail(name_ + " leads to page " + std::to_string(number) +
                 ", an index page of another table");
        }
        found = parsed_.emplace(number, std::move(parsed)).first;
    }
    return *found->second;
}

IndexEntry TreeView::entryAt(const IndexPage& page, std::size_t i, std::uint32_t* child) {
    std::vector<std::uint8_t> bytes;
    page.appendEntry(i, bytes);
    const std::size_t pointers =
        layout::kIndexRowPointerSize + (page.isLeaf() ? 0 : layout::kIndexChildPointerSize);
    const std::size_t keySize = bytes.size() - pointers;
    IndexEntry entry;
    entry.row = RowLocation{bigEndianAt(bytes, keySize, 3), bytes[keySize + 3]};
    if (child != nullptr) {
        *child = page.isLeaf() ? 0 : bigEndianAt(bytes, keySize + 4, 4);
    }
    bytes.resize(keySize);
    entry.key = std::move(bytes);
    return entry;
}

std::size_t TreeView::firstNotBelow(const IndexPage& page, const IndexEntry& target) {
    std::size_t low = 0;
    std::size_t high = page.entryCount();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (entryAt(page, middle) < target) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

std::pair<std::uint32_t, std::optional<std::size_t>> TreeView::childFor(const IndexPage& node,
                                                                        const IndexEntry& target) {
    // A node entry repeats the greatest entry of its child: the first one not below the
    // target leads to it; past them all lies the tail.
    const std::size_t low = firstNotBelow(node, target);
    if (low < node.entryCount()) {
        std::uint32_t child = 0;
        entryAt(node, low, &child);
        return {child, low};
    }
    return {node.tailPage(), std::nullopt};
}

std::optional<std::vector<TreeView::Step>> TreeView::pathTo(const IndexEntry& target,
                                                            std::uint32_t stop) {
    std::vector<Step> path{{index_.rootPage, std::nullopt}};
    while (path.back().page != stop) {
        const IndexPage& current = page(path.back().page);
        if (current.isLeaf() || path.size() > kMaxDepth) {
            return std::nullopt;
        }
        const auto [child, entry] = childFor(current, target);
        if (child == 0) {
            return std::nullopt;
        }
        path.push_back({child, entry});
    }
    return path;
}

std::optional<IndexEntry> TreeView::greatest(std::uint32_t number) {
    for (std::size_t depth = 0; depth <= kMaxDepth; ++depth) {
        const IndexPage& current = page(number);
        if (current.isLeaf()) {
            if (current.entryCount() == 0) {
                return std::nullopt;
            }
            return entryAt(current, current.entryCount() - 1);
        }
        if (current.tailPage() != 0) {
            number = current.tailPage();
        } else if (current.entryCount() != 0) {
            entryAt(current, current.entryCount() - 1, &number);
        } else {
            fail(name_ + " has node page " + std::to_string(number) + " without children");
        }
    }
    fail(name_ + " leads in circles");
}

std::uint32_t TreeView::leafFor(const IndexEntry& target) {
    std::uint32_t number = index_.rootPage;
    for (std::size_t depth = 0; !page(number).isLeaf(); ++depth) {
        if (depth > kMaxDepth) {
            fail(name_ + " leads in circles");
        }
        number = childFor(page(number), target).first;
        if (number == 0) {
            return 0;
        }
    }
    return number;
}

bool TreeView::contains(const IndexEntry& entry) {
    const std::uint32_t number = leafFor(entry);
    if (number == 0) {
        return false;
    }
    const IndexPage& leaf = page(number);
    const std::size_t low = firstNotBelow(leaf, entry);
    return low < leaf.entryCount() && entryAt(leaf, low) == entry;
}

std::size_t TreeView::countKey(const KeyBytes& key, std::size_t limit) {
    std::uint32_t number = leafFor(IndexEntry{key, RowLocation{0, 0}});
    std::size_t count = 0;
    std::set<std::uint32_t> visited;
    while (number != 0 && count < limit && visited.insert(number).second) {
        const IndexPage& leaf = page(number);
        for (std::size_t i = leaf.lowerBound(key); i < leaf.entryCount() && count < limit; ++i) {
            if (leaf.compareKey(i, key) != 0) {
                return count;
            }
            ++count;
        }
        number = leaf.nextPage();
    }
    return count;
}

} // namespace jet::image_check
