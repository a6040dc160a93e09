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
    connect(cmdFind1, &QPushButton::clicked, this, &frmMain::cmdFind1_Click);
    connect(cmdFind2, &QPushButton::clicked, this, &frmMain::cmdFind2_Click);
    auto* focus = new platform::ControlFocus(*this);
    connect(focus, &platform::ControlFocus::gotFocus, this, &frmMain::RouteGotFocus);
    connect(focus, &platform::ControlFocus::lostFocus, this, &frmMain::RouteLostFocus);
    for (QLineEdit* box : {txtStrID1, txtStrID2}) {
        box->installEventFilter(this);
    }
    txtStrID1->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const bool box1 = watched == txtStrID1;
    if (event->type() != QEvent::KeyPress || (!box1 && watched != txtStrID2)) {
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
    if (control == txtStrID1) {
        txtStrID1_GotFocus();
    } else if (control == txtStrID2) {
        txtStrID2_GotFocus();
    }
}

void frmMain::RouteLostFocus(QWidget* control) {
    if (control == txtStrID1) {
        txtStrID1_LostFocus();
    } else if (control == txtStrID2) {
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

frmMain::Side frmMain::side1() {
    return {Frame1, txtStrID1, cmdFind1, lblStrName1, lblCnt1, &frmMain::ShowOldStory};
}

frmMain::Side frmMain::side2() {
    return {Frame2, txtStrID2, cmdFind2, lblStrName2, lblCnt2, &frmMain::ShowNewStory};
}
