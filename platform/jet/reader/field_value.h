#pragma once

#include "jet/reader/page_store.h"
#include "jet/reader/row_fields.h"
#include "jet/reader/table_definition.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

// One decoded field. Currency and Single arrive as Real; Date/Time as Real days since
// 1899-12-30 with kind DateTime; GUID as Text in braces; Numeric as Decimal, its exact value
// in text ("-12.50": as many digits after the point as the column's scale); unknown types as
// their raw bytes.
struct FieldValue {
    enum class Kind { Null, Integer, Real, DateTime, Text, Binary, Decimal };

    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::u16string text;
    std::vector<std::uint8_t> binary;
};

FieldValue decodeField(const PageStore& pages, const ColumnDefinition& column,
                       const RowFields& row);

// "YYYY-MM-DD HH:MM:SS" for a Jet date: whole days since 1899-12-30, with the time of day as
// the fraction, which counts forward from midnight even for days before the epoch. Empty for
// values outside the years 100 to 9999 that Jet accepts.
std::string dateTimeText(double days);

} // namespace jet
