#include "jet/writer/usage_map_editor.h"

#include "jet/writer/data_page_editor.h"
#include "jet/writer/write_error.h"

#include <algorithm>
#include <string>

namespace jet {
namespace {

using layout::kInlineMap;
using layout::kPagesPerMapPage;
using layout::kReferenceMap;
constexpr std::size_t kInlineBitmapStart = layout::kInlineMapBitmapAt;
constexpr std::size_t kMapPageHeader = layout::kMapPageBitmapAt;

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

namespace {

// Where a map keeps a page's bit: the map's bytes and the bit's index among them.
struct BitPlace {
    std::size_t holder; // the page the bytes are on
    std::size_t offset; // where the bitmap starts on that page
    std::size_t bit;
    std::size_t bits; // how many bits that bitmap has
};

std::optional<BitPlace> placeOf(const PageEdits& edits, std::uint32_t mapPointer,
                                std::uint32_t page) {
    const RowLocation where = rowAtPointer(mapPointer);
    const std::uint32_t holder = where.page;
    const PageBuffer& holderPage = edits.page(holder);
    const Bytes map = dataRow(holderPage, holder, where.row);
    const auto rowStart = static_cast<std::size_t>(map.data() - holderPage.data());
    if (map[0] == kInlineMap) {
        const std::uint32_t start = u32At(map, 1, "a usage map's start page");
        const std::size_t bits =
            map.size() > kInlineBitmapStart ? (map.size() - kInlineBitmapStart) * 8 : 0;
        if (page < start || page - start >= bits) {
            return std::nullopt;
        }
        return BitPlace{holder, rowStart + kInlineBitmapStart, page - start, bits};
    }
    if (map[0] != kReferenceMap) {
        refuseUnsupported("a usage map of unknown type " + std::to_string(map[0]));
    }
    const std::size_t slot = page / kPagesPerMapPage;
    if (1 + 4 * slot + 4 > map.size()) {
        return std::nullopt;
    }
    const std::uint32_t bitmapPage = u32At(map, 1 + 4 * slot);
    if (bitmapPage == 0) {
        return std::nullopt;
    }
    if (bitmapPage >= edits.pageCount() ||
        edits.page(bitmapPage)[0] != static_cast<std::uint8_t>(PageType::UsageMap)) {
        refuseUnsupported("a usage map points to page " + std::to_string(bitmapPage) +
                          ", which holds no usage bitmap");
    }
    return BitPlace{bitmapPage, kMapPageHeader, page % kPagesPerMapPage, kPagesPerMapPage};
}

// The first page at or after page that the map has a bit for; nothing when there is none.
std::optional<std::uint32_t> nextCovered(const PageEdits& edits, std::uint32_t mapPointer,
                                         std::uint32_t page) {
    const RowLocation where = rowAtPointer(mapPointer);
    const Bytes map = dataRow(edits.page(where.page), where.page, where.row);
    if (map[0] == kInlineMap) {
        const std::uint32_t start = u32At(map, 1, "a usage map's start page");
        const std::size_t bits =
            map.size() > kInlineBitmapStart ? (map.size() - kInlineBitmapStart) * 8 : 0;
        if (page < start) {
            return start;
        }
        return page - start < bits ? std::optional<std::uint32_t>(page) : std::nullopt;
    }
    for (std::size_t slot = page / kPagesPerMapPage; 1 + 4 * slot + 4 <= map.size(); ++slot) {
        if (u32At(map, 1 + 4 * slot) != 0) {
            return std::max<std::uint32_t>(page,
                                           static_cast<std::uint32_t>(slot * kPagesPerMapPage));
        }
    }
    return std::nullopt;
}

} // namespace

void markPage(PageEdits& edits, std::uint32_t mapPointer, std::uint32_t page, bool set,
              OutsideMap rule) {
    const std::optional<BitPlace> place = placeOf(edits, mapPointer, page);
    if (!place) {
        leaveOutside(rule, page);
        return;
    }
    setBit(edits.edit(static_cast<std::uint32_t>(place->holder)).data() + place->offset, place->bit,
           set);
}

std::optional<std::uint32_t> firstMarkedPage(const PageEdits& edits, std::uint32_t mapPointer,
                                             std::uint32_t from, std::uint32_t below) {
    for (std::uint32_t page = from; page < below;) {
        const std::optional<BitPlace> place = placeOf(edits, mapPointer, page);
        if (!place) {
            const std::optional<std::uint32_t> next = nextCovered(edits, mapPointer, page);
            if (!next || *next == page) {
                return std::nullopt;
            }
            page = *next;
            continue;
        }
        // The rest of this bitmap, a byte at a time where it marks nothing.
        const PageBuffer& bytes = edits.page(static_cast<std::uint32_t>(place->holder));
        for (std::size_t bit = place->bit; bit < place->bits && page < below;) {
            const std::uint8_t byte = bytes[place->offset + bit / 8];
            if (bit % 8 == 0 && byte == 0) {
                bit += 8;
                page += 8;
                continue;
            }
            if (((byte >> (bit % 8)) & 1u) != 0) {
                return page;
            }
            ++bit;
            ++page;
        }
    }
    return std::nullopt;
}

} // namespace jet
