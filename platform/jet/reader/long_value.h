#pragma once

#include "jet/reader/page_store.h"

#include <vector>

namespace jet {

// The bytes of a memo or OLE value. The row holds a 12-byte reference: the length with two
// flag bits on top (0x80: the bytes follow inline, 0x40: they fill one row elsewhere, neither:
// a chain of rows that each start with the pointer to the next), then a row pointer.
std::vector<std::uint8_t> readLongValue(const PageStore& pages, Bytes reference);

} // namespace jet
