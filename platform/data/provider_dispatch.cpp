#include "data/provider_dispatch.h"

#include "data/connection_string.h"
#include "data/database_file.h"
#include "data/engine_messages.h"
#include "data/jet_provider_session.h"
#include "data/sqlite_store.h"

namespace platform {

namespace {

std::unique_ptr<ProviderSession> openSession(const QString& connectionString, FirstRead firstRead) {
    const ConnectionParameters parameters = parseConnectionString(connectionString);
    if (parameters.provider.isEmpty() && parameters.dataSource.isEmpty()) {
        throw noDataSourceError();
    }
    if (parameters.provider.compare(QLatin1String(kFileProviderName), Qt::CaseInsensitive) != 0) {
        throw providerNotFoundError();
    }
    // Checked at every connection: the file may have been replaced since the last one.
    const DatabaseFileHead head = readDatabaseFileHead(parameters.dataSource);
    switch (head.kind) {
    case DatabaseFileKind::Missing:
        throw fileNotFoundError(parameters.dataSource);
    case DatabaseFileKind::SqliteStore:
        return openReadSqliteStore(parameters.dataSource, parameters.password, head.applicationId,
                                   firstRead);
    case DatabaseFileKind::Jet4:
        return openJetSession(parameters.dataSource, parameters.password);
    case DatabaseFileKind::Unrecognized:
        break;
    }
    throw unrecognizedFormatError(parameters.dataSource);
}

} // namespace

std::unique_ptr<ProviderSession> openProviderSession(const QString& connectionString) {
    return openSession(connectionString, FirstRead::Ends);
}

ProviderQuery openProviderQuery(const QString& connectionString, const QString& sql) {
    ProviderQuery query{openSession(connectionString, FirstRead::LastsUntilFirstQuery), nullptr};
    query.rows = query.session->openQuery(sql);
    return query;
}

} // namespace platform
