#include "host/HostSystem.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace vantorel::host {

void prepareForQt() {
    // Qt wants a private runtime folder; a headless run may have none.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    const QString dir =
        QDir::temp().filePath(QStringLiteral("vantorel-runtime-%1").arg(::getuid()));
    QDir().mkpath(dir);
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
}

QString missingDisplayText() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return {};
    }
    return QStringLiteral(
        "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set).\n"
        "Run it as QT_QPA_PLATFORM=vnc vantorel-host and connect a VNC viewer to port 5900, "
        "or run a scenario headless with --script FILE.");
}

}  // namespace vantorel::host
