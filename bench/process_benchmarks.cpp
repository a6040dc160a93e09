// Measurements that need a process of their own: start-up to the main window shown (off
// screen, and on an X server where one runs), and peak memory after a search that lists
// every story.

#include "bench/shop_benchmarks.h"

#include "bench/child_process.h"

#include <sstream>

namespace bench {
namespace {

constexpr const char* kAppToShownCounter = "app_to_shown_ms";

// Starts the program until its first window is shown, once per iteration. The iteration
// time is from just before the program was started to the window shown and painted.
void startUp(benchmark::State& state, const std::string& program, const QString& hook,
             Environment environment) {
    environment.emplace_back("LD_PRELOAD", hook.toStdString());
    double appToShownMs = 0;
    for (auto _ : state) {
        const ChildReport report = runReporting(program, {}, environment);
        std::istringstream times(report.line);
        long long created = 0;
        long long shown = 0;
        if (!(times >> created >> shown) || report.exitStatus != 0) {
            state.SkipWithError("the program did not report its window shown");
            return;
        }
        state.SetIterationTime(static_cast<double>(shown - report.startedNs) / 1e9);
        appToShownMs += static_cast<double>(shown - created) / 1e6;
    }
    state.counters[kAppToShownCounter] =
        benchmark::Counter(appToShownMs, benchmark::Counter::kAvgIterations);
}

void peakMemory(benchmark::State& state, const HelperPrograms& programs, const char* mode,
                const QString& store, std::int64_t expectedRows) {
    double peakMb = 0;
    for (auto _ : state) {
        const ChildReport report =
            runReporting(programs.memoryProbe.toStdString(), {mode, store.toStdString(), ""}, {});
        state.SetIterationTime(static_cast<double>(monotonicNs() - report.startedNs) / 1e9);
        std::istringstream figures(report.line);
        long long rows = 0;
        long long peakKb = 0;
        if (!(figures >> rows >> peakKb) || report.exitStatus != 0 || rows != expectedRows) {
            state.SkipWithError("the probe did not list every story");
            return;
        }
        peakMb += static_cast<double>(peakKb) / 1024.0;
    }
    state.counters[kPeakMemoryCounter] =
        benchmark::Counter(peakMb, benchmark::Counter::kAvgIterations);
}

} // namespace

void registerProcessBenchmarks(const ShopFiles& shop, const HelperPrograms& programs,
                               const std::vector<Screen>& screens, ResultsTable& table) {
    const std::string tool = toolBesideStore(shop, programs.toolProgram);
    for (const Screen& screen : screens) {
        // Off screen keeps the names the measurement has always had.
        const std::string where = screen.label == "off screen" ? "" : " (" + screen.label + ")";
        const std::string ours = benchmarkName(shop, "start-up" + where, "ours");
        const std::string baseline = benchmarkName(shop, "start-up" + where, "baseline");
        oncePerRepetition(
            benchmark::RegisterBenchmark(
                ours.c_str(),
                [tool, hook = programs.startupHook, environment = screen.environment](
                    benchmark::State& state) { startUp(state, tool, hook, environment); }),
            7);
        oncePerRepetition(
            benchmark::RegisterBenchmark(
                baseline.c_str(),
                [program = programs.bareWindow.toStdString(), hook = programs.startupHook,
                 environment = screen.environment](benchmark::State& state) {
                    startUp(state, program, hook, environment);
                }),
            7);
        table.add({shop.size.label, "Start-up, exec to main window shown, " + screen.label, ours,
                   baseline, Unit::Milliseconds, 500.0, std::nullopt});
        table.add({shop.size.label, "Start-up, QApplication to shown (in-process), " + screen.label,
                   ours + "#" + kAppToShownCounter, baseline + "#" + kAppToShownCounter,
                   Unit::Milliseconds, std::nullopt, std::nullopt});
    }

    const std::string memory = benchmarkName(shop, "peak memory", "ours");
    const std::string memoryBaseline = benchmarkName(shop, "peak memory", "baseline");
    const std::int64_t stories = shop.size.stories;
    oncePerRepetition(benchmark::RegisterBenchmark(
                          memory.c_str(),
                          [programs, store = shop.store, stories](benchmark::State& state) {
                              peakMemory(state, programs, "ours", store, stories);
                          }),
                      3);
    oncePerRepetition(benchmark::RegisterBenchmark(
                          memoryBaseline.c_str(),
                          [programs, store = shop.plainStore, stories](benchmark::State& state) {
                              peakMemory(state, programs, "plain", store, stories);
                          }),
                      3);
    table.add({shop.size.label,
               "Peak memory, search listing all " + std::to_string(stories) + " stories",
               memory + "#" + kPeakMemoryCounter, memoryBaseline + "#" + kPeakMemoryCounter,
               Unit::Megabytes, shop.size.label == "L" ? std::optional<double>(150) : std::nullopt,
               std::nullopt});
}

} // namespace bench
