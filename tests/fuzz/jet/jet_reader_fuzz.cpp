// Feeds arbitrary bytes to the reader as a whole database file and reads everything it will
// give: every row and field of every table, and an index lookup of every code found. Any
// outcome but rows or a ReadError (a crash, a hang, a sanitizer report) is a finding.

#include "jet/reader/database.h"
#include "jet/reader/field_value.h"
#include "jet/reader/index_search.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/table_scan.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void readTable(const jet::Database& db, const jet::UserTable& table) {
    const jet::TableDefinition& definition = table.definition;
    std::vector<std::u16string> texts;
    jet::TableScan scan(db.pages(), definition);
    while (scan.next()) {
        const jet::RowFields fields(scan.current().bytes, definition);
        for (const jet::ColumnDefinition& column : definition.columns) {
            const jet::FieldValue value = jet::decodeField(db.pages(), column, fields);
            if (value.kind == jet::FieldValue::Kind::DateTime) {
                jet::dateTimeText(value.real);
            } else if (value.kind == jet::FieldValue::Kind::Text && texts.size() < 16) {
                texts.push_back(value.text);
            }
        }
    }
    for (const jet::IndexDefinition& index : definition.indexes) {
        for (const jet::ColumnDefinition& column : definition.columns) {
            if (!jet::indexAnswersTextEquality(index, column)) {
                continue;
            }
            for (const std::u16string& text : texts) {
                if (const auto matches = jet::lookUpText(db.pages(), index, text)) {
                    for (const jet::RowLocation& row : jet::matchedRows(*matches)) {
                        if (const auto stored = jet::readLiveRow(db.pages(), row)) {
                            jet::RowFields(stored->bytes, definition);
                        }
                    }
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        jet::PageStore pages(jet::memorySource(std::vector<std::uint8_t>(data, data + size)));
        jet::acceptsPassword(pages.header(), u"kd=73");
        const jet::Database db(std::move(pages));
        for (const jet::UserTable& table : db.tables()) {
            readTable(db, table);
        }
    } catch (const jet::ReadError&) {
        // A refused or damaged file is an answer, not a finding.
    }
    return 0;
}
