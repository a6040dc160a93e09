// The usage maps after the change: the global map frees what the change gives back and takes
// what it uses; each table's and index's own map gains what they take and loses what they give
// back; and no byte of any page is written that nothing of the change explains.

#include "jet/writer/image_check_parts.h"

#include "jet/format/jet_format.h"
#include "jet/reader/usage_map.h"

#include <algorithm>

namespace jet::image_check {
namespace {

using PageSet = std::set<std::uint32_t>;

PageSet setOf(const std::vector<std::uint32_t>& pages) {
    return {pages.begin(), pages.end()};
}

// The pages whose bit differs between two readings of one map.
PageSet flipped(const UsageMapBits& before, const UsageMapBits& after) {
    PageSet result;
    std::set_symmetric_difference(before.marked.begin(), before.marked.end(), after.marked.begin(),
                                  after.marked.end(), std::inserter(result, result.end()));
    return result;
}

std::string describe(const PageSet& pages) {
    std::string text;
    for (const std::uint32_t page : pages) {
        text += (text.empty() ? "" : ", ") + std::to_string(page);
        if (text.size() > 60) {
            return text + ", ...";
        }
    }
    return text;
}

class MapCheck {
public:
    MapCheck(const Images& images, const Changes& changes, const IndexPages& indexes)
        : images_(images), changes_(changes), indexes_(indexes) {}

    void run() {
        for (const auto& [page, table] : changes_) {
            taken_.insert(table.takenPages.begin(), table.takenPages.end());
        }
        for (const auto& [page, id] : indexes_.taken) {
            taken_.insert(page);
        }
        for (const auto& [page, id] : indexes_.released) {
            released_.insert(page);
        }
        globalMap();
        for (const auto& [definitionPage, table] : changes_) {
            tableMaps(table);
        }
        indexMaps();
        everyPageExplained();
    }

private:
    std::pair<UsageMapBits, UsageMapBits> read(std::uint32_t pointer) {
        std::pair<UsageMapBits, UsageMapBits> both{readUsageMap(images_.before, pointer),
                                                   readUsageMap(images_.after, pointer)};
        for (const UsageMapBits* bits : {&both.first, &both.second}) {
            for (const UsageMapBits::Bitmap& bitmap : bits->bitmaps) {
                bitmapBytes_[bitmap.page].emplace_back(bitmap.from, bitmap.to);
            }
        }
        return both;
    }

    // The global map marks the pages that are free.
    void globalMap() {
        const auto [before, after] = read(layout::kGlobalUsageMap);
        const PageSet freeBefore = setOf(before.marked);
        const PageSet freeAfter = setOf(after.marked);
        for (const std::uint32_t page : taken_) {
            const bool wasFree = !images_.existedBefore(page) || freeBefore.contains(page) ||
                                 released_.contains(page);
            if (!wasFree) {
                fail("page " + std::to_string(page) + " would be taken, though it was in use");
            }
            if (freeAfter.contains(page)) {
                fail("page " + std::to_string(page) + " would be used and marked free");
            }
        }
        for (const std::uint32_t page : released_) {
            if (taken_.contains(page)) {
                continue;
            }
            if (after.covers(page) && !freeAfter.contains(page)) {
                fail("page " + std::to_string(page) + " would be given back and not marked free");
            }
            const std::uint8_t type = (*images_.after.page(page))[0];
            if (type == static_cast<std::uint8_t>(PageType::Data) ||
                type == static_cast<std::uint8_t>(PageType::IndexLeaf) ||
                type == static_cast<std::uint8_t>(PageType::IndexNode)) {
                fail("page " + std::to_string(page) + " would be given back still holding rows");
            }
        }
        explainFlips("the global usage map", flipped(before, after), taken_, released_);
    }

    void explainFlips(const std::string& map, const PageSet& flips, const PageSet& gained,
                      const PageSet& lost) {
        PageSet unexplained;
        for (const std::uint32_t page : flips) {
            if (!gained.contains(page) && !lost.contains(page)) {
                unexplained.insert(page);
            }
        }
        if (!unexplained.empty()) {
            fail(map + " would change for pages the change neither takes nor gives back (" +
                 describe(unexplained) + ")");
        }
    }

    void tableMaps(const TableChanges& table) {
        const std::string name = tableName(*table.table);
        const auto [ownedBefore, ownedAfter] = read(table.table->definition.ownedPagesMap);
        const PageSet owned = setOf(ownedAfter.marked);
        for (const std::uint32_t page : table.takenPages) {
            if (!owned.contains(page)) {
                fail("data page " + std::to_string(page) + " of " + name +
                     " would be missing from the pages the table owns");
            }
        }
        PageSet indexPages;
        for (const auto* pages : {&indexes_.taken, &indexes_.released}) {
            for (const auto& [page, id] : *pages) {
                if (id.first == table.table->definition.definitionPage) {
                    indexPages.insert(page);
                }
            }
        }
        explainFlips("the map of the pages " + name + " owns", flipped(ownedBefore, ownedAfter),
                     table.takenPages, indexPages);
        if (table.table->definition.freeSpaceMap == 0) {
            return;
        }
        const auto [freeBefore, freeAfter] = read(table.table->definition.freeSpaceMap);
        for (const std::uint32_t page : flipped(freeBefore, freeAfter)) {
            const PageRef bytes = images_.after.page(page);
            if ((*bytes)[0] != static_cast<std::uint8_t>(PageType::Data) ||
                u32At(bytesOf(bytes), layout::kDataOwnerAt) !=
                    table.table->definition.definitionPage) {
                fail("the free-space map of " + name + " would change for page " +
                     std::to_string(page) + ", which is no data page of the table");
            }
        }
    }

    void indexMaps() {
        std::map<IndexId, std::pair<PageSet, PageSet>> byIndex; // taken, released
        for (const auto& [page, id] : indexes_.taken) {
            byIndex[id].first.insert(page);
        }
        for (const auto& [page, id] : indexes_.released) {
            byIndex[id].second.insert(page);
        }
        for (const auto& [id, pages] : byIndex) {
            const UserTable& table = *changes_.at(id.first).table;
            const std::string name =
                "index " + std::to_string(id.second) + " of " + tableName(table);
            const auto [before, after] = read(table.definition.indexes[id.second].usageMap);
            const PageSet marked = setOf(after.marked);
            for (const std::uint32_t page : pages.first) {
                if (!marked.contains(page)) {
                    fail("page " + std::to_string(page) + " would be missing from the map of " +
                         name);
                }
            }
            for (const std::uint32_t page : pages.second) {
                if (marked.contains(page) && !pages.first.contains(page)) {
                    fail("page " + std::to_string(page) + " would stay in the map of " + name);
                }
            }
            explainFlips("the map of " + name, flipped(before, after), pages.first, pages.second);
        }
    }

    bool explainedWhole(std::uint32_t page) const {
        if (indexes_.inTree.contains(page) || released_.contains(page) || taken_.contains(page) ||
            changes_.contains(page)) {
            return true;
        }
        for (const PageStore* pages : {&images_.before, &images_.after}) {
            if (page < pages->pageCount() &&
                (*pages->page(page))[0] == static_cast<std::uint8_t>(PageType::Data) &&
                changes_.contains(u32At(bytesOf(pages->page(page)), layout::kDataOwnerAt))) {
                return true;
            }
        }
        return false;
    }

    void everyPageExplained() {
        for (const std::uint32_t page : images_.written) {
            if (explainedWhole(page)) {
                continue;
            }
            if (!images_.existedBefore(page)) {
                fail("page " + std::to_string(page) +
                     " would be added for nothing the change needs");
            }
            const Bytes before = bytesOf(images_.before.page(page));
            const PageRef afterPage = images_.after.page(page);
            const Bytes after = bytesOf(afterPage);
            const auto& allowed = bitmapBytes_[page];
            for (std::size_t at = 0; at < kPageSize; ++at) {
                const bool inBitmap =
                    std::any_of(allowed.begin(), allowed.end(),
                                [&](const auto& r) { return at >= r.first && at < r.second; });
                if (before[at] != after[at] && !inBitmap) {
                    fail("page " + std::to_string(page) +
                         " would change where nothing the change does explains it");
                }
            }
        }
    }

    const Images& images_;
    const Changes& changes_;
    const IndexPages& indexes_;
    PageSet taken_;
    PageSet released_;
    std::map<std::uint32_t, std::vector<std::pair<std::size_t, std::size_t>>> bitmapBytes_;
};

} // namespace

void checkMapsAndPages(const Images& images, const Changes& changes, const IndexPages& indexes) {
    MapCheck(images, changes, indexes).run();
}

} // namespace jet::image_check
