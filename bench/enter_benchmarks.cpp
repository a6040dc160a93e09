// One Enter in the old-code box on a found code: the Enter rule looks the trimmed code up
// (story, then its copy count), the focus moves on, and the leave rule looks it up again.

#include "bench/shop_benchmarks.h"

#include "bench/plain_sqlite.h"
#include "bench/window_drivers.h"
#include "support/database_access.h"

#include <QString>

namespace bench {
namespace {

// The window's two statements, character for character.
QString storySql(const QString& code) {
    return QStringLiteral("SELECT * FROM Story Where BStrID = ") + Library1::SqlLiteral(code) +
           QStringLiteral(" ");
}

QString countSql(const QString& code) {
    return QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = ") +
           Library1::SqlLiteral(code) + QStringLiteral(" ");
}

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit()) {
            digits += c;
        }
    }
    return digits;
}

void enterInWindow(benchmark::State& state, const ShopFiles& shop, const QString& code,
                   std::int64_t copies) {
    MainWindowDriver window(shop.folder);
    for (auto _ : state) {
        state.PauseTiming();
        window.typeOldCode(code);
        state.ResumeTiming();
        window.pressEnter();
    }
    if (window.messages() != 0 || window.shownName().isEmpty() ||
        digitsOf(window.shownCount()) != QString::number(copies)) {
        state.SkipWithError("the window did not show the story and its copy count");
    }
}

void enterBaseline(benchmark::State& state, const ShopFiles& shop, const QString& code,
                   std::int64_t copies) {
    PlainConnection db(shop.plainStore, PlainConnection::Existing);
    const QString story = storySql(code);
    const QString count = countSql(code);
    for (auto _ : state) {
        for (int lookup = 0; lookup < 2; ++lookup) {
            benchmark::DoNotOptimize(db.readAll(story));
            benchmark::DoNotOptimize(db.readAll(count));
        }
    }
    if (db.singleInteger(count) != copies) {
        state.SkipWithError("the baseline counted a different number of copies");
    }
}

void registerEnter(const ShopFiles& shop, ResultsTable& table, const std::string& code,
                   std::int64_t copies, std::optional<double> limit) {
    const std::string ours = benchmarkName(shop, "enter/" + std::to_string(copies), "ours");
    const std::string baseline = benchmarkName(shop, "enter/" + std::to_string(copies), "baseline");
    const QString qcode = QString::fromStdString(code);
    withRepetitions(
        benchmark::RegisterBenchmark(ours.c_str(), [shop, qcode, copies](benchmark::State& state) {
            enterInWindow(state, shop, qcode, copies);
        }));
    withRepetitions(benchmark::RegisterBenchmark(baseline.c_str(),
                                                 [shop, qcode, copies](benchmark::State& state) {
                                                     enterBaseline(state, shop, qcode, copies);
                                                 }));
    std::string what = "Enter, code with " + std::to_string(copies) + " copies";
    if (copies > shop.size.codes.enterFewCopies && copies < kBestSellerCopies) {
        what += " (" + std::to_string(kBestSellerCopies) + " do not fit)";
    }
    table.add({shop.size.label, what, ours, baseline, Unit::Milliseconds, limit, std::nullopt});
}

} // namespace

void registerEnterBenchmarks(const ShopFiles& shop, ResultsTable& table) {
    const ShopCodes& codes = shop.size.codes;
    const bool large = measuredAgainstTargets(shop.size);
    const std::optional<double> limit = large ? std::optional<double>(5.0) : std::nullopt;
    registerEnter(shop, table, codes.enterFew, codes.enterFewCopies, limit);
    registerEnter(shop, table, codes.enterMany, codes.enterManyCopies, limit);
}

} // namespace bench
