// A key the plan copied from the file, confirmed in the file itself: the row it names holds
// exactly that text in a column sorted the same way, and that row's entry in the named index
// holds exactly that key.

#include "jet/writer/image_key_source.h"

#include "jet/reader/data_page.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/text_codec.h"
#include "jet/writer/image_tree.h"
#include "jet/writer/row_keys.h"
#include "jet/writer/write_error.h"

namespace jet::image_check {

KeySources::KeySources(const Images& images, const PlannedWrite& plan)
    : images_(images), plan_(plan) {}

const KeyBytes& KeySources::key(const ColumnDefinition& column, const std::u16string& text) {
    if (const auto known = confirmed_.find(text); known != confirmed_.end()) {
        return known->second;
    }
    const std::string what = "the key of '" + utf8(text) + "'";
    const auto claimed = plan_.reusedKeys.find(text);
    if (claimed == plan_.reusedKeys.end()) {
        fail(what + " is neither worked out nor found in the file");
    }
    const ReusedKey& source = claimed->second;
    const UserTable* table = images_.table(source.table);
    if (table == nullptr || source.index >= table->definition.indexes.size() ||
        table->definition.indexes[source.index].columns.size() != 1) {
        fail(what + " is said to come from an index the file does not have");
    }
    const IndexDefinition& index = table->definition.indexes[source.index];
    const ColumnDefinition& held = columnNumbered(table->definition, index.columns[0].columnNumber);
    if (held.type != ColumnType::Text || held.sortOrder != column.sortOrder ||
        held.sortVersion != column.sortVersion) {
        fail(what + " comes from a column sorted another way");
    }
    const std::optional<StoredRow> row = readLiveRow(images_.before, source.row);
    const std::optional<Bytes> value =
        row ? RowFields(row->bytes, table->definition).bytes(held) : std::nullopt;
    if (!value || decodeText(*value) != text ||
        DataPage(images_.before.page(source.row.page), source.row.page).owner() !=
            table->definition.definitionPage) {
        fail(what + " comes from " + rowName(source.row) + ", which does not hold that text");
    }
    TreeView tree(images_.before, index, table->definition.definitionPage,
                  "an index of " + tableName(*table));
    if (!tree.contains({inDirection(source.key, held, index.columns[0].ascending), source.row})) {
        fail(what + " is not the entry that " + rowName(source.row) + " has in its index");
    }
    return confirmed_.emplace(text, source.key).first->second;
}

} // namespace jet::image_check
