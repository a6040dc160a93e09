#include "message_box.h"

#include <QApplication>
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
        QPushButton* yes = box->addButton(QMessageBox::Yes);
        QPushButton* no = box->addButton(QMessageBox::No);
        box->setDefaultButton((style & msgbox::DefaultButton2) ? no : yes);
        box->setEscapeButton(no);
    } else {
        box->setDefaultButton(box->addButton(QMessageBox::Ok));
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
