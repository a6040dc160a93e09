#include "tests/jet/writer/jet_copy.h"

#include "tests/jet/fixture_files.h"

#include <QFile>

JetCopy::JetCopy(const QString& folder, const QString& fixture, const QString& password)
    : password_(password) {
    QFile::copy(fixturePath(folder, fixture), path());
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString JetCopy::connection() const {
    return jetConnectionString(path(), password_);
}

QByteArray JetCopy::bytes() const {
    return fileBytes(path());
}

QString JetCopy::scalar(const QString& sql) const {
    const QStringList rows = query(sql);
    return rows.isEmpty() ? QStringLiteral("<none>") : rows.front();
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
