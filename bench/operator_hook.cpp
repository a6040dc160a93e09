// Preloaded into the tool to be its operator: once the main window is up, it presses the
// keys an operator presses, times each press from the key until the window is idle again
// (the repaint included), and writes one line to the descriptor named by BENCH_REPORT_FD:
//   "<shown> <peak KiB> <ns> <ns> ..."
// shown is what the window showed after the last press (the copy count's digits for enter,
// the rows listed for search), the peak is the program's own high-water mark of resident
// memory, then one time per press. Then the program ends. What it does:
//   BENCH_OPERATOR=enter   BENCH_OPERATOR_TEXT=<code>      Enter in the old-code box
//   BENCH_OPERATOR=search  BENCH_OPERATOR_TEXT=<fragment>  the find button, Enter in the
//                                                          dialog's box, F2 to close it
//   BENCH_OPERATOR_PRESSES=<n>                             presses (default 40)
// A message box or a window that does not come ends it with "error: ..." instead.
// Without BENCH_REPORT_FD and BENCH_OPERATOR it does nothing at all.

#include "bench/idle_watch.h"
#include "bench/peak_resident.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Long enough for anything the X server sends back after a press; far shorter than the
// caret's blink.
constexpr std::int64_t kQuietNs = 30'000'000;
constexpr std::int64_t kStepTimeoutNs = 30'000'000'000;

QWidget* topLevelNamed(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

// A window that is on screen and has the keyboard.
bool ready(const QWidget* window) {
    return window != nullptr && window->windowHandle() != nullptr &&
           window->windowHandle()->isExposed() &&
           QGuiApplication::focusWindow() == window->windowHandle();
}

// One thing the operator does. act returns false while what it waits for has not come.
struct Step {
    std::function<bool()> act;
    bool timed = false;
};

class Operator final : public QObject {
public:
    Operator(int fd, QString mode, QString text, int presses)
        : QObject(QCoreApplication::instance()), fd_(fd), mode_(std::move(mode)),
          text_(std::move(text)), presses_(presses) {
        timer_ = startTimer(2);
    }

protected:
    void timerEvent(QTimerEvent*) override {
        if (timer_ == 0) {
            return;
        }
        if (!watch_) {
            watch_ = new IdleWatch(this);
            plan();
            stepStartedNs_ = IdleWatch::nowNs();
        }
        const std::optional<std::int64_t> idleSince = watch_->idleFor(kQuietNs);
        if (!idleSince) {
            return;
        }
        if (timing_) {
            times_.push_back(*idleSince - pressedNs_);
            timing_ = false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            fail("a message box: " + box->text());
            return;
        }
        if (next_ == steps_.size()) {
            finish();
            return;
        }
        const Step& step = steps_[next_];
        watch_->expectWork();
        pressedNs_ = IdleWatch::nowNs();
        if (step.act()) {
            timing_ = step.timed;
            ++next_;
            stepStartedNs_ = IdleWatch::nowNs();
        } else if (IdleWatch::nowNs() - stepStartedNs_ > kStepTimeoutNs) {
            fail(QStringLiteral("step %1 of %2 did not come about").arg(next_).arg(mode_));
        }
    }

private:
    void plan() {
        add([] { return ready(activated(topLevelNamed("frmMain"))); });
        if (mode_ == QLatin1String("enter")) {
            for (int i = 0; i < presses_; ++i) {
                // Each press finds the side as an operator's first look-up does, its displays
                // empty: a display already showing the story would not be repainted at all.
                add([] { return clearDisplays(topLevelNamed("frmMain")); });
                add([this] { return typeInto(topLevelNamed("frmMain"), "txtStrID1"); });
                addKey("frmMain", Qt::Key_Return, true);
            }
            add([this] { return noteShown(); });
        } else {
            for (int i = 0; i < presses_; ++i) {
                add([] { return clickFind(); });
                add([] { return ready(activated(topLevelNamed("frmQStory"))); });
                add([this] { return typeInto(topLevelNamed("frmQStory"), "Text1"); });
                addKey("frmQStory", Qt::Key_Return, true);
                add([this] { return noteShown(); });
                addKey("frmQStory", Qt::Key_F2, false);
            }
        }
    }

    void add(std::function<bool()> act, bool timed = false) {
        steps_.push_back({std::move(act), timed});
    }

    static QWidget* activated(QWidget* window) {
        if (window != nullptr && !ready(window)) {
            window->activateWindow();
        }
        return window;
    }

    static bool clearDisplays(QWidget* window) {
        if (window == nullptr) {
            return false;
        }
        for (const char* name : {"lblStrName1", "lblCnt1"}) {
            if (auto* display = window->findChild<QLabel*>(QLatin1String(name))) {
                display->clear();
            }
        }
        return true;
    }

    bool typeInto(QWidget* window, const char* box) const {
        auto* edit = window ? window->findChild<QLineEdit*>(QLatin1String(box)) : nullptr;
        if (edit == nullptr) {
            return false;
        }
        edit->setFocus(Qt::OtherFocusReason);
        edit->setText(text_);
        return true;
    }

    // A key goes down and comes up as two events; the finger lifts a good while after the
    // window has answered the press, so only the press is timed.
    static bool keyDown(QWidget* window, Qt::Key key) {
        if (!ready(window)) {
            return false;
        }
        QTest::keyPress(window->windowHandle(), key);
        return true;
    }

    // The key comes up in whichever window has the keyboard by then, if any: a dialog that
    // the press closed leaves the keyboard to nobody until the window system gives it back.
    static bool keyUp(Qt::Key key) {
        if (QWindow* window = QGuiApplication::focusWindow()) {
            QTest::keyRelease(window, key);
        }
        return true;
    }

    void addKey(const char* window, Qt::Key key, bool timed) {
        add([window, key] { return keyDown(topLevelNamed(window), key); }, timed);
        add([key] { return keyUp(key); });
    }

    static bool clickFind() {
        QWidget* window = topLevelNamed("frmMain");
        auto* button =
            window ? window->findChild<QAbstractButton*>(QStringLiteral("cmdFind1")) : nullptr;
        if (button == nullptr) {
            return false;
        }
        // Queued, so the dialog's own event loop runs outside this step.
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        return true;
    }

    bool noteShown() {
        if (mode_ == QLatin1String("enter")) {
            QWidget* window = topLevelNamed("frmMain");
            auto* count = window ? window->findChild<QLabel*>(QStringLiteral("lblCnt1")) : nullptr;
            shown_ =
                count ? count->text().remove(QRegularExpression(QStringLiteral("\\D"))) : QString();
        } else {
            QWidget* window = topLevelNamed("frmQStory");
            auto* list = window ? window->findChild<QAbstractItemView*>(QStringLiteral("ListView1"))
                                : nullptr;
            shown_ = list ? QString::number(list->model()->rowCount()) : QString();
        }
        return true;
    }

    void finish() {
        std::ostringstream line;
        line << (shown_.isEmpty() ? std::string("-") : shown_.toStdString()) << ' '
             << bench::peakResidentKb();
        for (const std::int64_t ns : times_) {
            line << ' ' << ns;
        }
        report(line.str());
        QCoreApplication::exit(0);
    }

    void fail(const QString& why) {
        report("error: " + why.simplified().toStdString());
        std::_Exit(1); // a modal box would keep an orderly end waiting
    }

    void report(std::string line) {
        line += "\n";
        if (write(fd_, line.data(), line.size()) < 0) {
            std::perror("operator hook");
        }
        killTimer(timer_);
        timer_ = 0;
    }

    int fd_;
    QString mode_;
    QString text_;
    int presses_;
    int timer_ = 0;
    IdleWatch* watch_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool timing_ = false;
    std::int64_t pressedNs_ = 0;
    std::int64_t stepStartedNs_ = 0;
    std::vector<std::int64_t> times_;
    QString shown_;
};

void startOperating() {
    const char* fd = std::getenv("BENCH_REPORT_FD");
    const QString mode = qEnvironmentVariable("BENCH_OPERATOR");
    if (fd == nullptr || (mode != QLatin1String("enter") && mode != QLatin1String("search"))) {
        return;
    }
    const int presses = qEnvironmentVariableIsSet("BENCH_OPERATOR_PRESSES")
                            ? qEnvironmentVariableIntValue("BENCH_OPERATOR_PRESSES")
                            : 40;
    new Operator(std::atoi(fd), mode, qEnvironmentVariable("BENCH_OPERATOR_TEXT"), presses);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startOperating)
