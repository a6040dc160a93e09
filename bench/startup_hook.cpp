// Preloaded into a Qt program to time its start: notes when the application object is
// made and when the first window has been exposed and painted, writes both (CLOCK_MONOTONIC
// nanoseconds) as one line to the descriptor named by BENCH_REPORT_FD, and ends the
// program. Without that variable it does nothing at all.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <unistd.h>

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

class ShownWatcher final : public QObject {
public:
    ShownWatcher(QObject* application, int fd, long long appCreatedNs)
        : QObject(application), fd_(fd), appCreatedNs_(appCreatedNs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!reported_ && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window != nullptr && window->isExposed()) {
                reported_ = true;
                // The expose event paints the window before it returns; the timer fires once
                // that is done and control is back in the event loop.
                QTimer::singleShot(0, this, [this] { report(); });
            }
        }
        return false;
    }

private:
    void report() const {
        const std::string line =
            std::to_string(appCreatedNs_) + " " + std::to_string(monotonicNs()) + "\n";
        if (write(fd_, line.data(), line.size()) < 0) {
            std::perror("startup hook");
        }
        QCoreApplication::exit(0);
    }

    int fd_;
    long long appCreatedNs_;
    bool reported_ = false;
};

void watchForFirstWindow() {
    const long long created = monotonicNs();
    const char* fd = std::getenv("BENCH_REPORT_FD");
    if (fd == nullptr || QCoreApplication::instance() == nullptr) {
        return;
    }
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new ShownWatcher(application, std::atoi(fd), created));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForFirstWindow)
