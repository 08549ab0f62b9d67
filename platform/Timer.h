#pragma once

// User-interface timers. The add-in and its windows never start a QTimer
// themselves: they ask for a Timer here, and the host decides what drives it
// (Qt's event loop in the window, a virtual scheduler in scripts).
//
// An exception that leaves a tick is shown in an error box with its text, as the
// user-interface toolkit does for errors nobody caught.

#include <functional>
#include <memory>

namespace vantorel::platform {

class Timer {
public:
    virtual ~Timer() = default;
    // Changing the interval of an enabled timer starts its period anew.
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    virtual void setOnTimer(std::function<void()> onTimer) = 0;
};

class TimerService {
public:
    virtual ~TimerService() = default;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

// A disabled timer from the installed service (QTimer-based until one is installed).
std::unique_ptr<Timer> createTimer();
void installTimerService(std::shared_ptr<TimerService> service);

// Runs one tick, showing an error that leaves it in an error box.
void runTick(const std::function<void()>& onTimer);

}  // namespace vantorel::platform
