#include "data/engine_messages.h"

#include <QFileInfo>

#include <optional>

#include <sqlite3.h>

namespace platform {
namespace {

DbError toDbError(const EngineWords& words, int code) {
    return DbError(QString::fromStdString(words.text), code);
}

} // namespace

DbError toDbError(const EngineWords& words) {
    return toDbError(words, words.code);
}

DbError fileNotFoundError(const QString& path) {
    return toDbError(fileNotFoundWords(path.toStdString()));
}

DbError unrecognizedFormatError(const QString& path) {
    return toDbError(unrecognizedFormatWords(path.toStdString()));
}

DbError invalidPasswordError() {
    return toDbError(invalidPasswordWords());
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
        return toDbError(fileInUseWords(path.toStdString()), code);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return toDbError(unrecognizedFormatWords(path.toStdString()), code);
    case SQLITE_READONLY:
        return toDbError(readOnlyWords(), code);
    case SQLITE_FULL:
        return toDbError(diskFullWords(), code);
    case SQLITE_IOERR:
        return toDbError(diskErrorWords(path.toStdString()), code);
    case SQLITE_CANTOPEN:
        if (!QFileInfo(path).isFile()) {
            return toDbError(fileNotFoundWords(path.toStdString()), code);
        }
        return toDbError(readOnlyWords(), code);
    default:
        return DbError(message, code);
    }
}

} // namespace platform
