#pragma once

#include "data/provider_session.h"
#include "data/sqlite_handle.h"

namespace platform {

// The rows of one query on an SQLite connection, stepped as they are read: the first row is
// current once it is open. Serves the embedded store and the Jet file's SQL alike.
class SqliteRowSource final : public RowSource {
public:
    SqliteRowSource(const SqliteDatabase& db, const QString& sql);

    bool atEnd() const override { return !hasRow_; }
    void moveNext() override;
    int fieldCount() const override { return statement_.columnCount(); }
    QString fieldName(int index) const override { return statement_.columnName(index); }
    QString declaredType(int index) const override { return statement_.declaredType(index); }
    QVariant value(int index) const override;

private:
    SqliteStatement statement_;
    bool hasRow_ = false;
};

} // namespace platform
