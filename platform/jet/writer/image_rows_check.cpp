// The rows a change writes: the ones the statement names hold what it asks, every other row
// of every data page written stays as it was, and the table definitions count what is left.

#include "jet/writer/image_check_parts.h"

#include "jet/format/jet_format.h"
#include "jet/reader/data_page.h"
#include "jet/reader/field_value.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/text_codec.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace jet::image_check {
namespace {

std::uint32_t packed(RowLocation row) {
    return rowPointer(row);
}

bool sameBytes(Bytes a, Bytes b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

std::uint32_t ownerOf(const PageStore& pages, std::uint32_t page) {
    return u32At(bytesOf(pages.page(page)), layout::kDataOwnerAt);
}

bool isDataPage(const PageStore& pages, std::uint32_t page) {
    return page < pages.pageCount() &&
           (*pages.page(page))[0] == static_cast<std::uint8_t>(PageType::Data);
}

class RowsCheck {
public:
    RowsCheck(const Images& images, const Request& request) : images_(images), request_(request) {}

    Changes run() {
        // Both are sorted by row, so requested_ is too.
        for (const auto& [row, text] : request_.updates) {
            requestedUpdate(row, *text);
        }
        for (const RowLocation row : request_.deletions) {
            requestedDeletion(row);
        }
        for (const std::uint32_t page : images_.written) {
            const bool before = images_.existedBefore(page) && isDataPage(images_.before, page);
            const bool after = isDataPage(images_.after, page);
            const std::uint32_t owner = before  ? ownerOf(images_.before, page)
                                        : after ? ownerOf(images_.after, page)
                                                : 0;
            if (const UserTable* table = images_.table(owner); table != nullptr) {
                dataPage(*table, page, before);
            }
        }
        for (const std::uint32_t copy : newCopies_) {
            if (!movedTo_.contains(copy)) {
                fail("a row is added on page " + std::to_string(rowAtPointer(copy).page) +
                     " that no changed row moves to");
            }
        }
        rowCounts();
        return std::move(changes_);
    }

private:
    TableChanges& changesOf(const UserTable& table) {
        TableChanges& changes = changes_[table.definition.definitionPage];
        changes.table = &table;
        return changes;
    }

    StoredRow live(const PageStore& pages, RowLocation row, const UserTable& table,
                   const char* when) {
        std::optional<StoredRow> stored = readLiveRow(pages, row);
        if (!stored) {
            fail(rowName(row) + " of " + tableName(table) + " is not live " + when);
        }
        if (stored->location != row) {
            // A moved row lives on a page of its own table, hidden from scans.
            const DataPage home(pages.page(stored->location.page), stored->location.page);
            if (home.owner() != table.definition.definitionPage ||
                !home.isDeleted(stored->location.row)) {
                fail(rowName(row) + " of " + tableName(table) + " points " + when +
                     " to a row that is not its own");
            }
        }
        return *stored;
    }

    void requestedUpdate(RowLocation row, const std::optional<std::u16string>& text) {
        const UserTable& table = *request_.table;
        const StoredRow before = live(images_.before, row, table, "before the change");
        const StoredRow after = live(images_.after, row, table, "after the change");
        noteMovedRow(before, after);
        const RowFields old(before.bytes, table.definition);
        const RowFields now(after.bytes, table.definition);
        for (std::size_t i = 0; i < table.definition.columns.size(); ++i) {
            const ColumnDefinition& column = table.definition.columns[i];
            if (i == request_.column) {
                if (!holds(now.bytes(column), text)) {
                    fail(rowName(row) + " of " + tableName(table) +
                         " would not hold the text the statement gives it");
                }
                continue;
            }
            const std::optional<Bytes> a = old.bytes(column);
            const std::optional<Bytes> b = now.bytes(column);
            if (a.has_value() != b.has_value() || (a && !sameBytes(*a, *b)) ||
                old.presenceBit(column) != now.presenceBit(column)) {
                fail(rowName(row) + " of " + tableName(table) + " would change in column " +
                     utf8(column.name) + ", which the statement does not set");
            }
        }
        requested_.push_back(packed(row));
        if (!sameBytes(before.bytes, after.bytes)) {
            TableChanges& changes = changesOf(table);
            changes.rows.push_back({row, before, after, true});
            changes.changedColumn = request_.column;
        }
    }

    // Whether value, as stored, is text. The rows a change moves mostly hold one value, which
    // is decoded once.
    bool holds(const std::optional<Bytes>& value, const std::optional<std::u16string>& text) {
        if (value.has_value() != text.has_value()) {
            return false;
        }
        if (!value) {
            return true;
        }
        if (!(lastText_ && *lastText_ == *text && sameBytes(*value, lastValue_))) {
            if (decodeText(*value) != *text) {
                return false;
            }
            lastText_ = *text;
            lastValue_.assign(value->begin(), value->end());
        }
        return true;
    }

    void requestedDeletion(RowLocation row) {
        const UserTable& table = *request_.table;
        const StoredRow before = live(images_.before, row, table, "before the change");
        if (readLiveRow(images_.after, row)) {
            fail(rowName(row) + " of " + tableName(table) + " would not be deleted");
        }
        requested_.push_back(packed(row));
        changesOf(table).rows.push_back({row, before, std::nullopt, true});
    }

    // Where a changed row lived and lives: the only rows hidden from scans that may change.
    void noteMovedRow(const StoredRow& before, const StoredRow& after) {
        if (before.location != before.header) {
            movedFrom_.insert(packed(before.location));
        }
        if (after.location != after.header) {
            movedTo_.insert(packed(after.location));
        }
    }

    void dataPage(const UserTable& table, std::uint32_t page, bool existed) {
        const std::string where = "data page " + std::to_string(page) + " of " + tableName(table);
        if (!isDataPage(images_.after, page) ||
            ownerOf(images_.after, page) != table.definition.definitionPage) {
            fail(where + " would no longer be a data page of its table");
        }
        const PageRef afterPage = images_.after.page(page);
        if (const std::string problem = dataPageLayoutProblem(bytesOf(afterPage));
            !problem.empty()) {
            fail(where + " would break the format's rules: " + problem);
        }
        const DataPage after(afterPage, page);
        TableChanges& changes = changesOf(table);
        if (!existed) {
            changes.takenPages.insert(page);
        }
        const std::optional<DataPage> before =
            existed ? std::optional<DataPage>(DataPage(images_.before.page(page), page))
                    : std::nullopt;
        const std::uint16_t beforeCount = before ? before->rowCount() : 0;
        if (after.rowCount() < beforeCount) {
            fail(where + " would lose row slots");
        }
        for (std::uint16_t slot = 0; slot < after.rowCount(); ++slot) {
            const RowLocation row{page, static_cast<std::uint8_t>(slot)};
            if (slot >= beforeCount) {
                if (!after.isDeleted(slot)) {
                    fail(where + " would gain a row that no statement adds");
                }
                newCopies_.insert(packed(row));
            } else if (before->isDeleted(slot)) {
                deletedSlot(*before, after, row, where);
            } else if (!requested(row)) {
                untouchedRow(table, *before, after, row);
            }
        }
    }

    // Whether the statement names row. Pages are visited by ascending number and their rows in
    // order, so a cursor into the sorted names finds each in a step or two.
    bool requested(RowLocation row) {
        const std::uint32_t wanted = packed(row);
        if (cursor_ >= requested_.size() || requested_[cursor_] > wanted) {
            cursor_ = static_cast<std::size_t>(
                std::lower_bound(requested_.begin(), requested_.end(), wanted) -
                requested_.begin());
        }
        while (cursor_ < requested_.size() && requested_[cursor_] < wanted) {
            ++cursor_;
        }
        return cursor_ < requested_.size() && requested_[cursor_] == wanted;
    }

    void deletedSlot(const DataPage& before, const DataPage& after, RowLocation row,
                     const std::string& where) {
        if (!after.isDeleted(row.row)) {
            fail(where + " would bring deleted " + rowName(row) + " back");
        }
        // A deleted slot that holds bytes may be the home of a moved row; only the homes of
        // the rows the statement changes may change.
        const auto bytesOfSlot = [&](const DataPage& page) {
            const std::uint16_t slot =
                u16At(bytesOf(page.page()), layout::kDataSlotsAt + 2u * row.row);
            const std::size_t start = slot & layout::kSlotOffsetMask;
            const std::size_t end =
                row.row == 0
                    ? kPageSize
                    : u16At(bytesOf(page.page()), layout::kDataSlotsAt + 2u * (row.row - 1)) &
                          layout::kSlotOffsetMask;
            return bytesOf(page.page()).subspan(start, end - start);
        };
        if (!sameBytes(bytesOfSlot(before), bytesOfSlot(after)) &&
            !movedFrom_.contains(packed(row)) && !movedTo_.contains(packed(row))) {
            fail(rowName(row) + ", a row hidden from scans, would change");
        }
    }

    void untouchedRow(const UserTable& table, const DataPage& before, const DataPage& after,
                      RowLocation row) {
        if (after.isDeleted(row.row)) {
            if (&table == request_.table) {
                fail(rowName(row) + " of " + tableName(table) +
                     " would be deleted, which the statement does not ask");
            }
            // Deleted with a record it refers to; the relationships' check decides.
            changesOf(table).rows.push_back(
                {row, live(images_.before, row, table, "before the change"), std::nullopt, false});
            return;
        }
        const bool moved = before.isOverflowPointer(row.row) || after.isOverflowPointer(row.row);
        const bool same =
            moved ? sameBytes(live(images_.before, row, table, "before the change").bytes,
                              live(images_.after, row, table, "after the change").bytes)
                  : sameBytes(before.rowBytes(row.row), after.rowBytes(row.row));
        if (!same) {
            fail(rowName(row) + " of " + tableName(table) +
                 " would change, which the statement does not ask");
        }
    }

    void rowCounts() {
        for (const std::uint32_t page : images_.written) {
            if (images_.existedBefore(page) &&
                (*images_.before.page(page))[0] ==
                    static_cast<std::uint8_t>(PageType::TableDefinition) &&
                !changes_.contains(page)) {
                fail("the definition on page " + std::to_string(page) +
                     " would change, though its table does not");
            }
        }
        for (const auto& [definitionPage, changes] : changes_) {
            const auto deleted = static_cast<std::uint32_t>(
                std::count_if(changes.rows.begin(), changes.rows.end(),
                              [](const RowChange& c) { return !c.after; }));
            const Bytes before = bytesOf(images_.before.page(definitionPage));
            const PageRef afterPage = images_.after.page(definitionPage);
            const Bytes after = bytesOf(afterPage);
            const std::uint32_t count = u32At(before, layout::kDefinitionRowCountAt);
            const std::size_t countEnd = layout::kDefinitionRowCountAt + 4;
            if (after[0] != before[0] ||
                !sameBytes(before.first(layout::kDefinitionRowCountAt),
                           after.first(layout::kDefinitionRowCountAt)) ||
                !sameBytes(before.subspan(countEnd), after.subspan(countEnd))) {
                fail("the definition of " + tableName(*changes.table) +
                     " would change beyond its row count");
            }
            if (count < deleted || u32At(after, layout::kDefinitionRowCountAt) != count - deleted) {
                fail("the row count of " + tableName(*changes.table) +
                     " would not match the rows it keeps");
            }
        }
    }

    const Images& images_;
    const Request& request_;
    Changes changes_;
    std::vector<std::uint32_t> requested_; // packed, ascending
    std::size_t cursor_ = 0;
    std::unordered_set<std::uint32_t> movedFrom_;
    std::unordered_set<std::uint32_t> movedTo_;
    std::unordered_set<std::uint32_t> newCopies_;
    std::optional<std::u16string> lastText_;
    std::vector<std::uint8_t> lastValue_;
};

} // namespace

Changes checkRows(const Images& images, const Request& request) {
    return RowsCheck(images, request).run();
}

} // namespace jet::image_check
