#include "jet/reader/table_definition.h"

#include <set>

namespace jet {
namespace {

constexpr std::size_t kContinuationHeader = layout::kDefinitionContinuationHeader;
constexpr std::size_t kRealIndexHeaderSize = 12;
constexpr std::size_t kColumnBlockSize = 25;
constexpr std::size_t kRealIndexBlockSize = 52;
constexpr std::size_t kLogicalIndexBlockSize = 28;
constexpr std::size_t kIndexColumnSlots = 10;
// Jet allows 255 columns and 32 indexes in a table; more is a damaged definition.
constexpr std::uint16_t kMaxColumns = 255;
constexpr std::uint32_t kMaxIndexes = 64;

std::vector<std::uint8_t> definitionBytes(const PageStore& pages, std::uint32_t first) {
    const PageRef head = pages.pageOfType(first, PageType::TableDefinition, "a table definition");
    std::vector<std::uint8_t> bytes(head->begin(), head->end());
    std::set<std::uint32_t> seen{first};
    for (std::uint32_t next = u32At(bytesOf(head), layout::kDefinitionNextPageAt); next != 0;) {
        if (!seen.insert(next).second) {
            throwDamaged("the definition pages of the table on page " + std::to_string(first) +
                         " form a loop");
        }
        const PageRef part =
            pages.pageOfType(next, PageType::TableDefinition, "a table definition continuation");
        bytes.insert(bytes.end(), part->begin() + kContinuationHeader, part->end());
        next = u32At(bytesOf(part), layout::kDefinitionNextPageAt);
    }
    return bytes;
}

std::u16string utf16At(Bytes bytes, std::size_t at, std::size_t length) {
    const Bytes raw = subBytes(bytes, at, length, "a name");
    std::u16string text;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        text.push_back(static_cast<char16_t>(raw[i] | (raw[i + 1] << 8)));
    }
    return text;
}

ColumnDefinition readColumn(Bytes block) {
    ColumnDefinition column;
    column.type = static_cast<ColumnType>(block[0]);
    column.number = u16At(block, 5);
    column.variableIndex = u16At(block, 7);
    column.sortOrder = u16At(block, 11);
    column.precision = block[11];
    column.scale = block[12];
    column.sortVersion = block[14];
    column.fixedLength = (block[15] & 0x01) != 0;
    column.compressedUnicode = (block[16] & 0x01) != 0;
    column.fixedOffset = u16At(block, 21);
    column.length = u16At(block, 23);
    return column;
}

IndexDefinition readIndex(Bytes block) {
    IndexDefinition index;
    for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
        const std::uint16_t number = u16At(block, 4 + 3 * slot);
        if (number != 0xFFFF) {
            index.columns.push_back({number, block[4 + 3 * slot + 2] == 0x01});
        }
    }
    index.usageMap = u32At(block, 34);
    index.rootPage = u32At(block, 38);
    index.flags = block[46];
    return index;
}

LogicalIndex readLogicalIndex(Bytes block) {
    LogicalIndex index;
    index.number = u32At(block, 4);
    index.physicalIndex = u32At(block, 8);
    index.side = static_cast<LogicalIndex::Side>(block[12]);
    index.relatedIndex = static_cast<std::int32_t>(u32At(block, 13));
    index.relatedTablePage = u32At(block, 17);
    index.onUpdate = block[21];
    index.onDelete = block[22];
    index.kind = static_cast<LogicalIndex::Kind>(block[23]);
    return index;
}

void readLogicalIndexes(Bytes bytes, std::size_t at, std::uint32_t count, TableDefinition& table) {
    if (count > kMaxIndexes) {
        throwDamaged("more named indexes than a table can have");
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        table.logicalIndexes.push_back(
            readLogicalIndex(subBytes(bytes, at, kLogicalIndexBlockSize, "a logical index")));
        at += kLogicalIndexBlockSize;
    }
    for (LogicalIndex& index : table.logicalIndexes) {
        const std::uint16_t length = u16At(bytes, at, "an index name");
        index.name = utf16At(bytes, at + 2, length);
        at += 2u + length;
    }
    table.logicalIndexesRead = true;
}

} // namespace

TableDefinition readTableDefinition(const PageStore& pages, std::uint32_t page) {
    const std::vector<std::uint8_t> storage = definitionBytes(pages, page);
    const Bytes bytes(storage);
    TableDefinition table;
    table.definitionPage = page;
    table.rowCount = u32At(bytes, layout::kDefinitionRowCountAt);
    // The counts of all columns and of variable-length ones (+41, +43) include the deleted
    // columns whose slots the rows still carry; only the count at +45 says how many column
    // descriptions follow, and the rows describe their own layout.
    const std::uint16_t columnCount = u16At(bytes, 45);
    const std::uint32_t logicalIndexCount = u32At(bytes, 47);
    const std::uint32_t realIndexCount = u32At(bytes, 51);
    table.ownedPagesMap = u32At(bytes, 55);
    table.freeSpaceMap = u32At(bytes, 59);
    if (columnCount > kMaxColumns || realIndexCount > kMaxIndexes) {
        throwDamaged("the table definition on page " + std::to_string(page) +
                     " has impossible column or index counts");
    }

    std::size_t at = 63 + kRealIndexHeaderSize * realIndexCount;
    for (std::uint16_t i = 0; i < columnCount; ++i) {
        table.columns.push_back(readColumn(subBytes(bytes, at, kColumnBlockSize, "a column")));
        at += kColumnBlockSize;
    }
    for (ColumnDefinition& column : table.columns) {
        const std::uint16_t length = u16At(bytes, at, "a column name");
        column.name = utf16At(bytes, at + 2, length);
        at += 2u + length;
    }
    for (std::uint32_t i = 0; i < realIndexCount; ++i) {
        table.indexes.push_back(readIndex(subBytes(bytes, at, kRealIndexBlockSize, "an index")));
        at += kRealIndexBlockSize;
    }
    // Only a change needs the named indexes (relationships among them); a definition whose
    // named part cannot be read stays readable, and a change on its table is refused.
    try {
        readLogicalIndexes(bytes, at, logicalIndexCount, table);
    } catch (const ReadError&) {
        table.logicalIndexes.clear();
        table.logicalIndexesRead = false;
    }
    return table;
}

} // namespace jet
