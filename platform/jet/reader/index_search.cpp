#include "index_search.h"

#include "general_sort_key.h"
#include "index_page.h"

#include <map>
#include <set>

namespace jet {
namespace {

// Far deeper than any real tree (a full 2 GB file needs four levels); more means a loop.
constexpr int kMaxTreeDepth = 16;

// One index B-tree; the pages it parses are kept for the lookups that follow.
class IndexTree {
public:
    IndexTree(const PageStore& pages, std::uint32_t root) : pages_(pages), root_(root) {}

    bool rootIsIndexPage() const { return IndexPage::isIndexPage(*pages_.page(root_)); }

    // The rows of the entries whose key is exactly key, in index order.
    std::vector<RowLocation> find(Bytes key) {
        std::uint32_t number = root_;
        for (int depth = 0; !page(number).isLeaf(); ++depth) {
            if (depth == kMaxTreeDepth) {
                throwDamaged("the index rooted at page " + std::to_string(root_) +
                             " leads in circles");
            }
            // A node entry repeats its child's last key, so the first entry not below the key
            // leads to the first match; past them all lies the tail.
            const IndexPage& node = page(number);
            const std::size_t i = node.lowerBound(key);
            number = i < node.entryCount() ? node.childOf(i) : node.tailPage();
            if (number == 0) {
                return {};
            }
        }
        std::vector<RowLocation> rows;
        std::set<std::uint32_t> visited{number};
        for (std::size_t i = page(number).lowerBound(key);; i = 0) {
            const IndexPage& leaf = page(number);
            for (; i < leaf.entryCount(); ++i) {
                const int order = leaf.compareKey(i, key);
                if (order > 0) {
                    return rows;
                }
                if (order == 0) {
                    rows.push_back(leaf.rowOf(i));
                }
            }
            number = leaf.nextPage();
            if (number == 0) {
                return rows;
            }
            if (!visited.insert(number).second) {
                throwDamaged("the leaf pages of the index rooted at page " + std::to_string(root_) +
                             " form a loop");
            }
            if (!page(number).isLeaf()) {
                throwDamaged("a leaf page of an index links to a node page");
            }
        }
    }

private:
    const IndexPage& page(std::uint32_t number) {
        auto found = parsed_.find(number);
        if (found == parsed_.end()) {
            found = parsed_.emplace(number, IndexPage(pages_.page(number), number)).first;
        }
        return found->second;
    }

    const PageStore& pages_;
    std::uint32_t root_;
    std::map<std::uint32_t, IndexPage> parsed_;
};

} // namespace

bool indexAnswersTextEquality(const IndexDefinition& index, const ColumnDefinition& column) {
    return index.columns.size() == 1 && index.columns[0].columnNumber == column.number &&
           index.columns[0].ascending && column.type == ColumnType::Text &&
           column.sortOrder == kGeneralSortOrder && column.sortVersion == 0;
}

std::optional<std::vector<RowLocation>> lookUpText(const PageStore& pages,
                                                   const IndexDefinition& index,
                                                   const ColumnDefinition& column,
                                                   std::u16string_view value) {
    IndexTree tree(pages, index.rootPage);
    if (!tree.rootIsIndexPage()) {
        return std::nullopt;
    }
    while (!value.empty() && value.back() == u' ') {
        value.remove_suffix(1);
    }
    // Trailing spaces are part of a stored key, so every padding the column has room for is
    // looked up as a key of its own.
    const std::size_t maxCharacters = std::max<std::size_t>(column.length / 2u, value.size());
    std::vector<RowLocation> rows;
    for (std::u16string padded(value); padded.size() <= maxCharacters; padded.push_back(u' ')) {
        const auto key = generalSortKey(padded);
        if (!key) {
            return std::nullopt;
        }
        const std::vector<RowLocation> found = tree.find(*key);
        rows.insert(rows.end(), found.begin(), found.end());
    }
    return rows;
}

} // namespace jet
