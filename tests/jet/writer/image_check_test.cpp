// The check before writing stands between every plan and the file: a fault put into a real
// plan on purpose (a wrong key, a wrong count, a row the statement does not name, an entry
// left behind, a usage map bit) is refused with a reason that names the structure, and the
// file stays byte for byte as it was.

#include "jet/reader/database.h"
#include "jet/reader/index_search.h"
#include "jet/writer/change_writer.h"
#include "jet/writer/data_page_editor.h"
#include "jet/writer/index_tree_page.h"
#include "jet/writer/write_error.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/jet_copy.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>

#include <functional>

namespace {

using jet::PageBuffer;
using jet::PlannedWrite;

const jet::UserTable& tableNamed(const jet::Database& database, std::u16string_view name) {
    for (const jet::UserTable& table : database.tables()) {
        if (table.name == name) {
            return table;
        }
    }
    throw std::runtime_error("no such table");
}

// The rows of table whose code is code, found through its index on BStrID.
std::vector<jet::RowLocation> rowsOf(const jet::Database& database, const jet::UserTable& table,
                                     std::u16string_view code) {
    for (const jet::IndexDefinition& index : table.definition.indexes) {
        if (jet::indexAnswersTextEquality(index, table.definition.columns[0]) ||
            jet::indexAnswersTextEquality(index, table.definition.columns[1])) {
            return jet::matchedRows(*jet::lookUpText(database.pages(), index, code));
        }
    }
    return {};
}

// The first page the plan writes that satisfies wanted.
PageBuffer& plannedPage(PlannedWrite& plan, const std::function<bool(const PageBuffer&)>& wanted) {
    for (auto& [number, page] : plan.pages) {
        if (wanted(page)) {
            return page;
        }
    }
    throw std::runtime_error("the plan writes no such page");
}

bool ofType(const PageBuffer& page, jet::PageType type) {
    return page[0] == static_cast<std::uint8_t>(type);
}

void addToU16(PageBuffer& page, std::size_t at, int delta) {
    jet::putLittleEndian(page, at, static_cast<std::uint16_t>(jet::u16At(page, at) + delta), 2);
}

struct Fault {
    const char* name;
    bool deletion; // the story's deletion, else the move of its copies
    std::function<void(PlannedWrite&, const jet::Database&)> apply;
    const char* reason; // part of the refusal; nullptr: no fault, the change is written
};

const Fault kFaults[] = {
    {"none", false, [](PlannedWrite&, const jet::Database&) {}, nullptr},
    {"wrong key", false,
     [](PlannedWrite& plan, const jet::Database&) {
         PageBuffer& leaf = plannedPage(
             plan, [](const PageBuffer& page) { return ofType(page, jet::PageType::IndexLeaf); });
         // The second byte of the first entry: its first character's code.
         leaf[0x1E0 + 1] ^= 0x02;
     },
     "index"},
    {"free space of a data page", false,
     [](PlannedWrite& plan, const jet::Database&) {
         addToU16(plannedPage(plan,
                              [](const PageBuffer& page) {
                                  return ofType(page, jet::PageType::Data) &&
                                         jet::u32At(page, 4) > 2;
                              }),
                  2, 1);
     },
     "free-space count does not match its rows"},
    {"row outside its slot", false,
     [](PlannedWrite& plan, const jet::Database&) {
         addToU16(plannedPage(plan,
                              [](const PageBuffer& page) {
                                  return ofType(page, jet::PageType::Data) &&
                                         jet::u32At(page, 4) > 2;
                              }),
                  jet::kDataPageHeader, 0x200);
     },
     "break the format's rules"},
    {"row count", true,
     [](PlannedWrite& plan, const jet::Database&) {
         addToU16(plannedPage(plan,
                              [](const PageBuffer& page) {
                                  return ofType(page, jet::PageType::TableDefinition);
                              }),
                  16, 1);
     },
     "row count"},
    {"a row the statement does not name", true,
     [](PlannedWrite& plan, const jet::Database&) {
         PageBuffer& page = plannedPage(plan, [](const PageBuffer& candidate) {
             return ofType(candidate, jet::PageType::Data) && jet::u32At(candidate, 4) > 2;
         });
         jet::DataPageEditor rows(page, 0);
         for (std::uint16_t row = 0; row < rows.rowCount(); ++row) {
             if ((rows.flags(static_cast<std::uint8_t>(row)) & jet::kRowDeleted) == 0) {
                 rows.setFlags(static_cast<std::uint8_t>(row), jet::kRowDeleted);
                 return;
             }
         }
     },
     "which the statement does not ask"},
    {"entry left behind", true,
     [](PlannedWrite& plan, const jet::Database& database) {
         for (auto page = plan.pages.begin(); page != plan.pages.end(); ++page) {
             if (ofType(page->second, jet::PageType::IndexLeaf)) {
                 page->second = *database.pages().page(page->first);
                 return;
             }
         }
     },
     "entry"},
    {"usage map", false,
     [](PlannedWrite& plan, const jet::Database& database) {
         // A page past those the change takes: the global map's bits from its 17th page on.
         PageBuffer& maps = plan.pages.try_emplace(1, *database.pages().page(1)).first->second;
         maps[jet::u16At(maps, jet::kDataPageHeader) + 5 + 2] ^= 0x01;
     },
     "usage map"},
};

class CheckBeforeWriting : public ::testing::TestWithParam<Fault> {};

TEST_P(CheckBeforeWriting, RefusesAFaultyPlanWithTheFileUntouched) {
    const QString folder = fixtureFolder();
    const Fault& fault = GetParam();
    const JetCopy copy(folder, QStringLiteral("shop-small"));
    const QByteArray before = copy.bytes();
    const auto file = jet::LockedFile::open(QFile::encodeName(copy.path()).toStdString(),
                                            std::chrono::seconds(1));
    const jet::Database database(jet::PageStore(file->reader()));
    const jet::UserTable& story = tableNamed(database, u"Story");
    const jet::UserTable& book = tableNamed(database, u"Book");
    const auto inject = [&](PlannedWrite& plan) { fault.apply(plan, database); };
    file->beginWrite();
    try {
        if (fault.deletion) {
            jet::writeDeletion(*file, database, {&story, rowsOf(database, story, u"NEW-0001")},
                               inject);
        } else {
            std::vector<jet::RowUpdate> updates;
            for (const jet::RowLocation row : rowsOf(database, book, u"C0036")) {
                updates.push_back({row, u"NEW-0001"});
            }
            jet::writeUpdate(*file, database, {&book, 1, updates}, inject);
        }
        EXPECT_EQ(fault.reason, nullptr) << "the faulty plan was written";
    } catch (const jet::WriteError& error) {
        ASSERT_NE(fault.reason, nullptr) << error.what();
        EXPECT_EQ(error.kind(), jet::WriteError::Kind::Unsupported);
        EXPECT_NE(error.detail().find("the check before writing found"), std::string::npos)
            << error.detail();
        EXPECT_NE(error.detail().find(fault.reason), std::string::npos) << error.detail();
    }
    file->endWrite();
    EXPECT_EQ(copy.bytes() == before, fault.reason != nullptr);
}

INSTANTIATE_TEST_SUITE_P(Faults, CheckBeforeWriting, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& param) {
                             std::string name = param.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
