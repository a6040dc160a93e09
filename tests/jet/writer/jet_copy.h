#pragma once

// A shop fixture copied into a folder of its own as book.mdb, writable, gone with the object;
// and the statements the tool runs, run on it as the tool runs them.

#include "tests/jet/fixture_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <set>

class JetCopy {
public:
    // fixture: a name from fixture_files.h (or a file of its folder, as "desktop/NAME"); the
    // fixture folder must exist. password: the file's database password.
    JetCopy(const QString& folder, const QString& fixture,
            const QString& password = QStringLiteral("kd=73"));

    QString path() const { return dir_.filePath(QStringLiteral("book.mdb")); }
    QString connection() const;
    QByteArray bytes() const;

    // The error's description, or "" when the statement succeeds.
    QString execute(const QString& sql) const { return statementError(sql, connection()); }
    QStringList query(const QString& sql) const { return queryRows(sql, connection()); }
    QString scalar(const QString& sql) const;

private:
    QTemporaryDir dir_;
    QString password_;
};

// The pages at which two images of a file differ, pages past the end of either included.
std::set<std::uint32_t> changedPages(const QByteArray& before, const QByteArray& after);
