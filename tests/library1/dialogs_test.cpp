#include "dialogs.h"
#include "message_box.h"
#include "scripted_services.h"

#include "gtest_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

// What a box on screen showed: its text, its buttons' captions (sorted) and its default.
struct SeenBox {
    QString text;
    QStringList buttons;
    QString defaultButton;
};

// Answers the next modal message box by pressing a key once it is on screen.
void pressInNextBox(Qt::Key key, SeenBox* seen) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            pressInNextBox(key, seen);
            return;
        }
        seen->text = box->text();
        seen->buttons.clear();
        for (const QAbstractButton* button : box->buttons()) {
            seen->buttons << button->text();
        }
        seen->buttons.sort();
        seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, key);
    });
}

// The boxes' buttons read Thai, like the rest of the tool.
TEST(RealMessageBox, EnterAnswersTheDefaultButtonNo) {
    platform::QtMessageBoxService boxes;
    Library1::Dialogs dialogs(boxes);
    SeenBox seen;
    pressInNextBox(Qt::Key_Return, &seen);
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("line one\r\nline two"), false), 7);
    EXPECT_EQ(seen.text, "line one\nline two");
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("ใช่"), QStringLiteral("ไม่ใช่")}));
    EXPECT_EQ(seen.defaultButton, QStringLiteral("ไม่ใช่"));

    pressInNextBox(Qt::Key_Return, &seen);
    EXPECT_EQ(dialogs.AskYesNo(QStringLiteral("default yes"), true), 6);
    EXPECT_EQ(seen.defaultButton, QStringLiteral("ใช่"));
}

TEST(RealMessageBox, ErrorBoxClosesWithEnter) {
    platform::QtMessageBoxService boxes;
    SeenBox seen;
    pressInNextBox(Qt::Key_Return, &seen);
    EXPECT_EQ(boxes.show(QStringLiteral("ไม่พบไฟล์"), 16, QStringLiteral("ข้อผิดพลาด")), 1);
    EXPECT_EQ(seen.text, QStringLiteral("ไม่พบไฟล์"));
    EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("ตกลง")});
}

} // namespace
