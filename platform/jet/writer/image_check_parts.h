#pragma once

// The parts of the check a change passes before it is written (image_check.h), each in a file
// of its own, and what they share.

#include "jet/reader/data_page.h"
#include "jet/reader/database.h"
#include "jet/writer/change_plan.h"
#include "jet/writer/index_entry.h"
#include "jet/writer/index_key.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace jet::image_check {

// Throws the refusal: WriteError (Unsupported) naming the structure that failed.
[[noreturn]] void fail(const std::string& what);

std::string rowName(RowLocation row);
std::string tableName(const UserTable& table);

// The file, and the file as the plan would leave it: the plan's pages over the file's own,
// decoded by the reader as it will decode them once they are written.
class Images {
public:
    Images(const Database& database, const PlannedWrite& plan);

    const Database& database;
    const PageStore& before;

private:
    StoredPages decoded_; // the plan's pages decoded, where the file encodes its pages

public:
    const PageStore after;
    // The pages the plan writes whose bytes differ from the file's (every page it adds).
    std::set<std::uint32_t> written;

    // The user table whose definition starts on page, or nullptr.
    const UserTable* table(std::uint32_t definitionPage) const;
    bool existedBefore(std::uint32_t page) const { return page < before.pageCount(); }
};

// What the statement asked for: rows of one table, each to hold a new text in one column (or
// NULL), or to be deleted. Both by ascending row, each row once (the first the statement
// gave).
struct Request {
    const UserTable* table = nullptr;
    std::optional<std::size_t> column;
    std::vector<std::pair<RowLocation, const std::optional<std::u16string>*>> updates;
    std::vector<RowLocation> deletions;
};

// A row the plan changes: the row before and after (nothing after: deleted).
struct RowChange {
    RowLocation row; // the slot the row is known by
    StoredRow before;
    std::optional<StoredRow> after;
    bool requested = false;
};

struct TableChanges {
    const UserTable* table = nullptr;
    std::vector<RowChange> rows;
    // The one column in which rows changed and not deleted differ (checked); nothing when
    // none do.
    std::optional<std::size_t> changedColumn;
    // Data pages of the table that the change adds (new, or free before).
    std::set<std::uint32_t> takenPages;
};
using Changes = std::map<std::uint32_t, TableChanges>; // by definition page

// Every row the plan changes or deletes, each checked against the request, and every data page
// and table definition it writes checked against the format's rules and the rows.
Changes checkRows(const Images& images, const Request& request);

// An index of a table: its definition page and its position among the table's indexes.
using IndexId = std::pair<std::uint32_t, std::size_t>;

// A row's entry in one index before and after the change; nullptr where it has none.
struct EntryChange {
    const KeyBytes* before = nullptr;
    const KeyBytes* after = nullptr;
};

// The entries of the changed rows in one index, each distinct key kept once.
class IndexKeyChanges {
public:
    // before, after: the keys, or nullptr where the row has no entry.
    void record(RowLocation row, const KeyBytes* before, const KeyBytes* after);
    // Sorts the rows for find(); called once all are recorded.
    void finish();
    const EntryChange* find(RowLocation row) const;
    const std::vector<std::pair<RowLocation, EntryChange>>& rows() const noexcept { return rows_; }

private:
    const KeyBytes* keep(const KeyBytes* key);

    std::set<KeyBytes, KeyLess> keys_;
    const KeyBytes* last_ = nullptr;
    std::vector<std::pair<RowLocation, EntryChange>> rows_;
};
using KeyChanges = std::map<IndexId, IndexKeyChanges>;

// The index pages the change writes, by the index whose tree holds them.
struct IndexPages {
    std::map<std::uint32_t, IndexId> inTree;   // in the tree after the change
    std::map<std::uint32_t, IndexId> taken;    // of those, the ones the tree did not hold before
    std::map<std::uint32_t, IndexId> released; // in the tree before, given back
};

// Every index of a table the change touches against the rows: the entries the pages written
// lose and gain are exactly the old and new entries of the changed rows, and each page written
// keeps the tree's order and links. Gives each row's entries, and the pages.
IndexPages checkIndexes(const Images& images, const Changes& changes, const PlannedWrite& plan,
                        KeyChanges& keys);

// Enforced relationships hold after the change: a changed code has its record, no record loses
// the rows that refer to it, and rows deleted with it belong to it.
void checkRelationships(const Images& images, const Changes& changes, const KeyChanges& keys);

// The usage maps and the free-space maps agree with the pages the change takes and gives back,
// and no page is written that nothing of the change explains.
void checkMapsAndPages(const Images& images, const Changes& changes, const IndexPages& indexes);

} // namespace jet::image_check
