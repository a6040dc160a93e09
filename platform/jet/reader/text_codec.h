#pragma once

#include "jet/reader/byte_order.h"

#include <string>

namespace jet {

// Text as Jet 4.0 stores it: UCS-2 little-endian or "compressed" after an FF FE marker: one
// byte per character, where each 0x00 byte switches between one-byte and two-byte characters.
// The marker alone decides: the engine writes compressed memo values into columns whose
// definition does not allow compression. A trailing odd byte carries no character and is
// dropped.
std::u16string decodeText(Bytes stored);

} // namespace jet
