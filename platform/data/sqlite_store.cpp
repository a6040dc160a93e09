#include "data/sqlite_store.h"

#include "data/engine_messages.h"
#include "data/sqlite_session.h"
#include "data/store_password.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace platform {

std::unique_ptr<SqliteSession> openCheckedSqliteSession(const QString& path,
                                                        const QString& password) {
    if (!QFileInfo(path).isFile()) {
        throw fileNotFoundError(path);
    }
    auto session = std::make_unique<SqliteSession>(path, OpenMode::ExistingFile);
    checkStoreAndPassword(*session, path, password);
    return session;
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

} // namespace platform
