#pragma once

#include "jet/writer/page_edits.h"

#include <cstdint>
#include <optional>

namespace jet {

// The global usage map (layout::kGlobalUsageMap) marks the pages that are free; every other
// map marks the pages its table or index owns.
using layout::kGlobalUsageMap;

enum class OutsideMap {
    // The page must be marked: a map that cannot hold it as it stands refuses the change.
    Refuse,
    // A page the map does not cover stays as it is (a freed page the map cannot name is left
    // out of use, as the engine itself leaves such pages until the file is compacted).
    Ignore,
};

// Sets or clears page's bit in the map whose map row mapPointer (row byte, then 3-byte page)
// points to. An inline map covers a fixed range of pages from its start page; a reference map
// covers 32,736 pages per bitmap page. Growing a map to another shape is not done here: a page
// outside what the map covers is refused or ignored, as outside says.
void markPage(PageEdits& edits, std::uint32_t mapPointer, std::uint32_t page, bool set,
              OutsideMap outside = OutsideMap::Refuse);

// The first page from `from` on, below `below`, that the map marks; nothing when there is none.
std::optional<std::uint32_t> firstMarkedPage(const PageEdits& edits, std::uint32_t mapPointer,
                                             std::uint32_t from, std::uint32_t below);

} // namespace jet
