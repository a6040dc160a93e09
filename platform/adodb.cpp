#include "adodb.h"

#include "db_error.h"

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

} // namespace

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
    auto session = platform::openProviderSession(activeConnection);
    auto rows = session->openQuery(source);
    session_ = std::move(session);
    rows_ = std::move(rows);
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
    if (rows_->atEnd()) {
        throw noCurrentRecordError();
    }
    return {rows_->fieldName(index), rows_->value(index)};
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
