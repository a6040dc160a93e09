#pragma once

#include "jet/reader/page_store.h"
#include "jet/reader/table_definition.h"
#include "jet/writer/index_key.h"

#include <cstdint>
#include <unordered_map>

namespace jet {

// Every entry of an index as the file holds it, by the row it names (rowPointer): found
// by walking its leaves from first to last. For rows whose keys cannot be worked out here,
// the file's own entry is the key.
using EntriesByRow = std::unordered_map<std::uint32_t, KeyBytes>;

EntriesByRow readEntriesByRow(const PageStore& pages, const IndexDefinition& index,
                              std::uint32_t owner);

} // namespace jet
