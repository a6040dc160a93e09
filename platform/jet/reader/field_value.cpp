#include "jet/reader/field_value.h"

#include "jet/reader/long_value.h"
#include "jet/reader/text_codec.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace jet {
namespace {

template <typename T> T fromBits(std::uint64_t bits) {
    T value{};
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

FieldValue integerValue(std::int64_t v) {
    FieldValue value;
    value.kind = FieldValue::Kind::Integer;
    value.integer = v;
    return value;
}

FieldValue realValue(double v, FieldValue::Kind kind = FieldValue::Kind::Real) {
    FieldValue value;
    value.kind = kind;
    value.real = v;
    return value;
}

FieldValue textValue(std::u16string text) {
    FieldValue value;
    value.kind = FieldValue::Kind::Text;
    value.text = std::move(text);
    return value;
}

FieldValue binaryValue(std::vector<std::uint8_t> bytes) {
    FieldValue value;
    value.kind = FieldValue::Kind::Binary;
    value.binary = std::move(bytes);
    return value;
}

void requireSize(Bytes bytes, std::size_t size) {
    if (bytes.size() < size) {
        throwDamaged("a fixed-length value is shorter than its type");
    }
}

FieldValue guidValue(Bytes bytes) {
    requireSize(bytes, 16);
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  u32At(bytes, 0), u16At(bytes, 4), u16At(bytes, 6), bytes[8], bytes[9], bytes[10],
                  bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return textValue(std::u16string(text, text + std::strlen(text)));
}

// A Numeric value: a sign byte (0x80 negative), then the magnitude as a 128-bit integer stored
// as four 32-bit words, the most significant word first and each word least significant byte
// first; the column's scale places the point.
FieldValue decimalValue(const ColumnDefinition& column, Bytes bytes) {
    requireSize(bytes, 17);
    std::array<std::uint32_t, 4> words{}; // most significant first
    for (std::size_t word = 0; word < words.size(); ++word) {
        words[word] = u32At(bytes, 1 + 4 * word);
    }
    // Decimal digits by long division of the four words by ten, least significant first.
    std::string digits;
    do {
        std::uint64_t remainder = 0;
        for (std::uint32_t& word : words) {
            const std::uint64_t current = (remainder << 32) | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    } while (words[0] != 0 || words[1] != 0 || words[2] != 0 || words[3] != 0);
    if (column.scale > 0) {
        if (digits.size() <= column.scale) {
            digits.insert(0, column.scale + 1 - digits.size(), '0');
        }
        digits.insert(digits.size() - column.scale, 1, '.');
    }
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    if ((bytes[0] & 0x80) != 0 && !zero) {
        digits.insert(digits.begin(), '-');
    }
    FieldValue value;
    value.kind = FieldValue::Kind::Decimal;
    value.text.assign(digits.begin(), digits.end());
    return value;
}

FieldValue decodeFixed(const ColumnDefinition& column, Bytes bytes) {
    switch (column.type) {
    case ColumnType::Byte:
        requireSize(bytes, 1);
        return integerValue(bytes[0]);
    case ColumnType::Int16:
        return integerValue(static_cast<std::int16_t>(u16At(bytes, 0)));
    case ColumnType::Int32:
        return integerValue(static_cast<std::int32_t>(u32At(bytes, 0)));
    case ColumnType::Currency:
        return realValue(static_cast<double>(static_cast<std::int64_t>(u64At(bytes, 0))) / 10000.0);
    case ColumnType::Float:
        return realValue(static_cast<double>(fromBits<float>(u32At(bytes, 0))));
    case ColumnType::Double:
        return realValue(fromBits<double>(u64At(bytes, 0)));
    case ColumnType::DateTime:
        return realValue(fromBits<double>(u64At(bytes, 0)), FieldValue::Kind::DateTime);
    case ColumnType::Guid:
        return guidValue(bytes);
    case ColumnType::Numeric:
        return decimalValue(column, bytes);
    default:
        return binaryValue({bytes.begin(), bytes.end()});
    }
}

} // namespace

FieldValue decodeField(const PageStore& pages, const ColumnDefinition& column,
                       const RowFields& row) {
    if (column.type == ColumnType::Boolean) {
        // The value is the null-mask bit itself; a Yes/No field is never NULL. True is -1 in
        // the engine's SQL.
        return integerValue(row.presenceBit(column) ? -1 : 0);
    }
    const std::optional<Bytes> bytes = row.bytes(column);
    if (!bytes) {
        return {};
    }
    switch (column.type) {
    case ColumnType::Text:
        return textValue(decodeText(*bytes));
    case ColumnType::Memo:
        return textValue(decodeText(readLongValue(pages, *bytes)));
    case ColumnType::Ole:
        return binaryValue(readLongValue(pages, *bytes));
    case ColumnType::Binary:
        return binaryValue({bytes->begin(), bytes->end()});
    default:
        return decodeFixed(column, *bytes);
    }
}

std::string dateTimeText(double days) {
    // Jet accepts the years 100 to 9999: about -657434 to 2958465 days.
    if (!std::isfinite(days) || days < -657435.0 || days > 2958466.0) {
        return {};
    }
    const double wholeDays = std::trunc(days);
    auto seconds = static_cast<long long>(std::llround(std::fabs(days - wholeDays) * 86400.0));
    auto day = static_cast<long long>(wholeDays);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    using namespace std::chrono;
    const year_month_day date{sys_days{year{1899} / December / 30} + std::chrono::days{day}};
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return text;
}

} // namespace jet
