#include "jet_copy.h"

#include "adodb.h"
#include "db_error.h"
#include "fixture_files.h"

#include <QFile>

namespace {

QString literal(const QString& code) {
    return QLatin1Char('\'') + QString(code).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

} // namespace

JetCopy::JetCopy(const QString& folder, const QString& fixture) {
    QFile::copy(fixturePath(folder, fixture), path());
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString JetCopy::connection() const {
    return jetConnectionString(path(), QStringLiteral("kd=73"));
}

QByteArray JetCopy::bytes() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString executeOn(const QString& connection, const QString& sql) {
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

QStringList queryOn(const QString& connection, const QString& sql) {
    adodb::Recordset rs;
    rs.Open(sql, connection, adodb::adOpenStatic, adodb::adLockReadOnly);
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            cells << tsvCell(rs.Fields(i).Value);
        }
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
}

QString JetCopy::scalar(const QString& sql) const {
    const QStringList rows = query(sql);
    return rows.isEmpty() ? QStringLiteral("<none>") : rows.front();
}

QString updateStatement(const QString& oldCode, const QString& newCode) {
    return QStringLiteral("UPDATE BOOK SET BStrID = %1 Where BStrID = %2 ")
        .arg(literal(newCode), literal(oldCode));
}

QString deleteStatement(const QString& code) {
    return QStringLiteral("DELETE FROM Story Where BStrID = %1 ").arg(literal(code));
}

QString countStatement(const QString& code) {
    return QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = %1 ").arg(literal(code));
}

QString lookupStatement(const QString& code) {
    return QStringLiteral("SELECT * FROM Story Where BStrID = %1 ").arg(literal(code));
}

QString nameSearchStatement(const QString& fragment) {
    return QStringLiteral("Select [BStrID], [BStrName] From  Story  Where BStrName Like %1 Order "
                          "by BStrName")
        .arg(literal(QLatin1Char('%') + fragment + QLatin1Char('%')));
}

std::set<std::uint32_t> changedPages(const QByteArray& before, const QByteArray& after) {
    std::set<std::uint32_t> pages;
    const qsizetype size = std::max(before.size(), after.size());
    for (qsizetype page = 0; page * 4096 < size; ++page) {
        if (before.mid(page * 4096, 4096) != after.mid(page * 4096, 4096)) {
            pages.insert(static_cast<std::uint32_t>(page));
        }
    }
    return pages;
}
