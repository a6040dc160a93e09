#pragma once

#include <cstdint>
#include <span>

namespace jet {

// XORs data in place with the RC4 keystream of key. Jet uses it to mask the header block
// and, in files with a database key, to encode every page after the first.
void applyRc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

} // namespace jet
