#include "bench/idle_watch.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <ctime>

IdleWatch::IdleWatch(QObject* ignored) : QObject(ignored), ignored_(ignored) {
    QCoreApplication::instance()->installEventFilter(this);
    // The dispatcher announces every turn of the loop that may sleep, before it looks for
    // more to do: the first such turn after an event is the end of that event's work.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &IdleWatch::loopWaits);
}

std::int64_t IdleWatch::nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::optional<std::int64_t> IdleWatch::idleFor(std::int64_t quietNs) const {
    if (busy_ || nowNs() - lastEndNs_ < quietNs) {
        return std::nullopt;
    }
    return lastEndNs_;
}

bool IdleWatch::eventFilter(QObject* receiver, QEvent* /*event*/) {
    if (receiver != ignored_) {
        busy_ = true;
    }
    return false;
}

void IdleWatch::loopWaits() {
    if (busy_) {
        lastEndNs_ = nowNs();
        busy_ = false;
    }
}
