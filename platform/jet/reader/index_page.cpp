#include "jet/reader/index_page.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kFirstEntry = layout::kIndexFirstEntry;
constexpr std::size_t kEntryMaskStart = layout::kIndexEntryMaskAt;
constexpr std::size_t kEntryMaskSize = kFirstEntry - kEntryMaskStart;
constexpr std::size_t kLeafPointerSize = layout::kIndexRowPointerSize;
constexpr std::size_t kNodePointerSize =
    layout::kIndexRowPointerSize + layout::kIndexChildPointerSize;

// The first position from `from` on for which before() is false; entries are in key order,
// so before() holds for a leading run only.
template <typename Before>
std::size_t partitionPoint(std::size_t from, std::size_t count, Before before) {
    std::size_t low = from;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (before(middle)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

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
    prefixLength_ = u16At(bytesOf(page_), layout::kIndexPrefixLengthAt);
    const std::uint8_t* mask = page_->data() + kEntryMaskStart;
    for (std::size_t i = 0; i < kEntryMaskSize; ++i) {
        entryCount_ += static_cast<std::size_t>(std::popcount(static_cast<unsigned>(mask[i])));
    }
}

const std::vector<std::uint16_t>& IndexPage::ends() const {
    if (ends_.size() == entryCount_) {
        return ends_;
    }
    const std::uint8_t* mask = page_->data() + kEntryMaskStart;
    ends_.reserve(entryCount_);
    std::size_t start = kFirstEntry;
    for (std::size_t i = 0; i < kEntryMaskSize; ++i) {
        for (unsigned bits = mask[i]; bits != 0; bits &= bits - 1) {
            const std::size_t end =
                kFirstEntry + 8 * i + static_cast<std::size_t>(std::countr_zero(bits));
            entryBetween(start, end, ends_.empty()); // checks it
            ends_.push_back(static_cast<std::uint16_t>(end));
            start = end;
        }
    }
    return ends_;
}

std::uint32_t IndexPage::owner() const {
    return u32At(bytesOf(page_), layout::kIndexOwnerAt);
}

std::uint16_t IndexPage::freeSpace() const {
    return u16At(bytesOf(page_), layout::kIndexFreeSpaceAt);
}

std::uint32_t IndexPage::previousPage() const {
    return u32At(bytesOf(page_), layout::kIndexPreviousAt);
}

std::uint32_t IndexPage::nextPage() const {
    return u32At(bytesOf(page_), layout::kIndexNextAt);
}

std::uint32_t IndexPage::tailPage() const {
    return u32At(bytesOf(page_), layout::kIndexTailAt);
}

std::size_t IndexPage::pointerSize() const noexcept {
    return leaf_ ? kLeafPointerSize : kNodePointerSize;
}

IndexPage::Entry IndexPage::entryBetween(std::size_t start, std::size_t end, bool first) const {
    const std::size_t shared = first ? 0 : prefixLength_;
    if (end > kPageSize || end <= start || shared + (end - start) < pointerSize() ||
        (first && prefixLength_ > end - start)) {
        throwDamaged("index page " + std::to_string(number_) + " holds a malformed entry");
    }
    const Bytes bytes = bytesOf(page_);
    return {bytes.subspan(kFirstEntry, shared), bytes.subspan(start, end - start)};
}

IndexPage::Entry IndexPage::entry(std::size_t i) const {
    const auto& all = ends();
    return entryBetween(i == 0 ? kFirstEntry : all.at(i - 1), all.at(i), i == 0);
}

int IndexPage::compareKey(const Entry& full, Bytes key) const {
    const std::size_t keyLength = full.size() - pointerSize();
    // The key may end inside the shared prefix or inside the entry's own bytes.
    const std::size_t fromShared = std::min(full.shared.size(), keyLength);
    const Bytes parts[] = {full.shared.first(fromShared), full.own.first(keyLength - fromShared)};
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

int IndexPage::compareKey(std::size_t i, Bytes key) const {
    return compareKey(entry(i), key);
}

bool IndexPage::lastKeyEquals(Bytes key) const {
    // The last two set bits of the mask bound the last entry.
    std::size_t bounds[2] = {kFirstEntry, kFirstEntry};
    std::size_t found = 0;
    const std::uint8_t* mask = page_->data() + kEntryMaskStart;
    for (std::size_t i = kEntryMaskSize; i-- > 0 && found < 2;) {
        for (unsigned bits = mask[i]; bits != 0 && found < 2;) {
            const int bit = std::bit_width(bits) - 1;
            bounds[found++] = kFirstEntry + 8 * i + static_cast<std::size_t>(bit);
            bits &= ~(1u << bit);
        }
    }
    if (found == 0) {
        return false;
    }
    const bool only = found == 1;
    return compareKey(entryBetween(only ? kFirstEntry : bounds[1], bounds[0], only), key) == 0;
}

std::size_t IndexPage::lowerBound(Bytes key, std::size_t from) const {
    return partitionPoint(from, entryCount_, [&](std::size_t i) { return compareKey(i, key) < 0; });
}

std::size_t IndexPage::upperBound(Bytes key, std::size_t from) const {
    return partitionPoint(from, entryCount_,
                          [&](std::size_t i) { return compareKey(i, key) <= 0; });
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

void IndexPage::appendEntry(std::size_t i, std::vector<std::uint8_t>& out) const {
    const Entry full = entry(i);
    out.insert(out.end(), full.shared.begin(), full.shared.end());
    out.insert(out.end(), full.own.begin(), full.own.end());
}

std::size_t IndexPage::entriesEnd() const {
    return entryCount_ == 0 ? kFirstEntry : ends().back();
}

} // namespace jet
