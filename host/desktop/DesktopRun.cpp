#include "host/desktop/DesktopRun.h"

#include "forms/QtPrompts.h"
#include "host/MailClient.h"
#include "host/desktop/DesktopHelp.h"
#include "host/desktop/DesktopSound.h"
#include "host/desktop/DesktopUrlOpener.h"
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
    platform::installClock(clock);
    platform::installPrompts(std::make_shared<QtPrompts>());
    platform::installHelpViewer(std::make_shared<DesktopHelp>());
    installDesktopSound();
    platform::installUrlOpener(std::make_shared<DesktopUrlOpener>());

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
