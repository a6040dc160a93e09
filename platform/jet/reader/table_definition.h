#pragma once

#include "jet/reader/page_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Currency = 0x05,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10,
};

// The General sort order as Access 2000 to 2003 write it: LCID 1033, sort version 0.
inline constexpr std::uint16_t kGeneralSortOrder = 1033;

// A column as the definition describes it. A deleted column leaves no description but keeps
// its place in the rows: its number, its variable-value slot or its fixed-length bytes stay
// taken, so the columns after it keep theirs and numbers, slots and offsets can have gaps.
struct ColumnDefinition {
    std::u16string name;
    ColumnType type = ColumnType::Text;
    // Position of the column's bit in a row's null mask.
    std::uint16_t number = 0;
    // Slot among the variable-length columns of a row.
    std::uint16_t variableIndex = 0;
    // Where a fixed-length value starts among the fixed-length values of a row.
    std::uint16_t fixedOffset = 0;
    std::uint16_t length = 0;
    bool fixedLength = false;
    bool compressedUnicode = false;
    std::uint16_t sortOrder = 0;
    std::uint8_t sortVersion = 0;
    // Numeric: digits in all, and digits after the point. (The bytes a text column keeps its
    // sort order in.)
    std::uint8_t precision = 0;
    std::uint8_t scale = 0;
};

struct IndexColumn {
    std::uint16_t columnNumber = 0;
    bool ascending = true;
};

// A physical index: the B-tree that one or more logical indexes (primary key, ...) share.
struct IndexDefinition {
    std::vector<IndexColumn> columns;
    // Row pointer (row byte, then 3-byte page) to the map of the index's pages.
    std::uint32_t usageMap = 0;
    std::uint32_t rootPage = 0;
    std::uint8_t flags = 0;
};

inline constexpr std::uint8_t kIndexUnique = 0x01;
inline constexpr std::uint8_t kIndexIgnoresNulls = 0x02;

// A named index as the user sees it: a primary key, a plain index, or one side of an enforced
// relationship; several can share one physical index.
struct LogicalIndex {
    enum class Kind : std::uint8_t { Plain = 0, PrimaryKey = 1, ForeignKey = 2 };
    // Which end of a relationship this table is: the table whose record is required, or the
    // table whose records require it.
    enum class Side : std::uint8_t { None = 0, Referenced = 1, Referencing = 2 };

    std::u16string name;
    std::uint32_t number = 0;
    std::uint32_t physicalIndex = 0;
    Kind kind = Kind::Plain;
    Side side = Side::None;
    // The logical index of the other table that pairs with this one, and that table's
    // definition page.
    std::int32_t relatedIndex = -1;
    std::uint32_t relatedTablePage = 0;
    // Raw rule bytes: 0 none, 1 cascade, 2 set to NULL.
    std::uint8_t onUpdate = 0;
    std::uint8_t onDelete = 0;
};

struct TableDefinition {
    std::uint32_t definitionPage = 0;
    std::uint32_t rowCount = 0;
    // In the order the definition lists them, which is the order SELECT * shows.
    std::vector<ColumnDefinition> columns;
    std::vector<IndexDefinition> indexes;
    std::vector<LogicalIndex> logicalIndexes;
    // False when the named indexes could not be read: nothing is then known of the table's
    // relationships.
    bool logicalIndexesRead = false;
    // Row pointers (row byte, then 3-byte page) to the map of the data pages the table owns
    // and to the map of those with room for more rows.
    std::uint32_t ownedPagesMap = 0;
    std::uint32_t freeSpaceMap = 0;
};

// Reads the table definition starting at page, continuation pages included.
TableDefinition readTableDefinition(const PageStore& pages, std::uint32_t page);

} // namespace jet
