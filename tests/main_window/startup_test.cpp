// Start-up with and without the database file, the exit button, closing the window.

#include "tests/main_window/main_window_harness.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

const QString kHint = QStringLiteral("copy โปรแกรมนี้ไปไว้ใน Path เดียวกับไฟล์ โปรแกรมระบบร้านเช่าหนังสือ");

TEST(Startup, WithTheFileTheWindowOpensEmptyAndNothingIsAsked) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    EXPECT_TRUE(h.boxes().shown().empty());
    EXPECT_EQ(h.programEnd().calls(), 0);
    EXPECT_EQ(h.database().DbConnectString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + h.store().path() +
                  QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=kd=73"));
    EXPECT_TRUE(eventually([&] { return QApplication::focusWidget() == h.box(1); }));
    for (int side : {1, 2}) {
        EXPECT_EQ(h.box(side)->text(), "");
        EXPECT_EQ(h.name(side)->text(), "");
        EXPECT_EQ(h.count(side)->text(), "");
    }
    EXPECT_FALSE(h.deleteOption()->isChecked());
}

TEST(Startup, WithoutAFileTheProgramEndsAfterSayingWhere) {
    struct Case {
        const char* name;
        std::function<void(const QString& path)> arrange;
    };
    const Case cases[] = {
        {"no file", [](const QString& path) { QFile::remove(path); }},
        {"a folder of that name",
         [](const QString& path) {
             QFile::remove(path);
             QDir().mkdir(path);
         }},
    };
    for (const Case& c : cases) {
        MainWindowHarness h;
        c.arrange(h.store().path());
        EXPECT_FALSE(h.load()) << c.name;
        EXPECT_EQ(h.programEnd().calls(), 1) << c.name;
        EXPECT_FALSE(h.window().isVisible()) << c.name;
        EXPECT_TRUE(h.database().DbConnectString().isEmpty()) << c.name;
        ASSERT_EQ(h.boxes().shown().size(), 1u) << c.name;
        const auto& shown = h.boxes().shown().front();
        EXPECT_EQ(shown.prompt, QStringLiteral("ไม่พบไฟล์  ") + h.store().folder() +
                                    QStringLiteral("/book.mdb\r\n") + kHint)
            << c.name;
        EXPECT_EQ(shown.style, 16);
        EXPECT_EQ(shown.title, QStringLiteral("ข้อผิดพลาด"));
    }
}

TEST(Startup, ExitAskedNoKeepsEverythingYesEndsWithoutUnloading) {
    MainWindowHarness h(QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES ('A1', 'x')"));
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("A1"));
    h.press(1, Qt::Key_Return);
    h.type(2, QStringLiteral("typed"));
    h.deleteOption()->setChecked(true);

    h.boxes().setNextAnswer(7);
    h.clickToolbar("Cancel");
    ASSERT_EQ(h.boxes().shown().size(), 1u);
    EXPECT_EQ(h.boxes().shown()[0].prompt, QStringLiteral("ต้องการออกจากโปรแกรม  หรือไม่"));
    EXPECT_EQ(h.boxes().shown()[0].style, 292);
    EXPECT_EQ(h.programEnd().calls(), 0);
    EXPECT_EQ(h.box(1)->text(), "A1");
    EXPECT_EQ(h.name(1)->text(), "x");
    EXPECT_EQ(h.box(2)->text(), "typed");
    EXPECT_TRUE(h.deleteOption()->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), h.box(2));

    h.boxes().setNextAnswer(6);
    h.clickToolbar("Cancel");
    EXPECT_EQ(h.programEnd().calls(), 1);
    EXPECT_TRUE(h.window().isVisible()); // ended at once: the window was never closed
}

TEST(Startup, ClosingTheWindowAsksNothingAndLeavesTheConnectionClosed) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    // Closing the window ends the program's event loop: the window is the program.
    bool closed = false;
    QTimer::singleShot(0, &h.window(), [&] { closed = h.window().close(); });
    QTimer guard; // never hang the run
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(h.boxes().shown().empty());
    EXPECT_EQ(h.programEnd().calls(), 0);
    ASSERT_NE(h.database().DbConnection(), nullptr);
    EXPECT_EQ(h.database().DbConnection()->State(), adodb::adStateClosed);
}

TEST(Startup, F2AndEscDoNothingInTheMainWindow) {
    MainWindowHarness h;
    ASSERT_TRUE(h.load());
    h.type(1, QStringLiteral("A1"));
    h.press(1, Qt::Key_F2);
    h.press(1, Qt::Key_Escape);
    EXPECT_TRUE(h.boxes().shown().empty());
    EXPECT_TRUE(h.window().isVisible());
    EXPECT_EQ(h.box(1)->text(), "A1");
}

} // namespace
