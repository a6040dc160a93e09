// Demo stores: the same seed gives the same store, sizes and special counts are exact, and
// codes stay unique as the store compares them.

#include "tests/testkit/temp_store.h"
#include "tests/tools/store_rows.h"
#include "tools/demo_store/demo_words.h"
#include "tools/demo_store/store_builder.h"

#include "tests/testkit/gtest_qt.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using demostore::DemoRequest;
using demostore::SpecialStory;

constexpr const char* kPassword = "kd=73";

class DemoStores : public ::testing::Test {
protected:
    // A new store from the request, under a name of its own in the test's folder.
    QString build(const DemoRequest& request) {
        const QString path = dir_.filePath(QStringLiteral("store%1.mdb").arg(++made_));
        demostore::createDemoStore(path, kPassword, request);
        return path;
    }
    QString value(const QString& path, const QString& sql) const {
        return storeValue(path, kPassword, sql);
    }
    QTemporaryDir dir_;
    int made_ = 0;
};

QStringList storyRows(const QString& path) {
    return storeRows(path, kPassword,
                     QStringLiteral("SELECT BStrID, BStrName, Author, Category, AddedDate"
                                    " FROM Story ORDER BY BStrID"));
}

QByteArray contentDigest(const QString& path) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& row :
         storyRows(path) + storeRows(path, kPassword,
                                     QStringLiteral("SELECT BookID, BStrID, VolNo, Price,"
                                                    " Status FROM Book ORDER BY BookID"))) {
        hash.addData(row.toUtf8());
        hash.addData("\n");
    }
    return hash.result().toHex();
}

TEST_F(DemoStores, SameSeedSameStoreOtherSeedOtherStore) {
    DemoRequest request;
    request.stories = 300;
    request.copies = 4000;
    request.seed = 7;
    request.specials = {{"MOVE-10", 10, ""}};
    const QString first = build(request);
    const QString again = build(request);
    request.seed = 8;
    const QString other = build(request);

    EXPECT_EQ(contentDigest(first), contentDigest(again));
    EXPECT_NE(contentDigest(first), contentDigest(other));
    EXPECT_NE(storyRows(first), storyRows(other));
}

TEST_F(DemoStores, AddingASpecialStoryLeavesTheOrdinaryStoriesAsTheyWere) {
    DemoRequest request;
    request.stories = 200;
    request.copies = 1000;
    const QStringList plain = storyRows(build(request));
    request.specials = {{"ZZ-0001", 5, "เรื่องพิเศษ"}};
    QStringList withSpecial = storyRows(build(request));
    ASSERT_EQ(withSpecial.size(), plain.size() + 1);
    withSpecial.removeIf([](const QString& row) { return row.startsWith(u"ZZ-0001|"); });
    EXPECT_EQ(withSpecial, plain);
}

struct SizeCase {
    const char* name;
    std::int64_t stories;
    std::int64_t copies;
    std::vector<SpecialStory> specials;
    friend void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.name; }
};

class DemoSizes : public DemoStores, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(DemoSizes, CountsAreExactAndTheSchemaIsWhole) {
    const SizeCase& c = GetParam();
    DemoRequest request;
    request.stories = c.stories;
    request.copies = c.copies;
    request.specials = c.specials;
    const QString path = build(request);

    std::int64_t specialCopies = 0;
    for (const SpecialStory& special : c.specials) {
        specialCopies += special.copies;
        const QString code = sqlLiteral(QString::fromStdString(special.code));
        EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Book WHERE BStrID = " + code),
                  QString::number(special.copies))
            << special.code;
        if (!special.name.empty()) {
            EXPECT_EQ(value(path, "SELECT BStrName FROM Story WHERE BStrID = " + code),
                      QString::fromStdString(special.name));
        }
    }
    EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Story"),
              QString::number(c.stories + static_cast<std::int64_t>(c.specials.size())));
    EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Book"), QString::number(c.copies + specialCopies));
    EXPECT_EQ(
        value(path, "SELECT COUNT(*) FROM Book WHERE BStrID NOT IN (SELECT BStrID FROM Story)"),
        "0");
    EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Story WHERE LENGTH(BStrID) > 15"), "0");
    // The Book index is rebuilt after the load: it must be back, exactly as the schema has it.
    EXPECT_EQ(value(path, "SELECT sql FROM sqlite_master WHERE name = 'BookBStrID'"),
              "CREATE INDEX BookBStrID ON Book (BStrID)");
    EXPECT_EQ(value(path, "PRAGMA integrity_check"), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DemoSizes,
    ::testing::Values(SizeCase{"Nothing", 0, 0, {}}, SizeCase{"OneOfEach", 1, 1, {}},
                      SizeCase{"FewerCopiesThanStories", 50, 10, {}},
                      SizeCase{"OnlySpecials", 0, 0, {{"KH-0001", 40, ""}, {"A1", 0, ""}}},
                      SizeCase{"WithSpecials",
                               200,
                               3000,
                               {{"KH-0001", 400, ""},
                                {"MOVE-10", 10, "ย้ายมาแล้วๆ"},
                                {"ZERO-1", 0, ""},
                                {"เรื่องยาวสิบห้า", 3, ""}}},
                      // The largest story count: 100,000 codes, none longer than 15.
                      SizeCase{"MostStories", 100'000, 0, {}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(DemoStores, GeneratedCodesYieldToASpecialCodeInAnyLetterCase) {
    DemoRequest request;
    request.stories = 100;
    request.copies = 500;
    const QString plain = build(request);
    const QString taken =
        value(plain, "SELECT BStrID FROM Story WHERE BStrID GLOB 'TH-*' ORDER BY BStrID");
    ASSERT_FALSE(taken.isEmpty());

    request.specials = {{taken.toLower().toStdString(), 3, ""}};
    const QString path = build(request); // a clash would break the Story key and fail here
    EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Story"), "101");
    EXPECT_EQ(value(path, "SELECT BStrID FROM Story WHERE BStrID = " + sqlLiteral(taken)),
              taken.toLower());
    EXPECT_EQ(value(path, "SELECT COUNT(*) FROM Book WHERE BStrID = " + sqlLiteral(taken)), "3");
}

// Each feature of a rental shop's titles must turn up among a few thousand of them.
TEST(DemoTitles, CoverThaiScriptFeaturesAndLatin) {
    demostore::SplitMix64 rng(42);
    QStringList titles;
    for (int i = 0; i < 3000; ++i) {
        titles << QString::fromStdString(demostore::makeTitle(rng));
        EXPECT_LE(titles.back().size(), 255);
    }
    // Leading vowels, tone marks, the repetition mark, Thai digits; Latin only; both scripts.
    const char* patterns[] = {"เ",
                              "แ",
                              "โ",
                              "ใ",
                              "ไ",
                              "\\x{0E48}",
                              "\\x{0E49}",
                              "\\x{0E4A}",
                              "\\x{0E4B}",
                              "ๆ",
                              "[๐-๙]",
                              "^[^\\x{0E00}-\\x{0E7F}]*$",
                              "[A-Za-z].*[ก-ฮ]|[ก-ฮ].*[A-Za-z]"};
    for (const char* pattern : patterns) {
        EXPECT_FALSE(titles.filter(QRegularExpression(QString::fromUtf8(pattern))).isEmpty())
            << pattern;
    }
}

} // namespace
