// Renders every window of the add-in offscreen to PNG files, as a person sees them
// with sample content, at the display scale the environment gives (QT_SCALE_FACTOR).
//
//   vantorel_screenshots OUTDIR    writes OUTDIR/NAME-SCALE.png for each window

#include "forms/AboutBoxUnit.h"
#include "forms/CustomSendTaskUnit.h"
#include "forms/DefaultSettingsUnit.h"
#include "forms/ReminderWindowUnit.h"
#include "forms/SettingsUnit.h"
#include "forms/TemplateEditUnit.h"
#include "forms/WizardUnit.h"
#include "host/engine/Engine.h"
#include "platform/Clock.h"
#include "platform/Hives.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <functional>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

// Saves what WINDOW shows now.
bool grab(QWidget& window, const QString& path) {
    QApplication::processEvents();
    const bool saved = window.grab().save(path, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// Shows WINDOW offscreen, lets it lay itself out and saves what it shows.
bool save(QWidget& window, const QString& path) {
    window.show();
    const bool saved = grab(window, path);
    window.hide();
    return saved;
}

// A tracking task that the reminders window lists.
void listTask(ol::Application& app, const QString& topic, const QString& recipients,
              const QString& reminderTime, const QString& autoReply = {}) {
    const ol::TaskItemPtr task = ol::asTaskItem(app.CreateItem(ol::olTaskItem));
    task->SetSubject(QStringLiteral("[Vantorel] ") + topic);
    WriteTrackingProperty(*task, TrackingProperty::Topic, topic);
    WriteTrackingProperty(*task, TrackingProperty::Recipients, recipients);
    WriteTrackingProperty(*task, TrackingProperty::FirstSent, QStringLiteral("1796893200"));
    WriteTrackingProperty(*task, TrackingProperty::ReminderSet, QStringLiteral("-1"));
    WriteTrackingProperty(*task, TrackingProperty::ReminderTime, reminderTime);
    if (!autoReply.isEmpty()) {
        WriteTrackingProperty(*task, TrackingProperty::AutoReply, autoReply);
    }
    task->Save();
    ReminderWindow->ReminderAdd(task);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel_screenshots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QTemporaryDir data;
    platform::useHiveFolder(data.path());
    platform::installClock(
        std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 11), QTime(10, 30))));
    engine::Engine mailbox(QDir(data.path()).filePath(QStringLiteral("mailbox.db")));
    OutlookApp = mailbox.application();
    AddInRegistry = new TAddInRegistry();
    OutlookMajorVersion = 16;
    HelpFilePath = QStringLiteral(VANTOREL_ADDIN_DIR "/Vantorel.chm");
    {
        TTemplateEdit measuring;
        DisplayScale = measuring.GetWindowsScaling();
    }
    const QString scale = QString::number(DisplayScale);
    const auto file = [&](const QString& name) {
        return out.filePath(QStringLiteral("%1-%2.png").arg(name, scale));
    };

    bool ok = true;
    {
        TCustomSendTask dialog;
        ok = save(dialog, file(QStringLiteral("custom-send"))) && ok;
    }
    {
        TDefaultSettings dialog;
        ok = save(dialog, file(QStringLiteral("default-settings"))) && ok;
    }
    {
        TTemplateEdit dialog;
        ok = save(dialog, file(QStringLiteral("template-edit"))) && ok;
    }
    {
        TSettings dialog;
        ok = save(dialog, file(QStringLiteral("preferences"))) && ok;
    }
    {
        TAboutWindow dialog;
        ok = save(dialog, file(QStringLiteral("about"))) && ok;
    }
    {
        TWizardWindow wizard;
        wizard.show();
        for (int page = 1; page <= 5; ++page) {
            ok = grab(wizard, file(QStringLiteral("wizard-%1").arg(page))) && ok;
            wizard.findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
        }
    }
    {
        ReminderWindow = new TTReminderWindow();
        // Ann is away: her out-of-office reply is recorded.
        listTask(*OutlookApp, QStringLiteral("Offer"), QStringLiteral("Ann Lee|ann@example.com;"),
                 QStringLiteral("1796893200"),
                 QStringLiteral("Ann Lee <ann@example.com>|1796896800"));
        listTask(*OutlookApp, QStringLiteral("Minutes of the meeting"),
                 QStringLiteral("Bob|bob@example.com;Carl|carl@example.com;"),
                 QStringLiteral("1796979600"));
        // Too long for its columns: shortened with an ellipsis.
        listTask(*OutlookApp,
                 QStringLiteral("Quarterly figures of the northern sales region with the revised "
                                "forecast for the coming year"),
                 QStringLiteral("Dmitri Volkov|dmitri@example.com;Eleanor Whitfield|eleanor@"
                                "example.com;Francesca Romano|francesca@example.com;"),
                 QStringLiteral("1795510800"));
        ok = save(*ReminderWindow, file(QStringLiteral("reminders"))) && ok;
        delete std::exchange(ReminderWindow, nullptr);
    }

    delete std::exchange(AddInRegistry, nullptr);
    OutlookApp.reset();
    platform::installClock(nullptr);
    platform::installHives(nullptr, nullptr);
    return ok ? 0 : 1;
}
