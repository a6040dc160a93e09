#pragma once

#include <cstddef>
#include <cstdint>

// Where the parts of a Jet 4.0 page lie, and the flags and masks they hold: one spelling for
// the reader, the writer and the check of a change before it is written.
namespace jet::layout {

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

// Usage maps: an inline map row is [0][start page u32][bitmap]; a reference map row is [1]
// then u32 pages of bitmaps, each covering kPagesPerMapPage pages from its +4.
inline constexpr std::uint8_t kInlineMap = 0;
inline constexpr std::uint8_t kReferenceMap = 1;
inline constexpr std::size_t kInlineMapBitmapAt = 5;
inline constexpr std::size_t kMapPageBitmapAt = 4;

} // namespace jet::layout
