// vantorel-host: the stand-in for the mail client that hosts the Vantorel add-in.
//
//   vantorel-host [--data DIR]                  the mail client's window with the add-in
//   vantorel-host --script FILE [--data DIR]    run a scenario script headless

#include "forms/QtPrompts.h"
#include "host/MailClient.h"
#include "host/desktop/DesktopHelp.h"
#include "host/desktop/DesktopSound.h"
#include "host/desktop/DesktopUrlOpener.h"
#include "host/desktop/MainWindow.h"
#include "host/scenario/ScenarioRunner.h"
#include "platform/Clock.h"
#include "platform/Hives.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>
#include <cstdio>

namespace {

// Qt wants a private runtime folder; a headless run may have none.
void ensureRuntimeDir() {
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

// The desktop: a real clock (with the Simulate menu's offset), real dialogs, the
// help pages in the browser.
int runDesktop(const QString& dataOption) {
    QString dataDir = dataOption;
    if (dataDir.isEmpty()) {
        dataDir = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                      .filePath(QStringLiteral("Ostrelin/Vantorel"));
    } else {
        vantorel::platform::useHiveFolder(dataDir);
    }
    QDir().mkpath(dataDir);
    auto clock = std::make_shared<vantorel::platform::SystemClock>();
    vantorel::platform::installClock(clock);
    vantorel::platform::installPrompts(std::make_shared<vantorel::QtPrompts>());
    vantorel::platform::installHelpViewer(std::make_shared<vantorel::host::DesktopHelp>());
    vantorel::platform::installSoundPlayer(std::make_shared<vantorel::host::DesktopSound>());
    vantorel::platform::installUrlOpener(std::make_shared<vantorel::host::DesktopUrlOpener>());

    vantorel::host::MailClient client(dataDir);
    vantorel::host::MainWindow window(client, clock);
    window.show();
    client.start();
    window.addInStarted();
    return QApplication::exec();
}

// The offscreen platform warns about every fixed-size window it cannot hint to a
// window manager it does not have, and every window it cannot raise; that says
// nothing about the add-in.
QtMessageHandler defaultMessageHandler = nullptr;

void quietOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg &&
        (text.contains(QLatin1String("does not support propagateSizeHints")) ||
         text.contains(QLatin1String("does not support raise()")))) {
        return;
    }
    defaultMessageHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    // Scripts run without a window: choose the offscreen platform before Qt starts.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--script") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    ensureRuntimeDir();
    defaultMessageHandler = qInstallMessageHandler(quietOffscreenNoise);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantorel-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The mail client that hosts Vantorel."));
    parser.addHelpOption();
    const QCommandLineOption script(QStringLiteral("script"),
                                    QStringLiteral("Run the scenario FILE headless (- reads "
                                                   "standard input)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Keep the hives and the mailbox in DIR."),
                                  QStringLiteral("DIR"));
    parser.addOption(script);
    parser.addOption(data);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.isSet(script)) {
        try {
            return runDesktop(parser.value(data));
        } catch (const std::exception& e) {
            err << "vantorel-host: " << QString::fromUtf8(e.what()) << Qt::endl;
            return 1;
        }
    }

    const QString path = parser.value(script);
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "vantorel-host: cannot read " << path << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    try {
        vantorel::host::ScenarioRunner runner(out, err, parser.value(data));
        return runner.run(file, path);
    } catch (const std::exception& e) {
        err << "vantorel-host: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}
