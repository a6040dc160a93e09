#include "data/store_schema.h"

namespace platform {

QString storeSchemaSql() {
    return QStringLiteral("CREATE TABLE Story ("
                          " BStrID TEXT(15) COLLATE JETTEXT NOT NULL PRIMARY KEY,"
                          " BStrName TEXT(255) COLLATE JETTEXT,"
                          " Author TEXT(100) COLLATE JETTEXT,"
                          " Category TEXT(50) COLLATE JETTEXT,"
                          " AddedDate TEXT);"
                          "CREATE TABLE Book ("
                          " BookID INTEGER PRIMARY KEY AUTOINCREMENT,"
                          " BStrID TEXT(15) COLLATE JETTEXT,"
                          " VolNo INTEGER,"
                          " Price NUMERIC,"
                          " Status TEXT(20) COLLATE JETTEXT);"
                          "CREATE INDEX BookBStrID ON Book (BStrID);");
}

} // namespace platform
