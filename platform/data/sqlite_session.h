#pragma once

#include "data/provider_session.h"
#include "data/sqlite_handle.h"

#include <QString>

#include <memory>

namespace platform {

// How long a connection waits for another program's lock on a store before giving up.
inline constexpr int kLockWaitMilliseconds = 5000;

// One connection to a store file, with the engine's text rules (the JETTEXT collation and
// LIKE) on it, waiting a while for another program's lock before giving up.
class SqliteSession final : public ProviderSession {
public:
    SqliteSession(const QString& path, OpenMode mode);

    std::unique_ptr<RowSource> openQuery(const QString& sql) override;
    void execute(const QString& sql) override;

    SqliteDatabase& database() { return db_; }
    const SqliteDatabase& database() const { return db_; }

    // Keeps a statement that is still reading (the password check, on its row) until the
    // first query has begun: the two then read under one lock of the file, where each would
    // take it and give it up again.
    void keepReadingUntilFirstQuery(std::unique_ptr<SqliteStatement> reading);

private:
    SqliteDatabase db_;
    std::unique_ptr<SqliteStatement> reading_; // declared after db_: finalized first
};

} // namespace platform
