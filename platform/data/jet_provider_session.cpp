#include "data/jet_provider_session.h"

#include "data/engine_messages.h"
#include "data/sqlite_handle.h"
#include "data/sqlite_row_source.h"
#include "jet/session/engine_words.h"
#include "jet/session/jet_file_session.h"
#include "jet/session/jet_table_module.h"
#include "textrules/sqlite_text_functions.h"

#include <QFile>

#include <sqlite3.h>

namespace platform {
namespace {

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
            return toDbError(writeErrorWords(*writes.failure(), writes.path()));
        }
        if ((code & 0xFF) == SQLITE_AUTH) {
            return toDbError(unsupportedStatementWords());
        }
        return translateSqliteError(code, message, path);
    };
}

class JetSession final : public ProviderSession {
public:
    JetSession(const QString& path, std::unique_ptr<JetFileSession> file)
        : file_(std::move(file)), sql_(QStringLiteral(":memory:"), OpenMode::ExistingFile,
                                       translatorFor(path, file_->writes())) {
        if (textrules::registerTextFunctions(sql_.handle()) != SQLITE_OK ||
            attachJetTables(sql_.handle(), file_->writes()) != SQLITE_OK) {
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
    // Declared in the order they are needed, so the connection whose tables use the file is
    // closed first.
    std::unique_ptr<JetFileSession> file_;
    SqliteDatabase sql_;
};

} // namespace

std::unique_ptr<ProviderSession> openJetSession(const QString& path, const QString& password) {
    try {
        return std::make_unique<JetSession>(
            path,
            JetFileSession::open(QFile::encodeName(path).toStdString(), password.toStdU16String()));
    } catch (const EngineFailure& failure) {
        throw DbError(QString::fromStdString(failure.what()), failure.code());
    }
}

} // namespace platform
