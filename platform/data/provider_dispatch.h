#pragma once

#include "data/provider_session.h"

#include <QString>

#include <memory>

// Which provider session a connection string opens: the file's first bytes tell an embedded
// store from a Jet 4.0 file.
namespace platform {

// Opens a connection from an OLE DB-style connection string: the provider must be the file
// database provider; "Data Source" names the file and "Jet OLEDB:Database Password" its
// password. Throws DbError.
std::unique_ptr<ProviderSession> openProviderSession(const QString& connectionString);

// A connection opened for one query, with that query's rows: what a recordset holds. The
// connection's own checks and the query read the file under one lock.
struct ProviderQuery {
    std::unique_ptr<ProviderSession> session; // declared first: outlives the rows
    std::unique_ptr<RowSource> rows;
};
ProviderQuery openProviderQuery(const QString& connectionString, const QString& sql);

} // namespace platform
