#pragma once

#include "tools/demo_store/demo_store.h"

#include <QString>

namespace demostore {

// New store files for make_store and the tests. Each refuses to replace an existing file,
// and removes the file it started if anything fails, so a retry finds the path free.

StoreCounts createDemoStore(const QString& path, const QString& password,
                            const DemoRequest& request);

// The shop's empty schema, then the ';'-separated statements of sql in one transaction.
StoreCounts createStoreFromSql(const QString& path, const QString& password, const QString& sql);

} // namespace demostore
