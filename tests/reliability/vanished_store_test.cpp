// book.mdb is removed or renamed while the window is open: the next lookup and the next
// change say the file is missing, and nothing is ever created in its place.

#include "main_window_harness.h"
#include "reliability_report.h"
#include "shop_fixture.h"

#include "gtest_qt.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(VanishedStore, TheNextLookupAndChangeReportTheMissingFileAndCreateNothing) {
    int held = 0;
    for (bool rename : {true, false}) {
        SCOPED_TRACE(rename ? "renamed" : "removed");
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        const QString store = h.store().path();
        const QString moved = h.store().folder() + QStringLiteral("/book-old.mdb");
        h.type(1, QStringLiteral("A0001"));
        h.press(1, Qt::Key_Return);
        h.type(2, QStringLiteral("B0001"));
        h.press(2, Qt::Key_Return);
        ASSERT_EQ(h.count(1)->text(), "1,234");
        const QByteArray before = contents(store);
        ASSERT_TRUE(rename ? QFile::rename(store, moved) : QFile::remove(store));

        const QString missing = QStringLiteral("Could not find file '%1'.").arg(store);
        h.box(1)->setFocus();
        h.press(1, Qt::Key_Return);
        ASSERT_EQ(h.boxes().shown().size(), 1u);
        EXPECT_EQ(h.boxes().shown()[0].prompt, missing);
        EXPECT_EQ(h.boxes().shown()[0].style, 16);

        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 3u);
        EXPECT_EQ(h.boxes().shown()[2].prompt, missing);
        EXPECT_EQ(h.boxes().shown()[2].style, 16);

        EXPECT_FALSE(QFile::exists(store)) << "a file was created in the store's place";
        EXPECT_EQ(QDir(h.store().folder()).entryList(QDir::Files | QDir::Hidden),
                  rename ? QStringList{"book-old.mdb"} : QStringList{});
        if (rename) {
            EXPECT_EQ(contents(moved), before) << "the renamed store was written to";
            // Put back, the same change goes through.
            ASSERT_TRUE(QFile::rename(moved, store));
            h.boxes().setNextAnswer(6);
            h.clickToolbar("OK");
            EXPECT_EQ(h.boxes().shown().back().prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
            EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = "
                                                      "'B0001'")),
                      "1236");
        }
        held += ::testing::Test::HasFailure() ? 0 : 1;
    }
    reportRow(QStringLiteral("book.mdb renamed / removed while the window is open"),
              QStringLiteral("%1/2: next lookup and next change reported \"Could not find "
                             "file\"; no file created in its place; the renamed store untouched "
                             "and usable once put back")
                  .arg(held));
}

} // namespace
