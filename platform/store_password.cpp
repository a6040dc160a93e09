#include "store_password.h"

#include "engine_messages.h"
#include "sqlite_session.h"
#include "sqlite_store.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <optional>

namespace platform {
namespace {

QByteArray passwordDigest(const QByteArray& salt, const QString& password) {
    return QMessageAuthenticationCode::hash(password.toUtf8(), salt, QCryptographicHash::Sha256);
}

} // namespace

void writeStorePassword(SqliteDatabase& db, const QString& password) {
    QByteArray salt;
    for (int i = 0; i < 4; ++i) {
        const quint32 word = QRandomGenerator::system()->generate();
        salt.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    db.execute(
        QStringLiteral("CREATE TABLE MSysStoreAccess (Salt BLOB NOT NULL, Digest BLOB NOT NULL)"));
    SqliteStatement insert(db,
                           QStringLiteral("INSERT INTO MSysStoreAccess VALUES (x'%1', x'%2')")
                               .arg(QString::fromLatin1(salt.toHex()),
                                    QString::fromLatin1(passwordDigest(salt, password).toHex())));
    insert.step();
}

void checkStoreAndPassword(const SqliteSession& session, const QString& path,
                           const QString& password) {
    std::optional<SqliteStatement> check;
    long long applicationId = 0;
    try {
        // Every connection pays for this check, so the id comes from the plain pragma, which
        // reads the file header; the table-valued pragma_application_id would first build a
        // virtual table on each new connection.
        SqliteStatement header(session.database(), QStringLiteral("PRAGMA application_id"));
        if (!header.step()) {
            throw unrecognizedFormatError(path);
        }
        applicationId = header.value(0).toLongLong();
        check.emplace(session.database(),
                      QStringLiteral("SELECT Salt, Digest FROM MSysStoreAccess"));
        if (!check->step()) {
            throw unrecognizedFormatError(path);
        }
    } catch (const DbError& error) {
        const int primary = error.nativeError() & 0xFF;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_IOERR ||
            primary == SQLITE_CANTOPEN) {
            throw;
        }
        // No access table, a corrupt page or a foreign file: not a database of ours.
        throw unrecognizedFormatError(path);
    }
    if (applicationId != kStoreApplicationId) {
        throw unrecognizedFormatError(path);
    }
    const QByteArray salt = check->value(0).toByteArray();
    const QByteArray digest = check->value(1).toByteArray();
    if (passwordDigest(salt, password) != digest) {
        throw invalidPasswordError();
    }
}

} // namespace platform
