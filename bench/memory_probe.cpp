// One search in a process of its own, reporting the process's peak resident memory.
//   search_memory_probe ours  STORE [FRAGMENT]  the search dialog fills its list
//   search_memory_probe plain STORE [FRAGMENT]  plain SQLite rows kept as Qt strings
// Writes "<rows listed> <peak RSS in KiB>" to the descriptor named by BENCH_REPORT_FD, or
// to standard output without it.
//
// The peak is the kernel's high-water mark of this program's own memory (VmHWM). The
// getrusage figure would not do: Linux carries ru_maxrss over an exec, so a probe started
// by the benchmark process would report the benchmark's own peak whenever that is larger.

#include "bench/peak_resident.h"
#include "bench/plain_sqlite.h"
#include "bench/window_drivers.h"
#include "story_search/story_name_query.h"
#include "ui/fonts.h"

#include <QApplication>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

long long searchInDialog(const QString& store, const QString& fragment) {
    platform::installFontSubstitutes();
    bench::SearchDialogDriver dialog(store);
    dialog.search(fragment);
    QCoreApplication::processEvents(); // and let the list paint its first page
    return dialog.messages() == 0 ? dialog.listed() : -1;
}

long long searchPlain(const QString& store, const QString& fragment) {
    bench::PlainConnection db(store, bench::PlainConnection::Existing);
    const QByteArray sql = StoryNameSearchSql(fragment).toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        return -1;
    }
    std::vector<std::pair<QString, QString>> rows;
    auto text = [statement](int column) {
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column));
    };
    while (sqlite3_step(statement) == SQLITE_ROW) {
        rows.emplace_back(text(0), text(1));
    }
    sqlite3_finalize(statement);
    return static_cast<long long>(rows.size());
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || (std::strcmp(argv[1], "ours") != 0 && std::strcmp(argv[1], "plain") != 0)) {
        std::fprintf(stderr, "usage: %s ours|plain STORE [FRAGMENT]\n", argv[0]);
        return 2;
    }
    const bool ours = std::strcmp(argv[1], "ours") == 0;
    const QString store = QString::fromLocal8Bit(argv[2]);
    const QString fragment = argc > 3 ? QString::fromUtf8(argv[3]) : QString();
    // Both variants carry the same Qt start-up, so the difference is the search.
    QApplication app(argc, argv);
    long long rows = -1;
    try {
        rows = ours ? searchInDialog(store, fragment) : searchPlain(store, fragment);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "search_memory_probe: %s\n", error.what());
        return 1;
    }
    const long long peakKb = bench::peakResidentKb();
    const std::string line = std::to_string(rows) + " " + std::to_string(peakKb) + "\n";
    const char* fd = std::getenv("BENCH_REPORT_FD");
    if (write(fd != nullptr ? std::atoi(fd) : STDOUT_FILENO, line.data(), line.size()) < 0) {
        return 1;
    }
    return rows < 0 || peakKb < 0 ? 1 : 0;
}
