#pragma once

// The shop fixtures (the project's copy in tests/data/jet, read in place) and their expected
// contents, one TSV file per table.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <optional>

inline const QStringList kFixtureNames = {
    QStringLiteral("shop-small"), QStringLiteral("shop-encoded"), QStringLiteral("shop-otherpass"),
    QStringLiteral("shop-nopass"), QStringLiteral("shop-large")};

// The writer's fixtures, in writer/ of the same folder, each with a shape a change meets.
inline const QStringList kWriterFixtureNames = {
    QStringLiteral("writer/shop-ri"), QStringLiteral("writer/shop-cascade"),
    QStringLiteral("writer/shop-multicol"), QStringLiteral("writer/shop-tight"),
    QStringLiteral("writer/shop-codes")};

// The folder holding the .mdb files.
QString fixtureFolder();

// Tests on the fixtures.
class JetFixtureTest : public ::testing::Test {
protected:
    void SetUp() override;
    QString fixture(const QString& name) const;

    QString folder_;
};
QString fixturePath(const QString& folder, const QString& name);
QString jetConnectionString(const QString& path, const QString& password);

// The lines of expected/<fixture>.<table>.tsv (writer/expected/... for a writer fixture): the
// header first, as stored.
QStringList expectedLines(const QString& folder, const QString& fixture, const QString& table);

// Every row of a query as tab-separated cells (as tsvCell writes them), in the order the query
// gives them, read through the data-access objects on a connection of their own; header, when
// given, gets the field names.
QStringList queryRows(const QString& sql, const QString& connection, QStringList* header = nullptr);
// The description of the error opening the query raises, or "" when it succeeds.
QString queryError(const QString& sql, const QString& connection);
// Runs a statement as the tool does; the error's description, or "" when it succeeds.
QString statementError(const QString& sql, const QString& connection);

// The tool's statements, with a code or fragment in apostrophes as it writes them.
QString storyLookup(const QString& code);
QString bookCount(const QString& code);
QString nameSearch(const QString& fragment);
QString codeUpdate(const QString& oldCode, const QString& newCode);
QString storyDeletion(const QString& code);

QByteArray fileBytes(const QString& path);

// A field as the expected files write it: \N for NULL, text with \\ \t \n \r escaped,
// floating values (Currency) with four decimals.
QString tsvCell(const QVariant& value);
