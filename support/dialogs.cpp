#include "support/dialogs.h"

#include "ui/message_box.h"

namespace Library1 {

using namespace platform::msgbox;

void Dialogs::ShowError(const QString& message) {
    boxes_.show(message, OkOnly + Critical, QStringLiteral("ข้อผิดพลาด"));
}

void Dialogs::ShowInfo(const QString& message) {
    boxes_.show(message, OkOnly + Exclamation, QStringLiteral("แจ้งให้ทราบ"));
}

short Dialogs::AskYesNo(const QString& message, bool defaultYes) {
    const int style = YesNo + Question + (defaultYes ? 0 : DefaultButton2);
    return static_cast<short>(boxes_.show(message, style, QStringLiteral("คำถาม")));
}

} // namespace Library1
