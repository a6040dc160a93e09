#pragma once

// A shop fixture copied into a folder of its own as book.mdb, writable, gone with the object;
// and the statements the tool runs, run on it as the tool runs them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <set>

// Runs a statement on a connection of its own, as the tool does; the error's description, or
// "" when it succeeds.
QString executeOn(const QString& connection, const QString& sql);
// Every row of a query as tab-separated cells, in the order the query gives them.
QStringList queryOn(const QString& connection, const QString& sql);

class JetCopy {
public:
    // fixture: a name from fixture_files.h; the fixture folder must exist.
    JetCopy(const QString& folder, const QString& fixture);

    QString path() const { return dir_.filePath(QStringLiteral("book.mdb")); }
    QString connection() const;
    QByteArray bytes() const;

    QString execute(const QString& sql) const { return executeOn(connection(), sql); }
    QStringList query(const QString& sql) const { return queryOn(connection(), sql); }
    QString scalar(const QString& sql) const;

private:
    QTemporaryDir dir_;
};

// The statements of the tool, with the code in apostrophes as it writes it.
QString updateStatement(const QString& oldCode, const QString& newCode);
QString deleteStatement(const QString& code);
QString countStatement(const QString& code);
QString lookupStatement(const QString& code);
QString nameSearchStatement(const QString& fragment);

// The pages at which two images of a file differ, pages past the end of either included.
std::set<std::uint32_t> changedPages(const QByteArray& before, const QByteArray& after);
