#include "usage_map.h"

#include "data_page.h"

#include <algorithm>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kMapPageHeader = 4;
constexpr std::size_t kPagesPerMapPage = (kPageSize - kMapPageHeader) * 8;

void addMarkedPages(Bytes bitmap, std::uint64_t firstPage, const PageStore& pages,
                    std::vector<std::uint32_t>& out) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if (((bitmap[i] >> bit) & 1u) == 0) {
                continue;
            }
            const std::uint64_t page = firstPage + i * 8 + bit;
            if (page >= pages.pageCount()) {
                throwDamaged("a usage map marks page " + std::to_string(page) +
                             ", beyond the end of the file");
            }
            out.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

} // namespace

std::vector<std::uint32_t> pagesInUsageMap(const PageStore& pages, std::uint32_t mapPointer) {
    const RowLocation location{mapPointer >> 8, static_cast<std::uint8_t>(mapPointer & 0xFF)};
    const DataPage holder(pages.page(location.page), location.page);
    const Bytes map = holder.rowBytes(location.row);
    std::vector<std::uint32_t> result;
    switch (map[0]) {
    case 0:
        addMarkedPages(map.subspan(std::min<std::size_t>(5, map.size())),
                       u32At(map, 1, "a usage map's start page"), pages, result);
        break;
    case 1:
        for (std::size_t slot = 0; 1 + 4 * slot + 4 <= map.size(); ++slot) {
            const std::uint32_t mapPage = u32At(map, 1 + 4 * slot);
            if (mapPage == 0) {
                continue;
            }
            const PageRef bitmapPage =
                pages.pageOfType(mapPage, PageType::UsageMap, "a usage bitmap");
            addMarkedPages(bytesOf(bitmapPage).subspan(kMapPageHeader),
                           static_cast<std::uint64_t>(slot) * kPagesPerMapPage, pages, result);
        }
        break;
    default:
        throwDamaged("a usage map of unknown type " + std::to_string(map[0]));
    }
    return result;
}

} // namespace jet
