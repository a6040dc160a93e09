#include "fixture_files.h"

#include "shared_material.h"

#include <QDir>
#include <QFile>

std::optional<QString> fixtureFolder() {
    const auto shared = sharedMaterialDir();
    if (!shared || !QFileInfo::exists(QDir(*shared).filePath(QStringLiteral("jet/README.md")))) {
        return std::nullopt;
    }
    return QDir(*shared).filePath(QStringLiteral("jet"));
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
