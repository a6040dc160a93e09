#include "support/input_helpers.h"

#include "ui/keyboard.h"
#include "ui/twips.h"

#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <stdexcept>

namespace Library1 {

void MoveFocusByKey(int keyCode) {
    if (keyCode == platform::vk::Return || keyCode == platform::vk::Down) {
        platform::sendTabKeystroke(false);
    } else if (keyCode == platform::vk::Up) {
        platform::sendTabKeystroke(true);
    }
}

void SelectAllText(QWidget* control) {
    auto* box = qobject_cast<QLineEdit*>(control);
    if (box == nullptr) {
        throw std::invalid_argument("Object doesn't support this property or method");
    }
    box->setSelection(0, static_cast<int>(box->text().size()));
    if (box->text().isEmpty()) {
        box->setCursorPosition(0);
    }
}

float CenteredPosition(float screenSize, float windowSize) {
    const float position = (screenSize - windowSize - 100.0f) / 2.0f;
    if (!std::isfinite(position)) {
        throw std::overflow_error("Overflow");
    }
    return position;
}

namespace {

void placeByOuterSize(QWidget& form) {
    const QScreen* screen = form.screen();
    if (screen == nullptr) {
        return;
    }
    const platform::TwipsScale scale = platform::TwipsScale::of(&form);
    const auto twipsX = static_cast<float>(scale.twipsPerPixelX());
    const auto twipsY = static_cast<float>(scale.twipsPerPixelY());
    const QRect outer = form.frameGeometry();
    const float left = CenteredPosition(static_cast<float>(screen->geometry().width()) * twipsX,
                                        static_cast<float>(outer.width()) * twipsX);
    form.move(static_cast<int>(std::lround(left / twipsX)), form.y());
    const float top = CenteredPosition(static_cast<float>(screen->geometry().height()) * twipsY,
                                       static_cast<float>(form.frameGeometry().height()) * twipsY);
    form.move(form.x(), static_cast<int>(std::lround(top / twipsY)));
}

// Waits for the window's first show: by then the platform has made the window and knows its
// frame, and nothing of it has been painted yet.
class PlacementAtFirstShow final : public QObject {
public:
    explicit PlacementAtFirstShow(QWidget& form) : QObject(&form), form_(form) {
        form.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &form_ && event->type() == QEvent::Show) {
            form_.removeEventFilter(this);
            placeByOuterSize(form_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& form_;
};

} // namespace

void CenterForm(QWidget& form) {
    if (form.isVisible()) {
        placeByOuterSize(form);
    } else {
        new PlacementAtFirstShow(form);
    }
}

} // namespace Library1
