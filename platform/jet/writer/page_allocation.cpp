#include "jet/writer/page_allocation.h"

#include "jet/writer/usage_map_editor.h"

namespace jet {

std::uint32_t allocatePage(PageEdits& edits, std::uint32_t ownerMap) {
    // A page the global map marks free is the engine's to hand out again; only when there is
    // none does the file grow.
    const std::optional<std::uint32_t> free =
        firstMarkedPage(edits, kGlobalUsageMap, 1, edits.store().pageCount());
    const std::uint32_t page = free ? *free : edits.append();
    edits.edit(page).fill(0);
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
