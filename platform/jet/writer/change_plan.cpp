#include "change_plan.h"

#include "data_page.h"
#include "index_entries_by_row.h"
#include "index_tree.h"
#include "page_edits.h"
#include "row_fields.h"
#include "row_keys.h"
#include "row_layout.h"
#include "table_rows.h"
#include "text_key_reuse.h"
#include "write_error.h"

#include <algorithm>
#include <map>
#include <set>

namespace jet {
namespace {

// How far deletes may cascade from table to table before the chain looks like a cycle.
constexpr int kMaxCascadeDepth = 4;
constexpr std::uint8_t kRuleCascade = 1;

using IndexId = std::pair<std::uint32_t, std::size_t>; // table definition page, index

struct IndexChanges {
    std::vector<IndexEntry> removed;
    std::vector<IndexEntry> added;
    // For the unique check: whether each added key has a NULL part, or only NULL parts.
    std::vector<std::pair<bool, bool>> addedNulls;
};

bool covers(const IndexDefinition& index, const ColumnDefinition& column) {
    return std::any_of(index.columns.begin(), index.columns.end(),
                       [&](const IndexColumn& c) { return c.columnNumber == column.number; });
}

bool allNull(const KeyParts& parts) {
    return std::all_of(parts.begin(), parts.end(), isNullPart);
}

bool anyNull(const KeyParts& parts) {
    return std::any_of(parts.begin(), parts.end(), isNullPart);
}

std::vector<std::uint8_t> copyOf(Bytes bytes) {
    return {bytes.begin(), bytes.end()};
}

class ChangePlan {
public:
    explicit ChangePlan(const Database& database) : database_(database), edits_(database.pages()) {}

    void update(const TableUpdate& update);
    void remove(const UserTable& table, const std::vector<RowLocation>& rows, int depth);
    PlannedWrite finish();

private:
    struct PendingUpdate {
        const UserTable* table;
        const ColumnDefinition* column;
        RowLocation row;
        std::optional<std::vector<std::uint8_t>> value;
    };

    IndexTree& tree(const UserTable& table, std::size_t index);
    TableRows& rows(const UserTable& table);
    const UserTable& tableAt(std::uint32_t definitionPage) const;
    const IndexDefinition& relatedIndex(const LogicalIndex& named, const UserTable& related) const;
    std::vector<std::uint8_t> liveRow(RowLocation row) const;
    KeyParts completeParts(const UserTable& table, std::size_t index, RowLocation row,
                           KeyParts parts);
    const KeyBytes& newTextKey(const ColumnDefinition& column, const std::u16string& text);
    void requireRelationshipsKnown(const UserTable& table) const;
    void checkUnique(const IndexDefinition& index, IndexTree& tree, const IndexChanges& changes);

    const Database& database_;
    PageEdits edits_;
    std::map<IndexId, IndexTree> trees_;
    std::map<IndexId, IndexChanges> changes_;
    std::map<IndexId, EntriesByRow> entriesByRow_;
    std::map<std::uint32_t, TableRows> rows_;
    std::map<std::u16string, KeyBytes> textKeys_;
    std::vector<PendingUpdate> updates_;
    std::map<std::uint32_t, std::set<RowLocation>> deleted_;
};

IndexTree& ChangePlan::tree(const UserTable& table, std::size_t index) {
    const IndexId id{table.definition.definitionPage, index};
    return trees_
        .try_emplace(id, edits_, table.definition.indexes.at(index),
                     table.definition.definitionPage)
        .first->second;
}

TableRows& ChangePlan::rows(const UserTable& table) {
    return rows_.try_emplace(table.definition.definitionPage, edits_, table).first->second;
}

const UserTable& ChangePlan::tableAt(std::uint32_t definitionPage) const {
    for (const UserTable& table : database_.tables()) {
        if (table.definition.definitionPage == definitionPage) {
            return table;
        }
    }
    refuseUnsupported("a relationship names a table that is not among the file's tables");
}

const IndexDefinition& ChangePlan::relatedIndex(const LogicalIndex& named,
                                                const UserTable& related) const {
    requireRelationshipsKnown(related);
    for (const LogicalIndex& other : related.definition.logicalIndexes) {
        if (static_cast<std::int64_t>(other.number) == named.relatedIndex &&
            other.physicalIndex < related.definition.indexes.size()) {
            return related.definition.indexes[other.physicalIndex];
        }
    }
    refuseUnsupported("a relationship names an index its other table does not have");
}

void ChangePlan::requireRelationshipsKnown(const UserTable& table) const {
    if (!table.definition.logicalIndexesRead) {
        refuseUnsupported("the named indexes of table " + utf8(table.name) +
                          " cannot be read, so its relationships are unknown");
    }
}

std::vector<std::uint8_t> ChangePlan::liveRow(RowLocation row) const {
    const std::optional<StoredRow> stored = readLiveRow(edits_.store(), row);
    if (!stored) {
        refuseUnsupported("a row to change has been deleted");
    }
    return copyOf(stored->bytes);
}

KeyParts ChangePlan::completeParts(const UserTable& table, std::size_t index, RowLocation row,
                                   KeyParts parts) {
    if (joinKey(parts)) {
        return parts;
    }
    const IndexId id{table.definition.definitionPage, index};
    auto found = entriesByRow_.find(id);
    if (found == entriesByRow_.end()) {
        found = entriesByRow_
                    .emplace(id, readEntriesByRow(edits_.store(), table.definition.indexes[index],
                                                  table.definition.definitionPage))
                    .first;
    }
    const auto entry = found->second.find(rowNumberOf(row));
    std::optional<KeyParts> completed;
    if (entry != found->second.end()) {
        completed = completeFrom(std::move(parts), entry->second);
    }
    if (!completed) {
        refuseUnsupported("the key a row of table " + utf8(table.name) +
                          " has in one of its indexes cannot be worked out");
    }
    return *completed;
}

const KeyBytes& ChangePlan::newTextKey(const ColumnDefinition& column, const std::u16string& text) {
    if (const auto known = textKeys_.find(text); known != textKeys_.end()) {
        return known->second;
    }
    std::optional<KeyBytes> key = keySegment(column, true, storedTextBytes(column, text));
    if (!key) {
        key = keyFromFile(database_, column, text);
    }
    if (!key) {
        throw WriteError(WriteError::Kind::UnknownKey, utf8(text));
    }
    return textKeys_.emplace(text, std::move(*key)).first->second;
}

void ChangePlan::update(const TableUpdate& update) {
    const UserTable& table = *update.table;
    const TableDefinition& definition = table.definition;
    const ColumnDefinition& column = definition.columns.at(update.column);
    if (column.type != ColumnType::Text || column.fixedLength) {
        refuseUnsupported("only text columns are changed");
    }
    requireRelationshipsKnown(table);
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (named.kind == LogicalIndex::Kind::ForeignKey &&
            named.side == LogicalIndex::Side::Referenced &&
            covers(definition.indexes.at(named.physicalIndex), column)) {
            refuseUnsupported("other tables' records refer to column " + utf8(column.name));
        }
    }

    struct Changed {
        RowLocation row;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
        const std::u16string* text;
    };
    std::vector<Changed> changed;
    std::set<RowLocation> seen;
    for (const RowUpdate& request : update.rows) {
        if (request.text && request.text->size() > column.length / 2u) {
            throw WriteError(WriteError::Kind::FieldTooSmall, utf8(column.name));
        }
        if (!seen.insert(request.row).second) {
            continue;
        }
        std::vector<std::uint8_t> before = liveRow(request.row);
        const std::optional<Bytes> old = RowFields(before, definition).bytes(column);
        std::optional<std::vector<std::uint8_t>> value;
        if (request.text) {
            value = storedTextBytes(column, *request.text);
        }
        if (old.has_value() == value.has_value() &&
            (!old || std::equal(old->begin(), old->end(), value->begin(), value->end()))) {
            continue;
        }
        std::vector<std::uint8_t> after = withVariableValue(before, column, value);
        changed.push_back({request.row, std::move(before), std::move(after),
                           request.text ? &*request.text : nullptr});
        updates_.push_back({&table, &column, request.row, std::move(value)});
    }

    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        const IndexDefinition& index = definition.indexes[i];
        if (!covers(index, column)) {
            continue;
        }
        IndexChanges& changes = changes_[{definition.definitionPage, i}];
        for (const Changed& row : changed) {
            const KeyParts before =
                completeParts(table, i, row.row,
                              rowKeyParts(definition, index, RowFields(row.before, definition)));
            KeyParts after = rowKeyParts(definition, index, RowFields(row.after, definition));
            for (std::size_t part = 0; part < index.columns.size(); ++part) {
                if (index.columns[part].columnNumber != column.number) {
                    after[part] = before[part];
                } else if (!after[part]) {
                    after[part] = newTextKey(column, *row.text);
                }
            }
            const bool ignoresNulls = (index.flags & kIndexIgnoresNulls) != 0;
            const bool hadEntry = !(ignoresNulls && allNull(before));
            const bool hasEntry = !(ignoresNulls && allNull(after));
            const IndexEntry removed{*joinKey(before), row.row};
            const IndexEntry added{*joinKey(after), row.row};
            if (hadEntry && hasEntry && removed == added) {
                continue;
            }
            if (hadEntry) {
                changes.removed.push_back(removed);
            }
            if (hasEntry) {
                changes.added.push_back(added);
                changes.addedNulls.emplace_back(anyNull(after), allNull(after));
            }
        }
    }

    // Rows that refer to another table need their record there.
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (named.kind != LogicalIndex::Kind::ForeignKey ||
            named.side != LogicalIndex::Side::Referencing ||
            !covers(definition.indexes.at(named.physicalIndex), column)) {
            continue;
        }
        const UserTable& related = tableAt(named.relatedTablePage);
        const IndexDefinition& mine = definition.indexes.at(named.physicalIndex);
        const IndexDefinition& theirs = relatedIndex(named, related);
        if (mine.columns.size() != 1 || theirs.columns.size() != 1) {
            refuseUnsupported("a relationship over several columns");
        }
        const ColumnDefinition& referenced =
            columnNumbered(related.definition, theirs.columns[0].columnNumber);
        if (referenced.type != column.type || referenced.sortOrder != column.sortOrder ||
            referenced.sortVersion != column.sortVersion ||
            mine.columns[0].ascending != theirs.columns[0].ascending) {
            refuseUnsupported("a relationship between columns of different kinds");
        }
        const auto position = static_cast<std::size_t>(&theirs - related.definition.indexes.data());
        for (const Changed& row : changed) {
            if (row.text && !tree(related, position).containsKey(newTextKey(column, *row.text))) {
                throw WriteError(WriteError::Kind::RelatedRecordRequired, utf8(related.name));
            }
        }
    }
}

void ChangePlan::remove(const UserTable& table, const std::vector<RowLocation>& requested,
                        int depth) {
    if (depth > kMaxCascadeDepth) {
        refuseUnsupported("deletes cascade through too many tables");
    }
    requireRelationshipsKnown(table);
    const TableDefinition& definition = table.definition;
    std::set<RowLocation>& deleted = deleted_[definition.definitionPage];
    std::vector<std::pair<RowLocation, std::vector<std::uint8_t>>> doomed;
    for (const RowLocation row : requested) {
        if (deleted.insert(row).second) {
            doomed.emplace_back(row, liveRow(row));
        }
    }

    // Each row's key in every index, completed from the file where it cannot be computed.
    std::vector<std::vector<KeyParts>> keys(definition.indexes.size());
    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        for (const auto& [row, bytes] : doomed) {
            keys[i].push_back(completeParts(
                table, i, row,
                rowKeyParts(definition, definition.indexes[i], RowFields(bytes, definition))));
        }
    }

    // Records of other tables that refer to these rows keep them, or go with them.
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (named.kind != LogicalIndex::Kind::ForeignKey ||
            named.side != LogicalIndex::Side::Referenced) {
            continue;
        }
        const UserTable& related = tableAt(named.relatedTablePage);
        const IndexDefinition& theirs = relatedIndex(named, related);
        const IndexDefinition& mine = definition.indexes.at(named.physicalIndex);
        if (mine.columns.size() != theirs.columns.size()) {
            refuseUnsupported("a relationship whose two indexes differ");
        }
        const auto position = static_cast<std::size_t>(&theirs - related.definition.indexes.data());
        std::vector<RowLocation> referring;
        for (const KeyParts& parts : keys[named.physicalIndex]) {
            if (anyNull(parts)) {
                continue;
            }
            for (const IndexEntry& entry :
                 tree(related, position).entriesWithKey(*joinKey(parts))) {
                referring.push_back(entry.row);
            }
        }
        if (referring.empty()) {
            continue;
        }
        if (named.onDelete == 0) {
            throw WriteError(WriteError::Kind::RelatedRecordsExist, utf8(related.name));
        }
        if (named.onDelete != kRuleCascade) {
            refuseUnsupported("a relationship that sets related fields to NULL");
        }
        remove(related, referring, depth + 1);
    }

    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        IndexChanges& changes = changes_[{definition.definitionPage, i}];
        const bool ignoresNulls = (definition.indexes[i].flags & kIndexIgnoresNulls) != 0;
        for (std::size_t k = 0; k < doomed.size(); ++k) {
            if (!(ignoresNulls && allNull(keys[i][k]))) {
                changes.removed.push_back({*joinKey(keys[i][k]), doomed[k].first});
            }
        }
    }
}

void ChangePlan::checkUnique(const IndexDefinition& index, IndexTree& tree,
                             const IndexChanges& changes) {
    if ((index.flags & kIndexUnique) == 0) {
        return;
    }
    std::map<KeyBytes, bool, KeyLess> added; // key, whether it has a NULL part
    for (std::size_t i = 0; i < changes.added.size(); ++i) {
        const auto [someNull, onlyNull] = changes.addedNulls[i];
        if (onlyNull) {
            continue;
        }
        const KeyBytes& key = changes.added[i].key;
        const bool duplicate = !added.emplace(key, someNull).second || tree.containsKey(key);
        if (duplicate && someNull) {
            // Whether the engine lets keys with a NULL part repeat in a unique index is not
            // known here.
            refuseUnsupported("a unique index would hold a key with a NULL part twice");
        }
        if (duplicate) {
            throw WriteError(WriteError::Kind::DuplicateKey, {});
        }
    }
}

PlannedWrite ChangePlan::finish() {
    for (auto& [id, changes] : changes_) {
        const UserTable& table = tableAt(id.first);
        IndexTree& indexTree = tree(table, id.second);
        indexTree.remove(changes.removed);
        checkUnique(table.definition.indexes[id.second], indexTree, changes);
        indexTree.insert(changes.added);
    }
    for (const PendingUpdate& update : updates_) {
        rows(*update.table).rewrite(update.row, [&](Bytes current) {
            return withVariableValue(current, *update.column, update.value);
        });
    }
    for (const auto& [definitionPage, rowsGone] : deleted_) {
        TableRows& tableRows = rows(tableAt(definitionPage));
        for (const RowLocation row : rowsGone) {
            tableRows.remove(row);
        }
    }
    for (auto& [id, indexTree] : trees_) {
        indexTree.finish();
    }
    for (auto& [page, tableRows] : rows_) {
        tableRows.finish();
    }
    return {edits_.storedPages(), edits_.pageCount()};
}

template <typename Plan> PlannedWrite planned(const Database& database, Plan plan) {
    try {
        ChangePlan change(database);
        plan(change);
        return change.finish();
    } catch (const ReadError& error) {
        refuseUnsupported(std::string("the file could not be read as a change needs: ") +
                          error.what());
    }
}

} // namespace

PlannedWrite planUpdate(const Database& database, const TableUpdate& update) {
    return planned(database, [&](ChangePlan& change) { change.update(update); });
}

PlannedWrite planDeletion(const Database& database, const TableDeletion& deletion) {
    return planned(database,
                   [&](ChangePlan& change) { change.remove(*deletion.table, deletion.rows, 0); });
}

} // namespace jet
