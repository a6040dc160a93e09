#pragma once

#include "provider_session.h"
#include "sqlite_handle.h"

#include <QString>

#include <memory>

namespace platform {

// One connection to a store file, with the engine's text rules (the JETTEXT collation and
// LIKE) on it, waiting a while for another program's lock before giving up.
class SqliteSession final : public ProviderSession {
public:
    SqliteSession(const QString& path, OpenMode mode);

    std::unique_ptr<RowSource> openQuery(const QString& sql) override;
    void execute(const QString& sql) override;

    SqliteDatabase& database() { return db_; }
    const SqliteDatabase& database() const { return db_; }

private:
    SqliteDatabase db_;
};

} // namespace platform
