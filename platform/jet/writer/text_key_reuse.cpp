#include "jet/writer/text_key_reuse.h"

#include "jet/reader/row_fields.h"
#include "jet/reader/table_scan.h"
#include "jet/reader/text_codec.h"
#include "jet/writer/index_entries_by_row.h"

#include <algorithm>
#include <vector>

namespace jet {
namespace {

struct Candidate {
    const UserTable* table;
    const IndexDefinition* index;
    const ColumnDefinition* column;
};

std::vector<Candidate> candidates(const Database& database, const ColumnDefinition& like) {
    std::vector<Candidate> found;
    for (const UserTable& table : database.tables()) {
        for (const IndexDefinition& index : table.definition.indexes) {
            if (index.columns.size() != 1) {
                continue;
            }
            for (const ColumnDefinition& column : table.definition.columns) {
                if (column.number == index.columns[0].columnNumber &&
                    column.type == ColumnType::Text && column.sortOrder == like.sortOrder &&
                    column.sortVersion == like.sortVersion) {
                    found.push_back({&table, &index, &column});
                }
            }
        }
    }
    // Small tables first: the text is most often a code that a small table lists.
    std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return a.table->definition.rowCount < b.table->definition.rowCount;
    });
    return found;
}

} // namespace

std::optional<ReusedKey> keyFromFile(const Database& database, const ColumnDefinition& column,
                                     std::u16string_view text) {
    for (const Candidate& candidate : candidates(database, column)) {
        std::vector<RowLocation> rows;
        TableScan scan(database.pages(), candidate.table->definition);
        while (scan.next()) {
            const RowFields fields(scan.current().bytes, candidate.table->definition);
            if (const auto stored = fields.bytes(*candidate.column);
                stored && decodeText(*stored) == text) {
                rows.push_back(scan.current().header);
            }
        }
        if (rows.empty()) {
            continue;
        }
        const EntriesByRow entries = readEntriesByRow(database.pages(), *candidate.index,
                                                      candidate.table->definition.definitionPage);
        for (const RowLocation row : rows) {
            if (const auto found = entries.find(rowPointer(row)); found != entries.end()) {
                const std::size_t position = static_cast<std::size_t>(
                    candidate.index - candidate.table->definition.indexes.data());
                return ReusedKey{ascendingForm(found->second, *candidate.column,
                                               candidate.index->columns[0].ascending),
                                 candidate.table->definition.definitionPage, position, row};
            }
        }
    }
    return std::nullopt;
}

} // namespace jet
