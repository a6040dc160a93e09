#include "database_file.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

DatabaseFileKind sniffDatabaseFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        return DatabaseFileKind::Missing;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return DatabaseFileKind::Unrecognized;
    }
    const QByteArray head = file.read(0x15);
    if (head.startsWith(QByteArray("SQLite format 3\0", 16))) {
        return DatabaseFileKind::SqliteStore;
    }
    // Jet keeps its signature at offset 4 and the format version at 0x14: 1 is Jet 4.0;
    // Jet 3 and the later ACE format are other formats.
    if (head.size() == 0x15 && head.mid(4, 16) == QByteArray("Standard Jet DB\0", 16) &&
        head[0x14] == 1) {
        return DatabaseFileKind::Jet4;
    }
    return DatabaseFileKind::Unrecognized;
}

} // namespace platform
