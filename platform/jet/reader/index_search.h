#pragma once

#include "page_store.h"
#include "table_definition.h"

#include <optional>
#include <string_view>
#include <vector>

namespace jet {

// Whether index can answer equality on column: an ascending index on that text column alone,
// under the General sort order.
bool indexAnswersTextEquality(const IndexDefinition& index, const ColumnDefinition& column);

// The rows whose text in column equals value as the engine compares text: letter case and
// trailing spaces do not count. Nothing when the index cannot answer for this value (a
// character without a known key code, or a root that is no index page), so the caller has to
// scan.
std::optional<std::vector<RowLocation>> lookUpText(const PageStore& pages,
                                                   const IndexDefinition& index,
                                                   const ColumnDefinition& column,
                                                   std::u16string_view value);

} // namespace jet
