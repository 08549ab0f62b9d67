#include "platform/Clock.h"

namespace vantorel::platform {

namespace {
std::shared_ptr<Clock>& installed() {
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}
}  // namespace

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime().addMSecs(offsetMs_);
}

ManualClock::ManualClock(QDateTime start) {
    set(start);
}

void ManualClock::set(const QDateTime& localTime) {
    now_ = localTime.toLocalTime();
}

Clock& clock() {
    return *installed();
}

void installClock(std::shared_ptr<Clock> clock) {
    installed() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

}  // namespace vantorel::platform
