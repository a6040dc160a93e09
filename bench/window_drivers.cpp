#include "bench/window_drivers.h"

#include "main_window/frm_main.h"
#include "story_search/frm_q_story.h"
#include "ui/report_list.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <stdexcept>

namespace bench {
namespace {

class NoSearch final : public StorySearchFactory {
public:
    std::unique_ptr<StorySearch> create() override {
        throw std::logic_error("the search dialog is not part of this measurement");
    }
};

class StayingProgram final : public platform::ProgramEnd {
public:
    void endNow() override { ended_ = true; }
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

template <typename T> T* child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return found;
}

void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) {
        throw std::runtime_error("the window did not become active");
    }
}

} // namespace

int CountingMessageBoxes::show(const QString& prompt, int /*style*/, const QString& /*title*/) {
    ++shown_;
    lastPrompt_ = prompt;
    return platform::msgbox::ResultNo;
}

class MainWindowDriver::Services {
public:
    Services(platform::MessageBoxService& boxes, const QString& folder)
        : dialogs(boxes), folder_(folder) {}
    MainWindowServices forWindow() { return {database, dialogs, end_, folder_, search_}; }

    Library1::Dialogs dialogs;
    Library1::DatabaseAccess database;

private:
    StayingProgram end_;
    platform::GivenProgramFolder folder_;
    NoSearch search_;
};

MainWindowDriver::MainWindowDriver(const QString& storeFolder)
    : services_(std::make_unique<Services>(boxes_, storeFolder)) {
    window_ = std::make_unique<frmMain>(services_->forWindow());
    if (!window_->Form_Load()) {
        throw std::runtime_error("the main window found no book.mdb in " +
                                 storeFolder.toStdString());
    }
    showActive(*window_);
    codeBox_ = child<QLineEdit>(*window_, "txtStrID1");
    name_ = child<QLabel>(*window_, "lblStrName1");
    count_ = child<QLabel>(*window_, "lblCnt1");
}

MainWindowDriver::~MainWindowDriver() = default;

void MainWindowDriver::typeOldCode(const QString& code) {
    codeBox_->setFocus(Qt::OtherFocusReason);
    codeBox_->setText(code);
}

void MainWindowDriver::pressEnter() {
    QTest::keyClick(codeBox_, Qt::Key_Return);
}

QString MainWindowDriver::shownName() const {
    return name_->text();
}

QString MainWindowDriver::shownCount() const {
    return count_->text();
}

SearchDialogDriver::SearchDialogDriver(const QString& storePath) {
    database_.InitDatabase(storePath);
    dialog_ = std::make_unique<frmQStory>(database_, dialogs_);
    showActive(*dialog_);
    searchBox_ = child<QLineEdit>(*dialog_, "Text1");
    list_ = child<platform::ReportList>(*dialog_, "ListView1");
}

SearchDialogDriver::~SearchDialogDriver() = default;

void SearchDialogDriver::clearList() {
    list_->clearItems();
    QCoreApplication::processEvents();
}

void SearchDialogDriver::search(const QString& fragment) {
    searchBox_->setText(fragment);
    QTest::keyClick(searchBox_, Qt::Key_Return);
    // Rows added in a burst reach the view once control is back in the event loop, as it
    // is between two of the operator's key presses; that and the repaint are part of it.
    QCoreApplication::processEvents();
}

int SearchDialogDriver::listed() const {
    return list_->itemCount();
}

} // namespace bench
