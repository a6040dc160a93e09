#include "jet/reader/index_search.h"

#include "jet/reader/general_sort_key.h"

#include <algorithm>
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

    // Appends the entries whose key is exactly key, in index order.
    void find(Bytes key, IndexMatches& matches) {
        std::uint32_t number = root_;
        for (int depth = 0; !page(number)->isLeaf(); ++depth) {
            if (depth == kMaxTreeDepth) {
                throwDamaged("the index rooted at page " + std::to_string(root_) +
                             " leads in circles");
            }
            // A node entry repeats its child's last key, so the first entry not below the key
            // leads to the first match; past them all lies the tail.
            const auto node = page(number);
            const std::size_t i = node->lowerBound(key);
            number = i < node->entryCount() ? node->childOf(i) : node->tailPage();
            if (number == 0) {
                return;
            }
        }
        std::set<std::uint32_t> visited{number};
        // Once a page has ended on the key, a following page whose last entry also has it
        // holds nothing else: its entries are counted without being located one by one.
        bool previousEndedOnKey = false;
        for (;;) {
            const auto leaf = page(number);
            if (previousEndedOnKey && leaf->lastKeyEquals(key)) {
                matches.push_back({leaf, 0, leaf->entryCount()});
            } else {
                const std::size_t begin = previousEndedOnKey ? 0 : leaf->lowerBound(key);
                const std::size_t end = leaf->upperBound(key, begin);
                if (end > begin) {
                    matches.push_back({leaf, begin, end});
                }
                if (end < leaf->entryCount()) {
                    return; // an entry past the key
                }
                previousEndedOnKey = end > begin;
            }
            number = leaf->nextPage();
            if (number == 0) {
                return;
            }
            if (!visited.insert(number).second) {
                throwDamaged("the leaf pages of the index rooted at page " + std::to_string(root_) +
                             " form a loop");
            }
            if (!page(number)->isLeaf()) {
                throwDamaged("a leaf page of an index links to a node page");
            }
        }
    }

private:
    std::shared_ptr<const IndexPage> page(std::uint32_t number) {
        auto found = parsed_.find(number);
        if (found == parsed_.end()) {
            found =
                parsed_.emplace(number, std::make_shared<IndexPage>(pages_.page(number), number))
                    .first;
        }
        return found->second;
    }

    const PageStore& pages_;
    std::uint32_t root_;
    std::map<std::uint32_t, std::shared_ptr<const IndexPage>> parsed_;
};

} // namespace

std::vector<RowLocation> matchedRows(const IndexMatches& matches) {
    std::vector<RowLocation> rows;
    for (const IndexRun& run : matches) {
        for (std::size_t i = run.begin; i < run.end; ++i) {
            rows.push_back(run.leaf->rowOf(i));
        }
    }
    return rows;
}

bool indexAnswersTextEquality(const IndexDefinition& index, const ColumnDefinition& column) {
    return index.columns.size() == 1 && index.columns[0].columnNumber == column.number &&
           index.columns[0].ascending && column.type == ColumnType::Text &&
           column.sortOrder == kGeneralSortOrder && column.sortVersion == 0;
}

std::optional<IndexMatches> lookUpText(const PageStore& pages, const IndexDefinition& index,
                                       std::u16string_view value) {
    IndexTree tree(pages, index.rootPage);
    if (!tree.rootIsIndexPage()) {
        return std::nullopt;
    }
    const auto key = generalSortKey(value);
    if (!key) {
        return std::nullopt;
    }
    IndexMatches matches;
    tree.find(*key, matches);
    return matches;
}

} // namespace jet
