// A separate process that works on a store the way the tool does, so the reliability tests
// can kill it mid-change, run it as another user or under a file-size limit, or have it hold
// a lock. It prints one line per step, flushed at once, so its parent can follow it:
//
//   change <store> <old code> <new code> <delete 0|1>
//       the main window's change statements, through the shared database module:
//       prints "updated", then "deleted" when asked to delete, then "done"
//   lookup <store> <code>
//       the main window's lookup queries: prints "name <name>" and "count <copies>"
//   hold <store> immediate|exclusive
//       opens a write transaction with a pending insert, prints "holding", waits for its
//       standard input to close, rolls back and prints "released"
//
// Any failure prints "error <native code> <description>" and exits with 3.

#include "data/db_error.h"
#include "data/sqlite_handle.h"
#include "data/sqlite_store.h"
#include "support/database_access.h"
#include "tools/store_writer/store_writer.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace {

void say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString argument(char** argv, int index) {
    return QString::fromUtf8(argv[index]);
}

// The statements exactly as the main window's code change sends them.
void change(const QString& store, const QString& oldCode, const QString& newCode, bool deleteOld) {
    Library1::DatabaseAccess database;
    database.InitDatabase(store);
    const QString oldLiteral = Library1::SqlLiteral(oldCode);
    const QString newLiteral = Library1::SqlLiteral(newCode);
    database.ExecuteSql(QStringLiteral("UPDATE BOOK SET BStrID = ") + newLiteral +
                        QStringLiteral(" Where BStrID = ") + oldLiteral + QStringLiteral(" "));
    say(QStringLiteral("updated"));
    if (deleteOld) {
        database.ExecuteSql(QStringLiteral("DELETE FROM Story Where BStrID = ") + oldLiteral +
                            QStringLiteral(" "));
        say(QStringLiteral("deleted"));
    }
}

// The queries exactly as the main window's lookup sends them.
void lookup(const QString& store, const QString& code) {
    Library1::DatabaseAccess database;
    database.InitDatabase(store);
    auto story = database.OpenRecordset(QStringLiteral("SELECT * FROM Story Where BStrID = ") +
                                            Library1::SqlLiteral(code) + QStringLiteral(" "),
                                        false);
    const QString name =
        story->Eof() ? QString() : story->Fields(QStringLiteral("BStrName")).Value.toString();
    story->Close();
    say(QStringLiteral("name ") + name);
    auto count =
        database.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = ") +
                                   Library1::SqlLiteral(code) + QStringLiteral(" "),
                               false);
    say(QStringLiteral("count ") + count->Fields(0).Value.toString());
    count->Close();
}

void hold(const QString& store, const QString& kind) {
    platform::StoreWriter writer(store,
                                 QString::fromLatin1(Library1::DatabaseAccess::kDatabasePassword));
    writer.database().execute(kind == QLatin1String("exclusive")
                                  ? QStringLiteral("BEGIN EXCLUSIVE")
                                  : QStringLiteral("BEGIN IMMEDIATE"));
    writer.database().execute(
        QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES ('HELD-1', 'held')"));
    say(QStringLiteral("holding"));
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
    }
    writer.database().execute(QStringLiteral("ROLLBACK"));
    say(QStringLiteral("released"));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: reliability_worker change|lookup|hold ...\n", stderr);
        return 2;
    }
    const char* mode = argv[1];
    try {
        if (std::strcmp(mode, "change") == 0 && argc == 6) {
            change(argument(argv, 2), argument(argv, 3), argument(argv, 4),
                   std::strcmp(argv[5], "1") == 0);
        } else if (std::strcmp(mode, "lookup") == 0 && argc == 4) {
            lookup(argument(argv, 2), argument(argv, 3));
        } else if (std::strcmp(mode, "hold") == 0 && argc == 4) {
            hold(argument(argv, 2), argument(argv, 3));
        } else {
            std::fputs("unknown mode or wrong arguments\n", stderr);
            return 2;
        }
    } catch (const platform::DbError& error) {
        say(QStringLiteral("error %1 %2").arg(error.nativeError()).arg(error.description()));
        return 3;
    }
    say(QStringLiteral("done"));
    return 0;
}
