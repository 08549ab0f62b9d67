#pragma once

// How the Simulate menu moves time. The desktop shifts the system clock, and its
// timers (Qt's) notice at their next tick; a test moves a manual clock and fires the
// virtual timers due on the way.

#include "platform/Clock.h"

#include <QDateTime>

#include <memory>

namespace vantorel::host {

class TimeMachine {
public:
    virtual ~TimeMachine() = default;
    virtual QDateTime now() const = 0;
    // Forward (or back, to the real time) by MILLISECONDS.
    virtual void moveBy(qint64 milliseconds) = 0;
    // True while the time shown differs from the real time.
    virtual bool shifted() const = 0;
    // Back to the real time (nothing where there is no real time to go back to).
    virtual void reset() = 0;
};

class SystemTimeMachine : public TimeMachine {
public:
    explicit SystemTimeMachine(std::shared_ptr<platform::SystemClock> clock)
        : clock_(std::move(clock)) {}
    QDateTime now() const override { return clock_->now(); }
    void moveBy(qint64 milliseconds) override {
        clock_->setOffset(clock_->offset() + milliseconds);
    }
    bool shifted() const override { return clock_->offset() != 0; }
    void reset() override { clock_->setOffset(0); }

private:
    std::shared_ptr<platform::SystemClock> clock_;
};

}  // namespace vantorel::host
