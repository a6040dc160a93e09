#include "ui/window_system.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

void prepareWindowSystem() {
    constexpr const char* kNoSharedMemory = "QT_XCB_NO_MITSHM";
    if (!qEnvironmentVariableIsSet(kNoSharedMemory)) {
        qputenv(kNoSharedMemory, QByteArrayLiteral("1"));
    }
}

} // namespace platform
