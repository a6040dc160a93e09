#pragma once

#include <cstdint>
#include <span>

namespace jet {

// XORs data in place with the RC4 keystream of key. Jet uses it to mask the header block
// and, in files with a database key, to encode every page after the first.
void applyRc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

// Encodes or decodes (the same thing) one page of a file whose database key is databaseKey:
// each page has its own key, the database key XOR the page number.
void applyPageRc4(std::uint32_t databaseKey, std::uint32_t page, std::span<std::uint8_t> data);

} // namespace jet
