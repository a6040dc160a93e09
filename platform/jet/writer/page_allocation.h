#pragma once

#include "jet/writer/page_edits.h"

#include <cstdint>

namespace jet {

// A page for a table or an index: one the global map marks free, or else a new one at the end
// of the file; taken out of the global map and put into the owner's map (mapPointer). The
// page is zeros.
std::uint32_t allocatePage(PageEdits& edits, std::uint32_t ownerMap);

// Gives back a page the owner no longer uses: wiped, out of the owner's map, and marked free
// where the global map covers it.
void releasePage(PageEdits& edits, std::uint32_t page, std::uint32_t ownerMap);

} // namespace jet
