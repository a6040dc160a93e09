#include "jet_sql_values.h"

#include <QString>

#include <sqlite3.h>

namespace platform {

std::string sqlIdentifier(const std::u16string& name) {
    QString text = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return (QLatin1Char('"') + text + QLatin1Char('"')).toStdString();
}

namespace {

const char* declaredType(jet::ColumnType type) {
    switch (type) {
    case jet::ColumnType::Text:
    case jet::ColumnType::Memo:
        return "TEXT COLLATE JETTEXT";
    case jet::ColumnType::Boolean:
    case jet::ColumnType::Byte:
    case jet::ColumnType::Int16:
    case jet::ColumnType::Int32:
        return "INTEGER";
    case jet::ColumnType::Currency:
    case jet::ColumnType::Float:
    case jet::ColumnType::Double:
        return "REAL";
    case jet::ColumnType::DateTime:
    case jet::ColumnType::Guid:
        return "TEXT";
    default:
        return "BLOB";
    }
}

} // namespace

std::string jetTableDeclaration(const jet::TableDefinition& table) {
    std::string sql = "CREATE TABLE x(";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + sqlIdentifier(table.columns[i].name) + ' ' +
               declaredType(table.columns[i].type);
    }
    return sql + ')';
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
