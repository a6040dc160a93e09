#include "bench/shop_benchmarks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace bench {

std::string toolBesideStore(const ShopFiles& shop, const QString& toolProgram) {
    const QString copy = QDir(shop.folder).filePath(QFileInfo(toolProgram).fileName());
    QFile::remove(copy);
    if (!QFile::copy(toolProgram, copy)) {
        throw std::runtime_error("cannot copy the tool to " + copy.toStdString());
    }
    return copy.toStdString();
}

std::string benchmarkName(const ShopFiles& shop, const std::string& what, const char* variant) {
    return shop.size.label + "/" + what + "/" + variant;
}

namespace {

benchmark::internal::Benchmark* common(benchmark::internal::Benchmark* benchmark, int repetitions) {
    return benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
}

} // namespace

benchmark::internal::Benchmark* withRepetitions(benchmark::internal::Benchmark* benchmark) {
    // Wall time throughout: the operator waits for the disk as much as for the processor.
    return common(benchmark, 5)->UseRealTime()->MinTime(0.3);
}

benchmark::internal::Benchmark* oncePerRepetition(benchmark::internal::Benchmark* benchmark,
                                                  int repetitions) {
    return common(benchmark, repetitions)->Iterations(1)->UseManualTime();
}

} // namespace bench
