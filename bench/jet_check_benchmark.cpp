// The check before writing on the large shop file, alone: the plan of the move and of the
// story's deletion is made once, untimed, and checked again and again. Its figure stands
// beside the whole change's, of which it is a part.

#include "bench/jet_check_benchmark.h"

#include "bench/shop_benchmarks.h"
#include "jet/reader/database.h"
#include "jet/reader/index_search.h"
#include "jet/writer/change_plan.h"
#include "jet/writer/image_check.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace bench {
namespace {

struct CheckedChange {
    std::unique_ptr<jet::Database> database;
    jet::TableUpdate update;
    jet::TableDeletion deletion;
    jet::PlannedWrite updatePlan;
    jet::PlannedWrite deletionPlan;
};

const jet::UserTable& tableNamed(const jet::Database& database, std::u16string_view name) {
    for (const jet::UserTable& table : database.tables()) {
        if (table.name == name) {
            return table;
        }
    }
    throw std::runtime_error("the Jet shop has no such table");
}

// The rows of table whose BStrID (its column `column`) is code, found as the tool finds them.
std::vector<jet::RowLocation> rowsWithCode(const jet::Database& database,
                                           const jet::UserTable& table, std::size_t column,
                                           std::u16string_view code) {
    for (const jet::IndexDefinition& index : table.definition.indexes) {
        if (jet::indexAnswersTextEquality(index, table.definition.columns[column])) {
            return jet::matchedRows(*jet::lookUpText(database.pages(), index, code));
        }
    }
    throw std::runtime_error("the Jet shop has no index on BStrID");
}

std::shared_ptr<CheckedChange> planned(const JetShop& shop, const ShopCodes::Move& move) {
    auto change = std::make_shared<CheckedChange>();
    change->database = std::make_unique<jet::Database>(
        jet::PageStore(jet::openFileReadOnly(QFile::encodeName(shop.pristine).toStdString())));
    const jet::Database& database = *change->database;
    const jet::UserTable& book = tableNamed(database, u"Book");
    const jet::UserTable& story = tableNamed(database, u"Story");
    const std::u16string from(move.from.begin(), move.from.end());
    const std::u16string to(move.to.begin(), move.to.end());
    change->update = {&book, 1, {}};
    for (const jet::RowLocation row : rowsWithCode(database, book, 1, from)) {
        change->update.rows.push_back({row, to});
    }
    change->deletion = {&story, rowsWithCode(database, story, 0, from)};
    change->updatePlan = jet::planUpdate(database, change->update);
    change->deletionPlan = jet::planDeletion(database, change->deletion);
    return change;
}

} // namespace

void registerJetCheckBenchmark(const JetShop& shop, const std::string& wholeChange,
                               ResultsTable& table) {
    const ShopCodes::Move& move = shop.files.size.codes.moves.front();
    const std::string name =
        benchmarkName(shop.files, "check/" + std::to_string(move.copies), "ours");
    withRepetitions(benchmark::RegisterBenchmark(name.c_str(), [shop,
                                                                move](benchmark::State& state) {
        const std::shared_ptr<CheckedChange> change = planned(shop, move);
        for (auto _ : state) {
            jet::checkPlannedUpdate(*change->database, change->update, change->updatePlan);
            jet::checkPlannedDeletion(*change->database, change->deletion, change->deletionPlan);
        }
    }));
    table.add({shop.files.size.label, "Check before writing, of the change above (share of it)",
               name, wholeChange, Unit::Milliseconds, std::nullopt, std::nullopt});
}

} // namespace bench
