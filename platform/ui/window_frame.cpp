#include "ui/window_frame.h"

#include <QWidget>

namespace platform {

void setFixedDialogFrame(QWidget& window) {
    window.setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
}

} // namespace platform
