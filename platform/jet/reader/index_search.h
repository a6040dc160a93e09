#pragma once

#include "jet/reader/index_page.h"
#include "jet/reader/page_store.h"
#include "jet/reader/table_definition.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace jet {

// Consecutive matching entries of one leaf page. Their rows are decoded only when wanted, so
// counting matches costs a few binary searches per leaf page.
struct IndexRun {
    std::shared_ptr<const IndexPage> leaf;
    std::size_t begin = 0;
    std::size_t end = 0;
};
using IndexMatches = std::vector<IndexRun>;

std::vector<RowLocation> matchedRows(const IndexMatches& matches);

// Whether index can answer equality on column: an ascending index on that text column alone,
// under the General sort order.
bool indexAnswersTextEquality(const IndexDefinition& index, const ColumnDefinition& column);

// The rows whose text in the index's one column equals value as the engine compares text: letter
// case and trailing spaces do not count. Nothing when the index cannot answer for this value (a
// character without a known key code, or a root that is no index page), so the caller has to
// scan.
std::optional<IndexMatches> lookUpText(const PageStore& pages, const IndexDefinition& index,
                                       std::u16string_view value);

} // namespace jet
