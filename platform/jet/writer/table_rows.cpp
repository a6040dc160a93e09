#include "table_rows.h"

#include "data_page_editor.h"
#include "page_allocation.h"
#include "usage_map.h"
#include "usage_map_editor.h"
#include "write_error.h"

#include <string>

namespace jet {
namespace {

constexpr std::size_t kRowCountOffset = 16;
constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kPageRowCountOffset = 12;
constexpr std::uint16_t kMaxRows = 256;

std::vector<std::uint8_t> pointerTo(RowLocation target) {
    return {target.row, static_cast<std::uint8_t>(target.page),
            static_cast<std::uint8_t>(target.page >> 8),
            static_cast<std::uint8_t>(target.page >> 16)};
}

std::string rowName(RowLocation row) {
    return "row " + std::to_string(row.row) + " of page " + std::to_string(row.page);
}

} // namespace

TableRows::TableRows(PageEdits& edits, const UserTable& table) : edits_(edits), table_(table) {}

void TableRows::rewrite(RowLocation header,
                        const std::function<std::vector<std::uint8_t>(Bytes)>& change) {
    DataPageEditor headerPage(edits_.edit(header.page), header.page);
    if (header.row >= headerPage.rowCount() || (headerPage.flags(header.row) & kRowDeleted) != 0) {
        refuseUnsupported(rowName(header) + " is not a live row");
    }
    const std::uint16_t headerFlags = headerPage.flags(header.row);
    RowLocation data = header;
    if ((headerFlags & kRowOverflowPointer) != 0) {
        const Bytes pointer = headerPage.row(header.row);
        data = RowLocation{u24At(pointer, 1, "a row pointer"), u8At(pointer, 0, "a row pointer")};
        if (data.page == 0 || data.page >= edits_.pageCount()) {
            refuseUnsupported(rowName(header) + " points outside the file");
        }
    }
    DataPageEditor dataPage(edits_.edit(data.page), data.page);
    if (data.row >= dataPage.rowCount()) {
        refuseUnsupported(rowName(data) + " does not exist");
    }
    const Bytes current = dataPage.row(data.row);
    const std::vector<std::uint8_t> changed = change(current);
    if (changed.size() <= current.size() + dataPage.freeSpace()) {
        dataPage.replaceRow(data.row, changed);
        return;
    }
    const RowLocation moved = placeMoved(changed);
    // The row may have moved onto the header's page: read its editor afresh.
    DataPageEditor pointerPage(edits_.edit(header.page), header.page);
    pointerPage.overwriteRow(header.row, pointerTo(moved));
    pointerPage.setFlags(header.row, headerFlags | kRowOverflowPointer);
}

void TableRows::remove(RowLocation header) {
    DataPageEditor page(edits_.edit(header.page), header.page);
    if (header.row >= page.rowCount() || (page.flags(header.row) & kRowDeleted) != 0) {
        refuseUnsupported(rowName(header) + " is not a live row");
    }
    // A row moved elsewhere leaves its copy there: it is flagged already, so scans skip it.
    page.setFlags(header.row, kRowDeleted | kRowOverflowPointer);
    ++removed_;
}

bool TableRows::canTake(std::uint32_t page, std::size_t rowSize) const {
    const PageBuffer& bytes = edits_.page(page);
    return bytes[0] == static_cast<std::uint8_t>(PageType::Data) &&
           u32At(bytes, kOwnerOffset) == table_.definition.definitionPage &&
           u16At(bytes, kPageRowCountOffset) < kMaxRows &&
           rowSize + 2u <= u16At(bytes, kFreeSpaceOffset);
}

RowLocation TableRows::placeMoved(Bytes row) {
    if (!roomy_) {
        roomy_ = pagesInUsageMap(edits_.store(), table_.definition.freeSpaceMap);
    }
    for (;;) {
        std::optional<std::uint32_t> page;
        if (added_ && canTake(*added_, row.size())) {
            page = added_;
        }
        while (!page && nextRoomy_ < roomy_->size()) {
            const std::uint32_t candidate = (*roomy_)[nextRoomy_];
            if (canTake(candidate, row.size())) {
                page = candidate;
            } else {
                ++nextRoomy_;
            }
        }
        if (page) {
            DataPageEditor editor(edits_.edit(*page), *page);
            return RowLocation{*page, editor.addRow(row, kRowDeleted)};
        }
        const std::uint32_t fresh = allocatePage(edits_, table_.definition.ownedPagesMap);
        DataPageEditor::initialize(edits_.edit(fresh), table_.definition.definitionPage);
        markPage(edits_, table_.definition.freeSpaceMap, fresh, true);
        added_ = fresh;
    }
}

void TableRows::finish() {
    if (removed_ == 0) {
        return;
    }
    PageBuffer& definition = edits_.edit(table_.definition.definitionPage);
    const std::uint32_t count = u32At(definition, kRowCountOffset);
    if (count < removed_) {
        refuseUnsupported("the table's row count is lower than the rows it deletes");
    }
    const std::uint32_t left = count - removed_;
    putLittleEndian(definition, kRowCountOffset, left, 4);
}

} // namespace jet
