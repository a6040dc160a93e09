#pragma once

#include "bench/bench_stores.h"
#include "bench/results_table.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Where the helper programs of the process measurements were built.
struct HelperPrograms {
    QString toolProgram;  // the tool itself
    QString bareWindow;   // a Qt window with nothing in it, the start-up baseline
    QString startupHook;  // preloaded into either to report when its window is shown
    QString memoryProbe;  // one search in a process of its own, reporting peak memory
    QString operatorHook; // preloaded into the tool to press its keys and time them
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Where a program of its own shows its windows: Qt's off-screen platform, and a real X
// server (Xvfb) where one could be started.
struct Screen {
    std::string label; // "off screen", "X server"
    Environment environment;
};

// The tool finds book.mdb in its own folder, so it runs from a copy beside the store.
std::string toolBesideStore(const ShopFiles& shop, const QString& toolProgram);

// "L/enter/10/ours": size, measurement, variant ("ours" or "baseline").
std::string benchmarkName(const ShopFiles& shop, const std::string& what, const char* variant);

// What every measurement shares: milliseconds of wall time, medians of a few repetitions,
// each repetition as many iterations as fill a third of a second.
benchmark::internal::Benchmark* withRepetitions(benchmark::internal::Benchmark* benchmark);
// One iteration a repetition, timed by the benchmark itself (a whole program's run).
benchmark::internal::Benchmark* oncePerRepetition(benchmark::internal::Benchmark* benchmark,
                                                  int repetitions);

struct JetShop;

// The large shop and the shop's own Jet file are held to the targets; smaller shops are
// measured for comparison only.
inline bool measuredAgainstTargets(const ShopSize& size) {
    return size.label == "L" || size.label == "Jet";
}

void registerEnterBenchmarks(const ShopFiles& shop, ResultsTable& table);
// The change on the Jet file, each time from the file as it was; gives its benchmark's name.
std::string registerJetChangeBenchmark(const JetShop& shop, ResultsTable& table);
void registerChangeBenchmarks(const ShopFiles& shop, ResultsTable& table);
void registerSearchBenchmarks(const ShopFiles& shop, ResultsTable& table);
void registerProcessBenchmarks(const ShopFiles& shop, const HelperPrograms& programs,
                               const std::vector<Screen>& screens, ResultsTable& table);
// The real program in a process of its own, driven as the operator drives it on the last
// of the screens: Enter, and (with searches) the story search and the peak memory.
void registerOperatorBenchmarks(const ShopFiles& shop, const HelperPrograms& programs,
                                const Screen& screen, bool searches, ResultsTable& table);

} // namespace bench
