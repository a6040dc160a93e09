#include "engine_messages.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace platform {

DbError fileNotFoundError(const QString& path) {
    return DbError(QStringLiteral("Could not find file '%1'.").arg(path), SQLITE_CANTOPEN);
}

DbError unrecognizedFormatError(const QString& path) {
    return DbError(QStringLiteral("Unrecognized database format '%1'.").arg(path), SQLITE_NOTADB);
}

DbError invalidPasswordError() {
    return DbError(QStringLiteral("Not a valid password."), SQLITE_AUTH);
}

DbError providerNotFoundError() {
    return DbError(QStringLiteral("Provider cannot be found. It may not be properly installed."),
                   SQLITE_MISUSE);
}

DbError noDataSourceError() {
    return DbError(QStringLiteral("Data source name not found and no default driver specified"),
                   SQLITE_MISUSE);
}

DbError translateSqliteError(int code, const QString& message, const QString& path) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError(QStringLiteral("Could not use '%1'; file already in use. Another program "
                                      "is writing to it; try again when it has finished.")
                           .arg(path),
                       code);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DbError(unrecognizedFormatError(path).description(), code);
    case SQLITE_READONLY:
        return DbError(QStringLiteral("Cannot update. Database or object is read-only."), code);
    case SQLITE_FULL:
        return DbError(QStringLiteral("Not enough space on disk."), code);
    case SQLITE_IOERR:
        if (!QFileInfo::exists(path)) {
            return DbError(fileNotFoundError(path).description(), code);
        }
        return DbError(QStringLiteral("Disk or network error."), code);
    case SQLITE_CANTOPEN:
        if (!QFileInfo(path).isFile()) {
            return DbError(fileNotFoundError(path).description(), code);
        }
        return DbError(QStringLiteral("Cannot update. Database or object is read-only."), code);
    default:
        return DbError(message, code);
    }
}

} // namespace platform
