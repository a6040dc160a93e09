#include "data/engine_messages.h"

#include <QFileInfo>

#include <optional>

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

namespace {

// A statement that names a table or a column the database lacks (a store whose schema is not
// the shop's): the engine cannot find a table, and takes an unknown column name for a
// parameter, for which no value was given.
std::optional<DbError> unknownNameError(int code, const QString& message) {
    const QLatin1String table("no such table: ");
    if (message.startsWith(table)) {
        return DbError(QStringLiteral("The Microsoft Jet database engine cannot find the input "
                                      "table or query '%1'. Make sure it exists and that its "
                                      "name is spelled correctly.")
                           .arg(message.mid(table.size())),
                       code);
    }
    if (message.startsWith(QLatin1String("no such column: "))) {
        return DbError(QStringLiteral("No value given for one or more required parameters."), code);
    }
    return std::nullopt;
}

} // namespace

DbError translateSqliteError(int code, const QString& message, const QString& path) {
    switch (code & 0xFF) {
    case SQLITE_ERROR:
        return unknownNameError(code, message).value_or(DbError(message, code));
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
