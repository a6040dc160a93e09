#include "jet/reader/table_scan.h"

#include "jet/reader/usage_map.h"

namespace jet {

TableScan::TableScan(const PageStore& pages, const TableDefinition& table)
    : pages_(pages), owner_(table.definitionPage),
      dataPages_(pagesInUsageMap(pages, table.ownedPagesMap)) {}

bool TableScan::nextPage() {
    while (nextPageIndex_ < dataPages_.size()) {
        const std::uint32_t number = dataPages_[nextPageIndex_++];
        PageRef page = pages_.page(number);
        // The map also names the table's index pages, and pages it let go of may still be
        // marked: only data pages that say they belong to this table hold its rows.
        if ((*page)[0] != static_cast<std::uint8_t>(PageType::Data)) {
            continue;
        }
        DataPage candidate(std::move(page), number);
        if (candidate.owner() != owner_) {
            continue;
        }
        page_.emplace(std::move(candidate));
        nextRow_ = 0;
        return true;
    }
    page_.reset();
    return false;
}

bool TableScan::next() {
    while (page_ || nextPage()) {
        if (nextRow_ >= page_->rowCount()) {
            page_.reset();
            continue;
        }
        const std::uint16_t row = nextRow_++;
        if (page_->isDeleted(row)) {
            continue;
        }
        const RowLocation location{page_->number(), static_cast<std::uint8_t>(row)};
        if (page_->isOverflowPointer(row)) {
            std::optional<StoredRow> moved = readLiveRow(pages_, location);
            if (!moved) {
                continue;
            }
            current_ = std::move(*moved);
        } else {
            current_ = StoredRow{page_->page(), page_->rowBytes(row), location, location};
        }
        return true;
    }
    return false;
}

} // namespace jet
