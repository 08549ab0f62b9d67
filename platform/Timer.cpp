#include "platform/Timer.h"

#include "platform/Prompts.h"

#include <QTimer>

namespace vantorel::platform {

namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout, [this] { runTick(onTimer_); });
    }
    void setInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override {
        if (enabled) {
            timer_.start();
        } else {
            timer_.stop();
        }
    }
    bool enabled() const override { return timer_.isActive(); }
    void setOnTimer(std::function<void()> onTimer) override { onTimer_ = std::move(onTimer); }

private:
    QTimer timer_;
    std::function<void()> onTimer_;
};

class QtTimerService : public TimerService {
public:
    std::unique_ptr<Timer> createTimer() override { return std::make_unique<QtTimer>(); }
};

std::shared_ptr<TimerService>& installed() {
    static std::shared_ptr<TimerService> service = std::make_shared<QtTimerService>();
    return service;
}

}  // namespace

std::unique_ptr<Timer> createTimer() {
    return installed()->createTimer();
}

void installTimerService(std::shared_ptr<TimerService> service) {
    installed() = service ? std::move(service) : std::make_shared<QtTimerService>();
}

void runTick(const std::function<void()>& onTimer) {
    if (!onTimer) {
        return;
    }
    try {
        onTimer();
    } catch (const std::exception& e) {
        showMessage(QString::fromUtf8(e.what()), MessageIcon::Error);
    }
}

}  // namespace vantorel::platform
