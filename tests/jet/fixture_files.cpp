#include "tests/jet/fixture_files.h"

#include "data/adodb.h"
#include "data/db_error.h"
#include "tests/testkit/shared_material.h"

#include <QDir>
#include <QFile>

QString fixtureFolder() {
    return QDir(testDataDir()).filePath(QStringLiteral("jet"));
}

void JetFixtureTest::SetUp() {
    folder_ = fixtureFolder();
}

QString JetFixtureTest::fixture(const QString& name) const {
    return fixturePath(folder_, name);
}

QString fixturePath(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name + QStringLiteral(".mdb"));
}

QString jetConnectionString(const QString& path, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") + password;
}

QStringList expectedLines(const QString& folder, const QString& fixture, const QString& table) {
    const QString directory = fixture.section(QLatin1Char('/'), 0, -2);
    const QString name = fixture.section(QLatin1Char('/'), -1);
    QFile file(QDir(QDir(folder).filePath(directory))
                   .filePath(QStringLiteral("expected/%1.%2.tsv").arg(name, table)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

QString tsvCell(const QVariant& value) {
    if (value.isNull()) {
        return QStringLiteral("\\N");
    }
    if (value.typeId() == QMetaType::Double) {
        return QString::number(value.toDouble(), 'f', 4);
    }
    QString text = value.toString();
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

QStringList queryRows(const QString& sql, const QString& connection, QStringList* header) {
    adodb::Recordset rs;
    rs.Open(sql, connection, adodb::adOpenStatic, adodb::adLockReadOnly);
    QStringList rows;
    for (int i = 0; header && i < rs.FieldCount(); ++i) {
        *header << rs.Fields(i).Name;
    }
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            cells << tsvCell(rs.Fields(i).Value);
        }
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
}

QString queryError(const QString& sql, const QString& connection) {
    try {
        queryRows(sql, connection);
        return QString();
    } catch (const platform::DbError& error) {
        return error.description();
    }
}

QString statementError(const QString& sql, const QString& connection) {
    adodb::Command command;
    command.ActiveConnection = connection;
    command.CommandType = adodb::adCmdText;
    command.CommandText = sql;
    try {
        command.Execute();
        return QString();
    } catch (const platform::DbError& error) {
        return error.description();
    }
}

namespace {

QString sqlText(const QString& value) {
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

} // namespace

QString storyLookup(const QString& code) {
    return QStringLiteral("SELECT * FROM Story Where BStrID = %1 ").arg(sqlText(code));
}

QString bookCount(const QString& code) {
    return QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = %1 ").arg(sqlText(code));
}

QString nameSearch(const QString& fragment) {
    return QStringLiteral("Select [BStrID], [BStrName] From  Story  Where BStrName Like %1 Order "
                          "by BStrName")
        .arg(sqlText(QLatin1Char('%') + fragment + QLatin1Char('%')));
}

QString codeUpdate(const QString& oldCode, const QString& newCode) {
    return QStringLiteral("UPDATE BOOK SET BStrID = %1 Where BStrID = %2 ")
        .arg(sqlText(newCode), sqlText(oldCode));
}

QString storyDeletion(const QString& code) {
    return QStringLiteral("DELETE FROM Story Where BStrID = %1 ").arg(sqlText(code));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
