#include "tests/tools/store_rows.h"

#include "data/sqlite_session.h"
#include "data/sqlite_store.h"

QStringList storeRows(const QString& path, const QString& password, const QString& sql) {
    const auto session = platform::openCheckedSqliteSession(path, password);
    const auto rows = session->openQuery(sql);
    QStringList lines;
    for (; !rows->atEnd(); rows->moveNext()) {
        QStringList fields;
        for (int i = 0; i < rows->fieldCount(); ++i) {
            fields << rows->value(i).toString();
        }
        lines << fields.join(u'|');
    }
    return lines;
}

QString storeValue(const QString& path, const QString& password, const QString& sql) {
    const QStringList rows = storeRows(path, password, sql);
    return rows.isEmpty() ? QString() : rows.front();
}
