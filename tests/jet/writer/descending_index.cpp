#include "tests/jet/writer/descending_index.h"

#include "jet/reader/database.h"
#include "jet/writer/index_tree_page.h"
#include "jet/writer/page_allocation.h"
#include "jet/writer/page_edits.h"
#include "jet/writer/row_keys.h"

#include <QFile>

#include <algorithm>

namespace {

using jet::IndexEntry;
using jet::IndexTreePage;

// Where a table definition keeps the order byte of an index's first column: after the
// per-index blocks, the column blocks and the column names come the 52-byte index blocks,
// each naming ten (column, order) slots from +4.
std::size_t firstOrderByte(const jet::PageBuffer& definition, std::size_t index) {
    const std::uint16_t columns = jet::u16At(definition, 45);
    const std::uint32_t indexes = jet::u32At(definition, 51);
    std::size_t at = 63 + 12u * indexes + 25u * columns;
    for (std::uint16_t i = 0; i < columns; ++i) {
        at += 2u + jet::u16At(definition, at);
    }
    return at + 52u * index + 4 + 2;
}

} // namespace

std::string makeFirstColumnDescending(const QString& path, const std::u16string& tableName,
                                      const std::vector<std::u16string>& columnNames,
                                      std::size_t keptBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return "cannot open the copy";
    }
    const QByteArray content = file.readAll();
    std::vector<std::uint8_t> bytes(content.begin(), content.end());
    const jet::Database database(jet::PageStore(jet::memorySource(bytes)));
    const auto table = std::find_if(database.tables().begin(), database.tables().end(),
                                    [&](const jet::UserTable& t) { return t.name == tableName; });
    if (table == database.tables().end()) {
        return "no such table";
    }
    const jet::TableDefinition& definition = table->definition;
    const auto named = [&](const jet::IndexDefinition& index) {
        if (index.columns.size() != columnNames.size()) {
            return false;
        }
        for (std::size_t i = 0; i < columnNames.size(); ++i) {
            if (jet::columnNumbered(definition, index.columns[i].columnNumber).name !=
                columnNames[i]) {
                return false;
            }
        }
        return true;
    };
    const auto index = std::find_if(definition.indexes.begin(), definition.indexes.end(), named);
    if (index == definition.indexes.end() || !index->columns[0].ascending) {
        return "no such ascending index";
    }
    const std::uint32_t owner = definition.definitionPage;
    const auto pageAt = [&](std::uint32_t number) {
        jet::PageBuffer page{};
        std::copy_n(bytes.begin() + std::ptrdiff_t{number} * jet::kPageSize, jet::kPageSize,
                    page.begin());
        return page;
    };

    // The tree as it is: a root leaf, or a root node over leaves.
    IndexTreePage root = jet::parseIndexPage(pageAt(index->rootPage), index->rootPage, owner);
    std::vector<std::uint32_t> leaves;
    if (root.leaf) {
        leaves.push_back(index->rootPage);
    } else {
        for (const jet::IndexChild& child : root.children) {
            leaves.push_back(child.page);
        }
    }
    std::vector<IndexEntry> entries;
    for (const std::uint32_t leaf : leaves) {
        const IndexTreePage page = jet::parseIndexPage(pageAt(leaf), leaf, owner);
        if (!page.leaf) {
            return "a tree of more than two levels";
        }
        entries.insert(entries.end(), page.entries.begin(), page.entries.end());
    }
    // The first column's part is all but the kept bytes of the columns after it. A text
    // value sorting descending is its ascending key inverted, then 0x00; NULL is 0xFF alone.
    for (IndexEntry& entry : entries) {
        const std::size_t part = entry.key.size() - keptBytes;
        for (std::size_t i = 0; i < part; ++i) {
            entry.key[i] = static_cast<std::uint8_t>(~entry.key[i]);
        }
        if (part > 1) {
            entry.key.insert(entry.key.begin() + static_cast<std::ptrdiff_t>(part), 0x00);
        }
    }
    std::sort(entries.begin(), entries.end());

    // The entries spread evenly over the leaves, as many more as they need taken as the
    // writer takes pages.
    jet::PageEdits edits(database.pages());
    std::size_t perLeaf = 0;
    for (;;) {
        perLeaf = (entries.size() + leaves.size() - 1) / leaves.size();
        bool fits = true;
        for (std::size_t begin = 0; begin < entries.size(); begin += perLeaf) {
            fits = fits &&
                   jet::storedLeafSize(entries, begin, std::min(entries.size(), begin + perLeaf)) <=
                       jet::kIndexEntryArea;
        }
        if (fits) {
            break;
        }
        if (root.leaf) {
            return "a root leaf that would have to split";
        }
        leaves.push_back(jet::allocatePage(edits, index->usageMap));
        root.children.push_back({std::nullopt, leaves.back()});
    }
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        IndexTreePage leaf;
        leaf.number = leaves[i];
        leaf.previous = i == 0 ? 0 : leaves[i - 1];
        leaf.next = i + 1 == leaves.size() ? 0 : leaves[i + 1];
        const std::size_t begin = std::min(entries.size(), i * perLeaf);
        const std::size_t end = std::min(entries.size(), begin + perLeaf);
        leaf.entries.assign(entries.begin() + static_cast<std::ptrdiff_t>(begin),
                            entries.begin() + static_cast<std::ptrdiff_t>(end));
        if (leaf.entries.empty()) {
            return "more leaves than entries";
        }
        if (!root.leaf) {
            root.children[i].last = leaf.entries.back();
        }
        jet::writeIndexPage(leaf, owner, edits.edit(leaf.number));
    }
    if (!root.leaf) {
        jet::writeIndexPage(root, owner, edits.edit(root.number));
    }
    jet::PageBuffer& definitionPage = edits.edit(owner);
    definitionPage[firstOrderByte(
        definitionPage, static_cast<std::size_t>(index - definition.indexes.begin()))] = 0;
    bytes.resize(std::size_t{edits.pageCount()} * jet::kPageSize);
    for (const auto& [number, page] : edits.takeStoredPages()) {
        std::copy(page.begin(), page.end(),
                  bytes.begin() + std::ptrdiff_t{number} * jet::kPageSize);
    }
    file.seek(0);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return {};
}
