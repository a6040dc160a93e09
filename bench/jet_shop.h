#pragma once

#include "bench/bench_stores.h"

#include <QString>

#include <optional>

namespace bench {

// The large shop fixture, a real Jet 4.0 file (20,000 stories, 150,000 copies, 40,000 under
// KH-0001), copied into a working folder of its own as book.mdb, beside a plain SQLite store
// with the same rows for the baseline. pristine is an untouched copy that a change's
// measurement restores the file from. Nothing when the shared material is absent.
struct JetShop {
    ShopFiles files;
    QString pristine;
};

std::optional<JetShop> prepareJetShop(const QString& cacheDir, const QString& workDir);

} // namespace bench
