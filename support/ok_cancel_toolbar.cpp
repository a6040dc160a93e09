#include "support/ok_cancel_toolbar.h"

#include "support/standard_images.h"
#include "ui/toolbar.h"

namespace Library1 {

void AddOkCancelButtons(platform::Toolbar& toolbar, QSize buttonSize) {
    toolbar.addButton(QStringLiteral("OK"), QStringLiteral("  ตกลง  "),
                      QStringLiteral("[F2] - บันทึกข้อมูล"), kOkImage, buttonSize);
    toolbar.addButton(QStringLiteral("Cancel"), QStringLiteral(" ยกเลิก "),
                      QStringLiteral("[ESC] - ยกเลิก"), kCancelImage, buttonSize);
}

} // namespace Library1
