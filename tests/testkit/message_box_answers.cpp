#include "tests/testkit/message_box_answers.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

SeenBox look(const QMessageBox& box) {
    SeenBox seen{box.text(), {}, box.defaultButton() ? box.defaultButton()->text() : QString()};
    for (const QAbstractButton* button : box.buttons()) {
        seen.buttons << button->text() + (button->icon().isNull() ? "" : " +icon");
    }
    return seen;
}

} // namespace

MessageBoxAnswers::MessageBoxAnswers(QList<QKeyCombination> presses)
    : presses_(std::move(presses)) {
    QApplication::instance()->installEventFilter(this);
}

MessageBoxAnswers::~MessageBoxAnswers() {
    QApplication::instance()->removeEventFilter(this);
}

bool MessageBoxAnswers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowActivate || presses_.isEmpty()) {
        return false;
    }
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box == nullptr || box->property("answered").toBool()) {
        return false;
    }
    box->setProperty("answered", true);
    const QKeyCombination press = presses_.size() > 1 ? presses_.takeFirst() : presses_.first();
    // Once the activation is done and the focus has settled on the box's button.
    QTimer::singleShot(0, box, [this, box, press] {
        seen_ << look(*box);
        QWidget* focus = box->focusWidget();
        QTest::keyClick(focus ? focus : box, press.key(), press.keyboardModifiers());
        QTimer::singleShot(5000, box, [this, box] {
            if (box->isVisible()) {
                ++leftOpen_;
                box->close();
            }
        });
    });
    return false;
}
