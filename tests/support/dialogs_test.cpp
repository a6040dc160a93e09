#include "support/dialogs.h"
#include "tests/testkit/message_box_answers.h"
#include "tests/testkit/scripted_services.h"
#include "ui/message_box.h"

#include "tests/testkit/gtest_qt.h"

namespace {

TEST(Dialogs, EachKindHasItsTitleStyleAndResult) {
    ScriptedMessageBoxes boxes;
    Library1::Dialogs dialogs(boxes);
    boxes.setNextAnswer(platform::msgbox::ResultOk);
    dialogs.ShowError(QStringLiteral("e"));
    boxes.setNextAnswer(platform::msgbox::ResultOk);
    dialogs.ShowInfo(QStringLiteral("i"));
    boxes.setNextAnswer(platform::msgbox::ResultYes);
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("q1"), true), 6);
    boxes.setNextAnswer(platform::msgbox::ResultNo);
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("q2"), false), 7);

    struct Expected {
        const char* prompt;
        int style;
        const char* title;
    };
    const Expected expected[] = {
        {"e", 16, "ข้อผิดพลาด"}, {"i", 48, "แจ้งให้ทราบ"}, {"q1", 36, "คำถาม"}, {"q2", 292, "คำถาม"}};
    ASSERT_EQ(boxes.shown().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(boxes.shown()[i].prompt, QString::fromUtf8(expected[i].prompt));
        EXPECT_EQ(boxes.shown()[i].style, expected[i].style);
        EXPECT_EQ(boxes.shown()[i].title, QString::fromUtf8(expected[i].title));
    }
}

// The boxes' buttons read Thai, like the rest of the tool, each with its accelerator.
TEST(RealMessageBox, EnterAnswersTheDefaultButtonNo) {
    platform::QtMessageBoxService boxes;
    Library1::Dialogs dialogs(boxes);
    MessageBoxAnswers answers({Qt::Key_Return});
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("line one\r\nline two"), false), 7);
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("default yes"), true), 6);
    ASSERT_EQ(answers.seen().size(), 2);
    EXPECT_EQ(answers.leftOpen(), 0);
    const SeenBox& first = answers.seen()[0];
    EXPECT_EQ(first.text, "line one\nline two");
    EXPECT_EQ(first.buttons, (QStringList{QStringLiteral("ใช่ (&Y)"), QStringLiteral("ไม่ใช่ (&N)")}));
    EXPECT_EQ(first.defaultButton, QStringLiteral("ไม่ใช่ (&N)"));
    EXPECT_EQ(answers.seen()[1].defaultButton, QStringLiteral("ใช่ (&Y)"));
}

TEST(RealMessageBox, ErrorBoxClosesWithEnter) {
    platform::QtMessageBoxService boxes;
    MessageBoxAnswers answers({Qt::Key_Return});
    EXPECT_EQ(boxes.show(QStringLiteral("ไม่พบไฟล์"), 16, QStringLiteral("ข้อผิดพลาด")), 1);
    ASSERT_EQ(answers.seen().size(), 1);
    EXPECT_EQ(answers.seen()[0].text, QStringLiteral("ไม่พบไฟล์"));
    EXPECT_EQ(answers.seen()[0].buttons, QStringList{QStringLiteral("ตกลง (&O)")});
}

} // namespace
