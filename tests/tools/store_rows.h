#pragma once

#include <QString>
#include <QStringList>

// Every row of a query on a store, read through our own connection, fields joined with '|'
// and NULL as an empty field: the sqlite3 shell's list mode, for comparing the two.
QStringList storeRows(const QString& path, const QString& password, const QString& sql);

// The single value of a query, as text.
QString storeValue(const QString& path, const QString& password, const QString& sql);
