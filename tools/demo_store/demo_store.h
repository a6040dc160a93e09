#pragma once

#include "tools/demo_store/demo_request.h"

#include <cstdint>

namespace platform {
class StoreWriter;
}

namespace demostore {

struct StoreCounts {
    std::int64_t stories = 0;
    std::int64_t copies = 0;
};

// Writes the requested demo stories and copies into a store that has none yet, in one
// transaction: either all of them are there afterwards or none. The same request gives
// the same rows, BookIDs included. Throws DemoRequestError or platform::DbError.
StoreCounts fillDemoStore(platform::StoreWriter& writer, const DemoRequest& request);

} // namespace demostore
