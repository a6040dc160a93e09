#include "jet/writer/index_tree_page.h"

#include "jet/writer/write_error.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace jet {
namespace {

constexpr std::size_t kFreeSpaceOffset = layout::kIndexFreeSpaceAt;
constexpr std::size_t kOwnerOffset = layout::kIndexOwnerAt;
constexpr std::size_t kPreviousOffset = layout::kIndexPreviousAt;
constexpr std::size_t kNextOffset = layout::kIndexNextAt;
constexpr std::size_t kTailOffset = layout::kIndexTailAt;
constexpr std::size_t kPrefixOffset = layout::kIndexPrefixLengthAt;
constexpr std::size_t kMaskStart = layout::kIndexEntryMaskAt;
constexpr std::size_t kFirstEntry = layout::kIndexFirstEntry;
constexpr std::size_t kRowPointerSize = layout::kIndexRowPointerSize;
constexpr std::size_t kChildPointerSize = layout::kIndexChildPointerSize;

// A stored entry: its key, its row pointer and, on a node, its child's page.
struct StoredEntry {
    IndexEntry entry;
    std::uint32_t child = 0;
};

StoredEntry decodeEntry(Bytes full, bool leaf, std::uint32_t number) {
    const std::size_t pointers = kRowPointerSize + (leaf ? 0 : kChildPointerSize);
    if (full.size() < pointers) {
        refuseUnsupported("index page " + std::to_string(number) + " holds a malformed entry");
    }
    const std::size_t keySize = full.size() - pointers;
    StoredEntry stored;
    stored.entry.key.assign(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keySize));
    stored.entry.row = RowLocation{bigEndianAt(full, keySize, 3), full[keySize + 3]};
    if (!leaf) {
        stored.child = bigEndianAt(full, keySize + kRowPointerSize, 4);
    }
    return stored;
}

std::vector<StoredEntry> decodeEntries(const PageBuffer& bytes, bool leaf, std::uint32_t number) {
    const std::size_t prefixLength = u16At(bytes, kPrefixOffset);
    std::vector<StoredEntry> entries;
    std::vector<std::uint8_t> full;
    std::size_t start = kFirstEntry;
    for (std::size_t i = kMaskStart; i < kFirstEntry; ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if (((bytes[i] >> bit) & 1u) == 0) {
                continue;
            }
            const std::size_t end = kFirstEntry + 8 * (i - kMaskStart) + bit;
            const bool first = entries.empty();
            if (end <= start || end > kPageSize || (first && end - start < prefixLength)) {
                refuseUnsupported("index page " + std::to_string(number) +
                                  " holds a malformed entry");
            }
            // Every entry after the first leaves out the prefix it shares with the first.
            const auto at = [&](std::size_t offset) {
                return bytes.begin() + static_cast<std::ptrdiff_t>(offset);
            };
            if (first) {
                full.assign(at(start), at(end));
            } else {
                full.assign(at(kFirstEntry), at(kFirstEntry + prefixLength));
                full.insert(full.end(), at(start), at(end));
            }
            entries.push_back(decodeEntry(full, leaf, number));
            if (entries.size() > 1 && !(entries[entries.size() - 2].entry < entries.back().entry)) {
                refuseUnsupported("index page " + std::to_string(number) +
                                  " holds its entries out of order");
            }
            start = end;
        }
    }
    return entries;
}

} // namespace

IndexTreePage parseIndexPage(const PageBuffer& bytes, std::uint32_t number, std::uint32_t owner) {
    const std::string where = "page " + std::to_string(number);
    if (bytes[0] != static_cast<std::uint8_t>(PageType::IndexLeaf) &&
        bytes[0] != static_cast<std::uint8_t>(PageType::IndexNode)) {
        refuseUnsupported(where + " should be an index page but is of type " +
                          std::to_string(bytes[0]));
    }
    if (u32At(bytes, kOwnerOffset) != owner) {
        refuseUnsupported("index " + where + " belongs to another table");
    }
    IndexTreePage page;
    page.number = number;
    page.leaf = bytes[0] == static_cast<std::uint8_t>(PageType::IndexLeaf);
    page.previous = u32At(bytes, kPreviousOffset);
    page.next = u32At(bytes, kNextOffset);
    const std::uint32_t tail = u32At(bytes, kTailOffset);
    std::vector<StoredEntry> stored = decodeEntries(bytes, page.leaf, number);
    if (page.leaf) {
        if (tail != 0) {
            refuseUnsupported("index leaf " + where + " has a tail page");
        }
        for (StoredEntry& s : stored) {
            page.entries.push_back(std::move(s.entry));
        }
        return page;
    }
    for (StoredEntry& s : stored) {
        page.children.push_back({std::move(s.entry), s.child});
    }
    if (tail != 0) {
        page.children.push_back({std::nullopt, tail});
    }
    if (page.children.empty()) {
        refuseUnsupported("index node " + where + " has no children");
    }
    return page;
}

std::size_t storedLeafSize(const std::vector<IndexEntry>& entries, std::size_t begin,
                           std::size_t end) {
    if (end <= begin) {
        return 0;
    }
    std::size_t size = 0;
    for (std::size_t i = begin; i < end; ++i) {
        size += entries[i].key.size() + kRowPointerSize;
    }
    return size - commonPrefix(entries[begin].key, entries[end - 1].key) * (end - begin - 1);
}

std::size_t storedNodeSize(const std::vector<IndexChild>& children, std::size_t begin,
                           std::size_t end) {
    if (end <= begin) {
        return 0;
    }
    const std::size_t storedEnd = end - begin >= 2 ? end - 1 : end;
    std::size_t size = 0;
    for (std::size_t i = begin; i < storedEnd; ++i) {
        size += children[i].last->key.size() + kRowPointerSize + kChildPointerSize;
    }
    return size - commonPrefix(children[begin].last->key, children[storedEnd - 1].last->key) *
                      (storedEnd - begin - 1);
}

void writeIndexPage(const IndexTreePage& page, std::uint32_t owner, PageBuffer& bytes) {
    // What the page stores: each entry with the child it leads to on a node.
    struct Stored {
        const IndexEntry* entry;
        std::optional<std::uint32_t> child;
    };
    std::vector<Stored> stored;
    std::uint32_t tail = 0;
    if (page.leaf) {
        stored.reserve(page.entries.size());
        for (const IndexEntry& entry : page.entries) {
            stored.push_back({&entry, std::nullopt});
        }
    } else {
        const std::size_t storedCount =
            page.children.size() >= 2 ? page.children.size() - 1 : page.children.size();
        for (std::size_t i = 0; i < storedCount; ++i) {
            stored.push_back({&*page.children[i].last, page.children[i].page});
        }
        if (page.children.size() >= 2) {
            tail = page.children.back().page;
        }
    }
    const std::size_t prefix =
        stored.empty() ? 0 : commonPrefix(stored.front().entry->key, stored.back().entry->key);

    const std::uint8_t unknown1 = bytes[1] != 0 ? bytes[1] : 0x01;
    std::array<std::uint8_t, 4> unknown8{};
    std::memcpy(unknown8.data(), bytes.data() + 8, unknown8.size());
    const std::uint8_t unknown26 = bytes[26];
    bytes.fill(0);
    bytes[0] = static_cast<std::uint8_t>(page.leaf ? PageType::IndexLeaf : PageType::IndexNode);
    bytes[1] = unknown1;
    putLittleEndian(bytes, kOwnerOffset, owner, 4);
    std::memcpy(bytes.data() + 8, unknown8.data(), unknown8.size());
    putLittleEndian(bytes, kPreviousOffset, page.previous, 4);
    putLittleEndian(bytes, kNextOffset, page.next, 4);
    putLittleEndian(bytes, kTailOffset, tail, 4);
    putLittleEndian(bytes, kPrefixOffset, static_cast<std::uint32_t>(prefix), 2);
    bytes[26] = unknown26;

    std::size_t at = kFirstEntry;
    const auto putBig = [&](std::uint32_t value, std::size_t size) {
        for (std::size_t i = size; i-- > 0;) {
            bytes[at++] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const KeyBytes& key = stored[i].entry->key;
        const std::size_t skip = i == 0 ? 0 : prefix;
        const std::size_t size =
            key.size() - skip + kRowPointerSize + (stored[i].child ? kChildPointerSize : 0);
        if (at + size > kPageSize) {
            refuseUnsupported("index page " + std::to_string(page.number) + " overflows");
        }
        std::memcpy(bytes.data() + at, key.data() + skip, key.size() - skip);
        at += key.size() - skip;
        putBig(stored[i].entry->row.page, 3);
        bytes[at++] = stored[i].entry->row.row;
        if (stored[i].child) {
            putBig(*stored[i].child, 4);
        }
        const std::size_t bit = at - kFirstEntry;
        bytes[kMaskStart + bit / 8] =
            static_cast<std::uint8_t>(bytes[kMaskStart + bit / 8] | (1u << (bit % 8)));
    }
    putLittleEndian(bytes, kFreeSpaceOffset, static_cast<std::uint32_t>(kPageSize - at), 2);
}

} // namespace jet
