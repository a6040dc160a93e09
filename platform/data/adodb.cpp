#include "data/adodb.h"

#include "data/provider_dispatch.h"

#include "data/db_error.h"

#include <sqlite3.h>

namespace adodb {
namespace {

platform::DbError closedObjectError() {
    return platform::DbError(QStringLiteral("Operation is not allowed when the object is closed."),
                             SQLITE_MISUSE);
}

platform::DbError noCurrentRecordError() {
    return platform::DbError(
        QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                       "Requested operation requires a current record."),
        SQLITE_MISUSE);
}

// The type the platform reports for a field: from the type its column declares, in the
// engine's names where the declaration uses them (as the Jet tables do) and by SQLite's
// affinity rules otherwise; for an expression, from the value of the current row.
DataTypeEnum dataType(const QString& declared, const std::optional<QVariant>& value) {
    const QString upper = declared.toUpper();
    qsizetype wordEnd = 0;
    while (wordEnd < upper.size() && upper[wordEnd] >= u'A' && upper[wordEnd] <= u'Z') {
        ++wordEnd;
    }
    const QStringView name = QStringView(upper).left(wordEnd);
    static const std::pair<const char*, DataTypeEnum> engineNames[] = {
        {"BIT", adBoolean},           {"BYTE", adUnsignedTinyInt}, {"SMALLINT", adSmallInt},
        {"CURRENCY", adCurrency},     {"DATETIME", adDate},        {"GUID", adGUID},
        {"LONGTEXT", adLongVarWChar}, {"REAL", adSingle},          {"NUMERIC", adNumeric},
        {"DECIMAL", adNumeric}};
    for (const auto& [engineName, type] : engineNames) {
        if (name == QLatin1String(engineName)) {
            return type;
        }
    }
    const auto has = [&](const char* part) { return upper.contains(QLatin1String(part)); };
    if (!name.isEmpty()) {
        if (has("INT")) {
            return adInteger;
        }
        if (has("CHAR") || has("CLOB") || has("TEXT")) {
            return adVarWChar;
        }
        if (has("BLOB")) {
            return adLongVarBinary;
        }
        return has("REAL") || has("FLOA") || has("DOUB") ? adDouble : adNumeric;
    }
    switch (value ? value->typeId() : QMetaType::UnknownType) {
    case QMetaType::LongLong:
        return adInteger;
    case QMetaType::Double:
        return adDouble;
    case QMetaType::QString:
        return adVarWChar;
    case QMetaType::QByteArray:
        return adLongVarBinary;
    default:
        return adVariant;
    }
}

} // namespace

const QVariant& FieldValue::current() const {
    if (!value_) {
        throw noCurrentRecordError();
    }
    return *value_;
}

void Connection::Open() {
    session_ = platform::openProviderSession(ConnectionString);
}

void Connection::Close() {
    if (!session_) {
        throw closedObjectError();
    }
    session_.reset();
}

Recordset::~Recordset() = default;

void Recordset::Open(const QString& source, const QString& activeConnection,
                     CursorTypeEnum cursorType, LockTypeEnum lockType, int /*options*/) {
    if (rows_) {
        throw platform::DbError(QStringLiteral("Operation is not allowed when the object is open."),
                                SQLITE_MISUSE);
    }
    platform::ProviderQuery query = platform::openProviderQuery(activeConnection, source);
    session_ = std::move(query.session);
    rows_ = std::move(query.rows);
    cursorType_ = cursorType;
    lockType_ = lockType;
}

void Recordset::Close() {
    requireOpen();
    rows_.reset();
    session_.reset();
}

void Recordset::requireOpen() const {
    if (!rows_) {
        throw closedObjectError();
    }
}

bool Recordset::Eof() const {
    requireOpen();
    return rows_->atEnd();
}

void Recordset::MoveNext() {
    requireOpen();
    if (rows_->atEnd()) {
        throw noCurrentRecordError();
    }
    rows_->moveNext();
}

int Recordset::FieldCount() const {
    requireOpen();
    return rows_->fieldCount();
}

Field Recordset::Fields(int index) const {
    requireOpen();
    if (index < 0 || index >= rows_->fieldCount()) {
        throw platform::DbError(
            QStringLiteral("Item cannot be found in the collection corresponding to the "
                           "requested name or ordinal."),
            SQLITE_RANGE);
    }
    std::optional<QVariant> value;
    if (!rows_->atEnd()) {
        value = rows_->value(index);
    }
    const DataTypeEnum type = dataType(rows_->declaredType(index), value);
    return {rows_->fieldName(index), type, value ? FieldValue(*value) : FieldValue()};
}

Field Recordset::Fields(const QString& name) const {
    requireOpen();
    const int count = rows_->fieldCount();
    for (int i = 0; i < count; ++i) {
        if (rows_->fieldName(i).compare(name, Qt::CaseInsensitive) == 0) {
            return Fields(i);
        }
    }
    return Fields(-1);
}

void Command::Execute(int /*options*/) {
    auto session = platform::openProviderSession(ActiveConnection);
    session->execute(CommandText);
}

} // namespace adodb
