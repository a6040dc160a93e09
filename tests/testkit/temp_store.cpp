#include "tests/testkit/temp_store.h"

#include "data/adodb.h"
#include "tools/store_writer/store_writer.h"

#include <stdexcept>

TempStore::TempStore(const QString& script, const QString& password) : password_(password) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    platform::createSqliteStore(path(), password_);
    if (!script.isEmpty()) {
        run(script);
    }
}

QString TempStore::connectionString() const {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path() +
           QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") + password_;
}

void TempStore::run(const QString& script) const {
    platform::StoreWriter writer(path(), password_);
    writer.runScript(script);
}

QString TempStore::scalar(const QString& sql) const {
    adodb::Recordset rs;
    rs.Open(sql, connectionString(), adodb::adOpenStatic, adodb::adLockReadOnly);
    const QVariant value = rs.Eof() ? QVariant() : rs.Fields(0).Value;
    rs.Close();
    return value.isNull() ? QStringLiteral("<null>") : value.toString();
}

QString sqlLiteral(const QString& value) {
    QString doubled = value;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}
