// The drivers must really work the windows: a benchmark whose Enter never reached the
// lookup, or whose search never filled the list, would time nothing and still look fast.

#include "bench/bench_stores.h"
#include "bench/window_drivers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit()) {
            digits += c;
        }
    }
    return digits;
}

class Drivers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dirs_ = std::make_unique<QTemporaryDir>();
        shop_ = std::make_unique<bench::ShopFiles>(bench::prepareShop(
            bench::shopSize("T", 120, 6'000, 5), dirs_->filePath("cache"), dirs_->filePath("run")));
    }
    static void TearDownTestSuite() {
        shop_.reset();
        dirs_.reset();
    }
    static const bench::ShopFiles& shop() { return *shop_; }

private:
    static std::unique_ptr<QTemporaryDir> dirs_;
    static std::unique_ptr<bench::ShopFiles> shop_;
};

std::unique_ptr<QTemporaryDir> Drivers::dirs_;
std::unique_ptr<bench::ShopFiles> Drivers::shop_;

TEST_F(Drivers, EnterShowsEachCodesStoryAndCountEveryTime) {
    bench::MainWindowDriver window(shop().folder);
    const bench::ShopCodes& codes = shop().size.codes;
    const std::pair<std::string, std::int64_t> cases[] = {
        {codes.enterFew, codes.enterFewCopies},
        {codes.enterMany, codes.enterManyCopies},
        {codes.enterFew, codes.enterFewCopies}, // the same code again, as iterations do
    };
    for (const auto& [code, copies] : cases) {
        window.typeOldCode(QString::fromStdString(code));
        window.pressEnter();
        EXPECT_FALSE(window.shownName().isEmpty()) << code;
        EXPECT_EQ(digitsOf(window.shownCount()), QString::number(copies)) << code;
    }
    EXPECT_EQ(window.messages(), 0);
}

TEST_F(Drivers, EnterOnAnUnknownCodeShowsNothing) {
    bench::MainWindowDriver window(shop().folder);
    window.typeOldCode(QString::fromStdString(shop().size.codes.enterMany));
    window.pressEnter();
    window.typeOldCode(QStringLiteral("NO-SUCH-CODE"));
    window.pressEnter();
    EXPECT_EQ(window.shownName(), "");
    EXPECT_EQ(window.shownCount(), "");
}

TEST_F(Drivers, SearchFillsTheListAndClearingEmptiesIt) {
    bench::SearchDialogDriver dialog(shop().store);
    dialog.search(QString());
    EXPECT_EQ(dialog.listed(), 120);
    dialog.clearList();
    EXPECT_EQ(dialog.listed(), 0);
    dialog.search(QStringLiteral("no title holds this"));
    EXPECT_EQ(dialog.listed(), 0);
    dialog.search(QStringLiteral("  "));
    EXPECT_EQ(dialog.listed(), 120);
    EXPECT_EQ(dialog.messages(), 0);
}

TEST_F(Drivers, AFailureIsCountedNotShown) {
    bench::SearchDialogDriver dialog(shop().folder + QStringLiteral("/missing.mdb"));
    dialog.search(QString());
    EXPECT_EQ(dialog.listed(), 0);
    EXPECT_EQ(dialog.messages(), 1);
}

} // namespace
