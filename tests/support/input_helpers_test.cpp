#include "support/input_helpers.h"
#include "ui/keyboard.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <stdexcept>

namespace {

TEST(CenteredPosition, FollowsTheFormulaUnrounded) {
    struct Case {
        float screen;
        float window;
        float expected;
    };
    for (const Case& c : {Case{15360, 15360, -50}, Case{15360, 15260, 0}, Case{15360, 15257, 1.5f},
                          Case{15360, 16360, -550}, Case{15360, 8730, 3265}}) {
        EXPECT_FLOAT_EQ(Library1::CenteredPosition(c.screen, c.window), c.expected)
            << c.screen << " " << c.window;
    }
    EXPECT_THROW(Library1::CenteredPosition(std::numeric_limits<float>::infinity(), 1),
                 std::overflow_error);
    EXPECT_THROW(Library1::CenteredPosition(std::numeric_limits<float>::max(),
                                            -std::numeric_limits<float>::max()),
                 std::overflow_error);
}

class FocusChain : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        for (QLineEdit*& box : boxes_) {
            box = new QLineEdit(&window_);
            layout->addWidget(box);
        }
        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    QWidget window_;
    QLineEdit* boxes_[3] = {};
};

TEST_F(FocusChain, MoveFocusByKeyMovesBeforeReturning) {
    struct Case {
        int keyCode;
        int expectedBox; // from box 1
    };
    for (const Case& c : {Case{platform::vk::Return, 2}, Case{platform::vk::Down, 2},
                          Case{platform::vk::Up, 0}, Case{platform::vk::Tab, 1},
                          Case{platform::vk::Left, 1}, Case{'A', 1}, Case{platform::vk::F2, 1}}) {
        boxes_[1]->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), boxes_[1]);
        int keyCode = c.keyCode;
        Library1::MoveFocusByKey(keyCode);
        EXPECT_EQ(QApplication::focusWidget(), boxes_[c.expectedBox]) << "key " << c.keyCode;
        EXPECT_EQ(keyCode, c.keyCode);
    }
}

TEST_F(FocusChain, SelectAllTextSelectsEverythingOrPutsTheCaretAtTheStart) {
    boxes_[0]->setText(QStringLiteral("ขายหัวเราะ 12"));
    boxes_[0]->setCursorPosition(3);
    Library1::SelectAllText(boxes_[0]);
    EXPECT_EQ(boxes_[0]->selectedText(), QStringLiteral("ขายหัวเราะ 12"));

    boxes_[1]->clear();
    Library1::SelectAllText(boxes_[1]);
    EXPECT_FALSE(boxes_[1]->hasSelectedText());
    EXPECT_EQ(boxes_[1]->cursorPosition(), 0);

    QLabel label;
    EXPECT_THROW(Library1::SelectAllText(&label), std::invalid_argument);
}

TEST(KeyCodes, QtKeysMapToTheToolsNumbers) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    for (const Case& c :
         {Case{Qt::Key_Return, Qt::NoModifier, 13}, Case{Qt::Key_Enter, Qt::KeypadModifier, 13},
          Case{Qt::Key_Return, Qt::ShiftModifier, 13}, Case{Qt::Key_Down, Qt::ControlModifier, 40},
          Case{Qt::Key_Up, Qt::ShiftModifier, 38}, Case{Qt::Key_Escape, Qt::NoModifier, 27},
          Case{Qt::Key_F2, Qt::NoModifier, 113}, Case{Qt::Key_A, Qt::NoModifier, 65},
          Case{Qt::Key_5, Qt::NoModifier, 53}, Case{Qt::Key_F3, Qt::NoModifier, 0}}) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(platform::virtualKeyCode(event), c.expected) << c.key;
    }
}

} // namespace
