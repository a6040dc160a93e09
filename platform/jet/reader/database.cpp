#include "jet/reader/database.h"

#include "jet/reader/field_value.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/table_scan.h"

#include <algorithm>

namespace jet {
namespace {

// The catalog's own definition always sits on page 2.
constexpr std::uint32_t kCatalogDefinitionPage = 2;
constexpr std::int64_t kLocalTableType = 1;
constexpr std::uint32_t kSystemObjectFlags = 0x80000002u;

const ColumnDefinition& catalogColumn(const TableDefinition& catalog, std::u16string_view name) {
    const auto found = std::find_if(catalog.columns.begin(), catalog.columns.end(),
                                    [&](const ColumnDefinition& c) { return c.name == name; });
    if (found == catalog.columns.end()) {
        throwDamaged("the catalog lacks a column it always has");
    }
    return *found;
}

std::vector<UserTable> readUserTables(const PageStore& pages) {
    const TableDefinition catalog = readTableDefinition(pages, kCatalogDefinitionPage);
    const ColumnDefinition& id = catalogColumn(catalog, u"Id");
    const ColumnDefinition& name = catalogColumn(catalog, u"Name");
    const ColumnDefinition& type = catalogColumn(catalog, u"Type");
    const ColumnDefinition& flags = catalogColumn(catalog, u"Flags");

    std::vector<UserTable> tables;
    TableScan scan(pages, catalog);
    while (scan.next()) {
        const RowFields row(scan.current().bytes, catalog);
        const FieldValue typeValue = decodeField(pages, type, row);
        const FieldValue flagsValue = decodeField(pages, flags, row);
        if (typeValue.kind != FieldValue::Kind::Integer || typeValue.integer != kLocalTableType ||
            (static_cast<std::uint32_t>(flagsValue.integer) & kSystemObjectFlags) != 0) {
            continue;
        }
        const FieldValue idValue = decodeField(pages, id, row);
        const FieldValue nameValue = decodeField(pages, name, row);
        if (idValue.kind != FieldValue::Kind::Integer || nameValue.kind != FieldValue::Kind::Text) {
            throwDamaged("a table in the catalog has no id or no name");
        }
        // The low three bytes of a table's id are the page of its definition.
        const auto definitionPage = static_cast<std::uint32_t>(idValue.integer) & 0x00FFFFFFu;
        tables.push_back({nameValue.text, readTableDefinition(pages, definitionPage)});
    }
    return tables;
}

} // namespace

Database::Database(PageStore pages) : pages_(std::move(pages)), tables_(readUserTables(pages_)) {}

} // namespace jet
