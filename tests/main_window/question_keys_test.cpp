// The change question and the exit question answered from the keyboard on the real boxes: the
// Thai buttons' accelerators, their letters alone, and Enter and Esc on the default No.

#include "tests/main_window/main_window_harness.h"

#include "tests/testkit/gtest_qt.h"

namespace {

const QString kTwoStories =
    QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES ('A1', 'หนึ่ง'), ('B1', 'สอง');"
                   "INSERT INTO Book (BStrID) VALUES ('A1'), ('A1'), ('A1')");

TEST(QuestionKeys, AnswerTheChangeAndTheExitQuestion) {
    struct Case {
        const char* toolbarKey; // "OK" asks about the change, "Cancel" about leaving
        QKeyCombination press;
        bool yes;
    };
    const Case cases[] = {
        {"OK", Qt::AltModifier | Qt::Key_Y, true},
        {"OK", Qt::AltModifier | Qt::Key_N, false},
        {"OK", Qt::Key_Y, true},
        {"OK", Qt::Key_N, false},
        {"OK", Qt::Key_Return, false},
        {"OK", Qt::Key_Escape, false},
        {"Cancel", Qt::AltModifier | Qt::Key_Y, true},
        {"Cancel", Qt::AltModifier | Qt::Key_N, false},
        {"Cancel", Qt::Key_Y, true},
        {"Cancel", Qt::Key_Escape, false},
    };
    for (const Case& c : cases) {
        const bool change = std::string(c.toolbarKey) == "OK";
        SCOPED_TRACE(std::string(c.toolbarKey) + " " +
                     QKeySequence(c.press).toString().toStdString());
        MainWindowHarness h(kTwoStories, MainWindowHarness::Search::Scripted,
                            MainWindowHarness::Boxes::Real);
        ASSERT_TRUE(h.load());
        h.box(1)->setText(QStringLiteral("A1"));
        h.box(2)->setText(QStringLiteral("B1"));
        h.answerBoxesWith(c.press); // and Enter on the notice after a change
        h.clickToolbar(c.toolbarKey);
        const int changedCopies = change && c.yes ? 3 : 0;
        EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = 'B1'")),
                  QString::number(changedCopies));
        EXPECT_EQ(h.programEnd().calls(), !change && c.yes ? 1 : 0);
        EXPECT_EQ(h.realBoxAnswers().seen().size(), changedCopies > 0 ? 2 : 1);
        EXPECT_EQ(h.realBoxAnswers().leftOpen(), 0);
    }
}

} // namespace
