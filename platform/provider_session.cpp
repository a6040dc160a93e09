#include "provider_session.h"

#include "connection_string.h"
#include "database_file.h"
#include "engine_messages.h"
#include "jet/session/jet_session.h"
#include "sqlite_store.h"

namespace platform {

std::unique_ptr<ProviderSession> openProviderSession(const QString& connectionString) {
    const ConnectionParameters parameters = parseConnectionString(connectionString);
    if (parameters.provider.isEmpty() && parameters.dataSource.isEmpty()) {
        throw noDataSourceError();
    }
    if (parameters.provider.compare(QLatin1String(kFileProviderName), Qt::CaseInsensitive) != 0) {
        throw providerNotFoundError();
    }
    switch (sniffDatabaseFile(parameters.dataSource)) {
    case DatabaseFileKind::Missing:
        throw fileNotFoundError(parameters.dataSource);
    case DatabaseFileKind::SqliteStore:
        return openSqliteStore(parameters.dataSource, parameters.password);
    case DatabaseFileKind::Jet4:
        return openJetSession(parameters.dataSource, parameters.password);
    case DatabaseFileKind::Unrecognized:
        break;
    }
    throw unrecognizedFormatError(parameters.dataSource);
}

} // namespace platform
