#pragma once

#include "jet/reader/page_store.h"

#include <vector>

namespace jet {

// What a usage map holds. mapPointer is a row pointer (row byte, then 3-byte page) to the map
// row, which is either an inline bitmap (type 0: start page, then one bit per page) or a list
// of pages of type 0x05 that each hold a bitmap of their own (type 1).
struct UsageMapBits {
    // The pages whose bit is set, ascending; the global map marks free pages, and may mark
    // pages past the end of the file among them.
    std::vector<std::uint32_t> marked;
    // Where the bitmaps lie: a page, and the bytes [from, to) of it that hold bits.
    struct Bitmap {
        std::uint32_t page = 0;
        std::size_t from = 0;
        std::size_t to = 0;
        std::uint32_t firstPage = 0; // the page bit 0 stands for
    };
    std::vector<Bitmap> bitmaps;

    // Whether some bitmap has a bit for page.
    bool covers(std::uint32_t page) const;
};

// Throws ReadError (Damaged) for a map that is not where its pointer says or of unknown type.
UsageMapBits readUsageMap(const PageStore& pages, std::uint32_t mapPointer);

// The pages a usage map marks, ascending; throws ReadError (Damaged) when it marks a page past
// the end of the file.
std::vector<std::uint32_t> pagesInUsageMap(const PageStore& pages, std::uint32_t mapPointer);

} // namespace jet
