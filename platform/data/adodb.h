#pragma once

// The data-access objects the shared module calls: a Connection that only holds its
// connection string, a Recordset and a Command that each open a connection of their own from
// a connection string and give it up when closed or dropped, so no connection outlives the
// statement or the reading it serves.

#include "data/provider_session.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace adodb {

enum CursorTypeEnum {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};
enum LockTypeEnum {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};
enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum CommandTypeEnum { adCmdUnknown = 8, adCmdText = 1 };
enum DataTypeEnum {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adVariant = 12,
    adUnsignedTinyInt = 17,
    adGUID = 72,
    adNumeric = 131,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205
};
inline constexpr int adOptionUnspecified = -1;

class Connection {
public:
    QString ConnectionString;

    ObjectStateEnum State() const { return session_ ? adStateOpen : adStateClosed; }
    void Open();
    void Close();

private:
    std::unique_ptr<platform::ProviderSession> session_;
};

// A field's Value: reading it needs a current row, as the platform's Value property does,
// while the field's Name and Type are known from the query alone.
class FieldValue {
public:
    FieldValue() = default; // no current row
    explicit FieldValue(QVariant value) : value_(std::move(value)) {}

    // Each throws DbError when there is no current row.
    operator QVariant() const { return current(); }
    bool isNull() const { return current().isNull(); }
    QString toString() const { return current().toString(); }
    qlonglong toLongLong() const { return current().toLongLong(); }
    double toDouble() const { return current().toDouble(); }

private:
    const QVariant& current() const;

    std::optional<QVariant> value_;
};

struct Field {
    QString Name;
    DataTypeEnum Type = adEmpty;
    FieldValue Value;
};

class Recordset {
public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // ActiveConnection is a connection string: the recordset connects by itself.
    void Open(const QString& source, const QString& activeConnection, CursorTypeEnum cursorType,
              LockTypeEnum lockType, int options = adOptionUnspecified);
    void Close();

    // End of file: no current row. ("EOF" itself is taken by the C library.)
    bool Eof() const;
    void MoveNext();
    int FieldCount() const;
    Field Fields(int index) const;
    Field Fields(const QString& name) const;

    ObjectStateEnum State() const { return rows_ ? adStateOpen : adStateClosed; }
    CursorTypeEnum CursorType() const { return cursorType_; }
    LockTypeEnum LockType() const { return lockType_; }

private:
    void requireOpen() const;

    // Declared before rows_ so the rows are dropped first.
    std::unique_ptr<platform::ProviderSession> session_;
    std::unique_ptr<platform::RowSource> rows_;
    CursorTypeEnum cursorType_ = adOpenForwardOnly;
    LockTypeEnum lockType_ = adLockReadOnly;
};

class Command {
public:
    QString ActiveConnection;
    CommandTypeEnum CommandType = adCmdUnknown;
    QString CommandText;

    // Runs the text on a connection of its own, dropped before Execute returns.
    void Execute(int options = adOptionUnspecified);
};

} // namespace adodb
