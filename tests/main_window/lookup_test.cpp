// Code entry and lookup: the Enter rule, the leave rule, the arrow keys, failures.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"

#include "tests/testkit/gtest_qt.h"
#include "tests/testkit/typing.h"

#include <QApplication>
#include <QFile>

namespace {

struct EnterCase {
    const char* typed;
    const char* name;     // expected name display ("" when not found)
    const char* count;    // expected count display
    bool focusMoves;      // to the new-code box
    const char* boxAfter; // the old-code box afterwards
};

class EnterRule : public ::testing::TestWithParam<EnterCase> {};

TEST_P(EnterRule, ShowsNameAndCountOrEmptiesTheBox) {
    const EnterCase& c = GetParam();
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(1, QString::fromUtf8(c.typed));
    h.press(1, Qt::Key_Return);
    EXPECT_TRUE(h.boxes().shown().empty()) << "no message for any of these";
    EXPECT_EQ(h.name(1)->text(), QString::fromUtf8(c.name));
    EXPECT_EQ(h.count(1)->text(), QString::fromUtf8(c.count));
    EXPECT_EQ(QApplication::focusWidget(), c.focusMoves ? h.box(2) : h.box(1));
    EXPECT_EQ(h.box(1)->text(), QString::fromUtf8(c.boxAfter));
    EXPECT_EQ(h.name(2)->text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EnterRule,
    ::testing::Values(
        EnterCase{"A0001", "ขายหัวเราะ", "1,234", true, "A0001"},
        EnterCase{"a0001", "ขายหัวเราะ", "1,234", true, "a0001"}, // case ignored
        EnterCase{"Z0000", "ไม่มีเล่ม", "0", true, "Z0000"},
        EnterCase{"BIG", "เล่มใหญ่", "40,000", true, "BIG"}, // beyond 32,767
        EnterCase{"th-0123", "ไก่ทอง", "5", true, "th-0123"},
        EnterCase{"O'NEIL1", "โอ'นีล", "4", true, "O'NEIL1"}, // apostrophe in the code
        EnterCase{"NOPE", "", "", false, ""}, EnterCase{"BL-0001", "", "", false, ""}, // blank name
        EnterCase{"BL-0002", "", "", false, ""}, // NULL name: no error
        EnterCase{"x' OR '1'='1", "", "", false, ""},
        // Enter looks up the trimmed code, then leaving the box looks up the text as typed:
        // leading spaces count in the store, so the second lookup does not find it.
        EnterCase{"  A0001  ", "", "", true, "  A0001  "},
        EnterCase{"A0001  ", "ขายหัวเราะ", "1,234", true, "A0001  "}));

TEST(LeaveRule, UnconfirmedTextIsClearedWithoutALookup) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down}) {
        h.type(1, QStringLiteral("A0001"));
        h.press(1, key);
        EXPECT_EQ(h.box(1)->text(), "") << key;
        EXPECT_EQ(h.name(1)->text(), "") << key;
        EXPECT_EQ(QApplication::focusWidget(), h.box(2)) << key;
    }
    h.type(2, QStringLiteral("B0001"));
    h.press(2, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), h.box(1));
    EXPECT_EQ(h.box(2)->text(), "");
}

TEST(LeaveRule, AShownCodeIsLookedUpAgainOnLeaving) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("B0001"));
    h.press(1, Qt::Key_Return);
    ASSERT_EQ(h.count(1)->text(), "2");

    // The second lookup reads afresh: a copy added meanwhile shows on leaving.
    h.store().run(QStringLiteral("INSERT INTO Book (BStrID) VALUES ('B0001')"));
    h.box(1)->setFocus();
    h.press(1, Qt::Key_Tab);
    EXPECT_EQ(h.name(1)->text(), QStringLiteral("เจ้าหญิงนิทรา"));
    EXPECT_EQ(h.count(1)->text(), "3");

    // Edited to a code that does not exist: labels cleared, text kept.
    h.box(1)->setFocus();
    h.box(1)->setText(QStringLiteral("NOPE"));
    h.press(1, Qt::Key_Tab);
    EXPECT_EQ(h.box(1)->text(), "NOPE");
    EXPECT_EQ(h.name(1)->text(), "");
    EXPECT_EQ(h.count(1)->text(), "");

    // Now unconfirmed: the next departure clears it.
    h.box(1)->setFocus();
    h.press(1, Qt::Key_Tab);
    EXPECT_EQ(h.box(1)->text(), "");
}

// Real boxes and real focus. A focus move made while a box is up, or just after it closes,
// runs the leave rule and select-all like any other; the focus coming back to the box it left
// when the box came up is no move at all.
TEST(LeaveRule, HoldsForFocusMovesAroundMessageBoxes) {
    struct Case {
        const char* name;
        std::function<void(MainWindowHarness&)> act;
        const char* box1;
        const char* box2;
        int focusSide;
        const char* typedAfter; // then typed into the focused box
        const char* focusedBoxAfterTyping;
    };
    const Case cases[] = {
        {"unconfirmed new code, old code missing",
         [](MainWindowHarness& h) {
             h.type(2, QStringLiteral("B0001")); // no Enter: its name was never shown
             h.clickToolbar("OK");               // refused: the focus goes to the old box
         },
         "", "", 1, "", ""},
        {"equal codes refused",
         [](MainWindowHarness& h) {
             h.type(1, QStringLiteral("A0001"));
             h.press(1, Qt::Key_Return);
             h.type(2, QStringLiteral("a0001"));
             h.press(2, Qt::Key_Return);
             h.clickToolbar("OK"); // refused: the focus goes to the new box, text selected
         },
         "A0001", "a0001", 2, "B0001", "B0001"},
        {"failed lookup, focus back where it was",
         [](MainWindowHarness& h) {
             ASSERT_TRUE(QFile::rename(h.store().path(), h.store().path() + ".away"));
             h.type(1, QStringLiteral("A0001"));
             h.press(1, Qt::Key_Return); // error box; the focus returns to the same box
         },
         "A0001", "", 1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness h(shopScript(), MainWindowHarness::Search::Scripted,
                            MainWindowHarness::Boxes::Real);
        ASSERT_TRUE(h.load());
        h.answerBoxesWith(Qt::Key_Return);
        c.act(h);
        ASSERT_EQ(h.realBoxAnswers().seen().size(), 1);
        QLineEdit* focused = h.box(c.focusSide);
        EXPECT_TRUE(eventually([&] { return QApplication::focusWidget() == focused; }));
        EXPECT_EQ(h.box(1)->text(), QString::fromUtf8(c.box1));
        EXPECT_EQ(h.box(2)->text(), QString::fromUtf8(c.box2));
        if (*c.typedAfter != '\0') {
            typeText(focused, QString::fromUtf8(c.typedAfter));
            EXPECT_EQ(focused->text(), QString::fromUtf8(c.focusedBoxAfterTyping));
        }
    }
}

TEST(Lookup, TheNewSideWorksTheSameOnItsOwnDisplays) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(2, QStringLiteral("A0001"));
    h.press(2, Qt::Key_Return);
    EXPECT_EQ(h.name(2)->text(), QStringLiteral("ขายหัวเราะ"));
    EXPECT_EQ(h.count(2)->text(), "1,234");
    EXPECT_EQ(QApplication::focusWidget(), h.box(1)); // the toolbar takes no focus
    EXPECT_EQ(h.name(1)->text(), "");
}

TEST(Lookup, EnterSelectsTheNextBoxText) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.box(2)->setText(QStringLiteral("B0001"));
    h.type(1, QStringLiteral("A0001"));
    h.press(1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), h.box(2));
    EXPECT_EQ(h.box(2)->selectedText(), "B0001");
}

TEST(Lookup, ADatabaseFailureIsReportedAndTheWindowGoesOn) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("A0001"));
    h.press(1, Qt::Key_Return);
    ASSERT_EQ(h.count(1)->text(), "1,234");
    ASSERT_TRUE(QFile::rename(h.store().path(), h.store().path() + QStringLiteral(".away")));
    h.type(1, QStringLiteral("A0001"));
    h.press(1, Qt::Key_Return);
    // What the failed lookup replaced is not left standing, even though the code is the same.
    EXPECT_EQ(h.name(1)->text(), "");
    EXPECT_EQ(h.count(1)->text(), "");
    ASSERT_EQ(h.boxes().shown().size(), 1u);
    EXPECT_EQ(h.boxes().shown()[0].prompt,
              QStringLiteral("Could not find file '%1'.").arg(h.store().path()));
    EXPECT_EQ(h.boxes().shown()[0].style, 16);
    EXPECT_EQ(h.box(1)->text(), "A0001"); // kept for another try
    EXPECT_FALSE(QFile::exists(h.store().path()));

    ASSERT_TRUE(QFile::rename(h.store().path() + QStringLiteral(".away"), h.store().path()));
    h.press(1, Qt::Key_Return);
    EXPECT_EQ(h.count(1)->text(), "1,234");
}

} // namespace
