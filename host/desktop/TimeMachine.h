#pragma once

// How the Simulate menu moves time. The desktop shifts the system clock, and its
// timers (Qt's) notice at their next tick; a test moves a manual clock and fires the
// virtual timers due on the way.

#include "platform/Clock.h"

#include <QDateTime>
#include <QString>

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

// The simulated clock's offset from the real time, kept in a file (of the data
// folder) so that the next start goes on in the same simulated time.
class SavedClockOffset {
public:
    explicit SavedClockOffset(QString path) : path_(std::move(path)) {}
    // The saved offset in milliseconds; 0 when there is none or it cannot be read.
    qint64 read() const;
    // Saves OFFSET, replacing the file whole or not at all (platform/AtomicWrite.h);
    // 0, the real time, removes the file. Throws std::runtime_error when the file
    // cannot be written or removed, and the file is then as it was.
    void write(qint64 milliseconds) const;

private:
    QString path_;
};

class SystemTimeMachine : public TimeMachine {
public:
    // OFFSETFILE (empty: none) holds the offset from one start to the next; the clock
    // takes the saved offset at once.
    explicit SystemTimeMachine(std::shared_ptr<platform::SystemClock> clock,
                               const QString& offsetFile = {});
    QDateTime now() const override { return clock_->now(); }
    void moveBy(qint64 milliseconds) override;
    bool shifted() const override { return clock_->offset() != 0; }
    void reset() override;

private:
    void save(qint64 offset) const;

    std::shared_ptr<platform::SystemClock> clock_;
    QString offsetFile_;
};

}  // namespace vantorel::host
