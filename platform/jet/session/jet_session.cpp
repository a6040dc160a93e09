#include "jet_session.h"

#include "database.h"
#include "engine_messages.h"
#include "jet_table_module.h"
#include "sqlite_handle.h"
#include "sqlite_row_source.h"
#include "sqlite_text_functions.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace platform {
namespace {

DbError readOnlyError() {
    return DbError(QStringLiteral("ฐานข้อมูลชนิด Jet 4.0 นี้ โปรแกรมอ่านได้อย่างเดียว "
                                  "ยังบันทึกการเปลี่ยนรหัสไม่ได้"),
                   SQLITE_READONLY);
}

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

// Reading is all this connection may do: everything else is refused while the statement is
// being prepared, before it can run.
int allowReadingOnly(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

// Errors of the in-memory connection as the user should read them: a refused write in our
// own words, the rest as the embedded store words them for the file.
SqliteErrorTranslator translatorFor(const QString& path) {
    return [path](int code, const QString& message) {
        if ((code & 0xFF) == SQLITE_AUTH) {
            return readOnlyError();
        }
        return translateSqliteError(code, message, path);
    };
}

class JetSession final : public ProviderSession {
public:
    JetSession(const QString& path, std::unique_ptr<jet::Database> database)
        : database_(std::move(database)),
          sql_(QStringLiteral(":memory:"), OpenMode::ExistingFile, translatorFor(path)) {
        if (textrules::registerTextFunctions(sql_.handle()) != SQLITE_OK ||
            attachJetTables(sql_.handle(), *database_) != SQLITE_OK) {
            sql_.fail(SQLITE_ERROR);
        }
        sqlite3_set_authorizer(sql_.handle(), allowReadingOnly, nullptr);
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
    // Declared first, so the connection whose tables read it is closed before it goes.
    std::unique_ptr<jet::Database> database_;
    SqliteDatabase sql_;
};

} // namespace

std::unique_ptr<ProviderSession> openJetSession(const QString& path, const QString& password) {
    try {
        jet::PageStore pages(jet::openFileReadOnly(QFile::encodeName(path).toStdString()));
        const std::u16string given(reinterpret_cast<const char16_t*>(password.utf16()),
                                   static_cast<std::size_t>(password.size()));
        if (!jet::acceptsPassword(pages.header(), given)) {
            throw invalidPasswordError();
        }
        return std::make_unique<JetSession>(path,
                                            std::make_unique<jet::Database>(std::move(pages)));
    } catch (const jet::ReadError& error) {
        throw translateReadError(error, path);
    }
}

} // namespace platform
