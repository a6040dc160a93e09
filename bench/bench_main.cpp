// shop_bench: the tool's data layer, windows and start-up on shops of three sizes, each
// figure beside the same work done by plain SQLite. Options of its own, before Google
// Benchmark's:
//   --stores DIR    where the stores are cached and copied for the run (default: stores)
//   --sizes S,M,L,Jet  which sizes to measure (Jet: the large shop fixture, a real Jet file)
//   --seed N        demo data seed (default 1)
// The real program is started afresh for its measurements, on an X server (Xvfb) where one
// is installed and off screen otherwise.

#include "bench/bench_stores.h"
#include "bench/jet_check_benchmark.h"
#include "bench/jet_shop.h"
#include "bench/results_table.h"
#include "bench/shop_benchmarks.h"
#include "data/sqlite_engine.h"
#include "tests/testkit/virtual_display.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

struct Options {
    QString stores = QStringLiteral("stores");
    QStringList sizes = {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"),
                         QStringLiteral("Jet")};
    std::uint64_t seed = 1;
};

// Takes our options out of argv, leaving the rest for Google Benchmark and Qt.
Options takeOptions(int& argc, char** argv) {
    Options options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--stores") == 0 && hasValue) {
            options.stores = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--sizes") == 0 && hasValue) {
            options.sizes = QString::fromLocal8Bit(argv[++i]).split(u',', Qt::SkipEmptyParts);
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
            options.seed = QByteArray(argv[++i]).toULongLong();
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return options;
}

QString cpuModel() {
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly)) {
        QTextStream in(&file);
        for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
            if (line.startsWith(QLatin1String("model name"))) {
                return line.section(u':', 1).trimmed();
            }
        }
    }
    return QStringLiteral("unknown CPU");
}

// The 1, 5 and 15 minute load averages: on a shared machine the figures mean little
// without them.
QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("unknown");
    }
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 2);
}

bench::HelperPrograms helperPrograms() {
    return {QStringLiteral(BENCH_TOOL_PROGRAM), QStringLiteral(BENCH_BARE_WINDOW),
            QStringLiteral(BENCH_STARTUP_HOOK), QStringLiteral(BENCH_MEMORY_PROBE),
            QStringLiteral(BENCH_OPERATOR_HOOK)};
}

// Off screen always; on an X server too where Xvfb runs. The last is the operator's.
std::vector<bench::Screen> screens(const VirtualDisplay* display) {
    std::vector<bench::Screen> result{{"off screen", {{"QT_QPA_PLATFORM", "offscreen"}}}};
    if (display != nullptr) {
        result.push_back({"X server", {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display->name()}}});
    } else {
        std::printf("Xvfb is not installed: the real program is measured off screen only\n");
    }
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    const Options options = takeOptions(argc, argv);
    // The tool's own set-up of SQLite, before the baselines start the library without it.
    platform::prepareSqlite();
    const auto display = VirtualDisplay::startIfInstalled();
    const std::vector<bench::Screen> where = screens(display.get());
    // Windows are real but never on a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installFontSubstitutes();
    benchmark::Initialize(&argc, argv);

    bench::ResultsTable table;
    try {
        const QString cache = QDir(options.stores).filePath(QStringLiteral("cache"));
        const QString work = QDir(options.stores).filePath(QStringLiteral("run"));
        for (const bench::ShopSize& size : bench::shopSizes(options.seed)) {
            if (!options.sizes.contains(QString::fromStdString(size.label))) {
                continue;
            }
            const bench::ShopFiles shop = bench::prepareShop(size, cache, work);
            bench::registerEnterBenchmarks(shop, table);
            bench::registerChangeBenchmarks(shop, table);
            bench::registerSearchBenchmarks(shop, table);
            bench::registerProcessBenchmarks(shop, helperPrograms(), where, table);
            bench::registerOperatorBenchmarks(shop, helperPrograms(), where.back(), true, table);
        }
        if (options.sizes.contains(QStringLiteral("Jet"))) {
            if (const auto jet = bench::prepareJetShop(cache, work)) {
                bench::registerEnterBenchmarks(jet->files, table);
                bench::registerOperatorBenchmarks(jet->files, helperPrograms(), where.back(), false,
                                                  table);
                const std::string change = bench::registerJetChangeBenchmark(*jet, table);
                bench::registerJetCheckBenchmark(*jet, change, table);
            } else {
                std::printf("Jet: no shared material beside the project, not measured\n");
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "shop_bench: %s\n", error.what());
        return 1;
    }
    const QString machine = QStringLiteral("Machine: %1 cores, %2; load average %3 at the start")
                                .arg(QThread::idealThreadCount())
                                .arg(cpuModel(), loadAverage());
    table.setHeading(machine.toStdString());
    benchmark::RunSpecifiedBenchmarks(&table);
    std::printf("Load average %s at the end\n", qPrintable(loadAverage()));
    benchmark::Shutdown();
    return 0;
}
