#include "jet/writer/image_entries.h"

#include "jet/format/jet_format.h"

#include <algorithm>
#include <cstring>

namespace jet::image_check {

bool EntryList::addLeaf(const IndexPage& leaf) {
    const std::size_t first = items_.size();
    for (std::size_t i = 0; i < leaf.entryCount(); ++i) {
        const std::size_t at = bytes_.size();
        leaf.appendEntry(i, bytes_);
        const std::size_t keySize = bytes_.size() - at - layout::kIndexRowPointerSize;
        const Bytes pointer = Bytes(bytes_).subspan(at + keySize);
        items_.push_back({at, keySize, RowLocation{bigEndianAt(pointer, 0, 3), pointer[3]}});
        bytes_.resize(at + keySize);
    }
    for (std::size_t i = first + 1; i < items_.size(); ++i) {
        if (compare(items_[i - 1], *this, items_[i]) >= 0) {
            return false;
        }
    }
    return true;
}

void EntryList::reserve(std::size_t entries, std::size_t keyBytes) {
    items_.reserve(entries);
    bytes_.reserve(keyBytes);
}

void EntryList::append(Bytes key, RowLocation row) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + key.size());
    if (!key.empty()) {
        std::memcpy(bytes_.data() + at, key.data(), key.size());
    }
    items_.push_back({at, key.size(), row});
}

void EntryList::add(const KeyBytes& key, RowLocation row) {
    append(key, row);
}

Bytes EntryList::key(std::size_t i) const {
    return Bytes(bytes_).subspan(items_[i].at, items_[i].size);
}

IndexEntry EntryList::entry(std::size_t i) const {
    const Bytes bytes = key(i);
    return IndexEntry{KeyBytes(bytes.begin(), bytes.end()), items_[i].row};
}

int EntryList::compare(const Item& a, const EntryList& other, const Item& b) const {
    const std::size_t common = std::min(a.size, b.size);
    if (common != 0) {
        if (const int c = std::memcmp(bytes_.data() + a.at, other.bytes_.data() + b.at, common);
            c != 0) {
            return c;
        }
    }
    if (a.size != b.size) {
        return a.size < b.size ? -1 : 1;
    }
    return a.row < b.row ? -1 : (b.row < a.row ? 1 : 0);
}

void EntryList::sort() {
    // Lists gathered page by page are mostly in order already.
    if (std::is_sorted(items_.begin(), items_.end(),
                       [&](const Item& a, const Item& b) { return compare(a, *this, b) < 0; })) {
        return;
    }
    std::sort(items_.begin(), items_.end(),
              [&](const Item& a, const Item& b) { return compare(a, *this, b) < 0; });
}

void EntryList::difference(const EntryList& a, const EntryList& b, EntryList& onlyA,
                           EntryList& onlyB) {
    onlyA.reserve(a.size(), a.keyBytes());
    onlyB.reserve(b.size(), b.keyBytes());
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        const int c = i == a.size()   ? 1
                      : j == b.size() ? -1
                                      : a.compare(a.items_[i], b, b.items_[j]);
        if (c < 0) {
            onlyA.append(a.key(i), a.row(i));
            ++i;
        } else if (c > 0) {
            onlyB.append(b.key(j), b.row(j));
            ++j;
        } else {
            ++i;
            ++j;
        }
    }
}

std::optional<std::size_t> EntryList::firstDifference(const EntryList& a, const EntryList& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a.compare(a.items_[i], b, b.items_[i]) != 0) {
            return i;
        }
    }
    if (a.size() != b.size()) {
        return common;
    }
    return std::nullopt;
}

} // namespace jet::image_check
