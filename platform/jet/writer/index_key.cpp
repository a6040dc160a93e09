#include "jet/writer/index_key.h"

#include "jet/reader/general_sort_key.h"
#include "jet/reader/text_codec.h"

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

std::optional<KeyBytes> ascendingSegment(const ColumnDefinition& column,
                                         const std::optional<Bytes>& stored) {
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

bool isTextValue(const KeyBytes& segment, const ColumnDefinition& column) {
    return (column.type == ColumnType::Text || column.type == ColumnType::Memo) &&
           segment.size() > 1;
}

void invert(KeyBytes& segment) {
    for (std::uint8_t& byte : segment) {
        byte = static_cast<std::uint8_t>(~byte);
    }
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

KeyBytes inDirection(KeyBytes segment, const ColumnDefinition& column, bool ascending) {
    if (!ascending) {
        const bool text = isTextValue(segment, column);
        invert(segment);
        if (text) {
            segment.push_back(0x00);
        }
    }
    return segment;
}

KeyBytes ascendingForm(KeyBytes segment, const ColumnDefinition& column, bool ascending) {
    if (!ascending) {
        if (isTextValue(segment, column) && segment.back() == 0x00) {
            segment.pop_back();
        }
        invert(segment);
    }
    return segment;
}

std::optional<KeyBytes> keySegment(const ColumnDefinition& column, bool ascending,
                                   const std::optional<Bytes>& stored) {
    std::optional<KeyBytes> segment = ascendingSegment(column, stored);
    if (segment) {
        segment = inDirection(std::move(*segment), column, ascending);
    }
    return segment;
}

} // namespace jet
