#include "tests/jet/writer/file_structure_check.h"

#include "jet/reader/database.h"
#include "jet/reader/usage_map.h"
#include "jet/writer/data_page_editor.h"
#include "jet/writer/index_tree_page.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <functional>
#include <set>

namespace {

using jet::IndexEntry;
using jet::IndexTreePage;

class Checker {
public:
    explicit Checker(const std::string& path)
        : database_(jet::PageStore(jet::openFileReadOnly(path))), free_(freePages()) {}

    std::vector<std::string> run() {
        for (const jet::UserTable& table : database_.tables()) {
            checkTable(table);
            for (const jet::IndexDefinition& index : table.definition.indexes) {
                checkIndex(table, index);
            }
        }
        return problems_;
    }

private:
    std::set<std::uint32_t> usagePages(std::uint32_t map) {
        const auto pages = jet::pagesInUsageMap(database_.pages(), map);
        return {pages.begin(), pages.end()};
    }

    // The global map marks free pages, the pages past the end of the file among them, so it
    // is read here rather than as a map of pages in use.
    std::set<std::uint32_t> freePages() {
        jet::PageBuffer holder = *database_.pages().page(1);
        const jet::DataPageEditor rows(holder, 1);
        const jet::Bytes map = rows.row(0);
        std::set<std::uint32_t> pages;
        if (map[0] != 0) {
            problem("the global usage map is not an inline map");
            return pages;
        }
        const std::uint32_t start = jet::u32At(map, 1);
        for (std::size_t bit = 0; bit < (map.size() - 5) * 8; ++bit) {
            if ((map[5 + bit / 8] >> (bit % 8)) & 1u) {
                pages.insert(start + static_cast<std::uint32_t>(bit));
            }
        }
        return pages;
    }

    void problem(const std::string& text) { problems_.push_back(text); }

    void checkTable(const jet::UserTable& table) {
        const std::string name = jet::utf8(table.name);
        const auto owned = usagePages(table.definition.ownedPagesMap);
        for (const std::uint32_t page : usagePages(table.definition.freeSpaceMap)) {
            if (!owned.contains(page)) {
                problem(name + ": free-space map names page " + std::to_string(page) +
                        ", which the table does not own");
            }
        }
        for (const std::uint32_t page : owned) {
            if (free_.contains(page)) {
                problem(name + ": owned page " + std::to_string(page) + " is marked free");
            }
            jet::PageBuffer copy = *database_.pages().page(page);
            if (copy[0] != static_cast<std::uint8_t>(jet::PageType::Data)) {
                continue;
            }
            try {
                const jet::DataPageEditor editor(copy, page);
                checkPointers(name, owned, editor, page);
            } catch (const jet::WriteError& error) {
                problem(name + ": " + error.what());
            }
        }
    }

    void checkPointers(const std::string& name, const std::set<std::uint32_t>& owned,
                       const jet::DataPageEditor& editor, std::uint32_t page) {
        for (std::uint16_t row = 0; row < editor.rowCount(); ++row) {
            const auto slot = static_cast<std::uint8_t>(row);
            if ((editor.flags(slot) & (jet::kRowDeleted | jet::kRowOverflowPointer)) !=
                jet::kRowOverflowPointer) {
                continue;
            }
            const jet::Bytes pointer = editor.row(slot);
            const std::uint32_t target = jet::u24At(pointer, 1);
            if (!owned.contains(target)) {
                problem(name + ": row " + std::to_string(row) + " of page " + std::to_string(page) +
                        " points to page " + std::to_string(target) +
                        ", which the table does not own");
                continue;
            }
            jet::PageBuffer copy = *database_.pages().page(target);
            const jet::DataPageEditor moved(copy, target);
            if (pointer[0] >= moved.rowCount() ||
                (moved.flags(pointer[0]) & jet::kRowDeleted) == 0) {
                problem(name + ": a moved row is missing or not hidden from scans");
            }
        }
    }

    IndexTreePage page(std::uint32_t number, std::uint32_t owner) {
        return jet::parseIndexPage(*database_.pages().page(number), number, owner);
    }

    // Checks the subtree under number and gives its greatest entry; leaves are collected in
    // tree order, and each level's pages with their parents.
    IndexEntry subtree(std::uint32_t number, std::uint32_t owner, std::uint32_t parent,
                       std::size_t depth,
                       std::vector<std::vector<std::pair<std::uint32_t, std::uint32_t>>>& levels) {
        if (depth > 16 || !seen_.insert(number).second) {
            throw std::runtime_error("index pages form a loop");
        }
        const IndexTreePage current = page(number, owner);
        if (levels.size() <= depth) {
            levels.resize(depth + 1);
        }
        levels[depth].emplace_back(number, parent);
        checkStored(current, owner);
        if (current.leaf) {
            if (current.entries.empty()) {
                if (parent != 0) {
                    problem("empty index leaf " + std::to_string(number));
                }
                return IndexEntry{};
            }
            return current.entries.back();
        }
        IndexEntry last;
        for (std::size_t i = 0; i < current.children.size(); ++i) {
            const jet::IndexChild& child = current.children[i];
            last = subtree(child.page, owner, number, depth + 1, levels);
            if (child.last && !(*child.last == last)) {
                problem("node " + std::to_string(number) + " misstates the greatest entry of " +
                        std::to_string(child.page));
            }
        }
        return last;
    }

    // A page holds exactly what its entries make of it: written afresh with the same shared
    // prefix, it is the same bytes up to the end of its entries, with the same free space.
    void checkStored(const IndexTreePage& current, std::uint32_t owner) {
        const std::string where = "index page " + std::to_string(current.number);
        if (!current.leaf) {
            for (std::size_t i = 0; i < current.children.size(); ++i) {
                const bool tail = current.children.size() >= 2 && i + 1 == current.children.size();
                if (current.children[i].last.has_value() == tail) {
                    problem(where + " does not keep its last child as its tail");
                }
            }
        }
        const jet::PageBuffer& original = *database_.pages().page(current.number);
        jet::PageBuffer rewritten = original;
        try {
            jet::writeIndexPage(current, owner, rewritten);
        } catch (const std::exception& error) {
            problem(where + ": " + error.what());
            return;
        }
        const std::uint16_t prefix = jet::u16At(original, 24);
        if (prefix > jet::u16At(rewritten, 24)) {
            problem(where + " claims a longer shared prefix than its entries share");
            return;
        }
        const std::size_t end = jet::kPageSize - jet::u16At(original, 2);
        if (prefix == jet::u16At(rewritten, 24) &&
            (end > jet::kPageSize ||
             !std::equal(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(end),
                         rewritten.begin()) ||
             jet::u16At(original, 2) != jet::u16At(rewritten, 2))) {
            problem(where + " is not stored as its entries say");
        }
    }

    void checkIndex(const jet::UserTable& table, const jet::IndexDefinition& index) {
        const std::uint32_t owner = table.definition.definitionPage;
        const std::string name =
            jet::utf8(table.name) + " index at " + std::to_string(index.rootPage);
        std::vector<std::vector<std::pair<std::uint32_t, std::uint32_t>>> levels;
        seen_.clear();
        try {
            subtree(index.rootPage, owner, 0, 0, levels);
        } catch (const std::exception& error) {
            problem(name + ": " + error.what());
            return;
        }
        const auto mapped = usagePages(index.usageMap);
        for (const std::uint32_t number : seen_) {
            if (!mapped.contains(number)) {
                problem(name + ": page " + std::to_string(number) + " is not in its usage map");
            }
            if (free_.contains(number)) {
                problem(name + ": page " + std::to_string(number) + " is marked free");
            }
        }
        for (std::size_t depth = 0; depth < levels.size(); ++depth) {
            checkLinks(name, levels[depth], owner, depth + 1 == levels.size());
        }
    }

    // Leaves are linked from first to last; nodes only to nodes of the same parent.
    void checkLinks(const std::string& name,
                    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& level,
                    std::uint32_t owner, bool leaves) {
        for (std::size_t i = 0; i < level.size(); ++i) {
            const IndexTreePage current = page(level[i].first, owner);
            const bool linkBack = i > 0 && (leaves || level[i - 1].second == level[i].second);
            const bool linkOn =
                i + 1 < level.size() && (leaves || level[i + 1].second == level[i].second);
            if (current.previous != (linkBack ? level[i - 1].first : 0) ||
                current.next != (linkOn ? level[i + 1].first : 0)) {
                problem(name + ": page " + std::to_string(current.number) +
                        " is linked to the wrong neighbours");
            }
        }
    }

    jet::Database database_;
    std::set<std::uint32_t> free_;
    std::set<std::uint32_t> seen_;
    std::vector<std::string> problems_;
};

} // namespace

std::vector<std::string> structureProblems(const std::string& path) {
    try {
        return Checker(path).run();
    } catch (const std::exception& error) {
        return {std::string("unreadable: ") + error.what()};
    }
}
