// The desktop quit with Ctrl+Q once a due reminder has brought up the reminders window
// and its sound (the real one, through Qt Multimedia): the program ends cleanly, and
// nothing of the desktop is destroyed after the QApplication. A program of its own, as
// the host is: the application is made and destroyed once, then the program's statics
// go, as in the host. The sanitized build reports a use of anything Qt has already
// taken down (the sound's sample cache, for one).

#include "host/desktop/DesktopRun.h"
#include "host/scenario/ScenarioRunner.h"
#include "platform/TimeZoneSetting.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// A message sent with "Remind me" three days ago and never answered: its reminder is
// due at the desktop's first poll.
int prepareDueReminder(const QString& dataDir) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QByteArray script =
        QStringLiteral(
            "clock %1\n"
            "reg set HKCU\\Software\\Ostrelin\\Vantorel\\General StartWizardOnStartup "
            "dword:00000000\n"
            "start\n"
            "compose to=\"Ann Lee <ann@example.com>\" subject=Offer body=\"Our offer.\"\n"
            "press \"Remind me\"\n"
            "quit\n")
            .arg(QDateTime::currentDateTime().addDays(-3).toString(
                QStringLiteral("yyyy-MM-dd HH:mm")))
            .toUtf8();
    QBuffer input(&script);
    input.open(QIODevice::ReadOnly);
    int status = 1;
    {
        vantorel::host::ScenarioRunner runner(outStream, errStream, dataDir);
        status = runner.run(input, QStringLiteral("-"));
    }
    if (status != 0) {
        std::fprintf(stderr, "the script that sends the message failed:\n%s%s\n", qPrintable(out),
                     qPrintable(err));
    }
    return status;
}

QWidget* shownWindow(const QString& objectName) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == objectName && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// The main window's Quit (Ctrl+Q where the platform has keys).
QAction* quitAction() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<QMainWindow*>(window)) {
            for (QAction* action : main->findChildren<QAction*>()) {
                if (action->text() == QLatin1String("&Quit")) {
                    return action;
                }
            }
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    vantorel::platform::followTimeZoneSetting();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QDir().mkpath(home.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir data;
    if (!data.isValid()) {
        std::fprintf(stderr, "no temporary data folder\n");
        return 1;
    }

    int status = 0;
    bool reminded = false;
    bool quitAsked = false;
    {
        QApplication app(argc, argv);
        // The sound the add-in plays lies in the mail client's folder: the program's.
        const QString wave =
            QCoreApplication::applicationDirPath() + QStringLiteral("/reminder.wav");
        if (!QFileInfo(wave).isFile()) {
            std::fprintf(stderr, "no sound at %s\n", qPrintable(wave));
            return 1;
        }
        if (prepareDueReminder(data.path()) != 0) {
            return 1;
        }
        // As a person does: the reminders window comes up with its sound; a moment
        // later, Ctrl+Q.
        QTimer watch;
        watch.setInterval(100);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!reminded) {
                reminded = shownWindow(QStringLiteral("ReminderWindow")) != nullptr;
                if (reminded) {
                    watch.setInterval(500);
                }
                return;
            }
            watch.stop();
            if (QAction* quit = quitAction()) {
                quitAsked = true;
                quit->trigger();
            }
        });
        // However long the first poll takes, the test ends.
        QTimer::singleShot(120'000, &app, [] {
            std::fprintf(stderr, "no reminder within two minutes\n");
            QCoreApplication::exit(3);
        });
        watch.start();
        status = vantorel::host::runDesktop(data.path(), true);
    }
    if (!reminded || !quitAsked) {
        std::fprintf(stderr, "the reminders window %s, Quit %s\n",
                     reminded ? "came up" : "never came up",
                     quitAsked ? "was chosen" : "was never found");
        return 1;
    }
    if (status != 0) {
        std::fprintf(stderr, "the desktop ended with status %d\n", status);
    }
    return status;
}
