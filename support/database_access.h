#pragma once

#include "data/adodb.h"

#include <QString>

#include <memory>

namespace Library1 {

// The database half of the shared module: the run's one connection string, and the shared
// connection object that holds it but is never opened. Every recordset and every statement
// connects by itself and lets go when it is done; nothing is pooled.
class DatabaseAccess {
public:
    static constexpr const char* kDatabasePassword = "kd=73";

    void InitDatabase(const QString& path);
    // Opens a query; read-only gives a static read-only cursor, otherwise keyset/optimistic.
    std::unique_ptr<adodb::Recordset> OpenRecordset(const QString& sql, bool readOnly);
    void ExecuteSql(const QString& sql);
    void CloseConnection();

    const QString& DbConnectString() const { return dbConnectString_; }
    // The shared connection object; null while it does not exist.
    const adodb::Connection* DbConnection() const { return dbConnection_.get(); }

private:
    adodb::Connection& connectionCreatedOnDemand();

    QString dbConnectString_;
    std::unique_ptr<adodb::Connection> dbConnection_;
};

// A value as an SQL text literal: in apostrophes, any apostrophe inside doubled so the value
// can never end its literal early.
QString SqlLiteral(const QString& value);

} // namespace Library1
