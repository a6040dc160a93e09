// The window's making and the one path from the platform's events to its handlers.

#include "main_window/frm_main.h"

#include "data/db_error.h"
#include "support/dialogs.h"
#include "ui/control_focus.h"
#include "ui/image_list.h"
#include "ui/keyboard.h"
#include "ui/toolbar.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

frmMain::frmMain(const MainWindowServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    BuildLayout();
    connect(Toolbar1, &platform::Toolbar::buttonClick, this, &frmMain::Toolbar1_ButtonClick);
    connect(side1_.findButton, &QPushButton::clicked, this, &frmMain::cmdFind1_Click);
    connect(side2_.findButton, &QPushButton::clicked, this, &frmMain::cmdFind2_Click);
    auto* focus = new platform::ControlFocus(*this);
    connect(focus, &platform::ControlFocus::gotFocus, this, &frmMain::RouteGotFocus);
    connect(focus, &platform::ControlFocus::lostFocus, this, &frmMain::RouteLostFocus);
    for (QLineEdit* box : {side1_.codeBox, side2_.codeBox}) {
        box->installEventFilter(this);
    }
    side1_.codeBox->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const bool box1 = watched == side1_.codeBox;
    if (event->type() != QEvent::KeyPress || (!box1 && watched != side2_.codeBox)) {
        return QWidget::eventFilter(watched, event);
    }
    int keyCode = platform::virtualKeyCode(*static_cast<QKeyEvent*>(event));
    // These keys belong to the handler alone; any other goes on to the box as typing.
    const bool handled = keyCode == platform::vk::Return || keyCode == platform::vk::Up ||
                         keyCode == platform::vk::Down;
    if (box1) {
        txtStrID1_KeyDown(keyCode);
    } else {
        txtStrID2_KeyDown(keyCode);
    }
    return handled;
}

void frmMain::RouteGotFocus(QWidget* control) {
    if (control == side1_.codeBox) {
        txtStrID1_GotFocus();
    } else if (control == side2_.codeBox) {
        txtStrID2_GotFocus();
    }
}

void frmMain::RouteLostFocus(QWidget* control) {
    if (control == side1_.codeBox) {
        txtStrID1_LostFocus();
    } else if (control == side2_.codeBox) {
        txtStrID2_LostFocus();
    }
}

void frmMain::RunReportingFailures(const std::function<void()>& work) {
    try {
        work();
    } catch (const platform::DbError& error) {
        services_.dialogs.ShowError(error.description());
    }
}
