#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

// When a program has done the work an input gave it: the moment its event loop next found
// nothing to do after the last event it handled. Events of any kind count (key, focus,
// timer, posted calls, the repaint), in any event loop, nested ones included; only those
// sent to the observer's own object are left out.
class IdleWatch final : public QObject {
public:
    // ignored: the observer's own object, whose timer drives the measurement.
    explicit IdleWatch(QObject* ignored);

    // Something is about to happen: the loop counts as busy until it next waits.
    void expectWork() { busy_ = true; }
    // The end of the last work, once the loop has had nothing to do for quietNs since then;
    // nothing while it may still be working.
    std::optional<std::int64_t> idleFor(std::int64_t quietNs) const;

    static std::int64_t nowNs();

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    void loopWaits();

    QObject* ignored_;
    bool busy_ = true;
    std::int64_t lastEndNs_ = 0;
};
