#pragma once

// The one source of "now": the local wall-clock time. Nothing else asks the system
// for the time, so tests and scripts can set and move it.

#include <QDateTime>

#include <memory>

namespace vantorel::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // The local wall-clock time (Qt::LocalTime).
    virtual QDateTime now() const = 0;
};

// The system's time, shifted by an offset (the desktop host's time travel).
class SystemClock : public Clock {
public:
    QDateTime now() const override;
    void setOffset(qint64 milliseconds) { offsetMs_ = milliseconds; }
    qint64 offset() const { return offsetMs_; }

private:
    qint64 offsetMs_ = 0;
};

// A clock that stands still unless set or moved.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start);
    QDateTime now() const override { return now_; }
    void set(const QDateTime& localTime);
    void advance(qint64 milliseconds) { now_ = now_.addMSecs(milliseconds); }

private:
    QDateTime now_;
};

// The installed clock (a SystemClock until another is installed).
Clock& clock();
void installClock(std::shared_ptr<Clock> clock);
inline QDateTime now() {
    return clock().now();
}

}  // namespace vantorel::platform
