#include "usage_map_editor.h"

#include "data_page_editor.h"
#include "write_error.h"

#include <string>

namespace jet {
namespace {

constexpr std::uint8_t kInlineMap = 0;
constexpr std::uint8_t kReferenceMap = 1;
constexpr std::size_t kInlineBitmapStart = 5;
constexpr std::size_t kMapPageHeader = 4;
constexpr std::size_t kPagesPerMapPage = (kPageSize - kMapPageHeader) * 8;

void setBit(std::uint8_t* bitmap, std::size_t bit, bool set) {
    const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    if (set) {
        bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | mask);
    } else {
        bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] & ~mask);
    }
}

void leaveOutside(OutsideMap rule, std::uint32_t page) {
    if (rule == OutsideMap::Refuse) {
        refuseUnsupported("page " + std::to_string(page) +
                          " lies outside the range its usage map covers");
    }
}

} // namespace

void markPage(PageEdits& edits, std::uint32_t mapPointer, std::uint32_t page, bool set,
              OutsideMap rule) {
    const std::uint32_t holder = mapPointer >> 8;
    const auto row = static_cast<std::uint8_t>(mapPointer & 0xFF);
    PageBuffer& holderPage = edits.edit(holder);
    DataPageEditor rows(holderPage, holder);
    if (row >= rows.rowCount()) {
        refuseUnsupported("a usage map row is missing from page " + std::to_string(holder));
    }
    const Bytes map = rows.row(row);
    // The row lives in holderPage, so its bytes can be changed where they are.
    auto* mapBytes = holderPage.data() + (map.data() - holderPage.data());
    if (map.empty()) {
        refuseUnsupported("an empty usage map row on page " + std::to_string(holder));
    }
    if (map[0] == kInlineMap) {
        const std::uint32_t start = u32At(map, 1, "a usage map's start page");
        const std::size_t bits =
            map.size() > kInlineBitmapStart ? (map.size() - kInlineBitmapStart) * 8 : 0;
        if (page < start || page - start >= bits) {
            leaveOutside(rule, page);
            return;
        }
        setBit(mapBytes + kInlineBitmapStart, page - start, set);
        return;
    }
    if (map[0] != kReferenceMap) {
        refuseUnsupported("a usage map of unknown type " + std::to_string(map[0]));
    }
    const std::size_t slot = page / kPagesPerMapPage;
    if (1 + 4 * slot + 4 > map.size()) {
        leaveOutside(rule, page);
        return;
    }
    const std::uint32_t bitmapPage = u32At(map, 1 + 4 * slot);
    if (bitmapPage == 0) {
        leaveOutside(rule, page);
        return;
    }
    PageBuffer& bitmap = edits.edit(bitmapPage);
    if (bitmap[0] != static_cast<std::uint8_t>(PageType::UsageMap)) {
        refuseUnsupported("usage bitmap page " + std::to_string(bitmapPage) + " is of type " +
                          std::to_string(bitmap[0]));
    }
    setBit(bitmap.data() + kMapPageHeader, page % kPagesPerMapPage, set);
}

} // namespace jet
