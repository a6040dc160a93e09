#include "ui/message_box.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case msgbox::Critical:
        return QMessageBox::Critical;
    case msgbox::Question:
        return QMessageBox::Question;
    case msgbox::Exclamation:
        return QMessageBox::Warning;
    case msgbox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// A button as the desktop's own message boxes show it: words alone, with their accelerator.
// Qt gives standard buttons the style's icons wherever the platform theme asks for them, as
// every X11 session does, desktop or none, though never off screen; taking them off here keeps
// the buttons alike under any style, platform theme or icon theme.
QPushButton* addPlainButton(QMessageBox& box, QMessageBox::StandardButton which) {
    QPushButton* button = box.addButton(which);
    button->setIcon(QIcon());
    return button;
}

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const QString& prompt, int style,
                                             const QString& title) {
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(title);
    // Messages break lines with CR LF; the label here wants a bare line feed.
    box->setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box->setWindowModality(Qt::ApplicationModal);
    box->setIcon(iconFor(style));
    if ((style & 0x0F) == msgbox::YesNo) {
        QPushButton* yes = addPlainButton(*box, QMessageBox::Yes);
        QPushButton* no = addPlainButton(*box, QMessageBox::No);
        box->setDefaultButton((style & msgbox::DefaultButton2) ? no : yes);
        box->setEscapeButton(no);
    } else {
        box->setDefaultButton(addPlainButton(*box, QMessageBox::Ok));
    }
    return box;
}

int QtMessageBoxService::show(const QString& prompt, int style, const QString& title) {
    const QPointer<QWidget> owner = QApplication::activeWindow();
    const std::unique_ptr<QMessageBox> box = buildMessageBox(prompt, style, title);
    box->exec();
    // The window the box came over takes the keyboard back, whatever the window manager
    // (or the lack of one) would do, so the operator types on where the box interrupted.
    if (owner && owner->isVisible() && !owner->isActiveWindow()) {
        owner->activateWindow();
    }
    if ((style & 0x0F) != msgbox::YesNo) {
        return msgbox::ResultOk;
    }
    return box->standardButton(box->clickedButton()) == QMessageBox::Yes ? msgbox::ResultYes
                                                                         : msgbox::ResultNo;
}

} // namespace platform
