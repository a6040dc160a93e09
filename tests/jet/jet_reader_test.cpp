// The reader on synthetic files (what the shop fixtures lack: deleted and moved rows, memo
// values, text that switches compression, tables changed after their rows were written,
// damage) and its index lookups on the fixtures.

#include "jet/reader/database.h"
#include "jet/reader/field_value.h"
#include "jet/reader/index_search.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/table_scan.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/synthetic_jet_file.h"
#include "tests/jet/synthetic_shop_files.h"

#include "tests/testkit/gtest_qt.h"

#include <QHash>

#include <functional>

namespace {

using jettest::shelfDatabase;

jet::Database openBytes(std::vector<std::uint8_t> bytes) {
    return jet::Database(jet::PageStore(jet::memorySource(std::move(bytes))));
}

QString cell(const jet::FieldValue& value) {
    using Kind = jet::FieldValue::Kind;
    switch (value.kind) {
    case Kind::Null:
        return QStringLiteral("NULL");
    case Kind::Integer:
        return QString::number(value.integer);
    case Kind::Real:
        return QString::number(value.real);
    case Kind::DateTime:
        return QString::fromStdString(jet::dateTimeText(value.real));
    case Kind::Text:
    case Kind::Decimal:
        return QString::fromUtf16(value.text.data(), static_cast<qsizetype>(value.text.size()));
    case Kind::Binary:
        return QStringLiteral("<%1 bytes>").arg(value.binary.size());
    }
    return {};
}

// Every live row of every user table, fields joined by '|'.
QStringList allRows(const jet::Database& db) {
    QStringList rows;
    for (const jet::UserTable& table : db.tables()) {
        jet::TableScan scan(db.pages(), table.definition);
        while (scan.next()) {
            const jet::RowFields fields(scan.current().bytes, table.definition);
            QStringList cells;
            for (const jet::ColumnDefinition& column : table.definition.columns) {
                cells << cell(jet::decodeField(db.pages(), column, fields));
            }
            rows << cells.join(QLatin1Char('|'));
        }
    }
    return rows;
}

std::optional<std::vector<jet::RowLocation>>
lookUpCode(const jet::Database& db, const jet::UserTable& table, std::u16string_view code) {
    const auto& columns = table.definition.columns;
    const auto column = std::find_if(columns.begin(), columns.end(), [](const auto& c) {
        return c.name == u"Code" || c.name == u"BStrID";
    });
    for (const jet::IndexDefinition& index : table.definition.indexes) {
        if (jet::indexAnswersTextEquality(index, *column)) {
            const auto matches = jet::lookUpText(db.pages(), index, code);
            if (!matches) {
                return std::nullopt;
            }
            return jet::matchedRows(*matches);
        }
    }
    return std::nullopt;
}

TEST(SyntheticJetFile, ReadsLiveRowsWithEveryKindOfValue) {
    const QStringList expected = {
        // Compressed text that switches to two-byte characters and back; an inline memo.
        QStringLiteral("A1|Abกc|note|7|12.5|2004-06-05 12:00:00|-1"),
        // Found through its overflow pointer, in storage order; the deleted row is skipped.
        QStringLiteral("B2|ไทย|NULL|-1|NULL|1899-12-29 06:00:00|0"),
        QStringLiteral("C3|NULL|memo in one row|NULL|NULL|NULL|0"),
        QStringLiteral("D4||chained memo text|0|-0.5|1899-12-30 00:00:00|-1")};
    const jettest::ShelfFileOptions variants[] = {{}, {u"pw", 0x6B1D40A5u}};
    for (const auto& options : variants) {
        const jet::Database db = openBytes(shelfDatabase(options));
        EXPECT_EQ(db.header().password, options.password);
        ASSERT_EQ(db.tables().size(), 1u) << "system tables and other objects are not tables";
        EXPECT_EQ(db.tables()[0].name, u"Shelf");
        EXPECT_EQ(allRows(db), expected);
    }
}

TEST(SyntheticJetFile, IndexFindsCodesIgnoringCaseAndTrailingSpaces) {
    const jet::Database db = openBytes(shelfDatabase());
    const jet::UserTable& shelf = db.tables()[0];
    using Rows = std::vector<jet::RowLocation>;
    EXPECT_EQ(lookUpCode(db, shelf, u"a1"), (Rows{{jettest::kShelfDataPage, 0}}));
    EXPECT_EQ(lookUpCode(db, shelf, u"B2   "), (Rows{{jettest::kShelfDataPage, 2}}));
    EXPECT_EQ(lookUpCode(db, shelf, u"E5"), Rows{});
    EXPECT_EQ(lookUpCode(db, shelf, u"Z9"), Rows{});
    for (const std::u16string_view unconfirmed : {u"é", u"A/1", u"A_-1", u"   "}) {
        EXPECT_EQ(lookUpCode(db, shelf, unconfirmed), std::nullopt);
    }
}

QStringList tableNames(const jet::Database& db) {
    QStringList names;
    for (const jet::UserTable& table : db.tables()) {
        names << QString::fromStdU16String(table.name);
    }
    return names;
}

// The Yes/No columns of addedColumnsDatabase()'s Story: the first `kept` of 36 are set.
QString branchFlags(int kept) {
    QStringList flags;
    for (int branch = 1; branch <= 36; ++branch) {
        flags << (branch <= kept ? QStringLiteral("-1") : QStringLiteral("0"));
    }
    return flags.join(QLatin1Char('|'));
}

// Definitions and rows as the shop's database program leaves them after columns were deleted
// and added: every value reads as it was stored, and an index answers for the column whose
// number it names, wherever that column stands in the definition.
TEST(SyntheticJetFile, ReadsTablesChangedAfterTheirRowsWereWritten) {
    struct Lookup {
        std::u16string_view table;
        std::u16string_view code;
        std::vector<int> rowSlots;
    };
    const struct {
        const char* shape;
        std::vector<std::uint8_t> file;
        QStringList tables;
        QStringList rows;
        std::vector<Lookup> lookups;
    } cases[] = {
        {"columns deleted",
         jettest::deletedColumnsDatabase(),
         {"Book", "Customer"},
         {// Gaps in numbers, slots and fixed offsets; rows from before and after the deletions.
          "1|KH-0001|1|45.5|ว่าง", "2|KH-0001|2|NULL|NULL", "3|A0005|1|12|ยืม",
          // More variable-length columns counted than columns described.
          "1|Somchai", "2|สมหญิง"},
         // The index over deleted column 1 holds X-1 and the KH-0001 of row 2.
         {{u"Book", u"kh-0001", {0, 1}}, {u"Book", u"A0005", {2}}, {u"Book", u"X-1", {}}}},
        {"columns added",
         jettest::addedColumnsDatabase(),
         {"Rental", "Story"},
         {// A row from before the table had a variable-length column, one from before Fee.
          "1|2004-06-05 12:00:00|NULL|0|NULL", "2|2004-06-06 06:00:00|late|-1|NULL",
          "3|2004-06-07 00:00:00|NULL|-1|20",
          // Compressed values in columns without the flag; a value without the marker.
          "KH-0001|Big laughs|Standard|" + branchFlags(0),
          "TH-0036|ขายหัวเราะ|เรื่องย่อ|" + branchFlags(1), "A0005|NULL|Abกc|" + branchFlags(36)},
         // Story's BStrID column and its index are described on the definition's second page.
         {{u"Story", u"th-0036", {1}}, {u"Story", u"A0005 ", {2}}}},
    };
    for (const auto& c : cases) {
        const jet::Database db = openBytes(c.file);
        EXPECT_EQ(tableNames(db), c.tables) << c.shape;
        EXPECT_EQ(allRows(db), c.rows) << c.shape;
        for (const Lookup& lookup : c.lookups) {
            const auto table = std::find_if(db.tables().begin(), db.tables().end(),
                                            [&](const auto& t) { return t.name == lookup.table; });
            ASSERT_NE(table, db.tables().end()) << c.shape;
            const auto rows = lookUpCode(db, *table, lookup.code);
            ASSERT_TRUE(rows.has_value()) << c.shape;
            std::vector<int> rowSlots;
            for (const jet::RowLocation& row : *rows) {
                rowSlots.push_back(row.row);
            }
            EXPECT_EQ(rowSlots, lookup.rowSlots)
                << c.shape << ": "
                << QString::fromStdU16String(std::u16string(lookup.code)).toStdString();
        }
    }
}

struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
    jet::ReadError::Kind kind;
    const char* detail;
};

void patch(std::vector<std::uint8_t>& file, std::uint32_t page, std::size_t offset,
           std::vector<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + page * jet::kPageSize + offset);
}

// Where a row of a shelfDatabase() page starts, from the page's row offset table.
std::size_t rowStart(const std::vector<std::uint8_t>& file, std::uint32_t page, int slot) {
    const std::size_t at = page * jet::kPageSize + 14 + 2 * slot;
    return (file[at] | (file[at + 1] << 8)) & 0x1FFF;
}

TEST(SyntheticJetFile, DamageEndsInAReadErrorNamingIt) {
    using Kind = jet::ReadError::Kind;
    const Damage cases[] = {
        {"row offset beyond the page",
         [](auto& f) {
             patch(f, jettest::kShelfDataPage, 14, {0xFF, 0x1F});
         },
         Kind::Damaged, "lies outside its page"},
        {"overflow pointer beyond the file",
         [](auto& f) {
             patch(f, jettest::kShelfDataPage, rowStart(f, jettest::kShelfDataPage, 2) + 1,
                   {0xFF, 0xFF, 0x00});
         },
         Kind::Damaged, "beyond the end of the file"},
        {"moved row pointing back at its pointer",
         [](auto& f) {
             const std::size_t moved = rowStart(f, jettest::kShelfMovedRowPage, 0);
             patch(f, jettest::kShelfMovedRowPage, 14,
                   {static_cast<std::uint8_t>(moved),
                    static_cast<std::uint8_t>(0xC0 | (moved >> 8))});
             patch(f, jettest::kShelfMovedRowPage, moved, {2, jettest::kShelfDataPage, 0, 0});
         },
         Kind::Damaged, "lead nowhere"},
        {"usage map marking a page beyond the file",
         [](auto& f) { patch(f, jettest::kShelfLongValuePage, 4096 - 8 + 7, {0x80}); },
         Kind::Damaged, "beyond the end of the file"},
        {"memo chain looping back",
         [](auto& f) {
             patch(f, jettest::kShelfLongValuePage, rowStart(f, jettest::kShelfLongValuePage, 3),
                   {3, jettest::kShelfLongValuePage, 0, 0});
         },
         Kind::Damaged, "form a loop"},
        {"table definition continuing into itself",
         [](auto& f) {
             patch(f, jettest::kShelfDefinitionPage, 4, {jettest::kShelfDefinitionPage});
         },
         Kind::Damaged, "form a loop"},
        {"index leaf linking to itself",
         [](auto& f) { patch(f, jettest::kShelfIndexPage, 16, {jettest::kShelfIndexPage}); },
         Kind::Damaged, "form a loop"},
        {"file cut short", [](auto& f) { f.resize(f.size() - 100); }, Kind::NotJet4,
         "whole number of pages"},
        {"Jet 3 header", [](auto& f) { f[0x14] = 0; }, Kind::NotJet4, "not a Jet 4.0 file"},
    };
    for (const Damage& c : cases) {
        std::vector<std::uint8_t> file = shelfDatabase();
        c.apply(file);
        try {
            const jet::Database db = openBytes(file);
            allRows(db);
            lookUpCode(db, db.tables()[0], u"D4");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const jet::ReadError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.name;
            EXPECT_NE(std::string(error.what()).find(c.detail), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

// The index key encoding is right when every code the expected Book file holds is found
// through the index exactly as often as the file holds it, letter case aside.
TEST(FixtureIndexes, EveryCodeIsFoundAsOftenAsTheExpectedFileHoldsIt) {
    const QString folder = fixtureFolder();
    for (const QString& fixture : {QStringLiteral("shop-small"), QStringLiteral("shop-large")}) {
        QHash<QString, std::size_t> copies;
        const QStringList lines = expectedLines(folder, fixture, QStringLiteral("Book"));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QString code = lines[i].section(QLatin1Char('\t'), 1, 1);
            if (code != QStringLiteral("\\N")) {
                ++copies[code.toUpper()];
            }
        }
        ASSERT_GT(copies.size(), 250) << fixture.toStdString();
        const jet::Database db(
            jet::PageStore(jet::openFileReadOnly(fixturePath(folder, fixture).toStdString())));
        const jet::UserTable& book = db.tables()[1];
        ASSERT_EQ(book.name, u"Book");
        for (auto it = copies.cbegin(); it != copies.cend(); ++it) {
            const auto rows = lookUpCode(db, book, it.key().toStdU16String());
            ASSERT_TRUE(rows.has_value()) << it.key().toStdString();
            EXPECT_EQ(rows->size(), it.value()) << (fixture + u' ' + it.key()).toStdString();
        }
    }
}

} // namespace
