// What the operator waits for, in the real program: a fresh process for every repetition,
// driven by the operator hook, each key timed from the press until the window is idle again
// with its repaint done. Enter in the old-code box (40 presses, the median counts), the
// story search listing its rows, and the program's peak memory after listing every story.

#include "bench/shop_benchmarks.h"

#include "bench/child_process.h"
#include "bench/plain_sqlite.h"
#include "story_search/story_name_query.h"

#include <algorithm>
#include <sstream>

namespace bench {
namespace {

constexpr const char* kFirstPressCounter = "first_press_ms";
constexpr int kRepetitions = 3; // processes per measurement

struct Operation {
    const char* mode; // BENCH_OPERATOR: "enter" or "search"
    QString text;     // the code or the fragment
    int presses;
    std::int64_t shown; // what the window must show: the copy count, the rows listed
};

struct Program {
    std::string tool;
    std::string hook;
    Environment screen;
};

void operate(benchmark::State& state, const Program& program, const Operation& operation) {
    Environment environment = program.screen;
    environment.emplace_back("LD_PRELOAD", program.hook);
    environment.emplace_back("BENCH_OPERATOR", operation.mode);
    environment.emplace_back("BENCH_OPERATOR_TEXT", operation.text.toStdString());
    environment.emplace_back("BENCH_OPERATOR_PRESSES", std::to_string(operation.presses));
    double peakMb = 0;
    double firstMs = 0;
    for (auto _ : state) {
        const ChildReport report = runReporting(program.tool, {}, environment);
        std::istringstream figures(report.line);
        std::string shown;
        long long peakKb = 0;
        std::vector<double> times;
        figures >> shown >> peakKb;
        for (long long ns = 0; figures >> ns;) {
            times.push_back(static_cast<double>(ns) / 1e9);
        }
        if (report.exitStatus != 0 || shown != std::to_string(operation.shown) ||
            static_cast<int>(times.size()) != operation.presses) {
            state.SkipWithError(
                ("the program did not show what it should: " + report.line).c_str());
            return;
        }
        firstMs += times.front() * 1e3;
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        state.SetIterationTime(times[times.size() / 2]);
        peakMb += static_cast<double>(peakKb) / 1024.0;
    }
    state.counters[kPeakMemoryCounter] =
        benchmark::Counter(peakMb, benchmark::Counter::kAvgIterations);
    state.counters[kFirstPressCounter] =
        benchmark::Counter(firstMs, benchmark::Counter::kAvgIterations);
}

std::string registerOperation(const ShopFiles& shop, const Program& program,
                              const std::string& what, const Operation& operation) {
    const std::string name = benchmarkName(shop, what, "real program");
    oncePerRepetition(benchmark::RegisterBenchmark(name.c_str(),
                                                   [program, operation](benchmark::State& state) {
                                                       operate(state, program, operation);
                                                   }),
                      kRepetitions);
    return name;
}

std::optional<double> targetFor(const ShopFiles& shop, double limit) {
    return measuredAgainstTargets(shop.size) ? std::optional<double>(limit) : std::nullopt;
}

} // namespace

void registerOperatorBenchmarks(const ShopFiles& shop, const HelperPrograms& programs,
                                const Screen& screen, bool searches, ResultsTable& table) {
    const Program program{toolBesideStore(shop, programs.toolProgram),
                          programs.operatorHook.toStdString(), screen.environment};
    const std::string where = " (real program, " + screen.label + ")";
    const ShopCodes& codes = shop.size.codes;
    struct Enter {
        std::string code;
        std::int64_t copies;
        double limit; // a handful of copies in under a millisecond, a best seller in five
    };
    const Enter enters[] = {{codes.enterFew, codes.enterFewCopies, 1.0},
                            {codes.enterMany, codes.enterManyCopies, 5.0}};
    for (const auto& [code, copies, limit] : enters) {
        const std::string what = "enter/" + std::to_string(copies);
        const std::string ours = registerOperation(
            shop, program, what, {"enter", QString::fromStdString(code), 40, copies});
        table.add({shop.size.label,
                   "Enter, code with " + std::to_string(copies) + " copies" + where, ours,
                   benchmarkName(shop, what, "baseline"), Unit::Milliseconds,
                   targetFor(shop, limit), std::nullopt});
    }
    if (!searches) {
        return;
    }
    struct Fragment {
        QString text;
        std::string label;
        int presses;
        double limit;
    };
    // "ภาค ๓", as the in-process search measures it, and every story.
    const Fragment fragments[] = {{QString::fromUtf8("ภาค ๓"), "1%", 10, 100},
                                  {QString(), "all", 5, 1500}};
    std::string listedAll;
    for (const Fragment& fragment : fragments) {
        const std::int64_t rows = [&] {
            PlainConnection db(shop.plainStore, PlainConnection::Existing);
            return db.readAll(StoryNameSearchSql(fragment.text));
        }();
        const std::string what = "search/" + fragment.label;
        const std::string ours = registerOperation(
            shop, program, what, {"search", fragment.text, fragment.presses, rows});
        table.add({shop.size.label,
                   "Search " + fragment.label + " (" + std::to_string(rows) + " rows)" + where,
                   ours, benchmarkName(shop, what, "baseline"), Unit::Milliseconds,
                   shop.size.label == "L" ? std::optional<double>(fragment.limit) : std::nullopt,
                   std::nullopt});
        listedAll = ours;
    }
    table.add({shop.size.label,
               "Peak memory, listing all " + std::to_string(shop.size.stories) + " stories" + where,
               listedAll + "#" + kPeakMemoryCounter,
               benchmarkName(shop, "peak memory", "baseline") + "#" + kPeakMemoryCounter,
               Unit::Megabytes, shop.size.label == "L" ? std::optional<double>(150) : std::nullopt,
               std::nullopt});
}

} // namespace bench
