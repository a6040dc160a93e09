// The indexes of the tables a change touches: which index every index page written belongs
// to, and that the pages written lose and gain exactly the entries the changed rows demand.

#include "jet/writer/image_check_parts.h"

#include "jet/format/jet_format.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/text_codec.h"
#include "jet/writer/image_entries.h"
#include "jet/writer/image_index_pages.h"
#include "jet/writer/image_key_source.h"
#include "jet/writer/row_keys.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace jet::image_check {
namespace {

bool isIndexPage(const PageStore& pages, std::uint32_t page) {
    return page < pages.pageCount() && IndexPage::isIndexPage(*pages.page(page));
}

std::uint32_t indexOwner(const PageStore& pages, std::uint32_t page) {
    return u32At(bytesOf(pages.page(page)), layout::kIndexOwnerAt);
}

bool allNull(const KeyParts& parts) {
    return std::all_of(parts.begin(), parts.end(), isNullPart);
}

bool anyNull(const KeyParts& parts) {
    return std::any_of(parts.begin(), parts.end(), isNullPart);
}

// The stored values of an index's columns in one row (nothing for NULL), at most ten.
struct IndexValues {
    std::array<std::optional<Bytes>, 10> values;
    std::size_t count = 0;

    bool operator==(const IndexValues& other) const {
        for (std::size_t i = 0; i < count; ++i) {
            const auto& a = values[i];
            const auto& b = other.values[i];
            if (a.has_value() != b.has_value() ||
                (a && !std::equal(a->begin(), a->end(), b->begin(), b->end()))) {
                return false;
            }
        }
        return true;
    }
};

// The entries one index's written pages lose and gain, against those its changed rows demand.
class EntryCheck {
public:
    // keys: where each changed row's entries are recorded, for the relationships' check and a
    // unique index's; nullptr where neither needs them.
    EntryCheck(IndexTrees& trees, const TableChanges& changes, KeySources& sources,
               IndexKeyChanges* keys)
        : trees_(trees), changes_(changes), sources_(sources), keys_(keys),
          definition_(changes.table->definition),
          ignoresNulls_((trees.index.flags & kIndexIgnoresNulls) != 0),
          parts_(definition_, trees.index) {
        for (const IndexColumn& indexed : trees.index.columns) {
            columns_.push_back(&columnNumbered(definition_, indexed.columnNumber));
        }
    }

    void run() {
        EntryList before;
        EntryList after;
        gather(*trees_.before, trees_.beforePages, before);
        gather(*trees_.after, trees_.afterPages, after);
        EntryList::difference(before, after, lost_, gained_);
        // Rows that stay differ in one column only: an index without it sees none of them.
        const bool seesChanges =
            changes_.changedColumn &&
            std::any_of(columns_.begin(), columns_.end(), [&](const ColumnDefinition* column) {
                return column == &definition_.columns[*changes_.changedColumn];
            });
        const std::size_t rows = changes_.rows.size();
        expectedLost_.reserve(rows, rows * (lost_.size() != 0 ? lost_.key(0).size() + 8 : 24));
        expectedGained_.reserve(rows,
                                rows * (gained_.size() != 0 ? gained_.key(0).size() + 8 : 24));
        for (const RowChange& change : changes_.rows) {
            if (!change.after || seesChanges) {
                expect(change);
            }
        }
        if (keys_ != nullptr) {
            keys_->finish();
        }
        compare(lost_, expectedLost_, "lose", "keeps");
        compare(gained_, expectedGained_, "gain", "does not give it");
        if ((trees_.index.flags & kIndexUnique) != 0) {
            for (const auto& [row, entries] : keys_->rows()) {
                if (entries.after != nullptr && entries.after != entries.before &&
                    !hasNullPart_.contains(pack(row)) &&
                    trees_.after->countKey(*entries.after, 2) != 1) {
                    fail(trees_.after->name() + " would hold the key of " + rowName(row) +
                         " twice");
                }
            }
        }
    }

private:
    static std::uint32_t pack(RowLocation row) { return rowPointer(row); }

    // The leaves among pages, their entries in key order: the pages of one tree hold ranges
    // that do not overlap, so the leaves sorted by their first entries give every entry in
    // order; a list that is not in order after all is sorted.
    void gather(TreeView& tree, const std::set<std::uint32_t>& pages, EntryList& into) {
        std::vector<std::pair<IndexEntry, const IndexPage*>> leaves;
        std::size_t entries = 0;
        std::size_t bytes = 0;
        for (const std::uint32_t page : pages) {
            const IndexPage& parsed = tree.page(page);
            if (parsed.isLeaf() && parsed.entryCount() != 0) {
                leaves.emplace_back(tree.entryAt(parsed, 0), &parsed);
                entries += parsed.entryCount();
                // Each entry's key is at most its first's length plus what the page stores.
                bytes += parsed.entriesEnd() + parsed.entryCount() * leaves.back().first.key.size();
            }
        }
        into.reserve(entries, bytes);
        std::sort(leaves.begin(), leaves.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [first, parsed] : leaves) {
            if (!into.addLeaf(*parsed)) {
                fail(tree.name() + " has page " + std::to_string(parsed->number()) +
                     " with its entries out of order");
            }
        }
        into.sort();
    }

    IndexValues valuesOf(Bytes row) const {
        const RowFields fields(row, definition_);
        IndexValues values;
        for (const ColumnDefinition* column : columns_) {
            values.values[values.count++] = fields.bytes(*column);
        }
        return values;
    }

    std::optional<IndexEntry> lostEntryOf(RowLocation row) {
        if (!lostByRowBuilt_) {
            for (std::size_t i = 0; i < lost_.size(); ++i) {
                lostByRow_.emplace(pack(lost_.row(i)), i);
            }
            lostByRowBuilt_ = true;
        }
        const auto found = lostByRow_.find(pack(row));
        if (found == lostByRow_.end()) {
            return std::nullopt;
        }
        return lost_.entry(found->second);
    }

    void expect(const RowChange& change) {
        const IndexValues oldValues = valuesOf(change.before.bytes);
        const std::optional<IndexValues> newValues =
            change.after ? std::optional<IndexValues>(valuesOf(change.after->bytes)) : std::nullopt;
        if (newValues && *newValues == oldValues) {
            return; // the index does not see this change
        }
        const RowKeyParts::Key& computedOld = parts_.of(oldValues.values, oldValues.count);
        std::optional<KeyParts> completedOld;
        const KeyParts* old = &computedOld.parts;
        const KeyBytes* oldKey = computedOld.joined ? &*computedOld.joined : nullptr;
        std::optional<IndexEntry> lostEntry;
        if (oldKey == nullptr) {
            lostEntry = lostEntryOf(change.row);
            if (lostEntry) {
                completedOld = completeFrom(*old, lostEntry->key);
                if (!completedOld) {
                    fail(trees_.after->name() + " holds an entry for " + rowName(change.row) +
                         " that does not fit its values");
                }
                old = &*completedOld;
                oldKey = &lostEntry->key;
            } else if (!newValues) {
                fail(trees_.after->name() + " would keep the entry of deleted " +
                     rowName(change.row));
            }
        }
        const bool hadEntry = !(ignoresNulls_ && oldKey != nullptr && allNull(*old));
        if (!newValues) {
            record(change.row, hadEntry ? oldKey : nullptr, nullptr);
            if (hadEntry) {
                expectedLost_.add(*oldKey, change.row);
            }
            return;
        }
        const RowKeyParts::Key& computedNew = parts_.of(newValues->values, newValues->count);
        std::optional<KeyBytes> completedNew;
        const KeyParts* now = &computedNew.parts;
        const KeyBytes* newKey = computedNew.joined ? &*computedNew.joined : nullptr;
        if (newKey == nullptr) {
            completedNew = joinKey(completedParts(*old, computedNew.parts, oldValues, *newValues));
            if (!completedNew) {
                fail("the key of " + rowName(change.row) + " in " + trees_.after->name() +
                     " cannot be checked");
            }
            newKey = &*completedNew;
        }
        // NULL parts are always worked out, so the parts computed say which are NULL.
        const bool hasEntry = !(ignoresNulls_ && allNull(*now));
        if (hasEntry && anyNull(*now)) {
            hasNullPart_.insert(pack(change.row));
        }
        if (oldKey == nullptr) {
            // An entry the plan left where it was: it must already be the new one.
            if (!hasEntry || !trees_.after->contains({*newKey, change.row})) {
                fail(trees_.after->name() + " would not hold the new entry of " +
                     rowName(change.row));
            }
            record(change.row, newKey, newKey);
            return;
        }
        record(change.row, hadEntry ? oldKey : nullptr, hasEntry ? newKey : nullptr);
        if (hadEntry == hasEntry && (!hadEntry || *oldKey == *newKey)) {
            return;
        }
        if (hadEntry) {
            expectedLost_.add(*oldKey, change.row);
        }
        if (hasEntry) {
            expectedGained_.add(*newKey, change.row);
        }
    }

    // The new parts that could not be worked out: a column whose value stayed keeps its old
    // part; a text that changed has the key the file holds for it, confirmed in the file.
    KeyParts completedParts(const KeyParts& old, KeyParts now, const IndexValues& oldValues,
                            const IndexValues& newValues) {
        for (std::size_t k = 0; k < now.size(); ++k) {
            const auto& before = oldValues.values[k];
            const auto& after = newValues.values[k];
            if (now[k]) {
                continue;
            }
            const bool same = before.has_value() == after.has_value() &&
                              (!before || std::equal(before->begin(), before->end(), after->begin(),
                                                     after->end()));
            if (same) {
                now[k] = old[k];
            } else if (after && columns_[k]->type == ColumnType::Text) {
                now[k] = inDirection(sources_.key(*columns_[k], decodeText(*after)), *columns_[k],
                                     trees_.index.columns[k].ascending);
            }
        }
        return now;
    }

    void record(RowLocation row, const KeyBytes* before, const KeyBytes* after) {
        if (keys_ != nullptr) {
            keys_->record(row, before, after);
        }
    }

    void compare(const EntryList& found, EntryList& expected, const char* verb,
                 const char* otherwise) {
        expected.sort();
        if (const auto at = EntryList::firstDifference(found, expected)) {
            const bool extra = *at < found.size() &&
                               (*at >= expected.size() || found.entry(*at) < expected.entry(*at));
            const RowLocation row = extra ? found.row(*at) : expected.row(*at);
            fail("the pages written of " + trees_.after->name() + " would " +
                 (extra ? std::string(verb) + " an entry of " + rowName(row) + " that the change " +
                              otherwise
                        : std::string("not ") + verb + " the entry the change gives " +
                              rowName(row)));
        }
    }

    IndexTrees& trees_;
    const TableChanges& changes_;
    KeySources& sources_;
    IndexKeyChanges* keys_;
    const TableDefinition& definition_;
    bool ignoresNulls_;
    std::vector<const ColumnDefinition*> columns_;
    RowKeyParts parts_;
    EntryList lost_;
    EntryList gained_;
    EntryList expectedLost_;
    EntryList expectedGained_;
    bool lostByRowBuilt_ = false;
    std::unordered_map<std::uint32_t, std::size_t> lostByRow_;
    std::set<std::uint32_t> hasNullPart_;
};

// Puts every written page that is an index page before or after into the tree that holds it.
void placePages(const Images& images, const Changes& changes,
                std::map<IndexId, IndexTrees>& trees) {
    for (const std::uint32_t page : images.written) {
        for (const bool after : {false, true}) {
            const PageStore& pages = after ? images.after : images.before;
            if (!isIndexPage(pages, page)) {
                continue;
            }
            const std::uint32_t owner = indexOwner(pages, page);
            if (!changes.contains(owner)) {
                fail("index page " + std::to_string(page) +
                     " would be written, though its table does not change");
            }
            bool placed = false;
            for (auto& [id, tree] : trees) {
                if (id.first == owner && tree.holds(page, after)) {
                    placed = true;
                    break;
                }
            }
            if (!placed) {
                fail("index page " + std::to_string(page) + (after ? " would be" : " was") +
                     " in no index of its table");
            }
        }
    }
}

} // namespace

void IndexKeyChanges::record(RowLocation row, const KeyBytes* before, const KeyBytes* after) {
    rows_.push_back({row, {keep(before), keep(after)}});
}

const KeyBytes* IndexKeyChanges::keep(const KeyBytes* key) {
    if (key == nullptr) {
        return nullptr;
    }
    // Rows in a row mostly share their keys.
    if (last_ == nullptr || *last_ != *key) {
        last_ = &*keys_.insert(*key).first;
    }
    return last_;
}

void IndexKeyChanges::finish() {
    const auto byRow = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(rows_.begin(), rows_.end(), byRow)) {
        std::sort(rows_.begin(), rows_.end(), byRow);
    }
}

const EntryChange* IndexKeyChanges::find(RowLocation row) const {
    const auto found = std::lower_bound(
        rows_.begin(), rows_.end(), row,
        [](const std::pair<RowLocation, EntryChange>& a, RowLocation b) { return a.first < b; });
    return found != rows_.end() && found->first == row ? &found->second : nullptr;
}

IndexPages checkIndexes(const Images& images, const Changes& changes, const PlannedWrite& plan,
                        KeyChanges& keys) {
    std::map<IndexId, IndexTrees> trees;
    for (const auto& [definitionPage, tableChanges] : changes) {
        const TableDefinition& definition = tableChanges.table->definition;
        for (std::size_t i = 0; i < definition.indexes.size(); ++i) {
            trees.emplace(std::piecewise_construct, std::forward_as_tuple(definitionPage, i),
                          std::forward_as_tuple(images, *tableChanges.table, i));
        }
    }
    placePages(images, changes, trees);
    KeySources sources(images, plan);
    IndexPages pages;
    for (auto& [id, tree] : trees) {
        const TableDefinition& definition = changes.at(id.first).table->definition;
        const bool inRelationship =
            std::any_of(definition.logicalIndexes.begin(), definition.logicalIndexes.end(),
                        [&](const LogicalIndex& named) {
                            return named.kind == LogicalIndex::Kind::ForeignKey &&
                                   named.physicalIndex == id.second;
                        });
        const bool unique = (definition.indexes[id.second].flags & kIndexUnique) != 0;
        EntryCheck(tree, changes.at(id.first), sources,
                   inRelationship || unique ? &keys[id] : nullptr)
            .run();
        checkTreePages(tree);
        for (const std::uint32_t page : tree.afterPages) {
            pages.inTree.emplace(page, id);
            if (!tree.beforePages.contains(page)) {
                pages.taken.emplace(page, id);
            }
        }
        for (const std::uint32_t page : tree.beforePages) {
            if (!tree.afterPages.contains(page)) {
                pages.released.emplace(page, id);
            }
        }
    }
    return pages;
}

} // namespace jet::image_check
