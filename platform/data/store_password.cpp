#include "data/store_password.h"

#include "data/engine_messages.h"
#include "data/sqlite_session.h"
#include "data/sqlite_store.h"

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

// The digest of a password under a salt never changes, so a connection that finds the salt
// and digest the last one accepted, asked with the same password, has its answer already.
bool isStorePassword(const QByteArray& salt, const QByteArray& digest, const QString& password) {
    struct Accepted {
        QByteArray salt;
        QByteArray digest;
        QString password;
    };
    thread_local std::optional<Accepted> last;
    if (last && last->salt == salt && last->digest == digest && last->password == password) {
        return true;
    }
    if (passwordDigest(salt, password) != digest) {
        return false;
    }
    last = Accepted{salt, digest, password};
    return true;
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

std::unique_ptr<SqliteStatement> checkStoreAndPassword(const SqliteSession& session,
                                                       const QString& path, const QString& password,
                                                       std::optional<std::uint32_t> applicationId) {
    if (applicationId && *applicationId != kStoreApplicationId) {
        throw unrecognizedFormatError(path);
    }
    std::unique_ptr<SqliteStatement> check;
    try {
        // A fresh connection reads the schema under a lock of its own and lets it go, unless
        // it is reading already. The plain pragma needs no schema and starts the read, and
        // it lasts until the check below has its row: the schema, the check (and the first
        // query) then read under one lock. The table-valued pragma_application_id would first
        // build a virtual table on the new connection.
        SqliteStatement header(session.database(), QStringLiteral("PRAGMA application_id"));
        if (!header.step() ||
            (!applicationId && header.value(0).toLongLong() != kStoreApplicationId)) {
            throw unrecognizedFormatError(path);
        }
        check = std::make_unique<SqliteStatement>(
            session.database(), QStringLiteral("SELECT Salt, Digest FROM MSysStoreAccess"));
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
    if (!isStorePassword(check->value(0).toByteArray(), check->value(1).toByteArray(), password)) {
        throw invalidPasswordError();
    }
    return check;
}

} // namespace platform
