#pragma once

#include "jet/reader/data_page.h"
#include "jet/reader/database.h"
#include "jet/writer/index_entries_by_row.h"
#include "jet/writer/index_tree.h"
#include "jet/writer/page_edits.h"
#include "jet/writer/row_keys.h"
#include "jet/writer/table_rows.h"
#include "jet/writer/text_key_reuse.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace jet {

struct PlannedWrite;

// What one statement's change has gathered so far, and the means of gathering it: the edited
// pages, the index trees and table rows it changes, the entries each index loses and gains,
// and the keys it has worked out. Nothing reaches the file; finish() hands the pages over.
class ChangeContext {
public:
    explicit ChangeContext(const Database& database);

    const Database& database() const noexcept { return database_; }

    IndexTree& tree(const UserTable& table, std::size_t index);
    const UserTable& tableAt(std::uint32_t definitionPage) const;
    // The physical index of related that pairs with the named index of a relationship.
    const IndexDefinition& relatedIndex(const LogicalIndex& named, const UserTable& related) const;
    // Refuses a table whose relationships cannot be known.
    void requireRelationshipsKnown(const UserTable& table) const;
    // The row as the file holds it (refused when deleted); its page stays readable while the
    // row is held.
    StoredRow liveRow(RowLocation row) const;
    // A row's key parts in one index, the parts that cannot be computed filled in from the
    // entry the index holds for the row; refuses when that cannot be done.
    KeyParts completeParts(const UserTable& table, std::size_t index, RowLocation row,
                           KeyParts parts);
    // The key part of text in a column like column: computed where it can be proven, else
    // copied from the file; throws WriteError (UnknownKey) otherwise.
    const KeyBytes& newTextKey(const ColumnDefinition& column, const std::u16string& text);

    void removeEntry(const UserTable& table, std::size_t index, IndexEntry entry);
    // anyNull, allNull: whether the key has a NULL part, or only NULL parts.
    void addEntry(const UserTable& table, std::size_t index, IndexEntry entry, bool anyNull,
                  bool allNull);
    // The row, which reads before now, becomes rewritten. Gives both, kept as long as the
    // context lives.
    std::pair<Bytes, Bytes> rewriteRow(const UserTable& table, RowLocation row, StoredRow before,
                                       std::vector<std::uint8_t> rewritten);
    // False when the row is already among the deleted.
    bool deleteRow(const UserTable& table, RowLocation row);

    // Checks unique indexes, applies everything to the pages and gives them.
    PlannedWrite finish();

private:
    using IndexId = std::pair<std::uint32_t, std::size_t>; // definition page, index
    struct IndexChanges {
        std::vector<IndexEntry> removed;
        std::vector<IndexEntry> added;
        std::vector<std::pair<bool, bool>> addedNulls; // per added entry: any, all NULL
    };
    struct PendingUpdate {
        const UserTable* table;
        RowLocation row;
        StoredRow before;
        std::vector<std::uint8_t> rewritten;
    };

    TableRows& rows(const UserTable& table);
    void checkUnique(const IndexDefinition& index, IndexTree& tree, const IndexChanges& changes);

    const Database& database_;
    PageEdits edits_;
    std::map<IndexId, IndexTree> trees_;
    std::map<IndexId, IndexChanges> changes_;
    std::map<IndexId, EntriesByRow> entriesByRow_;
    std::map<std::uint32_t, TableRows> rows_;
    std::map<std::u16string, KeyBytes> textKeys_;
    std::map<std::u16string, ReusedKey> reusedKeys_;
    std::deque<PendingUpdate> updates_;
    std::map<std::uint32_t, std::set<RowLocation>> deleted_;
};

} // namespace jet
