#include "jet/reader/usage_map.h"

#include "jet/format/jet_format.h"
#include "jet/reader/data_page.h"

#include <algorithm>
#include <string>

namespace jet {
namespace {

using layout::kPagesPerMapPage;

void addBitmap(std::uint32_t holder, std::size_t from, Bytes bitmap, std::uint64_t firstPage,
               UsageMapBits& out) {
    out.bitmaps.push_back(
        {holder, from, from + bitmap.size(), static_cast<std::uint32_t>(firstPage)});
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if (((bitmap[i] >> bit) & 1u) != 0) {
                const std::uint64_t page = firstPage + i * 8 + bit;
                if (page > 0xFFFFFFu) {
                    throwDamaged("a usage map marks page " + std::to_string(page) +
                                 ", which no row pointer can name");
                }
                out.marked.push_back(static_cast<std::uint32_t>(page));
            }
        }
    }
}

} // namespace

bool UsageMapBits::covers(std::uint32_t page) const {
    return std::any_of(bitmaps.begin(), bitmaps.end(), [&](const Bitmap& bitmap) {
        return page >= bitmap.firstPage && page - bitmap.firstPage < (bitmap.to - bitmap.from) * 8;
    });
}

UsageMapBits readUsageMap(const PageStore& pages, std::uint32_t mapPointer) {
    const RowLocation location = rowAtPointer(mapPointer);
    const DataPage holder(pages.page(location.page), location.page);
    const Bytes map = holder.rowBytes(location.row);
    const auto rowStart = static_cast<std::size_t>(map.data() - bytesOf(holder.page()).data());
    UsageMapBits result;
    switch (map[0]) {
    case layout::kInlineMap: {
        const std::size_t from = std::min(layout::kInlineMapBitmapAt, map.size());
        addBitmap(location.page, rowStart + from, map.subspan(from),
                  u32At(map, 1, "a usage map's start page"), result);
        break;
    }
    case layout::kReferenceMap:
        for (std::size_t slot = 0; 1 + 4 * slot + 4 <= map.size(); ++slot) {
            const std::uint32_t mapPage = u32At(map, 1 + 4 * slot);
            if (mapPage == 0) {
                continue;
            }
            const PageRef bitmapPage =
                pages.pageOfType(mapPage, PageType::UsageMap, "a usage bitmap");
            addBitmap(mapPage, layout::kMapPageBitmapAt,
                      bytesOf(bitmapPage).subspan(layout::kMapPageBitmapAt),
                      static_cast<std::uint64_t>(slot) * kPagesPerMapPage, result);
        }
        break;
    default:
        throwDamaged("a usage map of unknown type " + std::to_string(map[0]));
    }
    return result;
}

std::vector<std::uint32_t> pagesInUsageMap(const PageStore& pages, std::uint32_t mapPointer) {
    std::vector<std::uint32_t> marked = readUsageMap(pages, mapPointer).marked;
    if (!marked.empty() && marked.back() >= pages.pageCount()) {
        throwDamaged("a usage map marks page " + std::to_string(marked.back()) +
                     ", beyond the end of the file");
    }
    return marked;
}

} // namespace jet
