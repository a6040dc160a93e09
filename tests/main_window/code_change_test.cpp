// The code change: the checks, the question, the statements and what they leave behind.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString copies(const TempStore& store, const char* code) {
    return store.scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = '%1'")
                            .arg(QString::fromUtf8(code)));
}

QString stories(const TempStore& store, const char* code) {
    return store.scalar(QStringLiteral("SELECT COUNT(*) FROM Story WHERE BStrID = '%1'")
                            .arg(QString::fromUtf8(code)));
}

// Looks both codes up as the operator would, so the question shows their names.
void enterBoth(MainWindowHarness& h, const QString& oldCode, const QString& newCode) {
    h.type(1, oldCode);
    h.press(1, Qt::Key_Return);
    h.type(2, newCode);
    h.press(2, Qt::Key_Return);
}

TEST(CodeChangeChecks, BlankOrEqualCodesAreRefusedAndNothingIsWritten) {
    struct Case {
        const char* oldCode;
        const char* newCode;
        const char* message;
        int focusSide;
    };
    const Case cases[] = {
        {"", "B0001", "รหัสหนังสือเดิม  ไม่ถูกต้อง", 1},
        {"   ", "", "รหัสหนังสือเดิม  ไม่ถูกต้อง", 1},
        {"A0001", "", "รหัสหนังสือใหม่  ไม่ถูกต้อง", 2},
        {"A0001", "    ", "รหัสหนังสือใหม่  ไม่ถูกต้อง", 2},
        {"A0001", "a0001  ", "รหัสหนังสือเดิมและรหัสหนังสือใหม่ต้องไม่ซ้ำกัน", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.oldCode) + "|" + c.newCode);
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        h.box(1)->setText(QString::fromUtf8(c.oldCode));
        h.box(2)->setText(QString::fromUtf8(c.newCode));
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 1u);
        EXPECT_EQ(h.boxes().shown()[0].prompt, QString::fromUtf8(c.message));
        EXPECT_EQ(h.boxes().shown()[0].style, 16);
        EXPECT_EQ(QApplication::focusWidget(), h.box(c.focusSide));
        EXPECT_EQ(copies(h.store(), "A0001"), "1234");
        EXPECT_EQ(stories(h.store(), "A0001"), "1");
    }
}

TEST(CodeChange, TheQuestionShowsBothCodesAndNamesAndNoChangesNothing) {
    MainWindowHarness h(shopScript());
    ASSERT_TRUE(h.load());
    enterBoth(h, QStringLiteral("A0001"), QStringLiteral("B0001"));
    h.box(2)->setFocus(); // the new side's code stays shown
    h.boxes().setNextAnswer(7);
    h.clickToolbar("OK");
    ASSERT_EQ(h.boxes().shown().size(), 1u);
    EXPECT_EQ(h.boxes().shown()[0].prompt, QStringLiteral("ยืนยันการเปลี่ยนรหัสหนังสือ") + kCrLf +
                                               QStringLiteral("จาก  A0001  ขายหัวเราะ") + kCrLf +
                                               QStringLiteral("เป็น  B0001  เจ้าหญิงนิทรา") + kCrLf +
                                               kCrLf + QStringLiteral("หรือไม่"));
    EXPECT_EQ(h.boxes().shown()[0].style, 292);
    EXPECT_EQ(h.boxes().shown()[0].title, QStringLiteral("คำถาม"));
    EXPECT_EQ(copies(h.store(), "A0001"), "1234");
    EXPECT_EQ(h.box(1)->text(), "A0001");
    EXPECT_EQ(h.count(1)->text(), "1,234");
}

TEST(CodeChange, YesMovesEveryCopyThenOptionallyDeletesTheOldStory) {
    for (bool deleteOld : {false, true}) {
        SCOPED_TRACE(deleteOld ? "delete ticked" : "delete not ticked");
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(deleteOld);
        enterBoth(h, QStringLiteral("th-0123"), QStringLiteral("B0001"));
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 2u);
        EXPECT_EQ(h.boxes().shown()[1].prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
        EXPECT_EQ(h.boxes().shown()[1].style, 48);
        EXPECT_EQ(h.boxes().shown()[1].title, QStringLiteral("แจ้งให้ทราบ"));
        EXPECT_EQ(copies(h.store(), "B0001"), "7"); // 2 + both spellings of th-0123
        EXPECT_EQ(copies(h.store(), "TH-0123"), "0");
        EXPECT_EQ(stories(h.store(), "TH-0123"), deleteOld ? "0" : "1");
        EXPECT_EQ(copies(h.store(), "A0001"), "1234");
        EXPECT_EQ(stories(h.store(), "B0001"), "1");
        for (int side : {1, 2}) {
            EXPECT_EQ(h.box(side)->text(), "");
            EXPECT_EQ(h.name(side)->text(), "");
            EXPECT_EQ(h.count(side)->text(), "");
        }
        EXPECT_EQ(QApplication::focusWidget(), h.box(1));
        EXPECT_EQ(h.deleteOption()->isChecked(), deleteOld);
    }
}

TEST(CodeChange, CodesAreUsedAsTypedAndNeverChangeWhatAStatementTouches) {
    struct Case {
        const char* oldCode;
        const char* newCode;
        const char* movedFrom; // code whose copies must be gone afterwards ("" for none)
        int expectedNewCopies;
    };
    const Case cases[] = {
        {"O'NEIL1", "NEW-1", "O'NEIL1", 4},
        {"x' OR '1'='1", "NEW-1", "", 0},
        {"A0001' --", "NEW-1", "", 0},
        {"  B0001", "NEW-1", "", 0}, // leading spaces count: nothing matches
        {"B0001  ", "NEW-1", "B0001", 2},
        {"Z0000", "NEW-1", "", 0}, // a story without copies still passes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oldCode);
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        h.box(1)->setText(QString::fromUtf8(c.oldCode));
        h.box(2)->setText(QString::fromUtf8(c.newCode));
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 2u);
        EXPECT_TRUE(h.boxes().shown()[0].prompt.contains(
            QStringLiteral("จาก  ") + QString::fromUtf8(c.oldCode) + QStringLiteral("  ")));
        EXPECT_EQ(h.boxes().shown()[1].prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
        EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = "
                                                  "'NEW-1'")),
                  QString::number(c.expectedNewCopies));
        const int others = 41234 + 2 + 3 + 2 + 4 + 5 - c.expectedNewCopies;
        EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID <> "
                                                  "'NEW-1' OR BStrID IS NULL")),
                  QString::number(others));
        const int storiesLeft = *c.movedFrom ? 7 : 8;
        EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Story")),
                  QString::number(storiesLeft - (std::string(c.oldCode) == "Z0000" ? 1 : 0)));
    }
}

// A failing statement is reported; the order holds: no DELETE after a failed UPDATE, and
// neither notice nor reset after any failure. The window goes on working.
TEST(CodeChangeFailures, AreReportedAndStopTheRestOfTheChange) {
    struct Case {
        const char* refused; // the statement a trigger refuses
        const char* copiesOfNew;
        const char* copiesOfOld;
    };
    for (const Case& c :
         {Case{"UPDATE ON Book", "2", "1234"}, Case{"DELETE ON Story", "1236", "0"}}) {
        SCOPED_TRACE(c.refused);
        MainWindowHarness h(shopScript() + QStringLiteral(";CREATE TRIGGER refuse BEFORE %1"
                                                          " BEGIN SELECT RAISE(ABORT, 'refused');"
                                                          " END")
                                               .arg(QString::fromUtf8(c.refused)));
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        enterBoth(h, QStringLiteral("A0001"), QStringLiteral("B0001"));
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 2u);
        EXPECT_EQ(h.boxes().shown()[1].prompt, "refused");
        EXPECT_EQ(h.boxes().shown()[1].style, 16);
        EXPECT_EQ(copies(h.store(), "B0001"), c.copiesOfNew);
        EXPECT_EQ(copies(h.store(), "A0001"), c.copiesOfOld);
        EXPECT_EQ(stories(h.store(), "A0001"), "1");
        EXPECT_EQ(h.box(1)->text(), "A0001");
        EXPECT_EQ(h.name(1)->text(), QStringLiteral("ขายหัวเราะ"));

        h.deleteOption()->setChecked(false);
        h.store().run(QStringLiteral("DROP TRIGGER refuse"));
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        EXPECT_EQ(h.boxes().shown().back().prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
        EXPECT_EQ(copies(h.store(), "B0001"), "1236");
    }
}

} // namespace
