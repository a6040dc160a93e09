#include "ui/program_services.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {

void QtProgramEnd::endNow() {
    ended_ = true;
    QCoreApplication::exit(0);
}

QString QtProgramFolder::path() const {
    return QCoreApplication::applicationDirPath();
}

bool isOrdinaryFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

} // namespace platform
