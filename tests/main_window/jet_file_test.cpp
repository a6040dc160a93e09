// The tool beside a shop's own Jet 4.0 book.mdb: lookups and the search work, the change is
// refused and the file stays exactly as it was.

#include "main_window_harness.h"
#include "shared_material.h"

#include "gtest_qt.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "report_list.h"

namespace {

QByteArray digestOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

class JetShopFile : public ::testing::Test {
protected:
    void SetUp() override {
        const std::optional<QString> shared = sharedMaterialDir();
        if (!shared) {
            GTEST_SKIP() << "no shared material beside the project: real shop files not tested";
        }
        fixture_ = *shared + QStringLiteral("/jet/shop-small.mdb");
        // The shop file stays where it is; the program folder only points at it.
        ASSERT_TRUE(QFile::remove(h_.store().path()));
        ASSERT_TRUE(QFile::link(fixture_, h_.store().path()));
        ASSERT_TRUE(h_.load());
        before_ = digestOf(fixture_);
    }

    MainWindowHarness h_{QString(), MainWindowHarness::Search::Real};
    QString fixture_;
    QByteArray before_;
};

TEST_F(JetShopFile, LooksCodesUpAsTheShopEngineDoes) {
    struct Case {
        const char* code;
        const char* name;
        const char* count;
    };
    for (const Case& c : {Case{"KH-0001", "ขายหัวเราะ", "1,234"}, Case{"th-0123", "", "5"},
                          Case{"O'NEIL1", "", "4"}, Case{"NEW-0001", "", "0"}}) {
        h_.box(1)->clear();
        h_.type(1, QString::fromUtf8(c.code));
        h_.press(1, Qt::Key_Return);
        if (*c.name != '\0') {
            EXPECT_EQ(h_.name(1)->text(), QString::fromUtf8(c.name)) << c.code;
        } else {
            EXPECT_FALSE(h_.name(1)->text().isEmpty()) << c.code;
        }
        EXPECT_EQ(h_.count(1)->text(), QString::fromUtf8(c.count)) << c.code;
    }
    h_.box(1)->clear();
    h_.type(1, QStringLiteral("BL-0002")); // NULL name: not found, no error
    h_.press(1, Qt::Key_Return);
    EXPECT_EQ(h_.box(1)->text(), "");
    EXPECT_TRUE(h_.boxes().shown().empty());
    EXPECT_EQ(digestOf(fixture_), before_);
}

TEST_F(JetShopFile, SearchesByNameAndHandsTheCodeOver) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        text->setText(QStringLiteral("ขายหัว"));
        QTest::keyClick(text, Qt::Key_Return);
        auto* list = dialog->findChild<platform::ReportList*>(QStringLiteral("ListView1"));
        ASSERT_GE(list->itemCount(), 1);
        list->selectItem(1);
        QTest::keyClick(text, Qt::Key_Escape); // Esc is the OK key in the search dialog
    });
    h_.find(1)->click();
    EXPECT_EQ(h_.box(1)->text(), "KH-0001");
    EXPECT_EQ(h_.count(1)->text(), "1,234");
}

TEST_F(JetShopFile, RefusesTheChangeAndLeavesTheFileUntouched) {
    h_.deleteOption()->setChecked(true);
    h_.box(1)->setText(QStringLiteral("KH-0001"));
    h_.box(2)->setText(QStringLiteral("NEW-0001"));
    h_.boxes().setNextAnswer(6);
    h_.clickToolbar("OK");
    ASSERT_EQ(h_.boxes().shown().size(), 2u);
    EXPECT_EQ(h_.boxes().shown()[1].style, 16);
    EXPECT_TRUE(h_.boxes().shown()[1].prompt.startsWith(QStringLiteral("ฐานข้อมูลชนิด Jet 4.0")));
    EXPECT_EQ(h_.box(1)->text(), "KH-0001"); // no reset after a failure
    EXPECT_EQ(digestOf(fixture_), before_);
}

} // namespace
