#pragma once

#include "bench/jet_shop.h"
#include "bench/results_table.h"

#include <string>

namespace bench {

// The check before writing of the large shop file's move and deletion, against the whole
// change measured as wholeChange: the ratio is the check's share of the change.
void registerJetCheckBenchmark(const JetShop& shop, const std::string& wholeChange,
                               ResultsTable& table);

} // namespace bench
