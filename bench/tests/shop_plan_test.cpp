// The stores the figures come from: sizes as promised, the special stories each
// measurement relies on, and a baseline copy that holds exactly the same rows.

#include "bench/bench_stores.h"
#include "bench/plain_sqlite.h"
#include "bench/shop_sizes.h"
#include "textrules/sqlite_text_functions.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>

namespace {

struct SizeCase {
    const char* label;
    std::int64_t stories;
    std::int64_t copies;
    std::int64_t enterMany;
    std::int64_t largestMove;
};

class ShopPlan : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ShopPlan, SpecialStoriesFitInsideTheSizesTotals) {
    const SizeCase& c = GetParam();
    const auto sizes = bench::shopSizes(7);
    const auto size = std::find_if(sizes.begin(), sizes.end(),
                                   [&](const bench::ShopSize& s) { return s.label == c.label; });
    ASSERT_NE(size, sizes.end());
    EXPECT_EQ(size->stories, c.stories);
    EXPECT_EQ(size->copies, c.copies);
    EXPECT_EQ(size->codes.enterManyCopies, c.enterMany);
    EXPECT_EQ(size->codes.moves.back().copies, c.largestMove);

    const demostore::DemoRequest request = size->demoRequest();
    EXPECT_NO_THROW(demostore::checkDemoRequest(request));
    const std::int64_t specialCopies =
        std::accumulate(request.specials.begin(), request.specials.end(), std::int64_t{0},
                        [](std::int64_t sum, const auto& s) { return sum + s.copies; });
    EXPECT_EQ(request.stories + static_cast<std::int64_t>(request.specials.size()), c.stories);
    EXPECT_EQ(request.copies + specialCopies, c.copies);
    EXPECT_EQ(request.seed, 7u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShopPlan,
                         ::testing::Values(SizeCase{"S", 1'000, 10'000, 2'500, 2'500},
                                           SizeCase{"M", 10'000, 100'000, 25'000, 25'000},
                                           SizeCase{"L", 100'000, 1'000'000, 40'000, 100'000}));

TEST(ShopPlan, StoreKeyChangesWithEveryInputOfTheRows) {
    const std::string key = bench::shopSize("S", 100, 4'000, 1).storeKey();
    EXPECT_NE(key, bench::shopSize("S", 101, 4'000, 1).storeKey());
    EXPECT_NE(key, bench::shopSize("S", 100, 4'001, 1).storeKey());
    EXPECT_NE(key, bench::shopSize("S", 100, 4'000, 2).storeKey());
}

class PreparedShop : public ::testing::Test {
protected:
    QTemporaryDir cache;
    QTemporaryDir work;
    const bench::ShopSize size = bench::shopSize("T", 120, 6'000, 3);
};

TEST_F(PreparedShop, PlainCopyHoldsTheSameRowsWithoutOurTextRules) {
    const bench::ShopFiles shop = bench::prepareShop(size, cache.path(), work.path());
    EXPECT_EQ(QFileInfo(shop.store).fileName(), "book.mdb");
    EXPECT_EQ(QFileInfo(shop.store).absolutePath(), QFileInfo(shop.folder).absoluteFilePath());

    bench::PlainConnection plain(shop.plainStore, bench::PlainConnection::Existing);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM sqlite_master WHERE sql LIKE "
                                  "'%JETTEXT%'"),
              0);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' "
                                  "AND name = 'BookBStrID'"),
              1);
    // Keys are unique in both tables, so equal counts and nothing in one that is not in the
    // other mean the same rows. Reading the store by its index needs our collation.
    ASSERT_EQ(textrules::registerTextFunctions(plain.handle()), 0);
    plain.execute(QStringLiteral("ATTACH DATABASE '%1' AS ours").arg(shop.store));
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM (SELECT * FROM Story EXCEPT "
                                  "SELECT * FROM ours.Story)"),
              0);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM (SELECT * FROM Book EXCEPT "
                                  "SELECT * FROM ours.Book)"),
              0);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM Book"), 6'000);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM ours.Book"), 6'000);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM Story"), 120);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM ours.Story"), 120);
}

TEST_F(PreparedShop, CacheIsReusedAndTheRunWorksOnFreshCopies) {
    const bench::ShopFiles first = bench::prepareShop(size, cache.path(), work.path());
    const QDateTime made =
        QFileInfo(cache.filePath(QString::fromStdString(size.storeKey()) + ".mdb")).lastModified();
    {
        // A run cut short in the middle of a move leaves its working copy changed.
        bench::PlainConnection plain(first.plainStore, bench::PlainConnection::Existing);
        plain.execute("UPDATE Book SET BStrID = 'BT-10' WHERE BStrID = 'BM-10'");
    }
    const bench::ShopFiles second = bench::prepareShop(size, cache.path(), work.path());
    EXPECT_EQ(
        QFileInfo(cache.filePath(QString::fromStdString(size.storeKey()) + ".mdb")).lastModified(),
        made);
    bench::PlainConnection plain(second.plainStore, bench::PlainConnection::Existing);
    EXPECT_EQ(plain.singleInteger("SELECT COUNT(*) FROM Book WHERE BStrID = 'BM-10'"), 10);
}

} // namespace
