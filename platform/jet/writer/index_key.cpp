#include "index_key.h"

#include "general_sort_key.h"
#include "text_codec.h"

namespace jet {
namespace {

constexpr std::uint8_t kNullAscending = 0x00;
constexpr std::uint8_t kValueAscending = 0x7F;

KeyBytes integerSegment(Bytes stored, std::size_t size) {
    KeyBytes segment{kValueAscending};
    for (std::size_t i = size; i-- > 0;) {
        segment.push_back(u8At(stored, i, "an indexed integer"));
    }
    segment[1] ^= 0x80;
    return segment;
}

} // namespace

std::vector<std::uint8_t> storedTextBytes(const ColumnDefinition& column,
                                          std::u16string_view text) {
    bool compressible = column.compressedUnicode && text.size() > 2;
    for (const char16_t c : text) {
        compressible = compressible && c >= 0x01 && c <= 0xFF;
    }
    std::vector<std::uint8_t> bytes;
    if (compressible) {
        bytes = {0xFF, 0xFE};
        for (const char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
        return bytes;
    }
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::optional<KeyBytes> keySegment(const ColumnDefinition& column, bool ascending,
                                   const std::optional<Bytes>& stored) {
    if (!ascending) {
        return std::nullopt;
    }
    if (!stored) {
        return column.type == ColumnType::Boolean
                   ? std::nullopt
                   : std::optional<KeyBytes>(KeyBytes{kNullAscending});
    }
    switch (column.type) {
    case ColumnType::Int16:
        return integerSegment(*stored, 2);
    case ColumnType::Int32:
        return integerSegment(*stored, 4);
    case ColumnType::Text:
        if (column.sortOrder != kGeneralSortOrder || column.sortVersion != 0) {
            return std::nullopt;
        }
        return generalSortKey(decodeText(*stored));
    default:
        return std::nullopt;
    }
}

} // namespace jet
