#include "store_writer.h"

#include "sqlite_session.h"
#include "sqlite_store.h"

#include <sqlite3.h>

namespace platform {

StoreWriter::StoreWriter(const QString& path, const QString& password)
    : session_(openCheckedSqliteSession(path, password)) {}

StoreWriter::~StoreWriter() = default;

SqliteDatabase& StoreWriter::database() {
    return session_->database();
}

void StoreWriter::runScript(const QString& sql) {
    SqliteDatabase& db = database();
    db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        db.execute(sql);
        db.execute(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace platform
