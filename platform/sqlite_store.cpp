#include "sqlite_store.h"

#include "engine_messages.h"
#include "sqlite_session.h"
#include "store_password.h"

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

std::unique_ptr<SqliteSession> openCheckedSqliteSession(const QString& path,
                                                        const QString& password) {
    if (!QFileInfo(path).isFile()) {
        throw fileNotFoundError(path);
    }
    auto session = std::make_unique<SqliteSession>(path, OpenMode::ExistingFile);
    checkStoreAndPassword(*session, path, password);
    return session;
}

std::unique_ptr<ProviderSession> openSqliteStore(const QString& path, const QString& password) {
    return openCheckedSqliteSession(path, password);
}

std::unique_ptr<ProviderSession> openReadSqliteStore(const QString& path, const QString& password,
                                                     std::uint32_t applicationId,
                                                     FirstRead firstRead) {
    auto session = std::make_unique<SqliteSession>(path, OpenMode::ExistingFile);
    auto reading = checkStoreAndPassword(*session, path, password, applicationId);
    if (firstRead == FirstRead::LastsUntilFirstQuery) {
        session->keepReadingUntilFirstQuery(std::move(reading));
    }
    return session;
}

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

} // namespace platform
