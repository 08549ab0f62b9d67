#include "host/desktop/TimeMachine.h"

#include "platform/AtomicWrite.h"

#include <QFile>

#include <stdexcept>

namespace vantorel::host {

qint64 SavedClockOffset::read() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    bool ok = false;
    const qint64 offset = file.readLine(64).trimmed().toLongLong(&ok);
    return ok ? offset : 0;
}

void SavedClockOffset::write(qint64 milliseconds) const {
    if (milliseconds == 0) {
        if (QFile::exists(path_) && !QFile::remove(path_)) {
            throw std::runtime_error(QStringLiteral("cannot remove %1").arg(path_).toStdString());
        }
        return;
    }
    platform::writeFileAtomically(path_, QByteArray::number(milliseconds) + '\n');
}

SystemTimeMachine::SystemTimeMachine(std::shared_ptr<platform::SystemClock> clock,
                                     const QString& offsetFile)
    : clock_(std::move(clock)), offsetFile_(offsetFile) {
    if (!offsetFile_.isEmpty()) {
        clock_->setOffset(SavedClockOffset(offsetFile_).read());
    }
}

// The clock moves once its new offset is saved, so the next start goes on from where
// this one is.
void SystemTimeMachine::moveBy(qint64 milliseconds) {
    const qint64 offset = clock_->offset() + milliseconds;
    save(offset);
    clock_->setOffset(offset);
}

void SystemTimeMachine::reset() {
    save(0);
    clock_->setOffset(0);
}

void SystemTimeMachine::save(qint64 offset) const {
    if (!offsetFile_.isEmpty()) {
        SavedClockOffset(offsetFile_).write(offset);
    }
}

}  // namespace vantorel::host
