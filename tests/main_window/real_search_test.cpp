// The find buttons with the real search dialog: a fresh dialog each time, the chosen code
// in the side that asked, looked up there.

#include "main_window_harness.h"
#include "shop_fixture.h"

#include "gtest_qt.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "report_list.h"

namespace {

// Once the next modal dialog is up, runs the steps on it (each may close it).
void whenDialogOpens(const std::function<void(QDialog&)>& steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            whenDialogOpens(steps);
            return;
        }
        steps(*dialog);
    });
}

QLineEdit* searchBox(QDialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
}

platform::ReportList* list(QDialog& dialog) {
    return dialog.findChild<platform::ReportList*>(QStringLiteral("ListView1"));
}

TEST(RealSearch, ChoosingARowFillsTheSideThatAskedAndLooksItUp) {
    MainWindowHarness h(shopScript(), MainWindowHarness::Search::Real);
    ASSERT_TRUE(h.load());
    int listed = -1;
    whenDialogOpens([&](QDialog& dialog) {
        searchBox(dialog)->setText(QStringLiteral("ไก่"));
        QTest::keyClick(searchBox(dialog), Qt::Key_Return);
        listed = list(dialog)->itemCount();
        QTest::keyClick(searchBox(dialog), Qt::Key_Down); // into the list
        list(dialog)->selectItem(1);
        QTest::keyClick(list(dialog), Qt::Key_Return); // OK
    });
    h.find(2)->click();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(h.box(2)->text(), "TH-0123");
    EXPECT_EQ(h.name(2)->text(), QStringLiteral("ไก่ทอง"));
    EXPECT_EQ(h.count(2)->text(), "5");
    EXPECT_EQ(h.box(1)->text(), "");
    EXPECT_TRUE(h.boxes().shown().empty());
}

TEST(RealSearch, EachOpeningStartsEmptyAndF2LeavesTheSideAsItWas) {
    MainWindowHarness h(shopScript(), MainWindowHarness::Search::Real);
    ASSERT_TRUE(h.load());
    h.box(1)->setText(QStringLiteral("typed"));
    whenDialogOpens([](QDialog& dialog) {
        searchBox(dialog)->setText(QStringLiteral("%"));
        QTest::keyClick(searchBox(dialog), Qt::Key_Return);
        list(dialog)->selectItem(1);
        QTest::keyClick(searchBox(dialog), Qt::Key_F2); // Cancel, whatever is selected
    });
    h.find(1)->click();
    EXPECT_EQ(h.box(1)->text(), "typed");
    EXPECT_EQ(h.name(1)->text(), "");

    int rowsAtOpening = -1;
    QString textAtOpening = QStringLiteral("?");
    whenDialogOpens([&](QDialog& dialog) {
        rowsAtOpening = list(dialog)->itemCount();
        textAtOpening = searchBox(dialog)->text();
        dialog.close(); // the window's own close command: nothing chosen
    });
    h.find(1)->click();
    EXPECT_EQ(rowsAtOpening, 0);
    EXPECT_EQ(textAtOpening, "");
    EXPECT_EQ(h.box(1)->text(), "typed");
}

} // namespace
