#include "host/desktop/DesktopRun.h"

#include "host/MailClient.h"
#include "host/desktop/DesktopServices.h"
#include "host/desktop/MainWindow.h"
#include "host/desktop/ScreenFit.h"
#include "platform/Clock.h"
#include "platform/Hives.h"

#include <QApplication>
#include <QDir>

#include <memory>

namespace vantorel::host {

int runDesktop(const QString& dataDir, bool chosen) {
    if (chosen) {
        platform::useHiveFolder(dataDir);
    }
    auto clock = std::make_shared<platform::SystemClock>();
    // The Simulate menu's time goes on from the last start until Back to the real time.
    auto time = std::make_shared<SystemTimeMachine>(
        clock, QDir(dataDir).filePath(QStringLiteral("simulated-clock-offset")));
    // First made, last gone: the windows and the add-in use them to the end, and
    // they go before the QApplication does.
    const DesktopServices services(clock);

    ScreenFitter fitter;
    QApplication::instance()->installEventFilter(&fitter);

    MailClient client(dataDir);
    MainWindow window(client, time);
    window.show();
    client.start();
    window.addInStarted();
    return QApplication::exec();
}

}  // namespace vantorel::host
