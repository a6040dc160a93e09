#include "sqlite_store.h"

#include "engine_messages.h"
#include "sqlite_handle.h"
#include "sqlite_row_source.h"
#include "sqlite_text_functions.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <optional>

namespace platform {
namespace {

QByteArray passwordDigest(const QByteArray& salt, const QString& password) {
    return QMessageAuthenticationCode::hash(password.toUtf8(), salt, QCryptographicHash::Sha256);
}

SqliteErrorTranslator translatorFor(const QString& path) {
    return [path](int code, const QString& message) {
        return translateSqliteError(code, message, path);
    };
}

} // namespace

class SqliteSession final : public ProviderSession {
public:
    SqliteSession(const QString& path, OpenMode mode) : db_(path, mode, translatorFor(path)) {
        sqlite3_busy_timeout(db_.handle(), kLockWaitMilliseconds);
        if (textrules::registerTextFunctions(db_.handle()) != SQLITE_OK) {
            db_.fail(SQLITE_ERROR);
        }
    }
    std::unique_ptr<RowSource> openQuery(const QString& sql) override {
        return std::make_unique<SqliteRowSource>(db_, sql);
    }
    void execute(const QString& sql) override {
        SqliteStatement statement(db_, sql);
        while (statement.step()) {
        }
    }
    SqliteDatabase& database() { return db_; }
    const SqliteDatabase& database() const { return db_; }

private:
    SqliteDatabase db_;
};

namespace {

// Checks that the file is one of our stores and that the password is its password.
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

void writeNewStore(const QString& path, const QString& password) {
    SqliteSession session(path, OpenMode::CreateNewFile);
    QByteArray salt;
    for (int i = 0; i < 4; ++i) {
        const quint32 word = QRandomGenerator::system()->generate();
        salt.append(reinterpret_cast<const char*>(&word), sizeof word);
    }
    SqliteDatabase& db = session.database();
    db.execute(QStringLiteral("BEGIN"));
    db.execute(QStringLiteral("PRAGMA application_id = %1").arg(kStoreApplicationId));
    db.execute(storeSchemaSql());
    db.execute(
        QStringLiteral("CREATE TABLE MSysStoreAccess (Salt BLOB NOT NULL, Digest BLOB NOT NULL)"));
    SqliteStatement insert(db,
                           QStringLiteral("INSERT INTO MSysStoreAccess VALUES (x'%1', x'%2')")
                               .arg(QString::fromLatin1(salt.toHex()),
                                    QString::fromLatin1(passwordDigest(salt, password).toHex())));
    insert.step();
    db.execute(QStringLiteral("COMMIT"));
}

} // namespace

namespace {

std::unique_ptr<SqliteSession> openCheckedSession(const QString& path, const QString& password) {
    if (!QFileInfo(path).isFile()) {
        throw fileNotFoundError(path);
    }
    auto session = std::make_unique<SqliteSession>(path, OpenMode::ExistingFile);
    checkStoreAndPassword(*session, path, password);
    return session;
}

} // namespace

std::unique_ptr<ProviderSession> openSqliteStore(const QString& path, const QString& password) {
    return openCheckedSession(path, password);
}

StoreWriter::StoreWriter(const QString& path, const QString& password)
    : session_(openCheckedSession(path, password)) {}

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

QString storeSchemaSql() {
    return QStringLiteral("CREATE TABLE Story ("
                          " BStrID TEXT(15) COLLATE JETTEXT NOT NULL PRIMARY KEY,"
                          " BStrName TEXT(255) COLLATE JETTEXT,"
                          " Author TEXT(100) COLLATE JETTEXT,"
                          " Category TEXT(50) COLLATE JETTEXT,"
                          " AddedDate TEXT);"
                          "CREATE TABLE Book ("
                          " BookID INTEGER PRIMARY KEY AUTOINCREMENT,"
                          " BStrID TEXT(15) COLLATE JETTEXT,"
                          " VolNo INTEGER,"
                          " Price NUMERIC,"
                          " Status TEXT(20) COLLATE JETTEXT);"
                          "CREATE INDEX BookBStrID ON Book (BStrID);");
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
