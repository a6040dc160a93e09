#include "index_page.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kFirstEntry = 0x1E0;
constexpr std::size_t kEntryMaskStart = 0x1B;
constexpr std::size_t kLeafPointerSize = 4;
constexpr std::size_t kNodePointerSize = 8;

} // namespace

bool IndexPage::isIndexPage(const PageBuffer& page) {
    return page[0] == static_cast<std::uint8_t>(PageType::IndexNode) ||
           page[0] == static_cast<std::uint8_t>(PageType::IndexLeaf);
}

IndexPage::IndexPage(PageRef page, std::uint32_t number)
    : page_(std::move(page)), number_(number),
      leaf_((*page_)[0] == static_cast<std::uint8_t>(PageType::IndexLeaf)) {
    if (!isIndexPage(*page_)) {
        throwDamaged("page " + std::to_string(number) + " should be an index page but is of type " +
                     std::to_string((*page_)[0]));
    }
    const Bytes bytes = bytesOf(page_);
    prefixLength_ = u16At(bytes, 24);
    for (std::size_t i = kEntryMaskStart; i < kFirstEntry; ++i) {
        for (unsigned bit = 0; bytes[i] >> bit != 0; ++bit) {
            if (((bytes[i] >> bit) & 1u) == 0) {
                continue;
            }
            const std::size_t end = kFirstEntry + (i - kEntryMaskStart) * 8 + bit;
            if (end > kPageSize) {
                throwDamaged("an entry of index page " + std::to_string(number) +
                             " ends beyond the page");
            }
            ends_.push_back(static_cast<std::uint16_t>(end));
        }
    }
    for (std::size_t i = 0; i < ends_.size(); ++i) {
        const std::size_t start = i == 0 ? kFirstEntry : ends_[i - 1];
        const std::size_t stored = ends_[i] - start;
        const std::size_t full = i == 0 ? stored : prefixLength_ + stored;
        if (stored == 0 || full < pointerSize() || (i == 0 && prefixLength_ > stored)) {
            throwDamaged("index page " + std::to_string(number) + " holds a malformed entry");
        }
    }
}

std::uint32_t IndexPage::nextPage() const {
    return u32At(bytesOf(page_), 16);
}

std::uint32_t IndexPage::tailPage() const {
    return u32At(bytesOf(page_), 20);
}

std::size_t IndexPage::pointerSize() const noexcept {
    return leaf_ ? kLeafPointerSize : kNodePointerSize;
}

IndexPage::Entry IndexPage::entry(std::size_t i) const {
    const Bytes bytes = bytesOf(page_);
    const std::size_t start = i == 0 ? kFirstEntry : ends_[i - 1];
    const Bytes own = bytes.subspan(start, ends_[i] - start);
    return {i == 0 ? Bytes() : bytes.subspan(kFirstEntry, prefixLength_), own};
}

int IndexPage::compareKey(std::size_t i, Bytes key) const {
    const Entry full = entry(i);
    const std::size_t keyLength = full.size() - pointerSize();
    // The key may end inside the shared prefix or inside the entry's own bytes.
    const Bytes parts[] = {full.shared.first(std::min(full.shared.size(), keyLength)),
                           full.own.first(keyLength - std::min(full.shared.size(), keyLength))};
    std::size_t compared = 0;
    for (const Bytes part : parts) {
        const std::size_t count = std::min(part.size(), key.size() - compared);
        if (count > 0) {
            if (const int c = std::memcmp(part.data(), key.data() + compared, count); c != 0) {
                return c;
            }
        }
        compared += count;
        if (count < part.size()) {
            return 1; // the wanted key is a proper prefix of this one
        }
    }
    return compared < key.size() ? -1 : 0;
}

std::size_t IndexPage::lowerBound(Bytes key) const {
    std::size_t low = 0;
    std::size_t high = ends_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (compareKey(middle, key) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

RowLocation IndexPage::rowOf(std::size_t i) const {
    const Entry full = entry(i);
    const std::size_t at = full.size() - pointerSize();
    return RowLocation{(static_cast<std::uint32_t>(full[at]) << 16) |
                           (static_cast<std::uint32_t>(full[at + 1]) << 8) | full[at + 2],
                       full[at + 3]};
}

std::uint32_t IndexPage::childOf(std::size_t i) const {
    const Entry full = entry(i);
    std::uint32_t child = 0;
    for (std::size_t k = full.size() - 4; k < full.size(); ++k) {
        child = (child << 8) | full[k];
    }
    return child;
}

} // namespace jet
