#include "tests/testkit/shared_material.h"

#include <QDir>

std::optional<QString> sharedMaterialDir() {
    const QString dir = qEnvironmentVariable("SHARED_MATERIAL_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) {
        return std::nullopt;
    }
    return dir;
}
