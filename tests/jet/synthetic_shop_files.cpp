#include "tests/jet/synthetic_shop_files.h"

#include "jet/reader/general_sort_key.h"

#include <algorithm>

namespace jettest {
namespace {

using jet::ColumnType;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMapPage = 1;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kCatalogDataPage = 3;
constexpr std::uint32_t kLongValueOwner = 0x4C41564C; // "LVAL"
constexpr std::uint32_t kSystemObject = 0x80000000u;

// MSysObjects as the engine creates it, its columns in the order of their numbers: memo, OLE
// and binary columns among the four the catalog is read by.
const std::vector<TestColumn> kCatalog = {{u"Id", ColumnType::Int32, 4},
                                          {u"ParentId", ColumnType::Int32, 4},
                                          {u"Name", ColumnType::Text, 510},
                                          {u"Type", ColumnType::Int16, 2},
                                          {u"DateCreate", ColumnType::DateTime, 8},
                                          {u"DateUpdate", ColumnType::DateTime, 8},
                                          {u"Owner", ColumnType::Binary, 255},
                                          {u"Flags", ColumnType::Int32, 4},
                                          {u"Database", ColumnType::Memo, 0},
                                          {u"Connect", ColumnType::Memo, 0},
                                          {u"ForeignName", ColumnType::Text, 510},
                                          {u"RmtInfoShort", ColumnType::Binary, 255},
                                          {u"RmtInfoLong", ColumnType::Ole, 0},
                                          {u"Lv", ColumnType::Ole, 0},
                                          {u"LvProp", ColumnType::Ole, 0},
                                          {u"LvModule", ColumnType::Ole, 0},
                                          {u"LvExtra", ColumnType::Ole, 0}};

PageRow catalogRow(std::uint32_t id, std::string_view name, int type, std::uint32_t flags,
                   std::string_view linkedFile = {}) {
    std::vector<StoredField> fields(kCatalog.size());
    fields[0] = le(id, 4);
    fields[1] = le(0x0F000001, 4);
    fields[2] = compressed(name);
    fields[3] = le(static_cast<std::uint64_t>(type), 2);
    fields[4] = doubleBytes(38143.5);
    fields[5] = doubleBytes(38143.5);
    fields[6] = Bytes{0x03};
    fields[7] = le(flags, 4);
    fields[14] = inlineMemo({'M', 'R', '2', 0});
    if (!linkedFile.empty()) {
        fields[8] = inlineMemo(compressed(linkedFile));
        fields[10] = compressed(name);
    }
    return {encodeRow(kCatalog, fields)};
}

// Containers, system tables, a query, a linked table and a layout object of negative type,
// none of which is a table of the database.
std::vector<PageRow> systemObjects() {
    return {catalogRow(0x0F000001, "Tables", 3, kSystemObject),
            catalogRow(kCatalogPage, "MSysObjects", 1, kSystemObject),
            catalogRow(9, "MSysAccessObjects", 1, 0x2),
            catalogRow(0x80000006, "AccessLayout", -32757, 0),
            catalogRow(0x0F00000A, "qryCopies", 5, 0),
            catalogRow(0x0F00000B, "Members", 6, 0, "C:\\shop\\members.mdb")};
}

jet::PageBuffer indexLeaf(const TestIndex& index, std::uint32_t definition, std::uint32_t data) {
    std::vector<std::pair<Bytes, jet::RowLocation>> entries;
    for (const auto& [text, slot] : index.entries) {
        entries.push_back({*jet::generalSortKey(text), {data, slot}});
    }
    std::sort(entries.begin(), entries.end());
    jet::PageBuffer page = indexLeafPage(entries);
    const Bytes owner = le(definition, 4);
    std::copy(owner.begin(), owner.end(), page.begin() + 4);
    return page;
}

// Points a definition's free-space map (+59) at a map row that marks no page.
void addFreeSpaceMap(jet::PageBuffer& definition, std::vector<PageRow>& maps) {
    const std::uint32_t map = pointer(kMapPage, static_cast<std::uint8_t>(maps.size()));
    maps.push_back({usageMapRow({})});
    const Bytes bytes = le(map, 4);
    std::copy(bytes.begin(), bytes.end(), definition.begin() + 59);
}

StoredField flag(bool set) {
    return set ? StoredField(Bytes{1}) : std::nullopt;
}

} // namespace

Bytes databaseOf(const std::vector<TestTable>& tables) {
    std::vector<jet::PageBuffer> pages(kCatalogDataPage + 1);
    std::vector<PageRow> maps{{usageMapRow({kCatalogDataPage})}};
    std::vector<PageRow> catalogRows = systemObjects();
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const TestTable& table = tables[t];
        const std::uint32_t map = pointer(kMapPage, static_cast<std::uint8_t>(maps.size()));
        const auto first = static_cast<std::uint32_t>(pages.size());
        std::vector<jet::IndexDefinition> indexes(table.indexes.size());
        const auto data = static_cast<std::uint32_t>(
            first + tableDefinitionPages(table.columns, map, indexes, first).size());
        std::vector<std::uint32_t> owned{data};
        for (std::size_t i = 0; i < indexes.size(); ++i) {
            indexes[i].columns = {{table.indexes[i].columnNumber, true}};
            indexes[i].rootPage = static_cast<std::uint32_t>(data + 1 + i);
            owned.push_back(indexes[i].rootPage);
        }
        maps.push_back({usageMapRow(owned)});
        for (const jet::PageBuffer& page :
             tableDefinitionPages(table.columns, map, indexes, first)) {
            pages.push_back(page);
        }
        addFreeSpaceMap(pages[first], maps);
        // The row count a change keeps up to date: the rows a scan finds.
        const auto live =
            std::count_if(table.rows.begin(), table.rows.end(),
                          [](const PageRow& row) { return (row.slotFlags & 0x8000) == 0; });
        const Bytes count = le(static_cast<std::uint64_t>(live), 4);
        std::copy(count.begin(), count.end(), pages[first].begin() + 16);
        pages.push_back(dataPage(first, table.rows));
        for (const TestIndex& index : table.indexes) {
            pages.push_back(indexLeaf(index, first, data));
        }
        const std::u16string& name = table.name;
        catalogRows.push_back(catalogRow(first, std::string(name.begin(), name.end()), 1, 0));
    }
    pages[0] = headerPage(u"", 0);
    pages[kCatalogPage] = tableDefinitionPage(kCatalog, pointer(kMapPage, 0));
    addFreeSpaceMap(pages[kCatalogPage], maps);
    pages[kMapPage] = dataPage(kLongValueOwner, maps);
    pages[kCatalogDataPage] = dataPage(kCatalogPage, catalogRows);
    return assembleFile(std::move(pages), 0);
}

Bytes deletedColumnsDatabase() {
    const std::vector<TestColumn> book = {
        {u"BookID", ColumnType::Int32, 4},      {u"OldCode", ColumnType::Text, 30, true},
        {u"Shelf", ColumnType::Int16, 2, true}, {u"BStrID", ColumnType::Text, 30},
        {u"VolNo", ColumnType::Int16, 2},       {u"Price", ColumnType::Currency, 8},
        {u"Status", ColumnType::Text, 40}};
    const auto copy = [&](std::vector<StoredField> fields) {
        return PageRow{encodeRow(book, fields)};
    };
    const std::vector<TestColumn> customer = {{u"CustomerID", ColumnType::Int32, 4},
                                              {u"Phone", ColumnType::Text, 30, true},
                                              {u"Address", ColumnType::Text, 200, true},
                                              {u"Name", ColumnType::Text, 100},
                                              {u"Email", ColumnType::Text, 100, true}};
    const auto person = [&](std::vector<StoredField> fields) {
        return PageRow{encodeRow(customer, fields)};
    };
    return databaseOf(
        {{u"Book",
          book,
          // Written before the deletions, then after them (the deleted places stay, NULL).
          {copy({le(1, 4), compressed("X-1"), le(7, 2), compressed("KH-0001"), le(1, 2),
                 le(455000, 8), ucs2(u"ว่าง")}),
           copy({le(2, 4), {}, {}, compressed("KH-0001"), le(2, 2), {}, {}}),
           copy({le(3, 4), compressed("KH-0001"), le(3, 2), compressed("A0005"), le(1, 2),
                 le(120000, 8), ucs2(u"ยืม")})},
          // The index over the deleted OldCode (column 1) holds other rows than BStrID's.
          {{1, {{u"X-1", 0}, {u"KH-0001", 2}}},
           {3, {{u"KH-0001", 0}, {u"KH-0001", 1}, {u"A0005", 2}}}}},
         {u"Customer",
          customer,
          {person({le(1, 4), compressed("081-234-5678"), ucs2(u"กรุงเทพฯ"), compressed("Somchai"),
                   compressed("somchai@example.com")}),
           person({le(2, 4), {}, {}, ucs2(u"สมหญิง"), {}})},
          {}}});
}

Bytes addedColumnsDatabase() {
    const std::vector<TestColumn> rental = {{u"RentalID", ColumnType::Int32, 4},
                                            {u"Due", ColumnType::DateTime, 8},
                                            {u"Note", ColumnType::Text, 100},
                                            {u"Returned", ColumnType::Boolean, 0},
                                            {u"Fee", ColumnType::Currency, 8}};
    const auto firstColumns = [&](std::size_t count) {
        return std::vector<TestColumn>(rental.begin(),
                                       rental.begin() + static_cast<std::ptrdiff_t>(count));
    };
    std::vector<TestColumn> story = {{u"BStrID", ColumnType::Text, 30},
                                     {u"BStrName", ColumnType::Text, 510, false, false},
                                     {u"Synopsis", ColumnType::Memo, 0, false, false}};
    for (int branch = 1; branch <= 36; ++branch) {
        const std::u16string number = {static_cast<char16_t>(u'0' + branch / 10),
                                       static_cast<char16_t>(u'0' + branch % 10)};
        story.push_back({u"Kept at branch " + number + u" of the shop as a complete set",
                         ColumnType::Boolean, 0});
    }
    const auto title = [&](StoredField code, StoredField name, StoredField synopsis,
                           int branchesKept) {
        std::vector<StoredField> fields = {std::move(code), std::move(name), std::move(synopsis)};
        for (int branch = 1; branch <= 36; ++branch) {
            fields.push_back(flag(branch <= branchesKept));
        }
        return PageRow{encodeRow(story, fields)};
    };
    return databaseOf(
        {{u"Rental",
          rental,
          {{encodeRow(firstColumns(2), {le(1, 4), doubleBytes(38143.5)})},
           {encodeRow(firstColumns(4),
                      {le(2, 4), doubleBytes(38144.25), compressed("late"), Bytes{1}})},
           {encodeRow(rental, {le(3, 4), doubleBytes(38145), {}, Bytes{1}, le(200000, 8)})}},
          {}},
         {u"Story",
          story,
          {title(compressed("KH-0001"), compressed("Big laughs"),
                 inlineMemo(compressed("Standard")), 0),
           title(ucs2(u"TH-0036"), ucs2(u"ขายหัวเราะ"), inlineMemo(ucs2(u"เรื่องย่อ")), 1),
           title(compressed("A0005"), {},
                 inlineMemo({0xFF, 0xFE, 'A', 'b', 0x00, 0x01, 0x0E, 0x00, 'c'}), 36)},
          {{0, {{u"KH-0001", 0}, {u"TH-0036", 1}, {u"A0005", 2}}}}}});
}

} // namespace jettest
