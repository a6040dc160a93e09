// Start-up, shutdown and the toolbar: the load and unload steps, and the toolbar's click,
// which saves (the code change) or leaves the program.

#include "main_window/frm_main.h"
#include "main_window/main_window_texts.h"

#include "support/database_access.h"
#include "support/dialogs.h"
#include "support/input_helpers.h"
#include "ui/message_box.h"
#include "ui/program_services.h"
#include "ui/toolbar.h"

#include <QDir>

bool frmMain::Form_Load() {
    Library1::CenterForm(*this);
    const QString path =
        services_.programFolder.path() + QDir::separator() + QStringLiteral("book.mdb");
    if (platform::isOrdinaryFile(path)) {
        services_.database.InitDatabase(path);
        return true;
    }
    services_.dialogs.ShowError(QString::fromUtf8(MainWindowTexts::kFileNotFound) + path +
                                QStringLiteral("\r\n") +
                                QString::fromUtf8(MainWindowTexts::kCopyHint));
    services_.programEnd.endNow();
    return false;
}

void frmMain::Form_Unload(bool& /*cancel*/) {
    services_.database.CloseConnection();
}

void frmMain::Toolbar1_ButtonClick(platform::ToolbarButton* button) {
    const QString key = button->Key.toUpper();
    if (key == QLatin1String("OK")) {
        RunReportingFailures([this] { SaveCodeChange(); });
    } else if (key == QLatin1String("CANCEL")) {
        if (services_.dialogs.AskYesNo(QString::fromUtf8(MainWindowTexts::kAskExit), false) ==
            platform::msgbox::ResultYes) {
            services_.programEnd.endNow();
        }
    }
}
