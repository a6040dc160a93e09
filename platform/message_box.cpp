#include "message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

int QtMessageBoxService::show(const QString& prompt, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Messages break lines with CR LF; the label here wants a bare line feed.
    box.setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setWindowModality(Qt::ApplicationModal);
    switch (style & 0x70) {
    case msgbox::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case msgbox::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case msgbox::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case msgbox::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if ((style & 0x0F) == msgbox::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton((style & msgbox::DefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? msgbox::ResultYes : msgbox::ResultNo;
    }
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
    box.exec();
    return msgbox::ResultOk;
}

} // namespace platform
