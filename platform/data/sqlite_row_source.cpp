#include "data/sqlite_row_source.h"

namespace platform {

SqliteRowSource::SqliteRowSource(const SqliteDatabase& db, const QString& sql)
    : statement_(db, sql) {
    hasRow_ = statement_.step();
}

void SqliteRowSource::moveNext() {
    if (hasRow_) {
        hasRow_ = statement_.step();
    }
}

QVariant SqliteRowSource::value(int index) const {
    return hasRow_ ? statement_.value(index) : QVariant();
}

} // namespace platform
