#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>

// What the reader and the writer share of the Jet 4.0 format: pages and their kinds, where the
// parts of a page lie and the flags and masks they hold, and how a row is named.
namespace jet {

inline constexpr std::size_t kPageSize = 4096;
using PageBuffer = std::array<std::uint8_t, kPageSize>;

enum class PageType : std::uint8_t {
    Header = 0x00,
    Data = 0x01,
    TableDefinition = 0x02,
    IndexNode = 0x03,
    IndexLeaf = 0x04,
    UsageMap = 0x05,
};

// Where a row lives: its page and its slot in that page's row offset table.
struct RowLocation {
    std::uint32_t page = 0;
    std::uint8_t row = 0;
    friend bool operator==(const RowLocation&, const RowLocation&) = default;
    friend auto operator<=>(const RowLocation&, const RowLocation&) = default;
};

// A row as the file points at it from a table definition (usage maps), a long value or an
// overflow row: the row byte, then the page in three bytes, read as one little-endian number.
// Numbers order as the rows do.
inline constexpr std::uint32_t rowPointer(RowLocation row) {
    return (row.page << 8) | row.row;
}
inline constexpr RowLocation rowAtPointer(std::uint32_t pointer) {
    return RowLocation{pointer >> 8, static_cast<std::uint8_t>(pointer & 0xFF)};
}

namespace layout {

inline constexpr std::size_t kPageTypeAt = 0;

// Data pages: a header, the slot table (one u16 per row: offset and flags), and the rows from
// the end of the page downwards, row i ending where row i - 1 starts.
inline constexpr std::size_t kDataFreeSpaceAt = 2;
inline constexpr std::size_t kDataOwnerAt = 4;
inline constexpr std::size_t kDataRowCountAt = 12;
inline constexpr std::size_t kDataSlotsAt = 14;
inline constexpr std::uint16_t kSlotDeleted = 0x8000;
inline constexpr std::uint16_t kSlotOverflowPointer = 0x4000;
inline constexpr std::uint16_t kSlotOffsetMask = 0x1FFF;
// A row number is one byte in every row pointer.
inline constexpr std::uint16_t kMaxRowsPerPage = 256;
// Pages of long values (memo, OLE) name "LVAL" where a data page names its table.
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;

// Table definitions.
inline constexpr std::size_t kDefinitionNextPageAt = 4;
inline constexpr std::size_t kDefinitionRowCountAt = 16;
inline constexpr std::size_t kDefinitionContinuationHeader = 8;

// Index pages: entries from kIndexFirstEntry, a bitmask marking where each ends.
inline constexpr std::size_t kIndexFreeSpaceAt = 2;
inline constexpr std::size_t kIndexOwnerAt = 4;
inline constexpr std::size_t kIndexPreviousAt = 12;
inline constexpr std::size_t kIndexNextAt = 16;
inline constexpr std::size_t kIndexTailAt = 20;
inline constexpr std::size_t kIndexPrefixLengthAt = 24;
inline constexpr std::size_t kIndexEntryMaskAt = 0x1B;
inline constexpr std::size_t kIndexFirstEntry = 0x1E0;
inline constexpr std::size_t kIndexRowPointerSize = 4;
inline constexpr std::size_t kIndexChildPointerSize = 4;
// The most entry bytes an index page holds, after their shared prefix is left out.
inline constexpr std::size_t kIndexEntryArea = kPageSize - kIndexFirstEntry;

// Usage maps: an inline map row is [0][start page u32][bitmap]; a reference map row is [1]
// then u32 pages of bitmaps, each covering kPagesPerMapPage pages from its +4.
inline constexpr std::uint8_t kInlineMap = 0;
inline constexpr std::uint8_t kReferenceMap = 1;
inline constexpr std::size_t kInlineMapBitmapAt = 5;
inline constexpr std::size_t kMapPageBitmapAt = 4;
inline constexpr std::size_t kPagesPerMapPage = (kPageSize - kMapPageBitmapAt) * 8;

// The global usage map, which marks the file's free pages: row 0 of page 1.
inline constexpr std::uint32_t kGlobalUsageMap = rowPointer({1, 0});

} // namespace layout
} // namespace jet
