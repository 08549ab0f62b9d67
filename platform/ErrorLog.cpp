#include "platform/ErrorLog.h"

#include <QDebug>

namespace vantorel::platform {

namespace {
std::function<void(const QString&)>& installedLog() {
    static std::function<void(const QString&)> log;
    return log;
}
}  // namespace

void logSuppressedError(const QString& text) {
    if (const auto& log = installedLog()) {
        log(text);
    } else {
        qWarning().noquote() << "Vantorel:" << text;
    }
}

void installErrorLog(std::function<void(const QString&)> log) {
    installedLog() = std::move(log);
}

}  // namespace vantorel::platform
