// The story search: the query alone through the data layer, and the dialog filling its
// list from it, for a fragment that about one story in a hundred holds and for no fragment
// at all (every story).

#include "bench/shop_benchmarks.h"

#include "bench/plain_sqlite.h"
#include "bench/window_drivers.h"
#include "story_search/story_name_query.h"
#include "support/database_access.h"

#include <QString>

#include <cstdio>

namespace bench {
namespace {

struct Fragment {
    QString text;
    std::string label;
    bool targeted; // the L targets apply
    double limit;
};

// "ภาค ๓", volume three of a series: about 1% of the demo titles at every size.
const QString kOnePercent = QString::fromUtf8("ภาค ๓");

void queryThroughDataLayer(benchmark::State& state, const ShopFiles& shop, const QString& sql,
                           std::int64_t expected) {
    Library1::DatabaseAccess database;
    database.InitDatabase(shop.store);
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        // Read as the dialog reads it: both fields of every row, as text.
        const auto rs = database.OpenRecordset(sql, true);
        while (!rs->Eof()) {
            benchmark::DoNotOptimize(rs->Fields(QStringLiteral("BStrID")).Value.toString());
            benchmark::DoNotOptimize(rs->Fields(QStringLiteral("BStrName")).Value.toString());
            rs->MoveNext();
            ++rows;
        }
        rs->Close();
    }
    if (rows != expected) {
        state.SkipWithError("the data layer found another number of stories");
    }
}

void fillList(benchmark::State& state, const ShopFiles& shop, const QString& fragment,
              std::int64_t expected) {
    SearchDialogDriver dialog(shop.store);
    for (auto _ : state) {
        state.PauseTiming();
        dialog.clearList();
        state.ResumeTiming();
        dialog.search(fragment);
    }
    if (dialog.messages() != 0 || dialog.listed() != expected) {
        state.SkipWithError("the list shows another number of stories");
    }
}

void registerFragment(const ShopFiles& shop, ResultsTable& table, const Fragment& fragment) {
    const QString sql = StoryNameSearchSql(fragment.text);
    const std::int64_t expected = [&] {
        PlainConnection db(shop.plainStore, PlainConnection::Existing);
        return db.readAll(sql);
    }();
    const std::string what = "search/" + fragment.label;
    const std::string query = benchmarkName(shop, what + "/query", "ours");
    const std::string fill = benchmarkName(shop, what + "/fill list", "ours");
    const std::string baseline = benchmarkName(shop, what, "baseline");
    withRepetitions(
        benchmark::RegisterBenchmark(query.c_str(), [shop, sql, expected](benchmark::State& state) {
            queryThroughDataLayer(state, shop, sql, expected);
        }));
    withRepetitions(benchmark::RegisterBenchmark(
        fill.c_str(), [shop, text = fragment.text, expected](benchmark::State& state) {
            fillList(state, shop, text, expected);
        }));
    withRepetitions(
        benchmark::RegisterBenchmark(baseline.c_str(), [shop, sql](benchmark::State& state) {
            PlainConnection db(shop.plainStore, PlainConnection::Existing);
            for (auto _ : state) {
                benchmark::DoNotOptimize(db.readAll(sql));
            }
        }));
    const std::string rows = " (" + std::to_string(expected) + " rows)";
    table.add({shop.size.label, "Search " + fragment.label + rows + ", query", query, baseline,
               Unit::Milliseconds, std::nullopt, std::nullopt});
    const bool targeted = fragment.targeted && shop.size.label == "L";
    table.add({shop.size.label, "Search " + fragment.label + rows + ", list filled", fill, baseline,
               Unit::Milliseconds, targeted ? std::optional<double>(fragment.limit) : std::nullopt,
               std::nullopt});
}

} // namespace

void registerSearchBenchmarks(const ShopFiles& shop, ResultsTable& table) {
    registerFragment(shop, table, {kOnePercent, "1%", true, 100});
    registerFragment(shop, table, {QString(), "all", true, 1500});
}

} // namespace bench
