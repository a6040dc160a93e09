#include "tools/store_writer/store_writer.h"

#include "data/db_error.h"
#include "data/sqlite_session.h"
#include "data/sqlite_store.h"
#include "data/store_password.h"
#include "data/store_schema.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace platform {
namespace {

void writeNewStore(const QString& path, const QString& password) {
    SqliteSession session(path, OpenMode::CreateNewFile);
    SqliteDatabase& db = session.database();
    db.execute(QStringLiteral("BEGIN"));
    db.execute(QStringLiteral("PRAGMA application_id = %1").arg(kStoreApplicationId));
    db.execute(storeSchemaSql());
    writeStorePassword(db, password);
    db.execute(QStringLiteral("COMMIT"));
}

} // namespace

void createSqliteStore(const QString& path, const QString& password) {
    if (QFileInfo::exists(path)) {
        throw DbError(QStringLiteral("Database '%1' already exists.").arg(path), SQLITE_CANTOPEN);
    }
    try {
        writeNewStore(path, password);
    } catch (...) {
        QFile::remove(path); // a half-written store would only be refused later
        throw;
    }
}

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
