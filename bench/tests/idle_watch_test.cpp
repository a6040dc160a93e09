// The operator hook times a key until the window is idle: the end must come after every
// piece of work the key left behind (posted calls, repaints), or the figure would leave out
// what the operator still waits for.

#include "bench/idle_watch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr std::int64_t kQuietNs = 30'000'000;

void busyFor(std::int64_t ns) {
    const std::int64_t until = IdleWatch::nowNs() + ns;
    while (IdleWatch::nowNs() < until) {
    }
}

// Polls the watch as the hook does, from a timer of its own that the watch leaves out.
class Poller final : public QObject {
public:
    explicit Poller(QEventLoop& loop) : loop_(loop), watch_(this) { startTimer(2); }
    IdleWatch& watch() { return watch_; }
    std::optional<std::int64_t> end;

protected:
    void timerEvent(QTimerEvent*) override {
        if (!end && (end = watch_.idleFor(kQuietNs))) {
            loop_.quit();
        }
    }

private:
    QEventLoop& loop_;
    IdleWatch watch_;
};

TEST(IdleWatch, TheEndComesAfterTheWorkAKeyLeftBehind) {
    QEventLoop loop;
    Poller poller(loop);
    QObject worker;
    std::int64_t lastWorkDone = 0;
    poller.watch().expectWork();
    // A queued call that posts another, as a key press leaves a repaint behind.
    QMetaObject::invokeMethod(
        &worker,
        [&] {
            busyFor(5'000'000);
            QMetaObject::invokeMethod(
                &worker,
                [&] {
                    busyFor(5'000'000);
                    lastWorkDone = IdleWatch::nowNs();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    EXPECT_FALSE(poller.watch().idleFor(0)) << "idle before the loop ever waited";
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(poller.end.has_value());
    EXPECT_GT(lastWorkDone, 0);
    EXPECT_GE(*poller.end, lastWorkDone);
}

} // namespace
