#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace platform {

// Got-focus and lost-focus of a window's controls, as the window's handlers expect them: the
// focus moving from one control of the window to another, whether the window was active at
// the time or took the focus back later. A message box or a dialog that comes and goes is no
// move when the focus returns to the control that had it; when the focus comes back to
// another control (one given the focus while the box was up), the control left behind loses
// it then and the new one gets it.
class ControlFocus final : public QObject {
    Q_OBJECT

public:
    explicit ControlFocus(QWidget& form);

signals:
    void lostFocus(QWidget* control);
    void gotFocus(QWidget* control);

private:
    void followFocus(QWidget* now);

    QWidget& form_;
    QPointer<QWidget> active_; // the window's control with the focus, as its handlers know it
};

} // namespace platform
