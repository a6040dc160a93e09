// A separate process that runs statements on a Jet file as the tool runs them (a Command or
// a Recordset of their own on a connection string with the shop's password), so a test can
// stop it dead at any call the file layer writes or syncs with (see call_faults.h).
//
//   jet_change_worker <file> [kill|fail N] <statement>...
//
// Each statement prints one line: "done", "error <description>", or for a SELECT "rows" and
// its rows; then "after <calls>", the calls counted up to its end. The report of the calls
// (printCallReport) comes last. Opening a session plays back a journal left beside the file,
// so a lone SELECT is how a test stops a playback.

#include "data/db_error.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/call_faults.h"
#include "tests/jet/writer/jet_copy.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: jet_change_worker <file> [kill|fail N] <statement>...\n", stderr);
        return 2;
    }
    const QString connection =
        jetConnectionString(QString::fromLocal8Bit(argv[1]), QStringLiteral("kd=73"));
    for (int i = armCallFault(argc, argv, 2) ? 4 : 2; i < argc; ++i) {
        const QString sql = QString::fromUtf8(argv[i]);
        if (sql.startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive)) {
            try {
                std::printf("rows %s\n", qPrintable(queryRows(sql, connection).join(u' ')));
            } catch (const platform::DbError& error) {
                std::printf("error %s\n", qPrintable(error.description()));
            }
        } else {
            const QString error = statementError(sql, connection);
            std::printf("%s\n", error.isEmpty() ? "done" : qPrintable("error " + error));
        }
        std::printf("after %ld\n", callsSoFar());
    }
    printCallReport();
    return 0;
}
