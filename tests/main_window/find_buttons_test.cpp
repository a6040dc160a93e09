// The find buttons: each opens a fresh search and fills only its own side.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QTest>

namespace {

TEST(FindButtons, AChosenCodeLandsInItsOwnSideAndIsLookedUpOnce) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("A0001"));
    h.press(1, Qt::Key_Return);

    h.search().chooseNext(QStringLiteral("th-0123 "));
    QTest::mouseClick(h.find(2), Qt::LeftButton);
    EXPECT_EQ(h.search().opened(), 1);
    EXPECT_EQ(h.box(2)->text(), "th-0123 "); // exactly as handed back
    EXPECT_EQ(h.name(2)->text(), QStringLiteral("ไก่ทอง"));
    EXPECT_EQ(h.count(2)->text(), "5");
    EXPECT_EQ(h.box(1)->text(), "A0001");
    EXPECT_EQ(h.count(1)->text(), "1,234");

    h.search().chooseNext(QStringLiteral("B0001"));
    QTest::mouseClick(h.find(1), Qt::LeftButton);
    EXPECT_EQ(h.search().opened(), 2);
    EXPECT_EQ(h.box(1)->text(), "B0001");
    EXPECT_EQ(h.count(1)->text(), "2");
    EXPECT_EQ(h.name(2)->text(), QStringLiteral("ไก่ทอง"));
}

TEST(FindButtons, NothingChosenChangesNothing) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("A0001"));
    h.press(1, Qt::Key_Return);
    h.box(2)->setText(QStringLiteral("typed"));
    QWidget* focusBefore = QApplication::focusWidget();

    h.search().cancelNext();
    h.find(2)->click(); // a click without the mouse keeps the focus where it was
    EXPECT_EQ(h.search().opened(), 1);
    EXPECT_EQ(h.box(2)->text(), "typed");
    EXPECT_EQ(h.name(2)->text(), "");
    EXPECT_EQ(h.box(1)->text(), "A0001");
    EXPECT_EQ(QApplication::focusWidget(), focusBefore);
    EXPECT_TRUE(h.boxes().shown().empty());
}

} // namespace
