#include "jet/writer/change_context.h"

#include "jet/reader/data_page.h"
#include "jet/writer/change_plan.h"
#include "jet/writer/row_layout.h"
#include "jet/writer/text_key_reuse.h"
#include "jet/writer/write_error.h"

namespace jet {

ChangeContext::ChangeContext(const Database& database)
    : database_(database), edits_(database.pages()) {}

IndexTree& ChangeContext::tree(const UserTable& table, std::size_t index) {
    const IndexId id{table.definition.definitionPage, index};
    return trees_
        .try_emplace(id, edits_, table.definition.indexes.at(index),
                     table.definition.definitionPage)
        .first->second;
}

TableRows& ChangeContext::rows(const UserTable& table) {
    return rows_.try_emplace(table.definition.definitionPage, edits_, table).first->second;
}

const UserTable& ChangeContext::tableAt(std::uint32_t definitionPage) const {
    for (const UserTable& table : database_.tables()) {
        if (table.definition.definitionPage == definitionPage) {
            return table;
        }
    }
    refuseUnsupported("a relationship names a table that is not among the file's tables");
}

const IndexDefinition& ChangeContext::relatedIndex(const LogicalIndex& named,
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

void ChangeContext::requireRelationshipsKnown(const UserTable& table) const {
    if (!table.definition.logicalIndexesRead) {
        refuseUnsupported("the named indexes of table " + utf8(table.name) +
                          " cannot be read, so its relationships are unknown");
    }
}

StoredRow ChangeContext::liveRow(RowLocation row) const {
    std::optional<StoredRow> stored = readLiveRow(edits_.store(), row);
    if (!stored) {
        refuseUnsupported("a row to change has been deleted");
    }
    return std::move(*stored);
}

KeyParts ChangeContext::completeParts(const UserTable& table, std::size_t index, RowLocation row,
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
    const auto entry = found->second.find(rowPointer(row));
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

const KeyBytes& ChangeContext::newTextKey(const ColumnDefinition& column,
                                          const std::u16string& text) {
    if (const auto known = textKeys_.find(text); known != textKeys_.end()) {
        return known->second;
    }
    std::optional<KeyBytes> key = keySegment(column, true, storedTextBytes(column, text));
    if (!key) {
        std::optional<ReusedKey> reused = keyFromFile(database_, column, text);
        if (!reused) {
            throw WriteError(WriteError::Kind::UnknownKey, utf8(text));
        }
        key = reused->key;
        reusedKeys_.emplace(text, std::move(*reused));
    }
    return textKeys_.emplace(text, std::move(*key)).first->second;
}

void ChangeContext::removeEntry(const UserTable& table, std::size_t index, IndexEntry entry) {
    changes_[{table.definition.definitionPage, index}].removed.push_back(std::move(entry));
}

void ChangeContext::addEntry(const UserTable& table, std::size_t index, IndexEntry entry,
                             bool anyNull, bool allNull) {
    IndexChanges& changes = changes_[{table.definition.definitionPage, index}];
    changes.added.push_back(std::move(entry));
    changes.addedNulls.emplace_back(anyNull, allNull);
}

std::pair<Bytes, Bytes> ChangeContext::rewriteRow(const UserTable& table, RowLocation row,
                                                  StoredRow before,
                                                  std::vector<std::uint8_t> rewritten) {
    const PendingUpdate& kept =
        updates_.emplace_back(PendingUpdate{&table, row, std::move(before), std::move(rewritten)});
    return {kept.before.bytes, kept.rewritten};
}

bool ChangeContext::deleteRow(const UserTable& table, RowLocation row) {
    return deleted_[table.definition.definitionPage].insert(row).second;
}

void ChangeContext::checkUnique(const IndexDefinition& index, IndexTree& tree,
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

PlannedWrite ChangeContext::finish() {
    for (auto& [id, changes] : changes_) {
        const UserTable& table = tableAt(id.first);
        IndexTree& indexTree = tree(table, id.second);
        indexTree.remove(std::move(changes.removed));
        checkUnique(table.definition.indexes[id.second], indexTree, changes);
        indexTree.insert(std::move(changes.added));
    }
    std::map<const UserTable*, std::vector<PendingUpdate*>> updatesByTable;
    for (PendingUpdate& update : updates_) {
        updatesByTable[update.table].push_back(&update);
    }
    for (const auto& [table, updates] : updatesByTable) {
        std::vector<RowLocation> headers;
        headers.reserve(updates.size());
        for (const PendingUpdate* update : updates) {
            headers.push_back(update->row);
        }
        rows(*table).rewrite(headers, [&](std::size_t i, Bytes current) {
            PendingUpdate& update = *updates[i];
            // Each row is rewritten once, so it still reads as it did when planned.
            if (!std::equal(current.begin(), current.end(), update.before.bytes.begin(),
                            update.before.bytes.end())) {
                refuseUnsupported("a row changed while its change was being planned");
            }
            return std::move(update.rewritten);
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
    return {edits_.takeStoredPages(), edits_.pageCount(), reusedKeys_};
}

} // namespace jet
