// The tool beside a shop's own Jet 4.0 book.mdb: lookups and the search read the file in
// place and leave it exactly as it was; on a copy of each shop file the operator looks codes
// up, moves copies with and without deleting the old story, and looks them up again, and the
// independent checker finds the file sound after each change.

#include "tests/main_window/main_window_harness.h"
#include "tests/testkit/shared_material.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "tests/jet/writer/jet_oracle.h"
#include "ui/report_list.h"

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
        fixture_ = testDataDir() + QStringLiteral("/jet/shop-small.mdb");
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

// One operator's session on a copy of a shop file: two changes, each with a look-up before
// and after.
struct ShopSession {
    const char* fixture;
    const char* first;  // moved onto second, the story kept
    const char* second; // moved onto third, the story deleted
    const char* third;
};

class JetShopCopy : public ::testing::Test {
protected:
    void SetUp() override { shared_ = testDataDir(); }

    // Looks the code up on side 1 as the operator does; the count shown, "" when not found.
    static QString lookUp(MainWindowHarness& h, const QString& code) {
        h.box(1)->clear();
        h.type(1, code);
        h.press(1, Qt::Key_Return);
        const QString shown = h.name(1)->text().isEmpty() ? QString() : h.count(1)->text();
        h.box(1)->clear();
        return shown;
    }

    static void change(MainWindowHarness& h, const QString& from, const QString& to,
                       bool deleteStory) {
        h.deleteOption()->setChecked(deleteStory);
        h.type(1, from);
        h.press(1, Qt::Key_Return);
        h.type(2, to);
        h.press(2, Qt::Key_Return);
        const std::size_t before = h.boxes().shown().size();
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), before + 2) << "question and notice";
        EXPECT_EQ(h.boxes().shown().back().prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"))
            << from.toStdString() << " -> " << to.toStdString();
        EXPECT_EQ(h.box(1)->text(), "");
    }

    QString shared_;
};

long long countOf(const QString& shown) {
    return QString(shown).remove(QLatin1Char(',')).toLongLong();
}

TEST_F(JetShopCopy, MovesCopiesWithAndWithoutDeletingTheOldStory) {
    const ShopSession sessions[] = {
        {"shop-small", "C0036", "A0005", "NEW-0001"},
        {"shop-encoded", "KH-0001", "A0005", "NEW-0001"},
        {"shop-nopass", "C0036", "A0005", "NEW-0001"},
        {"writer/shop-ri", "C0036", "A0005", "NEW-0001"},
        {"writer/shop-cascade", "C0036", "A0005", "NEW-0001"},
        // A unique index over code and volume: copies go only where the code has none.
        {"writer/shop-multicol", "C0036", "NEW-0001", "C0036"},
        {"writer/shop-tight", "K10", "K11", "NEW-0001"},
        {"writer/shop-codes", "ขายหัวเราะ", "ก", "NEW-0001"},
    };
    for (const ShopSession& session : sessions) {
        SCOPED_TRACE(session.fixture);
        MainWindowHarness h(QString(), MainWindowHarness::Search::Real);
        ASSERT_TRUE(QFile::remove(h.store().path()));
        ASSERT_TRUE(QFile::copy(shared_ + QStringLiteral("/jet/") +
                                    QString::fromUtf8(session.fixture) + QStringLiteral(".mdb"),
                                h.store().path()));
        QFile::setPermissions(h.store().path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ASSERT_TRUE(h.load());
        const QString first = QString::fromUtf8(session.first);
        const QString second = QString::fromUtf8(session.second);
        const QString third = QString::fromUtf8(session.third);

        const long long moved = countOf(lookUp(h, first));
        const long long kept = countOf(lookUp(h, second));
        change(h, first, second, false);
        EXPECT_FALSE(lookUp(h, first).isEmpty()) << "the story stays";
        EXPECT_EQ(countOf(lookUp(h, first)), 0);
        EXPECT_EQ(countOf(lookUp(h, second)), moved + kept);

        change(h, second, third, true);
        EXPECT_EQ(lookUp(h, second), "") << "the story is gone";
        const QString after = lookUp(h, third);
        if (!after.isEmpty()) {
            EXPECT_EQ(countOf(after), moved + kept);
        }
        const bool passworded = session.fixture != std::string_view("shop-nopass");
        if (const auto verdict =
                runJetOracle(h.store().path(), passworded ? QStringLiteral("kd=73") : QString())) {
            EXPECT_TRUE(verdict->sound) << verdict->output.toStdString();
        } else {
            checkerAbsent();
        }
    }
}

} // namespace
