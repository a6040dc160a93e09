#include "tests/testkit/shared_material.h"

#include <QDir>

QString testDataDir() {
    return QStringLiteral(TEST_DATA_DIR);
}

std::optional<QString> sharedMaterialDir() {
    const QString dir = qEnvironmentVariable("SHARED_MATERIAL_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) {
        return std::nullopt;
    }
    return dir;
}

bool runningUnderCi() {
    return qEnvironmentVariable("CI") == QLatin1String("true");
}
