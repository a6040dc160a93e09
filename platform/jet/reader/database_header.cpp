#include "jet/reader/database_header.h"

#include "jet/reader/rc4.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace jet {
namespace {

constexpr std::size_t kMaskedStart = 0x18;
constexpr std::size_t kMaskedLength = 128;
constexpr std::array<std::uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordBytes = 40;

double doubleAt(Bytes bytes, std::size_t at) {
    const std::uint64_t raw = u64At(bytes, at, "the creation date");
    double value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

// The password bytes are further XORed with the whole days of the creation date, so that
// copying the header block of one file into another does not carry a password across.
std::array<std::uint8_t, 4> passwordMask(double creationDate) {
    std::int32_t days = 0;
    if (std::isfinite(creationDate) && creationDate > -2147483648.0 &&
        creationDate < 2147483648.0) {
        days = static_cast<std::int32_t>(creationDate);
    }
    const auto bits = static_cast<std::uint32_t>(days);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

std::u16string unmaskPassword(Bytes header, double creationDate) {
    const auto mask = passwordMask(creationDate);
    std::u16string password;
    for (std::size_t i = 0; i + 1 < kPasswordBytes; i += 2) {
        const auto low = static_cast<std::uint8_t>(header[kPasswordOffset + i] ^ mask[i % 4]);
        const auto high =
            static_cast<std::uint8_t>(header[kPasswordOffset + i + 1] ^ mask[(i + 1) % 4]);
        const auto unit = static_cast<char16_t>(low | (high << 8));
        if (unit == 0) {
            break;
        }
        password.push_back(unit);
    }
    return password;
}

} // namespace

DatabaseHeader readDatabaseHeader(Bytes page0) {
    static constexpr char kSignature[] = "Standard Jet DB";
    if (page0.size() < kPageSize || page0[0] != 0 ||
        std::memcmp(page0.data() + 4, kSignature, sizeof kSignature) != 0) {
        throwNotJet4("no Jet signature on page 0");
    }
    if (page0[0x14] != 1) {
        throwNotJet4("not a Jet 4.0 file (version byte " + std::to_string(page0[0x14]) + ")");
    }
    std::vector<std::uint8_t> header(page0.begin(), page0.begin() + kPageSize);
    applyRc4(kHeaderMaskKey, std::span(header).subspan(kMaskedStart, kMaskedLength));
    const Bytes unmasked(header);

    DatabaseHeader result;
    result.codePage = u16At(unmasked, 0x3C);
    result.databaseKey = u32At(unmasked, 0x3E);
    result.sortOrder = u16At(unmasked, 0x6E);
    result.sortVersion = u8At(unmasked, 0x71);
    result.creationDate = doubleAt(unmasked, 0x72);
    result.password = unmaskPassword(unmasked, result.creationDate);
    return result;
}

bool acceptsPassword(const DatabaseHeader& header, std::u16string_view given) {
    return header.password.empty() || header.password == given;
}

} // namespace jet
