#include "host/scenario/VirtualScheduler.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vantorel::host {

VirtualScheduler::VirtualScheduler(std::shared_ptr<platform::ManualClock> clock,
                                   qint64 catchUpTicks)
    : clock_(std::move(clock)), catchUpTicks_(catchUpTicks) {}

VirtualScheduler::~VirtualScheduler() {
    for (VirtualTimer* t : timers_) {
        t->scheduler_ = nullptr;
    }
}

std::unique_ptr<platform::Timer> VirtualScheduler::createTimer() {
    auto timer = std::make_unique<VirtualTimer>(*this);
    timers_.push_back(timer.get());
    return timer;
}

qint64 VirtualScheduler::nowMs() const {
    return clock_->now().toMSecsSinceEpoch();
}

void VirtualScheduler::remove(VirtualTimer* timer) {
    std::erase(timers_, timer);
}

void VirtualScheduler::advance(qint64 milliseconds) {
    const qint64 start = nowMs();
    if (milliseconds < 0 || milliseconds > std::numeric_limits<qint64>::max() - start) {
        throw std::out_of_range("the clock cannot move that far");
    }
    const qint64 target = start + milliseconds;
    for (qint64 ticks = 0;; ++ticks) {
        if (ticks == catchUpTicks_) {
            // The rest of the span is slept through: what fell due fires once, at the end.
            for (VirtualTimer* t : timers_) {
                if (t->dueMs_ < target) {
                    t->dueMs_ = target;
                }
            }
        }
        VirtualTimer* next = nullptr;
        for (VirtualTimer* t : timers_) {
            if (t->enabled_ && t->interval_ > 0 && t->dueMs_ <= target &&
                (next == nullptr || t->dueMs_ < next->dueMs_)) {
                next = t;
            }
        }
        if (next == nullptr) {
            break;
        }
        clock_->set(QDateTime::fromMSecsSinceEpoch(next->dueMs_));
        next->dueMs_ += next->interval_;
        // The tick may free its own timer or others: keep what it needs.
        const std::function<void()> onTimer = next->onTimer_;
        platform::runTick(onTimer);
    }
    clock_->set(QDateTime::fromMSecsSinceEpoch(target));
}

void VirtualScheduler::restartAll() {
    for (VirtualTimer* t : timers_) {
        t->restart();
    }
}

VirtualTimer::~VirtualTimer() {
    if (scheduler_ != nullptr) {
        scheduler_->remove(this);
    }
}

void VirtualTimer::restart() {
    if (scheduler_ != nullptr) {
        dueMs_ = scheduler_->nowMs() + interval_;
    }
}

void VirtualTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    restart();
}

void VirtualTimer::setEnabled(bool enabled) {
    if (enabled && !enabled_) {
        restart();
    }
    enabled_ = enabled;
}

}  // namespace vantorel::host
