#include "ui/control_focus.h"

#include <QApplication>
#include <QWidget>

namespace platform {

ControlFocus::ControlFocus(QWidget& form) : QObject(&form), form_(form) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { followFocus(now); });
}

void ControlFocus::followFocus(QWidget* now) {
    if (now == nullptr || now->window() != &form_ || now == active_) {
        return; // the focus is elsewhere, or back where the window left it
    }
    const QPointer<QWidget> left = active_;
    active_ = now;
    if (left) {
        emit lostFocus(left);
    }
    // A lost-focus handler may itself have moved the focus on; then that move has had its
    // got-focus already.
    if (active_ == now) {
        emit gotFocus(now);
    }
}

} // namespace platform
