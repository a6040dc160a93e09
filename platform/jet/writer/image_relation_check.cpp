// Enforced relationships after the change: every changed code that needs a record has one, no
// record that rows refer to goes, and every row deleted that the statement did not name goes
// with a record it refers to, where the relationship cascades deletes.

#include "jet/writer/image_check_parts.h"

#include "jet/writer/image_tree.h"
#include "jet/writer/row_keys.h"

#include <algorithm>
#include <memory>

namespace jet::image_check {
namespace {

constexpr std::uint8_t kRuleCascade = 1;

struct Relationship {
    const UserTable* related = nullptr;
    std::size_t mine = 0;   // physical index of this table
    std::size_t theirs = 0; // physical index of the related table
    // Where the two indexes sort their one column the other way round: the columns and their
    // directions, to turn a key round.
    const ColumnDefinition* myColumn = nullptr;
    const ColumnDefinition* theirColumn = nullptr;
    bool myAscending = true;
    bool theirAscending = true;
};

Relationship relationshipOf(const Images& images, const UserTable& table,
                            const LogicalIndex& named) {
    Relationship found;
    found.related = images.table(named.relatedTablePage);
    if (found.related == nullptr || !found.related->definition.logicalIndexesRead) {
        fail("a relationship of " + tableName(table) + " names a table that cannot be read");
    }
    const auto& others = found.related->definition.logicalIndexes;
    const auto other = std::find_if(others.begin(), others.end(), [&](const LogicalIndex& l) {
        return static_cast<std::int64_t>(l.number) == named.relatedIndex;
    });
    if (other == others.end() || other->physicalIndex >= found.related->definition.indexes.size() ||
        named.physicalIndex >= table.definition.indexes.size()) {
        fail("a relationship of " + tableName(table) + " names an index that does not exist");
    }
    found.mine = named.physicalIndex;
    found.theirs = other->physicalIndex;
    const auto& a = table.definition.indexes[found.mine].columns;
    const auto& b = found.related->definition.indexes[found.theirs].columns;
    std::size_t flipped = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        flipped += a[i].ascending != b[i].ascending ? 1 : 0;
    }
    if (a.size() != b.size() || (flipped != 0 && a.size() != 1)) {
        fail("a relationship of " + tableName(table) + " pairs indexes of different shapes");
    }
    if (flipped != 0) {
        found.myColumn = &columnNumbered(table.definition, a[0].columnNumber);
        found.theirColumn = &columnNumbered(found.related->definition, b[0].columnNumber);
        found.myAscending = a[0].ascending;
        found.theirAscending = b[0].ascending;
    }
    return found;
}

KeyBytes inTheirs(KeyBytes key, const Relationship& relationship) {
    if (relationship.myColumn == nullptr) {
        return key;
    }
    return inDirection(
        ascendingForm(std::move(key), *relationship.myColumn, relationship.myAscending),
        *relationship.theirColumn, relationship.theirAscending);
}

bool isNullKey(const KeyBytes& key) {
    return key.size() == 1 && (key[0] == 0x00 || key[0] == 0xFF);
}

class RelationshipCheck {
public:
    RelationshipCheck(const Images& images, const Changes& changes, const KeyChanges& keys)
        : images_(images), changes_(changes), keys_(keys) {}

    void run() {
        for (const auto& [page, table] : changes_) {
            for (const LogicalIndex& named : table.table->definition.logicalIndexes) {
                if (named.kind != LogicalIndex::Kind::ForeignKey) {
                    continue;
                }
                const Relationship relationship = relationshipOf(images_, *table.table, named);
                if (named.side == LogicalIndex::Side::Referencing) {
                    recordsRequired(table, relationship);
                } else if (named.side == LogicalIndex::Side::Referenced) {
                    recordsReferredTo(table, relationship, named.onDelete == kRuleCascade);
                }
            }
        }
        for (const auto& [page, table] : changes_) {
            for (const RowChange& row : table.rows) {
                if (!row.requested && !cascaded_.contains({page, row.row})) {
                    fail(rowName(row.row) + " of " + tableName(*table.table) +
                         " would be deleted, though no record it refers to goes");
                }
            }
        }
    }

private:
    const IndexKeyChanges* entries(std::uint32_t table, std::size_t index) const {
        const auto found = keys_.find({table, index});
        return found == keys_.end() ? nullptr : &found->second;
    }

    // Whether the index of table holds key after the change (0 or 1).
    std::size_t holding(const UserTable& table, std::size_t index, const KeyBytes& key) {
        const auto id = std::make_pair(table.definition.definitionPage, index);
        auto tree = trees_.find(id);
        if (tree == trees_.end()) {
            tree =
                trees_
                    .emplace(id, std::make_unique<TreeView>(
                                     images_.after, table.definition.indexes[index],
                                     table.definition.definitionPage,
                                     "index " + std::to_string(index) + " of " + tableName(table)))
                    .first;
        }
        auto& counts = counted_[id];
        if (const auto known = counts.find(key); known != counts.end()) {
            return known->second;
        }
        return counts.emplace(key, tree->second->countKey(key, 1)).first->second;
    }

    void recordsRequired(const TableChanges& table, const Relationship& relationship) {
        const auto* rows = entries(table.table->definition.definitionPage, relationship.mine);
        for (const RowChange& row : table.rows) {
            const EntryChange* entry = rows != nullptr ? rows->find(row.row) : nullptr;
            if (!row.after || entry == nullptr) {
                continue;
            }
            if (entry->after != nullptr && entry->after != entry->before &&
                !isNullKey(*entry->after) &&
                holding(*relationship.related, relationship.theirs,
                        inTheirs(*entry->after, relationship)) == 0) {
                fail(rowName(row.row) + " of " + tableName(*table.table) +
                     " would refer to a record that " + tableName(*relationship.related) +
                     " does not have");
            }
        }
    }

    void recordsReferredTo(const TableChanges& table, const Relationship& relationship,
                           bool cascades) {
        const auto* rows = entries(table.table->definition.definitionPage, relationship.mine);
        if (rows == nullptr) {
            return;
        }
        const std::uint32_t relatedPage = relationship.related->definition.definitionPage;
        for (const RowChange& row : table.rows) {
            const EntryChange* entry = rows->find(row.row);
            if (entry == nullptr || entry->before == nullptr || entry->before == entry->after ||
                isNullKey(*entry->before)) {
                continue;
            }
            const KeyBytes key = inTheirs(*entry->before, relationship);
            if (holding(*relationship.related, relationship.theirs, key) != 0) {
                fail(tableName(*relationship.related) + " would keep rows that refer to " +
                     rowName(row.row) + " of " + tableName(*table.table) + ", which goes");
            }
            if (!cascades || row.after) {
                continue;
            }
            // The related rows that went with it.
            const auto related = changes_.find(relatedPage);
            const auto* theirs = entries(relatedPage, relationship.theirs);
            if (related == changes_.end() || theirs == nullptr) {
                continue;
            }
            for (const RowChange& gone : related->second.rows) {
                const EntryChange* found = theirs->find(gone.row);
                if (!gone.after && found != nullptr && found->before != nullptr &&
                    *found->before == key) {
                    cascaded_.insert({relatedPage, gone.row});
                }
            }
        }
    }

    const Images& images_;
    const Changes& changes_;
    const KeyChanges& keys_;
    std::set<std::pair<std::uint32_t, RowLocation>> cascaded_;
    std::map<IndexId, std::unique_ptr<TreeView>> trees_;
    std::map<IndexId, std::map<KeyBytes, std::size_t, KeyLess>> counted_;
};

} // namespace

void checkRelationships(const Images& images, const Changes& changes, const KeyChanges& keys) {
    RelationshipCheck(images, changes, keys).run();
}

} // namespace jet::image_check
