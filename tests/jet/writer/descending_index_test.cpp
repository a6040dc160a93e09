// Indexes whose first column sorts descending, single- and multi-column, made on copies of the
// writer fixtures: the tool's statements on one copy and the checker's library on another give
// the same tables, and the checker finds every index of ours sound. A key written in ascending
// form into such an index leaves entries that match no row.

#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/descending_index.h"
#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"
#include "tests/testkit/shared_material.h"

#include "tests/testkit/gtest_qt.h"

#include <array>

namespace {

struct Descending {
    std::u16string table;
    std::vector<std::u16string> columns;
    std::size_t keptBytes; // of the columns after the first
};

struct Step {
    const char* sql;
    std::array<const char*, 4> change; // table, column, old, new ("-" deletes)
};

struct DescendingCase {
    const char* fixture;
    std::vector<Descending> indexes;
    std::vector<Step> steps;
};

const DescendingCase kCases[] = {
    // Keys worked out, and a Thai key copied from the ascending Story index and inverted.
    {"writer/shop-codes",
     {{u"Book", {u"BStrID"}, 0}},
     {{"UPDATE BOOK SET BStrID = 'NEW-0001' WHERE BStrID = 'A0003'",
       {"Book", "BStrID", "A0003", "NEW-0001"}},
      {"UPDATE BOOK SET BStrID = 'ขายหัวเราะ' WHERE BStrID = 'A0006'",
       {"Book", "BStrID", "A0006", "ขายหัวเราะ"}},
      {"DELETE FROM Story WHERE BStrID = 'A0003'", {"Story", "BStrID", "A0003", "-"}}}},
    // A Thai key copied from a descending index into an ascending one; a story deleted from
    // a descending primary key.
    {"writer/shop-codes",
     {{u"Story", {u"BStrID"}, 0}},
     {{"UPDATE BOOK SET BStrID = 'ก' WHERE BStrID = 'A0009'", {"Book", "BStrID", "A0009", "ก"}},
      {"DELETE FROM Story WHERE BStrID = 'ก'", {"Story", "BStrID", "ก", "-"}},
      {"DELETE FROM Story WHERE BStrID = 'A0009'", {"Story", "BStrID", "A0009", "-"}}}},
    // Multi-page trees: the code descending alone, and descending before an ascending volume
    // number in a unique index.
    {"writer/shop-multicol",
     {{u"Book", {u"BStrID"}, 0}, {u"Book", {u"BStrID", u"VolNo"}, 3}},
     {{"UPDATE BOOK SET BStrID = 'NEW-0001' WHERE BStrID = 'C0036'",
       {"Book", "BStrID", "C0036", "NEW-0001"}},
      {"DELETE FROM Story WHERE BStrID = 'C0036'", {"Story", "BStrID", "C0036", "-"}}}},
};

QString dump(const QString& path, const QString& table) {
    const auto run = runOracle({QStringLiteral("dump"), path, table, QStringLiteral("kd=73")});
    return run && run->status == 0 ? run->output : QStringLiteral("<dump failed>");
}

class DescendingIndexes : public ::testing::TestWithParam<DescendingCase> {};

TEST_P(DescendingIndexes, ChangeAsTheCheckersLibraryDoes) {
    REQUIRE_SHARED_MATERIAL("the independent checker of Jet files");
    const QString folder = fixtureFolder();
    const DescendingCase& test = GetParam();
    const JetCopy ours(folder, QString::fromUtf8(test.fixture));
    const JetCopy theirs(folder, QString::fromUtf8(test.fixture));
    for (const JetCopy* copy : {&ours, &theirs}) {
        for (const Descending& index : test.indexes) {
            ASSERT_EQ(makeFirstColumnDescending(copy->path(), index.table, index.columns,
                                                index.keptBytes),
                      "");
        }
    }
    const auto made = runJetOracle(ours.path());
    ASSERT_TRUE(made->sound) << "the descending copy itself: " << made->output.toStdString();
    for (const Step& step : test.steps) {
        ASSERT_EQ(ours.execute(QString::fromUtf8(step.sql)), "") << step.sql;
        QStringList arguments{QStringLiteral("change"), theirs.path()};
        for (const char* operand : step.change) {
            arguments << QString::fromUtf8(operand);
        }
        const auto checker = runOracle(arguments);
        ASSERT_EQ(checker->status, 0) << checker->output.toStdString();
        for (const QString& table : {QStringLiteral("Book"), QStringLiteral("Story")}) {
            EXPECT_EQ(dump(ours.path(), table), dump(theirs.path(), table)) << step.sql;
        }
        const auto verdict = runJetOracle(ours.path());
        ASSERT_TRUE(verdict->sound) << step.sql << "\n" << verdict->output.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(WriterFixtures, DescendingIndexes, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DescendingCase>& param) {
                             return QString::fromUtf8(param.param.fixture)
                                        .section(QLatin1Char('/'), -1)
                                        .remove(QLatin1Char('-'))
                                        .toStdString() +
                                    "_" + std::to_string(param.index);
                         });

} // namespace
