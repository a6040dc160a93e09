#include "support/database_access.h"

#include "data/connection_string.h"

namespace Library1 {

adodb::Connection& DatabaseAccess::connectionCreatedOnDemand() {
    if (!dbConnection_) {
        dbConnection_ = std::make_unique<adodb::Connection>();
    }
    return *dbConnection_;
}

void DatabaseAccess::InitDatabase(const QString& path) {
    // A folder whose name holds a ';' would otherwise cut the path short, or even name
    // another file; any other path goes in exactly as given.
    dbConnectString_ = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                       platform::connectionStringValue(path) +
                       QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") +
                       QLatin1String(kDatabasePassword);
    connectionCreatedOnDemand().ConnectionString = dbConnectString_;
}

std::unique_ptr<adodb::Recordset> DatabaseAccess::OpenRecordset(const QString& sql, bool readOnly) {
    auto recordset = std::make_unique<adodb::Recordset>();
    recordset->Open(sql, dbConnectString_, readOnly ? adodb::adOpenStatic : adodb::adOpenKeyset,
                    readOnly ? adodb::adLockReadOnly : adodb::adLockOptimistic,
                    adodb::adOptionUnspecified);
    return recordset;
}

void DatabaseAccess::ExecuteSql(const QString& sql) {
    adodb::Command command;
    command.ActiveConnection = dbConnectString_;
    command.CommandType = adodb::adCmdText;
    command.CommandText = sql;
    command.Execute(adodb::adOptionUnspecified);
}

void DatabaseAccess::CloseConnection() {
    adodb::Connection& connection = connectionCreatedOnDemand();
    if (connection.State() == adodb::adStateOpen) {
        connection.Close();
        dbConnection_.reset();
    }
}

QString SqlLiteral(const QString& value) {
    QString doubled = value;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

} // namespace Library1
