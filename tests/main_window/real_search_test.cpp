// The find buttons with the real search dialog: a fresh dialog each time, the chosen code
// in the side that asked, looked up there; where both windows land on the screen.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"

#include "support/input_helpers.h"
#include "ui/report_list.h"
#include "ui/twips.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace {

// Once the next modal dialog is up and has the keyboard, runs the steps on it (each may close
// it). A dialog the steps leave open is closed after a while, so a failure never hangs the run.
void whenDialogOpens(const std::function<void(QDialog&)>& steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isActiveWindow()) {
            whenDialogOpens(steps);
            return;
        }
        QTimer::singleShot(5000, dialog, [dialog] { dialog->close(); });
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
        QTest::keyClick(searchBox(dialog), Qt::Key_Down); // into the list, on its first row
        QTest::keyClick(list(dialog), Qt::Key_Return);    // OK
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

// Where the window's frame is placed on the screen by the placement formula applied to its
// outer size, frame included.
QPoint placedByFormula(const QWidget& window) {
    const platform::TwipsScale scale = platform::TwipsScale::of(&window);
    const auto twipsX = static_cast<float>(scale.twipsPerPixelX());
    const auto twipsY = static_cast<float>(scale.twipsPerPixelY());
    const QSize screen = window.screen()->geometry().size();
    const QSize outer = window.frameGeometry().size();
    const float left = Library1::CenteredPosition(static_cast<float>(screen.width()) * twipsX,
                                                  static_cast<float>(outer.width()) * twipsX);
    const float top = Library1::CenteredPosition(static_cast<float>(screen.height()) * twipsY,
                                                 static_cast<float>(outer.height()) * twipsY);
    return {static_cast<int>(std::lround(left / twipsX)),
            static_cast<int>(std::lround(top / twipsY))};
}

TEST(Placement, BothWindowsLandByTheFormulaFrameIncluded) {
    MainWindowHarness h(shopScript(), MainWindowHarness::Search::Real);
    ASSERT_TRUE(h.load());
    struct Landing {
        QString window;
        QPoint framePosition; // where the platform has the window's frame
        QPoint expected;
        bool framed;
    };
    std::vector<Landing> landings;
    auto record = [&](QWidget& window) {
        landings.push_back({window.objectName(), window.windowHandle()->framePosition(),
                            placedByFormula(window),
                            window.frameGeometry().width() > window.width()});
    };
    record(h.window());
    whenDialogOpens([&](QDialog& dialog) {
        record(dialog);
        dialog.close();
    });
    h.find(1)->click();
    ASSERT_EQ(landings.size(), 2u);
    for (const Landing& landing : landings) {
        SCOPED_TRACE(landing.window.toStdString());
        EXPECT_TRUE(landing.framed) << "the screen gives no frame to count";
        EXPECT_EQ(landing.framePosition, landing.expected);
    }
}

} // namespace
