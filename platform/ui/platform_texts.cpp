#include "ui/platform_texts.h"

#include <QCoreApplication>
#include <QTranslator>

#include <stdexcept>

namespace platform {

void installThaiPlatformTexts() {
    // Lives as long as the application: a translator must outlast its installation.
    static QTranslator thai;
    if (thai.isEmpty() && !thai.load(QStringLiteral(":/platform_texts/platform_texts_th.qm"))) {
        // Built into the program: missing means a broken build, not a missing file.
        throw std::runtime_error("the Thai platform texts are not built into the program");
    }
    QCoreApplication::installTranslator(&thai);
}

} // namespace platform
