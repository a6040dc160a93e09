#include "data/sqlite_session.h"

#include "data/engine_messages.h"
#include "data/sqlite_row_source.h"
#include "textrules/sqlite_text_functions.h"

#include <sqlite3.h>

namespace platform {
namespace {

SqliteErrorTranslator translatorFor(const QString& path) {
    return [path](int code, const QString& message) {
        return translateSqliteError(code, message, path);
    };
}

} // namespace

SqliteSession::SqliteSession(const QString& path, OpenMode mode)
    : db_(path, mode, translatorFor(path)) {
    sqlite3_busy_timeout(db_.handle(), kLockWaitMilliseconds);
    if (textrules::registerTextFunctions(db_.handle()) != SQLITE_OK) {
        db_.fail(SQLITE_ERROR);
    }
}

void SqliteSession::keepReadingUntilFirstQuery(std::unique_ptr<SqliteStatement> reading) {
    reading_ = std::move(reading);
}

std::unique_ptr<RowSource> SqliteSession::openQuery(const QString& sql) {
    auto rows = std::make_unique<SqliteRowSource>(db_, sql);
    reading_.reset();
    return rows;
}

void SqliteSession::execute(const QString& sql) {
    // A change takes its own transaction, with nothing else of this connection reading.
    reading_.reset();
    SqliteStatement statement(db_, sql);
    while (statement.step()) {
    }
}

} // namespace platform
