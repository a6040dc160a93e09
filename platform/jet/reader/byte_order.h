#pragma once

#include "jet/reader/read_error.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace jet {

using Bytes = std::span<const std::uint8_t>;

// Every multi-byte read of file data goes through these, so a length or offset taken from
// a damaged file ends in a ReadError instead of a read past the buffer.
inline void requireBytes(Bytes bytes, std::size_t at, std::size_t count, const char* what) {
    if (at > bytes.size() || count > bytes.size() - at) {
        throwDamaged(std::string(what) + " runs past the end of its block");
    }
}

inline std::uint8_t u8At(Bytes bytes, std::size_t at, const char* what = "a field") {
    requireBytes(bytes, at, 1, what);
    return bytes[at];
}

inline std::uint16_t u16At(Bytes bytes, std::size_t at, const char* what = "a field") {
    requireBytes(bytes, at, 2, what);
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t u24At(Bytes bytes, std::size_t at, const char* what = "a field") {
    requireBytes(bytes, at, 3, what);
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16);
}

inline std::uint32_t u32At(Bytes bytes, std::size_t at, const char* what = "a field") {
    requireBytes(bytes, at, 4, what);
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

inline std::uint64_t u64At(Bytes bytes, std::size_t at, const char* what = "a field") {
    return u32At(bytes, at, what) | (static_cast<std::uint64_t>(u32At(bytes, at + 4, what)) << 32);
}

// The writer's counterpart of the reads: value's size low bytes at at, least significant
// first. The writer places these fields only inside pages and headers it has sized itself.
inline void putLittleEndian(std::span<std::uint8_t> bytes, std::size_t at, std::uint64_t value,
                            std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Index entries keep their page numbers most significant byte first.
inline std::uint32_t bigEndianAt(Bytes bytes, std::size_t at, std::size_t count,
                                 const char* what = "an index pointer") {
    requireBytes(bytes, at, count, what);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = (value << 8) | bytes[at + i];
    }
    return value;
}

inline Bytes subBytes(Bytes bytes, std::size_t at, std::size_t count, const char* what) {
    requireBytes(bytes, at, count, what);
    return bytes.subspan(at, count);
}

} // namespace jet
