#pragma once

#include "bench/shop_sizes.h"

#include <QString>

namespace bench {

// The store files one size is measured on, in a folder of their own.
struct ShopFiles {
    ShopSize size;
    QString folder;     // holds book.mdb, as the program's own folder does
    QString store;      // the store as the tool opens it: JETTEXT text, password, checks
    QString plainStore; // the same rows with SQLite's own text rules and nothing else
};

// Builds the stores for a size into cacheDir unless they are there already, then copies
// them into a fresh working folder under workDir, so a run that is cut short in the middle
// of a move never spoils the cache. Checks the special stories' copy counts in both copies.
// Throws std::runtime_error.
ShopFiles prepareShop(const ShopSize& size, const QString& cacheDir, const QString& workDir);

// The password every bench store is made with: the one the tool itself connects with.
QString benchPassword();

} // namespace bench
