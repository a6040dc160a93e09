#include "data/sqlite_handle.h"

#include "data/sqlite_engine.h"

#include <sqlite3.h>

#include <cerrno>

namespace platform {

SqliteDatabase::SqliteDatabase(const QString& path, OpenMode mode, SqliteErrorTranslator translate)
    : translate_(std::move(translate)) {
    prepareSqlite();
    const QByteArray utf8 = path.toUtf8();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (mode == OpenMode::CreateNewFile ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(utf8.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
        const int code = db_ ? sqlite3_extended_errcode(db_) : rc;
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw translate_(code, message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

void SqliteDatabase::execute(const QString& sql) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_exec(db_, utf8.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc);
    }
}

void SqliteDatabase::fail(int code) const {
    int extended = sqlite3_extended_errcode(db_);
    // SQLite reports a full disk only for a write that fails with ENOSPC; a write refused by
    // a file-size or quota limit, or a flush that finds no room, comes back as a plain I/O
    // error. For the user each means the same: the store cannot grow.
    if ((extended & 0xFF) == SQLITE_IOERR) {
        int system = sqlite3_system_errno(db_);
        if (system == 0) {
            // A write that failed while committing is remembered by the store file alone.
            sqlite3_file_control(db_, "main", SQLITE_FCNTL_LAST_ERRNO, &system);
        }
        if (system == ENOSPC || system == EFBIG || system == EDQUOT) {
            extended = SQLITE_FULL;
        }
    }
    throw translate_(extended != SQLITE_OK ? extended : code,
                     QString::fromUtf8(sqlite3_errmsg(db_)));
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                                      &stmt_, &tail);
    if (rc != SQLITE_OK) {
        db_.fail(rc);
    }
    if (stmt_ == nullptr) {
        throw DbError(QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                     "'PROCEDURE', 'SELECT', or 'UPDATE'."),
                      SQLITE_MISUSE);
    }
    // One text, one statement: a second statement hidden behind a ';' is refused outright.
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw DbError(QStringLiteral("Characters found after end of SQL statement."),
                          SQLITE_MISUSE);
        }
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    db_.fail(rc);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString SqliteStatement::columnName(int index) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, index));
}

QString SqliteStatement::declaredType(int index) const {
    return QString::fromUtf8(sqlite3_column_decltype(stmt_, index));
}

bool SqliteStatement::isNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

std::string_view SqliteStatement::textView(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index))};
}

void SqliteStatement::bindText(int index, std::string_view utf8) {
    check(sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT));
}

void SqliteStatement::bindInt64(int index, long long value) {
    check(sqlite3_bind_int64(stmt_, index, value));
}

void SqliteStatement::bindDouble(int index, double value) {
    check(sqlite3_bind_double(stmt_, index, value));
}

void SqliteStatement::bindNull(int index) {
    check(sqlite3_bind_null(stmt_, index));
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void SqliteStatement::check(int rc) const {
    if (rc != SQLITE_OK) {
        db_.fail(rc);
    }
}

QVariant SqliteStatement::value(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_TEXT: {
        const std::string_view text = textView(index);
        return QVariant(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, index));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(stmt_, index)));
    }
    default:
        return QVariant();
    }
}

} // namespace platform
