#include "host/desktop/TimeMachine.h"

#include <QFile>
#include <QSaveFile>

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
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QByteArray::number(milliseconds) + '\n') < 0 || !file.commit()) {
        throw std::runtime_error(
            QStringLiteral("cannot write %1: %2").arg(path_, file.errorString()).toStdString());
    }
}

SystemTimeMachine::SystemTimeMachine(std::shared_ptr<platform::SystemClock> clock,
                                     const QString& offsetFile)
    : clock_(std::move(clock)), offsetFile_(offsetFile) {
    if (!offsetFile_.isEmpty()) {
        clock_->setOffset(SavedClockOffset(offsetFile_).read());
    }
}

void SystemTimeMachine::moveBy(qint64 milliseconds) {
    clock_->setOffset(clock_->offset() + milliseconds);
    save();
}

void SystemTimeMachine::reset() {
    clock_->setOffset(0);
    save();
}

void SystemTimeMachine::save() const {
    if (!offsetFile_.isEmpty()) {
        SavedClockOffset(offsetFile_).write(clock_->offset());
    }
}

}  // namespace vantorel::host
