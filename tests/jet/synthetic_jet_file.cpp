#include "tests/jet/synthetic_jet_file.h"

#include "jet/reader/general_sort_key.h"
#include "jet/reader/rc4.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace jettest {
namespace {

using jet::ColumnType;
using Bytes = std::vector<std::uint8_t>;

bool isVariable(ColumnType type) {
    return type == ColumnType::Text || type == ColumnType::Memo || type == ColumnType::Ole ||
           type == ColumnType::Binary;
}

void put(jet::PageBuffer& page, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(at));
}

void append(Bytes& out, const Bytes& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace

Bytes compressed(std::string_view latin1) {
    // Built in one go: GCC 12 misreads an insert after a two-byte initializer as overflowing.
    Bytes out(latin1.size() + 2);
    out[0] = 0xFF;
    out[1] = 0xFE;
    std::copy(latin1.begin(), latin1.end(), out.begin() + 2);
    return out;
}

std::uint32_t pointer(std::uint32_t page, std::uint8_t row) {
    return (page << 8) | row;
}

Bytes inlineMemo(const Bytes& data) {
    Bytes out = le(0x80000000u | data.size(), 4);
    append(out, le(0, 8));
    append(out, data);
    return out;
}

namespace {

Bytes memoReference(std::uint32_t flags, std::size_t length, std::uint32_t rowPointer) {
    Bytes out = le(flags | length, 4);
    append(out, le(rowPointer, 4));
    append(out, le(0, 4));
    return out;
}

} // namespace

Bytes usageMapRow(const std::vector<std::uint32_t>& pages) {
    Bytes out{0};
    append(out, le(0, 4));
    Bytes bitmap(8, 0);
    for (const std::uint32_t page : pages) {
        bitmap[page / 8] = static_cast<std::uint8_t>(bitmap[page / 8] | (1u << (page % 8)));
    }
    append(out, bitmap);
    return out;
}

Bytes doubleBytes(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return le(bits, 8);
}

Bytes ucs2(std::u16string_view text) {
    Bytes out;
    for (const char16_t c : text) {
        append(out, le(c, 2));
    }
    return out;
}

Bytes le(std::uint64_t value, std::size_t size) {
    Bytes out;
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return out;
}

Bytes encodeRow(const std::vector<TestColumn>& columns, const std::vector<StoredField>& fields) {
    Bytes row = le(columns.size(), 2);
    Bytes mask((columns.size() + 7) / 8, 0);
    std::vector<std::size_t> starts;
    Bytes variable;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const StoredField& field = fields[i];
        const bool boolean = columns[i].type == ColumnType::Boolean;
        const bool present = field && (!boolean || (!field->empty() && (*field)[0] != 0));
        mask[i / 8] = static_cast<std::uint8_t>(mask[i / 8] | (present ? 1u << (i % 8) : 0u));
        if (isVariable(columns[i].type)) {
            starts.push_back(variable.size());
            append(variable, field.value_or(Bytes{}));
        } else if (!boolean) {
            append(row, field.value_or(Bytes(columns[i].length, 0)));
        }
    }
    const std::size_t variableStart = row.size();
    append(row, variable);
    if (!starts.empty()) {
        append(row, le(row.size(), 2));
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            append(row, le(variableStart + *it, 2));
        }
        append(row, le(starts.size(), 2));
    }
    append(row, mask);
    return row;
}

jet::PageBuffer dataPage(std::uint32_t owner, const std::vector<PageRow>& rows) {
    jet::PageBuffer page{};
    page[0] = 0x01;
    page[1] = 0x01;
    put(page, 4, le(owner, 4));
    put(page, 12, le(rows.size(), 2));
    std::size_t end = jet::kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        end -= rows[i].bytes.size();
        put(page, end, rows[i].bytes);
        put(page, 14 + 2 * i, le(end | rows[i].slotFlags, 2));
    }
    put(page, 2, le(end - 14 - 2 * rows.size(), 2));
    return page;
}

namespace {

void putGrowing(Bytes& out, std::size_t at, const Bytes& bytes) {
    if (out.size() < at + bytes.size()) {
        out.resize(at + bytes.size(), 0);
    }
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

Bytes tableDefinitionBytes(const std::vector<TestColumn>& columns, std::uint32_t ownedPagesMap,
                           const std::vector<jet::IndexDefinition>& indexes) {
    std::vector<const TestColumn*> described;
    std::vector<Bytes> blocks;
    std::uint16_t fixedOffset = 0;
    std::uint16_t variableIndex = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const TestColumn& c = columns[i];
        const bool variable = isVariable(c.type);
        const bool text = c.type == ColumnType::Text || c.type == ColumnType::Memo;
        Bytes block(25, 0);
        block[0] = static_cast<std::uint8_t>(c.type);
        putGrowing(block, 5, le(i, 2));
        putGrowing(block, 7, le(variable ? variableIndex : 0, 2));
        putGrowing(block, 11, le(text ? jet::kGeneralSortOrder : 0, 2));
        block[15] = variable ? 0x02 : 0x03;
        block[16] = text && c.compressible ? 0x01 : 0x00;
        putGrowing(block, 21, le(variable ? 0 : fixedOffset, 2));
        putGrowing(block, 23, le(c.length, 2));
        variableIndex = static_cast<std::uint16_t>(variableIndex + (variable ? 1 : 0));
        fixedOffset = static_cast<std::uint16_t>(fixedOffset + (variable ? 0 : c.length));
        if (!c.deleted) {
            described.push_back(&c);
            blocks.push_back(std::move(block));
        }
    }
    Bytes out(63, 0);
    out[0] = 0x02;
    out[1] = 0x01;
    out[40] = 0x4E;
    // The first two counts keep the deleted columns, the third says how many are described.
    putGrowing(out, 41, le(columns.size(), 2));
    putGrowing(out, 43, le(variableIndex, 2));
    putGrowing(out, 45, le(described.size(), 2));
    putGrowing(out, 51, le(indexes.size(), 4));
    putGrowing(out, 55, le(ownedPagesMap, 4));
    out.resize(out.size() + 12 * indexes.size(), 0);
    for (const Bytes& block : blocks) {
        append(out, block);
    }
    for (const TestColumn* c : described) {
        append(out, le(2 * c->name.size(), 2));
        append(out, ucs2(c->name));
    }
    for (const jet::IndexDefinition& index : indexes) {
        const std::size_t at = out.size();
        out.resize(at + 52, 0);
        for (std::size_t slot = 0; slot < 10; ++slot) {
            const bool used = slot < index.columns.size();
            putGrowing(out, at + 4 + 3 * slot,
                       le(used ? index.columns[slot].columnNumber : 0xFFFF, 2));
            out[at + 6 + 3 * slot] = used && index.columns[slot].ascending ? 1 : 0;
        }
        putGrowing(out, at + 38, le(index.rootPage, 4));
        out[at + 46] = index.flags;
    }
    putGrowing(out, 8, le(out.size(), 4));
    return out;
}

} // namespace

std::vector<jet::PageBuffer> tableDefinitionPages(const std::vector<TestColumn>& columns,
                                                  std::uint32_t ownedPagesMap,
                                                  const std::vector<jet::IndexDefinition>& indexes,
                                                  std::uint32_t firstPage) {
    constexpr std::size_t kContinuationHeader = 8;
    const Bytes definition = tableDefinitionBytes(columns, ownedPagesMap, indexes);
    std::vector<jet::PageBuffer> pages(1);
    std::copy_n(definition.begin(), std::min(definition.size(), jet::kPageSize), pages[0].begin());
    for (std::size_t at = jet::kPageSize; at < definition.size();
         at += jet::kPageSize - kContinuationHeader) {
        put(pages.back(), 4, le(firstPage + pages.size(), 4));
        jet::PageBuffer& next = pages.emplace_back();
        next[0] = 0x02;
        next[1] = 0x01;
        const std::size_t size =
            std::min(definition.size() - at, jet::kPageSize - kContinuationHeader);
        std::copy_n(definition.begin() + static_cast<std::ptrdiff_t>(at), size,
                    next.begin() + kContinuationHeader);
    }
    return pages;
}

jet::PageBuffer tableDefinitionPage(const std::vector<TestColumn>& columns,
                                    std::uint32_t ownedPagesMap,
                                    const std::vector<jet::IndexDefinition>& indexes) {
    std::vector<jet::PageBuffer> pages = tableDefinitionPages(columns, ownedPagesMap, indexes, 0);
    if (pages.size() != 1) {
        throw std::logic_error("a test table definition does not fit one page");
    }
    return pages[0];
}

jet::PageBuffer indexLeafPage(const std::vector<std::pair<Bytes, jet::RowLocation>>& entries) {
    jet::PageBuffer page{};
    page[0] = 0x04;
    page[1] = 0x01;
    std::size_t at = 0x1E0;
    for (const auto& [key, row] : entries) {
        put(page, at, key);
        at += key.size();
        put(page, at,
            {static_cast<std::uint8_t>(row.page >> 16), static_cast<std::uint8_t>(row.page >> 8),
             static_cast<std::uint8_t>(row.page), row.row});
        at += 4;
        const std::size_t bit = at - 0x1E0;
        page[0x1B + bit / 8] = static_cast<std::uint8_t>(page[0x1B + bit / 8] | (1u << (bit % 8)));
    }
    return page;
}

jet::PageBuffer headerPage(std::u16string_view password, std::uint32_t databaseKey) {
    jet::PageBuffer page{};
    put(page, 4,
        Bytes{'S', 't', 'a', 'n', 'd', 'a', 'r', 'd', ' ', 'J', 'e', 't', ' ', 'D', 'B', 0});
    page[0x14] = 1;
    const double created = 38143.546523784724;
    const Bytes mask = le(38143, 4);
    put(page, 0x3C, le(1252, 2));
    put(page, 0x3E, le(databaseKey, 4));
    Bytes secret = ucs2(password);
    secret.resize(40, 0);
    for (std::size_t i = 0; i < secret.size(); ++i) {
        page[0x42 + i] = static_cast<std::uint8_t>(secret[i] ^ mask[i % 4]);
    }
    put(page, 0x6E, le(jet::kGeneralSortOrder, 2));
    put(page, 0x72, doubleBytes(created));
    const std::array<std::uint8_t, 4> key = {0xC7, 0xDA, 0x39, 0x6B};
    jet::applyRc4(key, std::span(page).subspan(0x18, 128));
    return page;
}

Bytes assembleFile(std::vector<jet::PageBuffer> pages, std::uint32_t databaseKey) {
    Bytes file;
    for (std::uint32_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && databaseKey != 0) {
            jet::applyRc4(le(databaseKey ^ i, 4), pages[i]);
        }
        file.insert(file.end(), pages[i].begin(), pages[i].end());
    }
    return file;
}

Bytes shelfDatabase(const ShelfFileOptions& options) {
    const std::vector<TestColumn> catalog = {{u"Id", ColumnType::Int32, 4},
                                             {u"Name", ColumnType::Text, 510},
                                             {u"Type", ColumnType::Int16, 2},
                                             {u"Flags", ColumnType::Int32, 4}};
    const auto object = [&](std::uint32_t id, std::string_view name, int type,
                            std::uint32_t flags) {
        return PageRow{
            encodeRow(catalog, {le(id, 4), compressed(name), le(type, 2), le(flags, 4)})};
    };
    const std::vector<TestColumn> shelf = {
        {u"Code", ColumnType::Text, 30},     {u"Title", ColumnType::Text, 100},
        {u"Notes", ColumnType::Memo, 0},     {u"Count", ColumnType::Int32, 4},
        {u"Price", ColumnType::Currency, 8}, {u"Added", ColumnType::DateTime, 8},
        {u"InStock", ColumnType::Boolean, 0}};
    const Bytes oneRowMemo = ucs2(u"memo in one row");
    const Bytes chainStart = ucs2(u"chained ");
    const Bytes chainEnd = ucs2(u"memo text");
    const auto row = [&](std::vector<StoredField> fields, std::uint16_t flags = 0) {
        return PageRow{encodeRow(shelf, fields), flags};
    };
    Bytes chainFirst = le(pointer(kShelfLongValuePage, 4), 4);
    append(chainFirst, chainStart);
    Bytes chainSecond = le(0, 4);
    append(chainSecond, chainEnd);

    std::vector<jet::PageBuffer> pages(8);
    pages[0] = headerPage(options.password, options.databaseKey);
    pages[kShelfLongValuePage] =
        dataPage(0x4C41564C, // "LVAL"
                 {{usageMapRow({3})},
                  {usageMapRow({kShelfDataPage, kShelfMovedRowPage, kShelfIndexPage})},
                  {oneRowMemo},
                  {chainFirst},
                  {chainSecond}});
    pages[2] = tableDefinitionPage(catalog, pointer(kShelfLongValuePage, 0));
    pages[3] = dataPage(2, {object(2, "MSysObjects", 1, 0x80000000u),
                            object(kShelfDefinitionPage, "Shelf", 1, 0), object(9, "Rel", 8, 0)});
    jet::IndexDefinition codeIndex;
    codeIndex.columns = {{0, true}};
    codeIndex.rootPage = kShelfIndexPage;
    pages[kShelfDefinitionPage] =
        tableDefinitionPage(shelf, pointer(kShelfLongValuePage, 1), {codeIndex});
    pages[kShelfDataPage] = dataPage(
        kShelfDefinitionPage,
        {row({compressed("A1"), Bytes{0xFF, 0xFE, 'A', 'b', 0x00, 0x01, 0x0E, 0x00, 'c'},
              inlineMemo(compressed("note")), le(7, 4), le(125000, 8), doubleBytes(38143.5),
              Bytes{1}}),
         row({compressed("DEL"), {}, {}, le(1, 4), {}, {}, {}}, 0x8000),
         PageRow{{0, kShelfMovedRowPage, 0, 0}, 0x4000},
         row({compressed("C3"),
              {},
              memoReference(0x40000000u, oneRowMemo.size(), pointer(kShelfLongValuePage, 2)),
              {},
              {},
              {},
              {}}),
         row({compressed("D4"), Bytes{},
              memoReference(0, chainStart.size() + chainEnd.size(),
                            pointer(kShelfLongValuePage, 3)),
              le(0, 4), le(static_cast<std::uint64_t>(-5000), 8), doubleBytes(0), Bytes{1}})});
    pages[kShelfMovedRowPage] = dataPage(
        kShelfDefinitionPage,
        {row({ucs2(u"B2"), ucs2(u"ไทย"), {}, le(0xFFFFFFFFu, 4), {}, doubleBytes(-1.25), {}},
             0x8000)});
    std::vector<std::pair<Bytes, jet::RowLocation>> entries;
    for (const auto& [code, slot] : {std::pair{u"A1", 0}, {u"B2", 2}, {u"C3", 3}, {u"D4", 4}}) {
        entries.push_back(
            {*jet::generalSortKey(code), {kShelfDataPage, static_cast<std::uint8_t>(slot)}});
    }
    pages[kShelfIndexPage] = indexLeafPage(entries);
    return assembleFile(std::move(pages), options.databaseKey);
}

} // namespace jettest
