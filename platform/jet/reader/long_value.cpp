#include "jet/reader/long_value.h"

#include "jet/reader/data_page.h"

#include <algorithm>
#include <set>

namespace jet {
namespace {

constexpr std::size_t kReferenceSize = 12;
constexpr std::uint32_t kInlineFlag = 0x80000000u;
constexpr std::uint32_t kSingleRowFlag = 0x40000000u;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFFu;

RowLocation locationFromPointer(std::uint32_t pointer) {
    return rowAtPointer(pointer);
}

// Long-value rows live on data pages marked "LVAL" instead of an owner; they are read as
// they are, whatever their deleted flag says.
StoredRow longValueRow(const PageStore& pages, RowLocation location) {
    const DataPage page(pages.page(location.page), location.page);
    return StoredRow{page.page(), page.rowBytes(location.row), location, location};
}

} // namespace

std::vector<std::uint8_t> readLongValue(const PageStore& pages, Bytes reference) {
    if (reference.size() < kReferenceSize) {
        throwDamaged("a memo or OLE value is shorter than its reference");
    }
    const std::uint32_t head = u32At(reference, 0);
    const std::size_t length = head & kLengthMask;
    if (length > static_cast<std::size_t>(pages.pageCount()) * kPageSize) {
        throwDamaged("a memo or OLE value claims to be larger than the file");
    }
    if ((head & kInlineFlag) != 0) {
        const Bytes data = subBytes(reference, kReferenceSize, length, "an inline memo value");
        return {data.begin(), data.end()};
    }

    RowLocation location = locationFromPointer(u32At(reference, 4));
    if ((head & kSingleRowFlag) != 0) {
        const StoredRow row = longValueRow(pages, location);
        const Bytes data = subBytes(row.bytes, 0, length, "a memo value row");
        return {data.begin(), data.end()};
    }
    std::vector<std::uint8_t> value;
    value.reserve(length);
    std::set<RowLocation> visited;
    while (value.size() < length) {
        if (!visited.insert(location).second) {
            throwDamaged("the rows of a memo or OLE value form a loop");
        }
        const StoredRow row = longValueRow(pages, location);
        const std::uint32_t next = u32At(row.bytes, 0, "a memo chain pointer");
        const Bytes part = row.bytes.subspan(4);
        value.insert(value.end(), part.begin(),
                     part.begin() +
                         static_cast<std::ptrdiff_t>(std::min(part.size(), length - value.size())));
        if (next == 0) {
            break;
        }
        location = locationFromPointer(next);
    }
    if (value.size() != length) {
        throwDamaged("the rows of a memo or OLE value end before its length");
    }
    return value;
}

} // namespace jet
