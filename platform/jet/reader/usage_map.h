#pragma once

#include "page_store.h"

#include <vector>

namespace jet {

// The pages a usage map marks, ascending. mapPointer is a row pointer (row byte, then 3-byte
// page) to the map row, which is either an inline bitmap (type 0: start page, then one bit
// per page) or a list of pages of type 0x05 that each hold a bitmap of their own (type 1).
std::vector<std::uint32_t> pagesInUsageMap(const PageStore& pages, std::uint32_t mapPointer);

} // namespace jet
