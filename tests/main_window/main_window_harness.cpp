#include "tests/main_window/main_window_harness.h"

#include "story_search/frm_q_story_factory.h"
#include "tests/testkit/typing.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>

namespace {

class ScriptedStorySearch final : public StorySearch {
public:
    explicit ScriptedStorySearch(std::optional<QString> choice) : choice_(std::move(choice)) {}
    void ShowModal() override {
        if (choice_) {
            SelectedFlag = true;
            retStrID = *choice_;
        }
    }

private:
    std::optional<QString> choice_;
};

} // namespace

std::unique_ptr<StorySearch> ScriptedStorySearchFactory::create() {
    ++opened_;
    std::optional<QString> choice;
    if (!choices_.empty()) {
        choice = choices_.front();
        choices_.erase(choices_.begin());
    }
    return std::make_unique<ScriptedStorySearch>(choice);
}

MainWindowHarness::MainWindowHarness(const QString& storeScript, Search search, Boxes boxes)
    : store_(std::make_unique<TempStore>(storeScript)),
      dialogs_(boxes == Boxes::Real ? static_cast<platform::MessageBoxService&>(realBoxes_)
                                    : boxes_),
      folder_(std::make_unique<platform::GivenProgramFolder>(store_->folder())) {
    if (search == Search::Real) {
        realSearch_ = std::make_unique<FrmQStoryFactory>(database_, dialogs_);
    }
    window_ = std::make_unique<frmMain>(MainWindowServices{
        database_, dialogs_, programEnd_, *folder_, realSearch_ ? *realSearch_ : search_});
}

bool MainWindowHarness::load() {
    if (!window_->Form_Load()) {
        return false;
    }
    window_->show();
    QApplication::setActiveWindow(window_.get());
    return QTest::qWaitForWindowActive(window_.get());
}

QLineEdit* MainWindowHarness::box(int side) {
    return window_->findChild<QLineEdit*>(QStringLiteral("txtStrID%1").arg(side));
}

QLabel* MainWindowHarness::name(int side) {
    return window_->findChild<QLabel*>(QStringLiteral("lblStrName%1").arg(side));
}

QLabel* MainWindowHarness::count(int side) {
    return window_->findChild<QLabel*>(QStringLiteral("lblCnt%1").arg(side));
}

QPushButton* MainWindowHarness::find(int side) {
    return window_->findChild<QPushButton*>(QStringLiteral("cmdFind%1").arg(side));
}

QCheckBox* MainWindowHarness::deleteOption() {
    return window_->findChild<QCheckBox*>(QStringLiteral("chkDel1"));
}

void MainWindowHarness::clickToolbar(const char* key) {
    auto* button = window_->findChild<QToolButton*>(QStringLiteral("Toolbar1_") + key);
    QTest::mouseClick(button, Qt::LeftButton);
}

void MainWindowHarness::type(int side, const QString& text) {
    QLineEdit* target = box(side);
    if (QApplication::focusWidget() != target) {
        target->setFocus(Qt::OtherFocusReason);
    }
    typeText(target, text);
}

void MainWindowHarness::press(int side, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(box(side), key, modifiers);
}

void MainWindowHarness::answerBoxesWith(QKeyCombination first, QKeyCombination then) {
    answers_ = std::make_unique<MessageBoxAnswers>(QList<QKeyCombination>{first, then});
}

bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 100 && !condition(); ++i) {
        QTest::qWait(10);
    }
    return condition();
}
