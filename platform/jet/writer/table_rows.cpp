#include "jet/writer/table_rows.h"

#include "jet/reader/usage_map.h"
#include "jet/writer/data_page_editor.h"
#include "jet/writer/page_allocation.h"
#include "jet/writer/usage_map_editor.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <map>
#include <string>

namespace jet {
namespace {

// An overflow row: the pointer to where the row moved, as the file stores it.
std::vector<std::uint8_t> pointerTo(RowLocation target) {
    std::vector<std::uint8_t> pointer(4);
    putLittleEndian(pointer, 0, rowPointer(target), 4);
    return pointer;
}

std::string rowName(RowLocation row) {
    return "row " + std::to_string(row.row) + " of page " + std::to_string(row.page);
}

} // namespace

TableRows::TableRows(PageEdits& edits, const UserTable& table) : edits_(edits), table_(table) {}

DataPageEditor TableRows::editor(std::uint32_t page) {
    PageBuffer& bytes = edits_.edit(page);
    if (page >= checked_.size()) {
        checked_.resize(std::max<std::size_t>(page + 1u, edits_.pageCount()));
    }
    if (!checked_[page]) {
        DataPageEditor checked(bytes, page);
        checked_[page] = true;
        return checked;
    }
    return DataPageEditor::resumed(bytes, page);
}

TableRows::Rewrite TableRows::resolve(RowLocation header) {
    DataPageEditor headerPage = editor(header.page);
    if (header.row >= headerPage.rowCount() || (headerPage.flags(header.row) & kRowDeleted) != 0) {
        refuseUnsupported(rowName(header) + " is not a live row");
    }
    Rewrite rewrite{header, headerPage.flags(header.row), header, {}};
    if ((rewrite.headerFlags & kRowOverflowPointer) != 0) {
        const Bytes pointer = headerPage.row(header.row);
        rewrite.data =
            RowLocation{u24At(pointer, 1, "a row pointer"), u8At(pointer, 0, "a row pointer")};
        if (rewrite.data.page == 0 || rewrite.data.page >= edits_.pageCount()) {
            refuseUnsupported(rowName(header) + " points outside the file");
        }
    }
    if (rewrite.data.row >= editor(rewrite.data.page).rowCount()) {
        refuseUnsupported(rowName(rewrite.data) + " does not exist");
    }
    return rewrite;
}

void TableRows::rewrite(const std::vector<RowLocation>& headers, const RowChange& change) {
    std::map<std::uint32_t, std::vector<Rewrite>> byPage;
    for (std::size_t i = 0; i < headers.size(); ++i) {
        Rewrite rewrite = resolve(headers[i]);
        rewrite.bytes = change(i, editor(rewrite.data.page).row(rewrite.data.row));
        byPage[rewrite.data.page].push_back(std::move(rewrite));
    }
    for (auto& [page, rewrites] : byPage) {
        DataPageEditor rows = editor(page);
        std::ptrdiff_t growth = 0;
        for (const Rewrite& rewrite : rewrites) {
            growth += static_cast<std::ptrdiff_t>(rewrite.bytes.size()) -
                      static_cast<std::ptrdiff_t>(rows.row(rewrite.data.row).size());
        }
        if (growth > static_cast<std::ptrdiff_t>(rows.freeSpace())) {
            for (const Rewrite& rewrite : rewrites) {
                rewriteOne(rewrite);
            }
            continue;
        }
        std::sort(rewrites.begin(), rewrites.end(),
                  [](const Rewrite& a, const Rewrite& b) { return a.data.row < b.data.row; });
        std::vector<std::pair<std::uint8_t, Bytes>> replaced;
        for (const Rewrite& rewrite : rewrites) {
            replaced.emplace_back(rewrite.data.row, rewrite.bytes);
        }
        rows.replaceRows(replaced);
    }
}

// A row that still fits its page is rewritten in place; one that does not moves to a page
// with room, and its slot points there.
void TableRows::rewriteOne(const Rewrite& rewrite) {
    DataPageEditor dataPage = editor(rewrite.data.page);
    const std::size_t current = dataPage.row(rewrite.data.row).size();
    if (rewrite.bytes.size() <= current + dataPage.freeSpace()) {
        dataPage.replaceRow(rewrite.data.row, rewrite.bytes);
        return;
    }
    const RowLocation moved = placeMoved(rewrite.bytes);
    // The row may have moved onto the header's page: read its editor afresh.
    DataPageEditor pointerPage = editor(rewrite.header.page);
    pointerPage.overwriteRow(rewrite.header.row, pointerTo(moved));
    pointerPage.setFlags(rewrite.header.row, rewrite.headerFlags | kRowOverflowPointer);
}

void TableRows::remove(RowLocation header) {
    DataPageEditor page = editor(header.page);
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
           u32At(bytes, layout::kDataOwnerAt) == table_.definition.definitionPage &&
           u16At(bytes, layout::kDataRowCountAt) < layout::kMaxRowsPerPage &&
           rowSize + 2u <= u16At(bytes, layout::kDataFreeSpaceAt);
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
            return RowLocation{*page, editor(*page).addRow(row, kRowDeleted)};
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
    const std::uint32_t count = u32At(definition, layout::kDefinitionRowCountAt);
    if (count < removed_) {
        refuseUnsupported("the table's row count is lower than the rows it deletes");
    }
    const std::uint32_t left = count - removed_;
    putLittleEndian(definition, layout::kDefinitionRowCountAt, left, 4);
}

} // namespace jet
