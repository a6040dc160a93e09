#include "jet/reader/data_page.h"

#include "jet/format/jet_format.h"

#include <string>

namespace jet {
namespace {

using layout::kDataRowCountAt;
using layout::kDataSlotsAt;
using layout::kSlotOffsetMask;
// Jet moves a row at most once: the original slot is rewritten when it moves again. A few
// hops are tolerated; more mean pointers that chase each other.
constexpr int kMaxOverflowHops = 4;

std::string where(std::uint32_t page, std::uint16_t row) {
    return "row " + std::to_string(row) + " of page " + std::to_string(page);
}

} // namespace

DataPage::DataPage(PageRef page, std::uint32_t number)
    : page_(std::move(page)), number_(number), rowCount_(0) {
    const Bytes bytes = bytesOf(page_);
    if (bytes[0] != static_cast<std::uint8_t>(PageType::Data)) {
        throwDamaged("page " + std::to_string(number) + " should hold rows but is of type " +
                     std::to_string(bytes[0]));
    }
    rowCount_ = u16At(bytes, kDataRowCountAt);
    if (rowCount_ > layout::kMaxRowsPerPage || kDataSlotsAt + 2u * rowCount_ > kPageSize) {
        throwDamaged("the row offset table of page " + std::to_string(number) +
                     " is larger than the page");
    }
}

std::uint32_t DataPage::owner() const {
    return u32At(bytesOf(page_), layout::kDataOwnerAt);
}

std::uint16_t DataPage::slot(std::uint16_t row) const {
    if (row >= rowCount_) {
        throwDamaged(where(number_, row) + " does not exist (" + std::to_string(rowCount_) +
                     " rows)");
    }
    return u16At(bytesOf(page_), kDataSlotsAt + 2u * row);
}

bool DataPage::isDeleted(std::uint16_t row) const {
    return (slot(row) & layout::kSlotDeleted) != 0;
}

bool DataPage::isOverflowPointer(std::uint16_t row) const {
    return (slot(row) & layout::kSlotOverflowPointer) != 0;
}

Bytes DataPage::rowBytes(std::uint16_t row) const {
    const std::size_t start = slot(row) & kSlotOffsetMask;
    const std::size_t end =
        row == 0 ? kPageSize : (slot(static_cast<std::uint16_t>(row - 1)) & kSlotOffsetMask);
    if (start < kDataSlotsAt + 2u * rowCount_ || start >= end || end > kPageSize) {
        throwDamaged(where(number_, row) + " lies outside its page (offsets " +
                     std::to_string(start) + " to " + std::to_string(end) + ")");
    }
    return bytesOf(page_).subspan(start, end - start);
}

std::string dataPageLayoutProblem(Bytes page) {
    if (page.size() != kPageSize || page[0] != static_cast<std::uint8_t>(PageType::Data)) {
        return "it is not a data page";
    }
    const std::size_t count = u16At(page, kDataRowCountAt);
    const std::size_t slotsEnd = kDataSlotsAt + 2 * count;
    if (count > layout::kMaxRowsPerPage || slotsEnd > kPageSize) {
        return "it has more rows than a page holds";
    }
    std::size_t end = kPageSize;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t slot = u16At(page, kDataSlotsAt + 2 * i);
        const std::size_t start = slot & kSlotOffsetMask;
        if (start < slotsEnd || start > end) {
            return "row " + std::to_string(i) + " lies outside the space its slot gives it";
        }
        if (start == end && (slot & layout::kSlotDeleted) == 0) {
            return "live row " + std::to_string(i) + " has no bytes";
        }
        end = start;
    }
    if (u16At(page, layout::kDataFreeSpaceAt) != end - slotsEnd) {
        return "its free-space count does not match its rows";
    }
    return {};
}

std::optional<StoredRow> readLiveRow(const PageStore& pages, RowLocation location) {
    const RowLocation start = location;
    for (int hop = 0; hop <= kMaxOverflowHops; ++hop) {
        const DataPage page(pages.page(location.page), location.page);
        // A moved row's new home is flagged deleted so that scans skip it; only the slot we
        // start from says whether the row is really gone.
        if (hop == 0 && page.isDeleted(location.row)) {
            return std::nullopt;
        }
        const Bytes bytes = page.rowBytes(location.row);
        if (!page.isOverflowPointer(location.row)) {
            return StoredRow{page.page(), bytes, location, start};
        }
        location = RowLocation{u24At(bytes, 1, "an overflow row pointer"),
                               u8At(bytes, 0, "an overflow row pointer")};
    }
    throwDamaged("overflow row pointers starting at " + where(start.page, start.row) +
                 " lead nowhere");
}

} // namespace jet
