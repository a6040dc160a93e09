#pragma once

// Small Jet 4.0 files assembled page by page, for what the shop fixtures lack (deleted and
// moved rows, memo values, text that switches compression) and as fuzzing seeds.

#include "jet/reader/page_store.h"
#include "jet/reader/table_definition.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jettest {

struct TestColumn {
    std::u16string name;
    jet::ColumnType type;
    std::uint16_t length; // stored size of a fixed-length value; maximum for text
    // Deleted from the table: the definition no longer describes it, but its number, its
    // variable-value slot or its fixed-length bytes stay taken and rows keep its place.
    bool deleted = false;
    // For text and memo: whether the definition allows compressed Unicode.
    bool compressible = true;
};

// A field as stored in a row; nothing is NULL (or false, for a Boolean).
using StoredField = std::optional<std::vector<std::uint8_t>>;

struct PageRow {
    std::vector<std::uint8_t> bytes;
    std::uint16_t slotFlags = 0; // 0x8000 deleted, 0x4000 overflow pointer
};

std::vector<std::uint8_t> ucs2(std::u16string_view text);
std::vector<std::uint8_t> le(std::uint64_t value, std::size_t size);
// Text as stored compressed: the FF FE marker, then one byte per character.
std::vector<std::uint8_t> compressed(std::string_view latin1);
std::vector<std::uint8_t> doubleBytes(double value);
// A row pointer: the 3-byte page, then the row byte, as one little-endian value.
std::uint32_t pointer(std::uint32_t page, std::uint8_t row);
// A memo or OLE value held inline in its row's 12-byte reference.
std::vector<std::uint8_t> inlineMemo(const std::vector<std::uint8_t>& data);
// A usage map row of type 0 starting at page 0, for pages below 64.
std::vector<std::uint8_t> usageMapRow(const std::vector<std::uint32_t>& pages);

// Fixed-length columns take their offsets, and variable ones their slots, in column order,
// deleted ones included. A row written before columns were added gets only the columns the
// table had then, and no variable-value table when none of them had variable length.
std::vector<std::uint8_t> encodeRow(const std::vector<TestColumn>& columns,
                                    const std::vector<StoredField>& fields);
jet::PageBuffer dataPage(std::uint32_t owner, const std::vector<PageRow>& rows);
// The definition of a table as the rows of encodeRow() need it, on as many pages as it takes:
// the first page holds its first 4096 bytes, each continuation page 4088 more after its
// 8-byte header. firstPage is where the first page goes; continuations follow it.
std::vector<jet::PageBuffer> tableDefinitionPages(const std::vector<TestColumn>& columns,
                                                  std::uint32_t ownedPagesMap,
                                                  const std::vector<jet::IndexDefinition>& indexes,
                                                  std::uint32_t firstPage);
// A definition that fits one page.
jet::PageBuffer tableDefinitionPage(const std::vector<TestColumn>& columns,
                                    std::uint32_t ownedPagesMap,
                                    const std::vector<jet::IndexDefinition>& indexes = {});
jet::PageBuffer
indexLeafPage(const std::vector<std::pair<std::vector<std::uint8_t>, jet::RowLocation>>& entries);
// Page 0 with the header block masked as Jet masks it.
jet::PageBuffer headerPage(std::u16string_view password, std::uint32_t databaseKey);
// Encodes the pages after the first when databaseKey is not zero.
std::vector<std::uint8_t> assembleFile(std::vector<jet::PageBuffer> pages,
                                       std::uint32_t databaseKey);

// A database with one user table, Shelf (Code, Title, Notes memo, Count, Price, Added,
// InStock), indexed on Code. Its data page holds, in slot order: a plain row (A1), a deleted
// row, an overflow pointer to a row moved to the next page (B2), a row of NULLs with its memo
// in another row (C3), and a row whose memo spans a chain of two rows (D4).
struct ShelfFileOptions {
    std::u16string password;
    std::uint32_t databaseKey = 0;
};
std::vector<std::uint8_t> shelfDatabase(const ShelfFileOptions& options = {});

// Pages of shelfDatabase, for tests that damage one structure on purpose.
inline constexpr std::uint32_t kShelfLongValuePage = 1;
inline constexpr std::uint32_t kShelfDefinitionPage = 4;
inline constexpr std::uint32_t kShelfDataPage = 5;
inline constexpr std::uint32_t kShelfMovedRowPage = 6;
inline constexpr std::uint32_t kShelfIndexPage = 7;

} // namespace jettest
