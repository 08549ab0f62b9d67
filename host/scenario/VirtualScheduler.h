#pragma once

// Timers for scripts: they run on a clock that stands still until the script moves
// it, and `advance` fires every timer due on the way, in time order. A day of
// ten-second polls runs in well under a second.
//
// A long leap does not fire every tick: after kCatchUpTicks ticks of one advance the
// rest of the span passes as it does for a computer that sleeps. The clock jumps to
// the end, each timer that fell due on the way fires once there, and its period
// starts anew.

#include "platform/Clock.h"
#include "platform/Timer.h"

#include <vector>

namespace vantorel::host {

class VirtualTimer;

class VirtualScheduler : public platform::TimerService {
public:
    explicit VirtualScheduler(std::shared_ptr<platform::ManualClock> clock,
                              qint64 catchUpTicks = kCatchUpTicks);
    ~VirtualScheduler() override;

    static constexpr qint64 kCatchUpTicks = 1'000'000;

    std::unique_ptr<platform::Timer> createTimer() override;

    // Moves the clock forward by MILLISECONDS, firing each timer whenever it falls due
    // on the way (earliest first; timers due at the same moment in creation order).
    // Throws std::out_of_range for a negative span or one that the clock cannot hold.
    void advance(qint64 milliseconds);
    // After the clock was set: every enabled timer starts its period anew from now.
    void restartAll();

private:
    friend class VirtualTimer;
    qint64 nowMs() const;
    void remove(VirtualTimer* timer);

    std::shared_ptr<platform::ManualClock> clock_;
    qint64 catchUpTicks_;
    std::vector<VirtualTimer*> timers_;  // in creation order
};

class VirtualTimer : public platform::Timer {
public:
    explicit VirtualTimer(VirtualScheduler& scheduler) : scheduler_(&scheduler) {}
    ~VirtualTimer() override;

    void setInterval(int milliseconds) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    void setOnTimer(std::function<void()> onTimer) override { onTimer_ = std::move(onTimer); }

private:
    friend class VirtualScheduler;
    void restart();

    VirtualScheduler* scheduler_;
    int interval_ = 1000;
    bool enabled_ = false;
    qint64 dueMs_ = 0;
    std::function<void()> onTimer_;
};

}  // namespace vantorel::host
