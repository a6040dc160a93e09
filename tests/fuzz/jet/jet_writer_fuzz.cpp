// Feeds arbitrary bytes to the writer as a whole database file and plans the changes the tool
// makes on every table: each text column of a few rows set to a new code, and those rows
// deleted. Nothing is written anywhere. Any outcome but a plan, a WriteError or a ReadError
// (a crash, a hang, a sanitizer report) is a finding: a damaged file must be refused.

#include "jet/reader/database.h"
#include "jet/reader/table_scan.h"
#include "jet/writer/change_plan.h"
#include "jet/writer/write_error.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kRowsChanged = 4;

void planChanges(const jet::Database& db, const jet::UserTable& table) {
    std::vector<jet::RowLocation> rows;
    jet::TableScan scan(db.pages(), table.definition);
    while (rows.size() < kRowsChanged && scan.next()) {
        rows.push_back(scan.current().header);
    }
    for (std::size_t column = 0; column < table.definition.columns.size(); ++column) {
        jet::TableUpdate update{&table, column, {}};
        for (const jet::RowLocation row : rows) {
            update.rows.push_back({row, u"FUZZ-01"});
        }
        try {
            jet::planUpdate(db, update);
        } catch (const jet::WriteError&) {
        }
    }
    try {
        jet::planDeletion(db, {&table, rows});
    } catch (const jet::WriteError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const jet::Database db(
            jet::PageStore(jet::memorySource(std::vector<std::uint8_t>(data, data + size))));
        for (const jet::UserTable& table : db.tables()) {
            planChanges(db, table);
        }
    } catch (const jet::ReadError&) {
        // A file that cannot be read is refused before any change is planned.
    }
    return 0;
}
