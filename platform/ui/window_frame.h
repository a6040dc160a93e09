#pragma once

class QWidget;

namespace platform {

// A fixed dialog frame with no task-bar button: a title bar with the system menu and the close
// button, no minimise or maximise button (the caller fixes the size, so there is no resizing
// either). The window asks to be left out of the task bar by being a tool window, the hint
// window managers take for it (a utility window on X11, a tool window on Windows); where the
// platform has no such hint (Wayland), the window keeps its button.
void setFixedDialogFrame(QWidget& window);

} // namespace platform
