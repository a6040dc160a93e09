// The code change: every copy of the old code moves to the new one, then the old story is
// deleted. Between two measured changes the copies move back and the story returns,
// untimed, so each change finds the store as it was made.

#include "bench/shop_benchmarks.h"

#include "bench/jet_shop.h"
#include "bench/plain_sqlite.h"
#include "data/adodb.h"
#include "support/database_access.h"
#include "textrules/sqlite_text_functions.h"

#include <QFile>
#include <QString>

#include <stdexcept>

namespace bench {
namespace {

struct ChangeSql {
    QString update;
    QString remove;
    QString storyRow;
    QString countFrom;
    QString countTo;
    QString moveBack;
};

// The window's two statements, character for character, and what it takes to undo them.
ChangeSql changeSql(const ShopCodes::Move& move) {
    const QString from = Library1::SqlLiteral(QString::fromStdString(move.from));
    const QString to = Library1::SqlLiteral(QString::fromStdString(move.to));
    return {QStringLiteral("UPDATE BOOK SET BStrID = ") + to + QStringLiteral(" Where BStrID = ") +
                from + QStringLiteral(" "),
            QStringLiteral("DELETE FROM Story Where BStrID = ") + from + QStringLiteral(" "),
            QStringLiteral("SELECT BStrID, BStrName, Author, Category, AddedDate FROM Story"
                           " WHERE BStrID = ") +
                from,
            QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = ") + from,
            QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = ") + to,
            QStringLiteral("UPDATE Book SET BStrID = ") + from +
                QStringLiteral(" WHERE BStrID = ") + to};
}

// Undoes a change on a connection of its own, and checks that there was one to undo.
class Undo {
public:
    Undo(const QString& path, bool ourTextRules, const ChangeSql& sql)
        : db_(path, PlainConnection::Existing), sql_(sql) {
        if (ourTextRules && textrules::registerTextFunctions(db_.handle()) != 0) {
            throw std::runtime_error("cannot register the text rules");
        }
        story_ = db_.firstRow(sql_.storyRow);
    }

    bool storeAsMade(std::int64_t copies) {
        return !story_.empty() && db_.singleInteger(sql_.countFrom) == copies &&
               db_.singleInteger(sql_.countTo) == 0 && db_.firstRow(sql_.storyRow) == story_;
    }
    bool changed(std::int64_t copies) {
        return db_.singleInteger(sql_.countFrom) == 0 &&
               db_.singleInteger(sql_.countTo) == copies && db_.firstRow(sql_.storyRow).empty();
    }
    void run() {
        db_.execute(QStringLiteral("BEGIN"));
        db_.execute(sql_.moveBack);
        db_.executeWith(QStringLiteral("INSERT INTO Story (BStrID, BStrName, Author, Category,"
                                       " AddedDate) VALUES (?1, ?2, ?3, ?4, ?5)"),
                        story_);
        db_.execute(QStringLiteral("COMMIT"));
    }

private:
    PlainConnection db_;
    ChangeSql sql_;
    std::vector<std::optional<QByteArray>> story_;
};

// One change per iteration; run executes the two statements the way its variant does.
template <typename Change>
void measureChanges(benchmark::State& state, Undo& undo, std::int64_t copies, Change change) {
    if (!undo.storeAsMade(copies)) {
        state.SkipWithError("the store is not as made");
        return;
    }
    bool checked = false;
    for (auto _ : state) {
        change();
        state.PauseTiming();
        if (!checked && !undo.changed(copies)) {
            state.SkipWithError("the change did not move every copy and delete the story");
            break;
        }
        checked = true;
        undo.run();
        state.ResumeTiming();
    }
}

void registerBaseline(const ShopFiles& shop, const std::string& name, const ChangeSql& sql,
                      std::int64_t copies) {
    withRepetitions(
        benchmark::RegisterBenchmark(name.c_str(), [shop, sql, copies](benchmark::State& state) {
            PlainConnection db(shop.plainStore, PlainConnection::Existing);
            Undo undo(shop.plainStore, false, sql);
            measureChanges(state, undo, copies, [&] {
                db.execute(sql.update);
                db.execute(sql.remove);
            });
        }));
}

std::string changeLine(std::int64_t copies) {
    return "Change, move " + std::to_string(copies) + " copies + delete";
}

void registerChange(const ShopFiles& shop, ResultsTable& table, const ShopCodes::Move& move,
                    std::optional<double> limit, std::optional<double> ratioLimit) {
    const std::string what = "change/" + std::to_string(move.copies);
    const std::string ours = benchmarkName(shop, what, "ours");
    const std::string baseline = benchmarkName(shop, what, "baseline");
    const ChangeSql sql = changeSql(move);
    const std::int64_t copies = move.copies;
    withRepetitions(
        benchmark::RegisterBenchmark(ours.c_str(), [shop, sql, copies](benchmark::State& state) {
            Library1::DatabaseAccess database;
            database.InitDatabase(shop.store);
            Undo undo(shop.store, true, sql);
            measureChanges(state, undo, copies, [&] {
                database.ExecuteSql(sql.update);
                database.ExecuteSql(sql.remove);
            });
        }));
    registerBaseline(shop, baseline, sql, copies);
    std::string line = changeLine(copies);
    if (&move == &shop.size.codes.moves.back() && copies < kLargestMoveCopies) {
        line += " (" + std::to_string(kLargestMoveCopies) + " do not fit)";
    }
    table.add({shop.size.label, line, ours, baseline, Unit::Milliseconds, limit, ratioLimit});
}

std::int64_t jetCount(const QString& store, const QString& sql) {
    adodb::Recordset rows;
    rows.Open(sql,
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet "
                             "OLEDB:Database Password=%2")
                  .arg(store, QLatin1String(Library1::DatabaseAccess::kDatabasePassword)),
              adodb::adOpenStatic, adodb::adLockReadOnly);
    return rows.Fields(0).Value.toLongLong();
}

// Nothing undoes a change on a Jet file but the file as it was: it is copied back, untimed,
// after each change.
void changeJetFile(benchmark::State& state, const JetShop& shop, const ChangeSql& sql,
                   std::int64_t copies) {
    Library1::DatabaseAccess database;
    database.InitDatabase(shop.files.store);
    bool checked = false;
    for (auto _ : state) {
        database.ExecuteSql(sql.update);
        database.ExecuteSql(sql.remove);
        state.PauseTiming();
        if (!checked && (jetCount(shop.files.store, sql.countFrom) != 0 ||
                         jetCount(shop.files.store, sql.countTo) != copies)) {
            state.SkipWithError("the change did not move every copy");
            break;
        }
        checked = true;
        if (!QFile::remove(shop.files.store) || !QFile::copy(shop.pristine, shop.files.store) ||
            !QFile::setPermissions(shop.files.store,
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            state.SkipWithError("the file could not be restored");
            break;
        }
        state.ResumeTiming();
    }
}

} // namespace

std::string registerJetChangeBenchmark(const JetShop& shop, ResultsTable& table) {
    const ShopCodes::Move& move = shop.files.size.codes.moves.front();
    const std::string what = "change/" + std::to_string(move.copies);
    const std::string ours = benchmarkName(shop.files, what, "ours");
    const std::string baseline = benchmarkName(shop.files, what, "baseline");
    const ChangeSql sql = changeSql(move);
    const std::int64_t copies = move.copies;
    withRepetitions(
        benchmark::RegisterBenchmark(ours.c_str(), [shop, sql, copies](benchmark::State& state) {
            changeJetFile(state, shop, sql, copies);
        }));
    registerBaseline(shop.files, baseline, sql, copies);
    // The writer checks every change before writing it; all of that within twice the time
    // plain SQLite takes for the same statements.
    table.add(
        {shop.files.size.label, changeLine(copies), ours, baseline, Unit::Milliseconds, 1500, 2.0});
    return ours;
}

void registerChangeBenchmarks(const ShopFiles& shop, ResultsTable& table) {
    const bool large = measuredAgainstTargets(shop.size);
    for (const ShopCodes::Move& move : shop.size.codes.moves) {
        const bool targeted = large && move.copies == kLargestMoveCopies;
        registerChange(shop, table, move, targeted ? std::optional<double>(1500) : std::nullopt,
                       targeted ? std::optional<double>(1.3) : std::nullopt);
    }
}

} // namespace bench
