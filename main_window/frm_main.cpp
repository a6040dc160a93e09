// Start-up, shutdown, the toolbar, and the routing of the code boxes' events.

#include "frm_main.h"
#include "main_window_texts.h"

#include "database_access.h"
#include "db_error.h"
#include "dialogs.h"
#include "image_list.h"
#include "input_helpers.h"
#include "keyboard.h"
#include "message_box.h"
#include "program_services.h"
#include "toolbar.h"

#include <QCloseEvent>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

frmMain::frmMain(const MainWindowServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    buildLayout();
    connect(Toolbar1, &platform::Toolbar::buttonClick, this, &frmMain::Toolbar1_ButtonClick);
    connect(side1_.findButton, &QPushButton::clicked, this, &frmMain::cmdFind1_Click);
    connect(side2_.findButton, &QPushButton::clicked, this, &frmMain::cmdFind2_Click);
    side1_.codeBox->setFocus();
}

frmMain::~frmMain() = default;

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

void frmMain::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

void frmMain::Form_Unload(bool& /*cancel*/) {
    services_.database.CloseConnection();
}

void frmMain::Toolbar1_ButtonClick(platform::ToolbarButton* button) {
    const QString key = button->Key.toUpper();
    if (key == QLatin1String("OK")) {
        reportingFailures([this] { SaveCodeChange(); });
    } else if (key == QLatin1String("CANCEL")) {
        if (services_.dialogs.AskYesNo(QString::fromUtf8(MainWindowTexts::kAskExit), false) ==
            platform::msgbox::ResultYes) {
            services_.programEnd.endNow();
        }
    }
}

void frmMain::reportingFailures(const std::function<void()>& work) {
    try {
        work();
    } catch (const platform::DbError& error) {
        services_.dialogs.ShowError(error.description());
    }
}

namespace {

// Another window taking or giving back the focus (a message box, the search dialog) is not
// the operator entering or leaving a box.
bool isWindowSwitch(const QFocusEvent& event) {
    return event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason;
}

} // namespace

frmMain::Side* frmMain::sideOf(QObject* codeBox) {
    if (codeBox == side1_.codeBox) {
        return &side1_;
    }
    if (codeBox == side2_.codeBox) {
        return &side2_;
    }
    return nullptr;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    Side* side = sideOf(watched);
    if (side == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!isWindowSwitch(*static_cast<QFocusEvent*>(event))) {
            CodeBox_GotFocus();
        }
        break;
    case QEvent::FocusOut:
        if (!isWindowSwitch(*static_cast<QFocusEvent*>(event))) {
            CodeBox_LostFocus(*side);
        }
        break;
    case QEvent::KeyPress: {
        int keyCode = platform::virtualKeyCode(*static_cast<QKeyEvent*>(event));
        const bool handled = keyCode == platform::vk::Return || keyCode == platform::vk::Up ||
                             keyCode == platform::vk::Down;
        CodeBox_KeyDown(*side, keyCode);
        return handled;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::CodeBox_GotFocus() {
    // The box that gets the focus is the window's active control by now.
    Library1::SelectAllText(focusWidget());
}

void frmMain::ShowOldStory(const QString& code) {
    showStory(side1_, code);
}

void frmMain::ShowNewStory(const QString& code) {
    showStory(side2_, code);
}

void frmMain::cmdFind1_Click() {
    searchForSide(side1_);
}

void frmMain::cmdFind2_Click() {
    searchForSide(side2_);
}
