#include "jet/writer/change_plan.h"

#include "jet/reader/row_fields.h"
#include "jet/writer/change_context.h"
#include "jet/writer/row_layout.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <set>

namespace jet {
namespace {

// How far deletes may cascade from table to table before the chain looks like a cycle.
constexpr int kMaxCascadeDepth = 4;
constexpr std::uint8_t kRuleCascade = 1;

bool covers(const IndexDefinition& index, const ColumnDefinition& column) {
    return std::any_of(index.columns.begin(), index.columns.end(),
                       [&](const IndexColumn& c) { return c.columnNumber == column.number; });
}

// Whether named is a relationship's index, on the given side of it, over column.
bool relationshipOver(const LogicalIndex& named, LogicalIndex::Side side,
                      const TableDefinition& definition, const ColumnDefinition& column) {
    return named.kind == LogicalIndex::Kind::ForeignKey && named.side == side &&
           covers(definition.indexes.at(named.physicalIndex), column);
}

bool allNull(const KeyParts& parts) {
    return std::all_of(parts.begin(), parts.end(), isNullPart);
}

bool anyNull(const KeyParts& parts) {
    return std::any_of(parts.begin(), parts.end(), isNullPart);
}

// A key's parts in one index of table as the paired index of a relationship holds them: a
// part whose column sorts the other way there is turned round.
KeyParts redirected(KeyParts parts, const TableDefinition& table, const IndexDefinition& from,
                    const IndexDefinition& to) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] && from.columns[i].ascending != to.columns[i].ascending) {
            const ColumnDefinition& column = columnNumbered(table, from.columns[i].columnNumber);
            parts[i] =
                inDirection(ascendingForm(std::move(*parts[i]), column, from.columns[i].ascending),
                            column, to.columns[i].ascending);
        }
    }
    return parts;
}

std::size_t positionOf(const IndexDefinition& index, const UserTable& table) {
    return static_cast<std::size_t>(&index - table.definition.indexes.data());
}

struct ChangedRow {
    RowLocation row;
    Bytes before; // kept by the change context
    Bytes after;
    const std::u16string* text;
};

// The rows of an update, each once (the first the statement gave it): SQLite hands a row over
// once, so the set of rows seen is only needed where it did not.
std::vector<const RowUpdate*> distinctRows(const std::vector<RowUpdate>& rows) {
    std::vector<const RowUpdate*> distinct;
    distinct.reserve(rows.size());
    for (const RowUpdate& row : rows) {
        distinct.push_back(&row);
    }
    std::vector<RowLocation> sorted;
    sorted.reserve(rows.size());
    for (const RowUpdate& row : rows) {
        sorted.push_back(row.row);
    }
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) {
        return distinct;
    }
    std::set<RowLocation> seen;
    std::erase_if(distinct, [&](const RowUpdate* row) { return !seen.insert(row->row).second; });
    return distinct;
}

void update(ChangeContext& change, const TableUpdate& update) {
    const UserTable& table = *update.table;
    const TableDefinition& definition = table.definition;
    const ColumnDefinition& column = definition.columns.at(update.column);
    if (column.type != ColumnType::Text || column.fixedLength) {
        refuseUnsupported("only text columns are changed");
    }
    change.requireRelationshipsKnown(table);
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (relationshipOver(named, LogicalIndex::Side::Referenced, definition, column)) {
            refuseUnsupported("other tables' records refer to column " + utf8(column.name));
        }
    }

    std::vector<ChangedRow> changed;
    // A statement mostly gives every row one text: it is stored the same way each time.
    const std::u16string* lastText = nullptr;
    std::vector<std::uint8_t> lastStored;
    for (const RowUpdate* row : distinctRows(update.rows)) {
        const RowUpdate& request = *row;
        if (request.text && request.text->size() > column.length / 2u) {
            throw WriteError(WriteError::Kind::FieldTooSmall, utf8(column.name));
        }
        StoredRow before = change.liveRow(request.row);
        const std::optional<Bytes> old = RowFields(before.bytes, definition).bytes(column);
        if (request.text && (lastText == nullptr || *lastText != *request.text)) {
            lastStored = storedTextBytes(column, *request.text);
            lastText = &*request.text;
        }
        const std::optional<Bytes> value =
            request.text ? std::optional<Bytes>(lastStored) : std::nullopt;
        if (old.has_value() == value.has_value() &&
            (!old || std::equal(old->begin(), old->end(), value->begin(), value->end()))) {
            continue;
        }
        std::vector<std::uint8_t> after = withVariableValue(before.bytes, column, value);
        const auto [kept, rewritten] =
            change.rewriteRow(table, request.row, std::move(before), std::move(after));
        changed.push_back({request.row, kept, rewritten, request.text ? &*request.text : nullptr});
    }

    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        const IndexDefinition& index = definition.indexes[i];
        if (!covers(index, column)) {
            continue;
        }
        RowKeyParts parts(definition, index);
        const bool ignoresNulls = (index.flags & kIndexIgnoresNulls) != 0;
        for (const ChangedRow& row : changed) {
            const RowKeyParts::Key& known = parts.of(RowFields(row.before, definition));
            const RowKeyParts::Key& knownAfter = parts.of(RowFields(row.after, definition));
            // Most keys are worked out whole, from the rows alone.
            std::optional<KeyParts> completed;
            std::optional<KeyParts> completedAfter;
            if (!known.joined || !knownAfter.joined) {
                completed = change.completeParts(table, i, row.row, known.parts);
                completedAfter = knownAfter.parts;
                KeyParts& after = *completedAfter;
                for (std::size_t part = 0; part < index.columns.size(); ++part) {
                    if (index.columns[part].columnNumber != column.number) {
                        after[part] = (*completed)[part];
                    } else if (!after[part] && row.text) {
                        after[part] = inDirection(change.newTextKey(column, *row.text), column,
                                                  index.columns[part].ascending);
                    } else if (!after[part]) {
                        refuseUnsupported("the key of NULL in index column " + utf8(column.name) +
                                          " cannot be worked out");
                    }
                }
            }
            const KeyParts& before = completed ? *completed : known.parts;
            const KeyParts& after = completedAfter ? *completedAfter : knownAfter.parts;
            const bool hadEntry = !(ignoresNulls && allNull(before));
            const bool hasEntry = !(ignoresNulls && allNull(after));
            IndexEntry removed{completed ? *joinKey(before) : *known.joined, row.row};
            IndexEntry added{completedAfter ? *joinKey(after) : *knownAfter.joined, row.row};
            if (hadEntry && hasEntry && removed == added) {
                continue;
            }
            if (hadEntry) {
                change.removeEntry(table, i, std::move(removed));
            }
            if (hasEntry) {
                change.addEntry(table, i, std::move(added), anyNull(after), allNull(after));
            }
        }
    }

    // Rows that refer to another table need their record there.
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (!relationshipOver(named, LogicalIndex::Side::Referencing, definition, column)) {
            continue;
        }
        const UserTable& related = change.tableAt(named.relatedTablePage);
        const IndexDefinition& mine = definition.indexes.at(named.physicalIndex);
        const IndexDefinition& theirs = change.relatedIndex(named, related);
        if (mine.columns.size() != 1 || theirs.columns.size() != 1) {
            refuseUnsupported("a relationship over several columns");
        }
        const ColumnDefinition& paired =
            columnNumbered(related.definition, theirs.columns[0].columnNumber);
        if (paired.type != column.type || paired.sortOrder != column.sortOrder ||
            paired.sortVersion != column.sortVersion) {
            refuseUnsupported("a relationship between columns of different kinds");
        }
        IndexTree& referenced = change.tree(related, positionOf(theirs, related));
        for (const ChangedRow& row : changed) {
            if (row.text &&
                !referenced.containsKey(inDirection(change.newTextKey(column, *row.text), paired,
                                                    theirs.columns[0].ascending))) {
                throw WriteError(WriteError::Kind::RelatedRecordRequired, utf8(related.name));
            }
        }
    }
}

void remove(ChangeContext& change, const UserTable& table,
            const std::vector<RowLocation>& requested, int depth) {
    if (depth > kMaxCascadeDepth) {
        refuseUnsupported("deletes cascade through too many tables");
    }
    change.requireRelationshipsKnown(table);
    const TableDefinition& definition = table.definition;
    std::vector<std::pair<RowLocation, StoredRow>> doomed;
    for (const RowLocation row : requested) {
        if (change.deleteRow(table, row)) {
            doomed.emplace_back(row, change.liveRow(row));
        }
    }

    // Each row's key in every index, completed from the file where it cannot be computed.
    std::vector<std::vector<KeyParts>> keys(definition.indexes.size());
    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        for (const auto& [row, stored] : doomed) {
            keys[i].push_back(
                change.completeParts(table, i, row,
                                     rowKeyParts(definition, definition.indexes[i],
                                                 RowFields(stored.bytes, definition))));
        }
    }

    // Records of other tables that refer to these rows keep them, or go with them.
    for (const LogicalIndex& named : definition.logicalIndexes) {
        if (named.kind != LogicalIndex::Kind::ForeignKey ||
            named.side != LogicalIndex::Side::Referenced) {
            continue;
        }
        const UserTable& related = change.tableAt(named.relatedTablePage);
        const IndexDefinition& theirs = change.relatedIndex(named, related);
        const IndexDefinition& mine = definition.indexes.at(named.physicalIndex);
        if (mine.columns.size() != theirs.columns.size()) {
            refuseUnsupported("a relationship whose two indexes differ");
        }
        IndexTree& referringIndex = change.tree(related, positionOf(theirs, related));
        std::vector<RowLocation> referring;
        for (const KeyParts& parts : keys[named.physicalIndex]) {
            if (anyNull(parts)) {
                continue;
            }
            const KeyParts inTheirs = redirected(parts, definition, mine, theirs);
            for (const IndexEntry& entry : referringIndex.entriesWithKey(*joinKey(inTheirs))) {
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
        remove(change, related, referring, depth + 1);
    }

    for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
        const bool ignoresNulls = (definition.indexes[i].flags & kIndexIgnoresNulls) != 0;
        for (std::size_t k = 0; k < doomed.size(); ++k) {
            if (!(ignoresNulls && allNull(keys[i][k]))) {
                change.removeEntry(table, i, {*joinKey(keys[i][k]), doomed[k].first});
            }
        }
    }
}

template <typename Plan> PlannedWrite planned(const Database& database, Plan plan) {
    try {
        ChangeContext change(database);
        plan(change);
        return change.finish();
    } catch (const ReadError& error) {
        refuseUnsupported(std::string("the file could not be read as a change needs: ") +
                          error.what());
    }
}

} // namespace

PlannedWrite planUpdate(const Database& database, const TableUpdate& request) {
    return planned(database, [&](ChangeContext& change) { update(change, request); });
}

PlannedWrite planDeletion(const Database& database, const TableDeletion& deletion) {
    return planned(database, [&](ChangeContext& change) {
        remove(change, *deletion.table, deletion.rows, 0);
    });
}

} // namespace jet
