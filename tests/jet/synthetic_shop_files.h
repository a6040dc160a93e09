#pragma once

// Shop files as years of use in the shop's database program leave them, built the way
// synthetic_jet_file.h builds pages: columns deleted, columns added after rows were written,
// memo and text values stored compressed in columns whose definition does not ask for it, a
// definition that takes two pages, and a catalog with the engine's whole column set.

#include "tests/jet/synthetic_jet_file.h"

#include <string>
#include <utility>
#include <vector>

namespace jettest {

struct TestIndex {
    std::uint16_t columnNumber;
    // The text each entry's key is made of, and the slot of the entry's row on the table's
    // data page.
    std::vector<std::pair<std::u16string, std::uint8_t>> entries;
};

struct TestTable {
    std::u16string name;
    std::vector<TestColumn> columns;
    std::vector<PageRow> rows; // all on one data page
    std::vector<TestIndex> indexes;
};

// A database of tables, listed in a catalog with the engine's column set (memo, OLE and binary
// columns among them) beside containers, system tables, a query and a linked table. Page 0 is
// the header, page 1 holds the usage maps, pages 2 and 3 the catalog; then come, table by
// table, its definition pages, its data page and a leaf page per index.
std::vector<std::uint8_t> databaseOf(const std::vector<TestTable>& tables);

// Book, after a variable-length and a fixed-length column were deleted: its columns are
// numbered 0, 3, 4, 5, 6, its values keep gaps among the slots and the fixed-length bytes, and
// an index over a deleted column comes before the one on BStrID. Customer, three of whose four
// variable-length columns were deleted: its definition counts more variable-length columns than
// columns.
std::vector<std::uint8_t> deletedColumnsDatabase();

// Rental, whose first row was written while it had only fixed-length columns (no
// variable-value table) and the next before its last column was added. Story, with 36 Yes/No
// columns whose long names push its definition onto a second page, where the BStrID column's
// name and its index are; its name and memo columns do not allow compression, and hold
// compressed values all the same.
std::vector<std::uint8_t> addedColumnsDatabase();

} // namespace jettest
