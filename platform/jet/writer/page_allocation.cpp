#include "page_allocation.h"

#include "usage_map_editor.h"

namespace jet {

std::uint32_t allocatePage(PageEdits& edits, std::uint32_t ownerMap) {
    const std::uint32_t page = edits.append();
    markPage(edits, kGlobalUsageMap, page, false);
    markPage(edits, ownerMap, page, true);
    return page;
}

void releasePage(PageEdits& edits, std::uint32_t page, std::uint32_t ownerMap) {
    edits.edit(page).fill(0);
    markPage(edits, ownerMap, page, false);
    markPage(edits, kGlobalUsageMap, page, true, OutsideMap::Ignore);
}

} // namespace jet
