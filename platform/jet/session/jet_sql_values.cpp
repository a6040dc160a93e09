#include "jet/session/jet_sql_values.h"

#include "jet/writer/write_error.h"
#include "textrules/sqlite_api.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace platform {

std::string utf8Text(const std::u16string& text) {
    return jet::utf8(text);
}

std::string sqlIdentifier(const std::u16string& name) {
    std::string quoted = "\"";
    for (const char c : jet::utf8(name)) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

namespace {

// The engine's own type names, so that a recordset reports the field types the engine would.
// Text and memo keep TEXT affinity, so text compares as before; the numeric names give
// INTEGER, REAL or NUMERIC affinity, which compare numbers alike, and Date/Time and GUID
// values, being text that never looks like a number, compare with text as before too.
const char* declaredType(jet::ColumnType type) {
    switch (type) {
    case jet::ColumnType::Text:
        return "TEXT COLLATE JETTEXT";
    case jet::ColumnType::Memo:
        return "LONGTEXT COLLATE JETTEXT";
    case jet::ColumnType::Boolean:
        return "BIT";
    case jet::ColumnType::Byte:
        return "BYTE";
    case jet::ColumnType::Int16:
        return "SMALLINT";
    case jet::ColumnType::Int32:
        return "INTEGER";
    case jet::ColumnType::Currency:
        return "CURRENCY";
    case jet::ColumnType::Float:
        return "REAL";
    case jet::ColumnType::Double:
        return "DOUBLE";
    case jet::ColumnType::DateTime:
        return "DATETIME";
    case jet::ColumnType::Guid:
        return "GUID";
    case jet::ColumnType::Numeric:
        return "DECIMAL";
    default:
        return "BLOB";
    }
}

// A decimal as a column of NUMERIC affinity keeps it: a whole number that fits 64 bits as an
// INTEGER, one of at most 15 significant digits as a REAL (which holds that many exactly),
// anything longer as its text, so that no digit is lost.
void setDecimalResult(sqlite3_context* context, const std::u16string& decimal) {
    const std::string text(decimal.begin(), decimal.end());
    const char* const first = text.data();
    const char* const last = text.data() + text.size();
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.find_first_not_of('0', point + 1) == std::string::npos) {
        std::int64_t whole = 0;
        const char* const integralEnd = point == std::string::npos ? last : first + point;
        if (const auto [end, error] = std::from_chars(first, integralEnd, whole);
            error == std::errc() && end == integralEnd) {
            sqlite3_result_int64(context, whole);
            return;
        }
    }
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c >= '0' && c <= '9'; });
    const std::size_t from = digits.find_first_not_of('0');
    const std::size_t to = digits.find_last_not_of('0');
    double real = 0;
    if ((from == std::string::npos || to - from < 15) &&
        std::from_chars(first, last, real).ec == std::errc()) {
        sqlite3_result_double(context, real);
        return;
    }
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

} // namespace

bool nameReservedBySqlite(const std::string& name) {
    return sqlite3_strnicmp(name.c_str(), "sqlite_", 7) == 0;
}

std::string jetColumnDeclarations(const jet::TableDefinition& table) {
    std::string columns;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        columns += (i == 0 ? "" : ", ") + sqlIdentifier(table.columns[i].name) + ' ' +
                   declaredType(table.columns[i].type);
    }
    return columns;
}

std::string jetTableDeclaration(const jet::TableDefinition& table) {
    return "CREATE TABLE x(" + jetColumnDeclarations(table) + ')';
}

void setSqlResult(sqlite3_context* context, const jet::FieldValue& value) {
    using Kind = jet::FieldValue::Kind;
    switch (value.kind) {
    case Kind::Null:
        sqlite3_result_null(context);
        break;
    case Kind::Integer:
        sqlite3_result_int64(context, value.integer);
        break;
    case Kind::Real:
        sqlite3_result_double(context, value.real);
        break;
    case Kind::DateTime:
        if (const std::string text = jet::dateTimeText(value.real); !text.empty()) {
            sqlite3_result_text(context, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT);
        } else {
            sqlite3_result_double(context, value.real);
        }
        break;
    case Kind::Text:
        sqlite3_result_text16(context, value.text.data(),
                              static_cast<int>(value.text.size() * sizeof(char16_t)),
                              SQLITE_TRANSIENT);
        break;
    case Kind::Decimal:
        setDecimalResult(context, value.text);
        break;
    case Kind::Binary:
        if (value.binary.empty()) {
            sqlite3_result_zeroblob(context, 0);
        } else {
            sqlite3_result_blob(context, value.binary.data(), static_cast<int>(value.binary.size()),
                                SQLITE_TRANSIENT);
        }
        break;
    }
}

} // namespace platform
