// The main window against its layout: names, kinds, captions, places, sizes, fonts, tab order.

#include "tests/main_window/main_window_harness.h"

#include "ui/group_frame.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

enum class Size { Fixed, ToCaption };

struct ControlRow {
    const char* name;
    int index; // for the indexed caption labels; -1 otherwise
    const char* kind;
    const char* parent;
    const char* caption;
    int left, top, width, height; // twips, from the parent's top-left
    Size size;
    const char* font; // family, or "" for the platform default
    double points;
};

// clang-format off
const ControlRow kLayout[] = {
    {"Frame1",      -1, "QGroupBox", "frmMain", "รหัสหนังสือเดิม", 240, 150, 8265, 1755, Size::Fixed, "Tahoma", 9.75},
    {"Label1",       1, "QLabel",    "Frame1", "รหัสหนังสือ :", 450, 450, 1035, 240, Size::ToCaption, "Tahoma", 9.75},
    {"txtStrID1",   -1, "QLineEdit", "Frame1", "", 1560, 450, 1065, 315, Size::Fixed, "MS Sans Serif", 9.75},
    {"cmdFind1",    -1, "QPushButton", "Frame1", "..", 2670, 450, 315, 315, Size::Fixed, "", 0},
    {"lblStrName1", -1, "QLabel",    "Frame1", "", 3060, 450, 4755, 315, Size::Fixed, "Tahoma", 9.75},
    {"Label1",       0, "QLabel",    "Frame1", "จำนวนหนังสือ :", 240, 870, 1230, 240, Size::ToCaption, "Tahoma", 9.75},
    {"lblCnt1",     -1, "platform::FittedTextLabel", "Frame1", "", 1560, 840, 675, 315, Size::Fixed, "Tahoma", 9.75},
    {"Label3",      -1, "QLabel",    "Frame1", "เล่ม", 2280, 870, 300, 240, Size::ToCaption, "Tahoma", 9.75},
    {"chkDel1",     -1, "QCheckBox", "Frame1", "ลบรหัสหนังสือเดิมเมื่อบันทึกเปลี่ยนรหัสชื่อหนังสือ", 1560, 1320, 4755, 255, Size::Fixed, "Tahoma", 9.75},
    {"Frame2",      -1, "QGroupBox", "frmMain", "รหัสหนังสือใหม่", 240, 2040, 8265, 1755, Size::Fixed, "Tahoma", 9.75},
    {"Label1",       3, "QLabel",    "Frame2", "รหัสหนังสือ :", 450, 480, 1035, 240, Size::ToCaption, "Tahoma", 9.75},
    {"txtStrID2",   -1, "QLineEdit", "Frame2", "", 1560, 480, 1065, 315, Size::Fixed, "MS Sans Serif", 9.75},
    {"cmdFind2",    -1, "QPushButton", "Frame2", "..", 2670, 480, 315, 315, Size::Fixed, "", 0},
    {"lblStrName2", -1, "QLabel",    "Frame2", "", 3060, 480, 4755, 315, Size::Fixed, "Tahoma", 9.75},
    {"Label1",       2, "QLabel",    "Frame2", "จำนวนหนังสือ :", 240, 900, 1230, 240, Size::ToCaption, "Tahoma", 9.75},
    {"lblCnt2",     -1, "platform::FittedTextLabel", "Frame2", "", 1560, 870, 675, 315, Size::Fixed, "Tahoma", 9.75},
    {"Label6",      -1, "QLabel",    "Frame2", "เล่ม", 2280, 900, 300, 240, Size::ToCaption, "Tahoma", 9.75},
    {"Toolbar1",    -1, "platform::Toolbar", "frmMain", "", 60, 4050, 2055, 825, Size::Fixed, "", 0},
    {"lblTitle",    -1, "QLabel",    "frmMain", "เปลี่ยนรหัสชื่อหนังสือ", 3390, 4080, 5250, 675, Size::ToCaption, "Tahoma", 27.75},
    {"Line1",       -1, "platform::LineControl", "frmMain", "", 90, 3960, 8520, 15, Size::Fixed, "", 0},
    {"Line2",       -1, "platform::LineControl", "frmMain", "", 60, 3975, 8520, 15, Size::Fixed, "", 0},
};
// clang-format on

int px(int twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QWidget* control(frmMain& window, const ControlRow& row) {
    for (QWidget* w : window.findChildren<QWidget*>(QString::fromUtf8(row.name))) {
        if (row.index < 0 || w->property("Index").toInt() == row.index) {
            return w;
        }
    }
    return nullptr;
}

QString captionOf(QWidget* w) {
    const QVariant text = w->property("text");
    if (text.isValid()) {
        return text.toString();
    }
    const QVariant title = w->property("title");
    return title.isValid() ? title.toString() : QString();
}

TEST(MainWindowLayout, EveryControlAsLaidOut) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    frmMain& window = h.window();
    const int dpi = window.logicalDpiX();
    EXPECT_EQ(window.objectName(), "frmMain");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("โปรแกรมสำหรับเปลี่ยนรหัสชื่อหนังสือ"));
    EXPECT_EQ(window.size(), QSize(px(8730, dpi), px(4950, dpi)));

    for (const ControlRow& row : kLayout) {
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.index));
        QWidget* w = control(window, row);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), row.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf8(row.parent));
        EXPECT_EQ(captionOf(w), QString::fromUtf8(row.caption));
        EXPECT_EQ(w->pos(), QPoint(px(row.left, dpi), px(row.top, dpi)));
        if (row.size == Size::Fixed) {
            EXPECT_EQ(w->size(), QSize(px(row.width, dpi), std::max(1, px(row.height, dpi))));
        } else {
            EXPECT_EQ(w->size(), w->sizeHint());
        }
        if (*row.font != '\0') {
            EXPECT_EQ(w->font().family(), QString::fromUtf8(row.font));
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), row.points);
            EXPECT_EQ(w->font().bold(), row.points > 20);
        } else {
            EXPECT_EQ(w->font(), QApplication::font());
        }
    }
}

// The largest difference of one channel of one pixel between two pictures of a size.
int largestDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size()) {
        return 256;
    }
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// The code groups' frames draw themselves once and keep the picture: after every change of
// their look they must still be what a group box draws (blending a kept picture may round a
// channel one level the other way, which no eye sees; a stale picture is far off).
TEST(MainWindowLayout, FramesLookAsGroupBoxesDoAfterEveryChange) {
    QWidget window;
    window.resize(500, 250);
    const QString caption = QStringLiteral("รหัสหนังสือเดิม");
    platform::GroupFrame frame(caption, &window);
    QGroupBox box(caption, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::pair<const char*, std::function<void(QGroupBox&)>> changes[] = {
        {"as made", [](QGroupBox& g) { g.setGeometry(10, 10, 460, 120); }},
        {"disabled", [](QGroupBox& g) { g.setEnabled(false); }},
        {"enabled again", [](QGroupBox& g) { g.setEnabled(true); }},
        {"caption coloured",
         [](QGroupBox& g) {
             QPalette palette = g.palette();
             palette.setColor(QPalette::WindowText, Qt::red);
             g.setPalette(palette);
         }},
        {"another font", [](QGroupBox& g) { g.setFont(QFont(QStringLiteral("Tahoma"), 14)); }},
        {"another caption", [](QGroupBox& g) { g.setTitle(QStringLiteral("รหัสหนังสือใหม่")); }},
        {"resized", [](QGroupBox& g) { g.resize(300, 90); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change(frame);
        change(box);
        EXPECT_LE(largestDifference(frame.grab().toImage(), box.grab().toImage()), 1);
    }
}

TEST(MainWindowLayout, ToolbarButtonsColoursAndFrame) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    frmMain& window = h.window();
    const int dpi = window.logicalDpiX();
    struct Button {
        const char* key;
        const char* caption;
        const char* tip;
        int x;
    };
    for (const Button& b : {Button{"OK", "  ตกลง  ", "[F2] - บันทึกข้อมูล", 0},
                            Button{"Cancel", " ยกเลิก ", "[ESC] - ยกเลิก", px(795, dpi)}}) {
        auto* button = window.findChild<QToolButton*>(QStringLiteral("Toolbar1_") + b.key);
        ASSERT_NE(button, nullptr) << b.key;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.tip));
        EXPECT_EQ(button->geometry(), QRect(b.x, 0, px(795, dpi), px(825, dpi)));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_FALSE(button->icon().isNull());
    }
    auto colourOf = [&](const char* name) {
        return window.findChild<QWidget*>(QLatin1String(name))
            ->palette()
            .color(QPalette::WindowText);
    };
    EXPECT_EQ(colourOf("Frame1"), QColor(255, 0, 0));
    EXPECT_EQ(colourOf("Frame2"), QColor(0, 0, 255));
    EXPECT_EQ(colourOf("chkDel1"), QColor(255, 0, 0));
    EXPECT_EQ(colourOf("lblStrName1"), window.palette().color(QPalette::WindowText));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblCnt1"))->alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);

    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(window.windowType(), Qt::Tool); // the hint for no task-bar button
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST(MainWindowLayout, TabMovesBetweenTheCodeBoxesOnlyAndBoxesHoldFifteen) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    h.box(1)->setFocus();
    QTest::keyClick(h.box(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), h.box(2));
    QTest::keyClick(h.box(2), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), h.box(1));
    QTest::keyClick(h.box(1), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), h.box(2));
    for (const char* name : {"cmdFind1", "cmdFind2", "chkDel1"}) {
        EXPECT_FALSE(h.window().findChild<QWidget*>(QLatin1String(name))->focusPolicy() &
                     Qt::TabFocus)
            << name;
    }

    QTest::keyClicks(h.box(2), QStringLiteral("1234567890ABCDEFG"));
    EXPECT_EQ(h.box(2)->text(), "1234567890ABCDE");
    h.box(1)->clear();
    h.box(1)->setFocus();
    h.box(1)->insert(QStringLiteral("ขายหัวเราะ-ขายหัวเราะ")); // as a paste does
    EXPECT_EQ(h.box(1)->text().size(), 15);

    // A character outside the Basic Multilingual Plane that does not fit whole is not taken.
    h.box(2)->clear();
    h.box(2)->setFocus();
    QTest::keyClicks(h.box(2), QStringLiteral("ABCDEFGHIJKLMN"));
    QApplication::clipboard()->setText(QStringLiteral("😀"));
    h.box(2)->paste();
    EXPECT_EQ(h.box(2)->text(), "ABCDEFGHIJKLMN");
    h.box(2)->backspace();
    h.box(2)->paste();
    EXPECT_EQ(h.box(2)->text(), QStringLiteral("ABCDEFGHIJKLM😀"));
}

// The columns of a rendered display's inside that hold any of the text's ink.
std::pair<int, int> inkColumns(QLabel& display) {
    const QImage picture = display.grab().toImage();
    const QColor background = display.palette().color(display.backgroundRole());
    const QRect inside = display.contentsRect();
    int first = -1;
    int last = -1;
    for (int x = inside.left(); x <= inside.right(); ++x) {
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            const QColor pixel = picture.pixelColor(x, y);
            if (std::abs(pixel.lightness() - background.lightness()) > 60) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(MainWindowLayout, DisplaysKeepTheirSizeWhateverTheyShow) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    const QSize name = h.name(1)->size();
    const QSize count = h.count(1)->size();
    h.name(1)->setText(QString(300, QChar(u'ก')));
    EXPECT_EQ(h.name(1)->size(), name);
    // Counts show whole, however many digits: the ink stays clear of the display's frame.
    for (const char* shown : {"0", "1,234", "40,000", "100,000", "1,000,000", "1,234,567,890"}) {
        SCOPED_TRACE(shown);
        h.count(1)->setText(QString::fromLatin1(shown));
        EXPECT_EQ(h.count(1)->size(), count);
        EXPECT_EQ(h.count(1)->text(), QString::fromLatin1(shown));
        const QRect inside = h.count(1)->contentsRect();
        const auto [first, last] = inkColumns(*h.count(1));
        ASSERT_GE(first, 0) << "nothing drawn";
        EXPECT_GT(first, inside.left());
        EXPECT_LT(last, inside.right());
        // Centred, as the layout has it.
        EXPECT_LE(std::abs((first - inside.left()) - (inside.right() - last)), 2);
    }
}

TEST(MainWindowLayout, CodeBoxMenuReadsThai) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    QLineEdit* box = h.box(1);
    box->setText(QStringLiteral("A0001"));
    QContextMenuEvent request(QContextMenuEvent::Keyboard, box->rect().center(),
                              box->mapToGlobal(box->rect().center()));
    QApplication::sendEvent(box, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text().section(u'\t', 0, 0); // the shortcut follows a tab
        }
    }
    menu->close();
    EXPECT_EQ(texts, (QStringList{"เลิกทำ (&U)", "ทำซ้ำ (&R)", "ตัด (&T)", "คัดลอก (&C)", "วาง (&P)",
                                  "ลบ (&D)", "เลือกทั้งหมด (&A)"}));
}

} // namespace
