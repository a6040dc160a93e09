// book.mdb is removed, renamed, or replaced by a FIFO (or a link to one) while the window is
// open: the next lookup and the next change say the file is missing, nothing waits on the
// FIFO, nothing is ever created in the store's place, and the store once put back works.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"
#include "tests/reliability/reliability_report.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Should the window open the FIFO and wait on it, this stands in for the writer it waits
// for after a few seconds, so the test fails instead of hanging.
class FifoWatchdog {
public:
    explicit FifoWatchdog(QString fifo) : fifo_(std::move(fifo)) {
        thread_ = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!done_ && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (done_) {
                return;
            }
            // Opening for writing without waiting succeeds only while someone reads.
            const int fd = ::open(QFile::encodeName(fifo_).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                released_ = true;
                ::close(fd);
            }
        });
    }
    ~FifoWatchdog() { stop(); }
    void stop() {
        done_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    bool released() const { return released_; }

private:
    QString fifo_;
    std::atomic<bool> done_{false};
    std::atomic<bool> released_{false};
    std::thread thread_;
};

struct Replacement {
    const char* name;
    // Takes the store away (to book-old.mdb where it is kept) and puts what the case puts in
    // its place; false if that could not be done.
    std::function<bool(const QString& store, const QString& folder)> replace;
    QStringList left; // the folder's files afterwards
};

TEST(VanishedStore, TheNextLookupAndChangeReportTheMissingFileAndCreateNothing) {
    const auto keep = [](const QString& store, const QString& folder) {
        return QFile::rename(store, folder + QStringLiteral("/book-old.mdb"));
    };
    const Replacement cases[] = {
        {"renamed", keep, {"book-old.mdb"}},
        {"removed", [](const QString& store, const QString&) { return QFile::remove(store); }, {}},
        {"replaced by a FIFO",
         [&](const QString& store, const QString& folder) {
             return keep(store, folder) && makeFifo(store);
         },
         {"book-old.mdb", "book.mdb"}},
        {"replaced by a link to a FIFO",
         [&](const QString& store, const QString& folder) {
             const QString fifo = folder + QStringLiteral("/pipe");
             return keep(store, folder) && makeFifo(fifo) && QFile::link(fifo, store);
         },
         {"book-old.mdb", "book.mdb", "pipe"}},
    };
    int held = 0;
    for (const Replacement& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness h(shopScript());
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        const QString store = h.store().path();
        const QString folder = h.store().folder();
        h.type(1, QStringLiteral("A0001"));
        h.press(1, Qt::Key_Return);
        h.type(2, QStringLiteral("B0001"));
        h.press(2, Qt::Key_Return);
        ASSERT_EQ(h.count(1)->text(), "1,234");
        const QByteArray before = contents(store);
        ASSERT_TRUE(c.replace(store, folder));
        FifoWatchdog watchdog(QFileInfo(store).canonicalFilePath());

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
        watchdog.stop();
        EXPECT_FALSE(watchdog.released()) << "the window waited on the FIFO";

        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden), c.left);
        const QString kept = folder + QStringLiteral("/book-old.mdb");
        if (QFile::exists(kept)) {
            EXPECT_EQ(contents(kept), before) << "the kept store was written to";
            // Put back, the same change goes through: the window is still at work.
            if (QFileInfo(store).exists() || QFileInfo(store).isSymLink()) {
                ASSERT_TRUE(QFile::remove(store));
            }
            ASSERT_TRUE(QFile::rename(kept, store));
            h.boxes().setNextAnswer(6);
            h.clickToolbar("OK");
            EXPECT_EQ(h.boxes().shown().back().prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
            EXPECT_EQ(h.store().scalar(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = "
                                                      "'B0001'")),
                      "1236");
        }
        held += ::testing::Test::HasFailure() ? 0 : 1;
    }
    reportRow(QStringLiteral("book.mdb renamed / removed / replaced by a FIFO / by a link to one "
                             "while the window is open"),
              QStringLiteral("%1/%2: next lookup and next change reported \"Could not find "
                             "file\"; nothing waited on the FIFO; no file created in the store's "
                             "place; the kept store untouched and usable once put back")
                  .arg(held)
                  .arg(std::size(cases)));
}

} // namespace
