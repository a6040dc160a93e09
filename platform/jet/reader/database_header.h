#pragma once

#include "jet/format/jet_format.h"
#include "jet/reader/byte_order.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace jet {

// What page 0 tells about the whole file, after its header block has been unmasked.
struct DatabaseHeader {
    std::uint16_t codePage = 0;
    // Non-zero when every page after the first is RC4-encoded.
    std::uint32_t databaseKey = 0;
    // Empty when the database has no password.
    std::u16string password;
    std::uint16_t sortOrder = 0;
    std::uint8_t sortVersion = 0;
    double creationDate = 0;
};

// Reads page 0 (at least kPageSize bytes). Throws ReadError (NotJet4) for anything that is
// not a Jet 4.0 header: another signature, Jet 3, or the later ACE format.
DatabaseHeader readDatabaseHeader(Bytes page0);

// The engine lets anyone into a database that has no password, whatever they give.
bool acceptsPassword(const DatabaseHeader& header, std::u16string_view given);

} // namespace jet
