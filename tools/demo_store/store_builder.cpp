#include "tools/demo_store/store_builder.h"

#include "data/sqlite_handle.h"
#include "tools/store_writer/store_writer.h"

#include <QFile>

#include <functional>

namespace demostore {
namespace {

std::int64_t countRows(platform::StoreWriter& writer, const QString& table) {
    platform::SqliteStatement count(writer.database(),
                                    QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    count.step();
    return count.value(0).toLongLong();
}

StoreCounts createAndFill(const QString& path, const QString& password,
                          const std::function<StoreCounts(platform::StoreWriter&)>& fill) {
    platform::createSqliteStore(path, password); // throws if the path is taken: nothing to undo
    try {
        platform::StoreWriter writer(path, password);
        return fill(writer);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

} // namespace

StoreCounts createDemoStore(const QString& path, const QString& password,
                            const DemoRequest& request) {
    checkDemoRequest(request); // before any file exists
    return createAndFill(path, password, [&](platform::StoreWriter& writer) {
        return fillDemoStore(writer, request);
    });
}

StoreCounts createStoreFromSql(const QString& path, const QString& password, const QString& sql) {
    return createAndFill(path, password, [&](platform::StoreWriter& writer) {
        if (!sql.trimmed().isEmpty()) {
            writer.runScript(sql);
        }
        return StoreCounts{countRows(writer, QStringLiteral("Story")),
                           countRows(writer, QStringLiteral("Book"))};
    });
}

} // namespace demostore
