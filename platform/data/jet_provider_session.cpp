#include "data/jet_provider_session.h"

#include "data/engine_messages.h"
#include "data/jet_write_messages.h"
#include "data/sqlite_handle.h"
#include "data/sqlite_row_source.h"
#include "jet/reader/database.h"
#include "jet/session/jet_table_module.h"
#include "jet/session/jet_write_state.h"
#include "jet/writer/locked_file.h"
#include "textrules/sqlite_text_functions.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <chrono>

namespace platform {
namespace {

// How long a session waits for another process that is changing the file.
constexpr std::chrono::milliseconds kLockTimeout{5000};

DbError translateReadError(const jet::ReadError& error, const QString& path) {
    switch (error.kind()) {
    case jet::ReadError::Kind::NotJet4:
        return unrecognizedFormatError(path);
    case jet::ReadError::Kind::Damaged:
        return DbError(unrecognizedFormatError(path).description(), SQLITE_CORRUPT);
    case jet::ReadError::Kind::Io:
        break;
    }
    if (!QFileInfo(path).isFile()) {
        return fileNotFoundError(path);
    }
    return DbError(QStringLiteral("Disk or network error."), SQLITE_IOERR);
}

// Reading, UPDATE and DELETE are what a Jet file runs; anything else is refused while the
// statement is being prepared, before it can run.
int allowReadUpdateDelete(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

// Errors of the in-memory connection as the user should read them: a refused statement or
// change in the engine's words, the rest as the embedded store words them for the file.
SqliteErrorTranslator translatorFor(const QString& path, const JetWriteState& writes) {
    return [path, &writes](int code, const QString& message) {
        if (writes.failure()) {
            return writeErrorMessage(*writes.failure(), path);
        }
        if ((code & 0xFF) == SQLITE_AUTH) {
            return unsupportedStatementError();
        }
        return translateSqliteError(code, message, path);
    };
}

class JetSession final : public ProviderSession {
public:
    JetSession(const QString& path, std::unique_ptr<jet::LockedFile> file,
               std::unique_ptr<jet::Database> database)
        : file_(std::move(file)), database_(std::move(database)), writes_(*database_, *file_),
          sql_(QStringLiteral(":memory:"), OpenMode::ExistingFile, translatorFor(path, writes_)) {
        if (textrules::registerTextFunctions(sql_.handle()) != SQLITE_OK ||
            attachJetTables(sql_.handle(), writes_) != SQLITE_OK) {
            sql_.fail(SQLITE_ERROR);
        }
        sqlite3_set_authorizer(sql_.handle(), allowReadUpdateDelete, nullptr);
    }

    std::unique_ptr<RowSource> openQuery(const QString& sql) override {
        return std::make_unique<SqliteRowSource>(sql_, sql);
    }

    void execute(const QString& sql) override {
        SqliteStatement statement(sql_, sql);
        while (statement.step()) {
        }
    }

private:
    // Declared in the order they are needed, so the connection whose tables use the others
    // is closed first.
    std::unique_ptr<jet::LockedFile> file_;
    std::unique_ptr<jet::Database> database_;
    JetWriteState writes_;
    SqliteDatabase sql_;
};

} // namespace

std::unique_ptr<ProviderSession> openJetSession(const QString& path, const QString& password) {
    try {
        auto file = jet::LockedFile::open(QFile::encodeName(path).toStdString(), kLockTimeout);
        jet::PageStore pages(file->reader());
        const std::u16string given(reinterpret_cast<const char16_t*>(password.utf16()),
                                   static_cast<std::size_t>(password.size()));
        if (!jet::acceptsPassword(pages.header(), given)) {
            throw invalidPasswordError();
        }
        auto database = std::make_unique<jet::Database>(std::move(pages));
        return std::make_unique<JetSession>(path, std::move(file), std::move(database));
    } catch (const jet::ReadError& error) {
        throw translateReadError(error, path);
    } catch (const jet::WriteError& error) {
        throw writeErrorMessage(error, path);
    }
}

} // namespace platform
