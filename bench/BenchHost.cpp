#include "bench/BenchHost.h"

#include "platform/Hives.h"
#include "platform/Registry.h"
#include "tools/Globals.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace vantorel::bench {

platform::MessageReply QuietPrompts::show(const platform::MessageRequest& request) {
    ++shown;
    return {platform::asksYesNo(request.buttons) ? platform::MessageAnswer::Yes
                                                 : platform::MessageAnswer::Ok,
            request.checked};
}

BenchHost::BenchHost(const MailboxShape& shape)
    : clock(std::make_shared<platform::ManualClock>(benchNow())),
      scheduler(std::make_shared<host::VirtualScheduler>(clock)),
      prompts(std::make_shared<QuietPrompts>()),
      sound(std::make_shared<CountingSound>()),
      dataDir_(dir_.filePath(QStringLiteral("data"))) {
    install();
    QDir().mkpath(dataDir_);
    items_ = writeMailbox(QDir(dataDir_).filePath(QStringLiteral("mailbox.db")), shape);
    client_ = std::make_unique<host::MailClient>(dataDir_);
}

BenchHost::BenchHost(const QString& dataDir)
    : clock(std::make_shared<platform::ManualClock>(benchNow())),
      scheduler(std::make_shared<host::VirtualScheduler>(clock)),
      prompts(std::make_shared<QuietPrompts>()),
      sound(std::make_shared<CountingSound>()),
      dataDir_(dataDir) {
    install();
    client_ = std::make_unique<host::MailClient>(dataDir_);
}

void BenchHost::install() {
    platform::installClock(clock);
    platform::installTimerService(scheduler);
    platform::installPrompts(prompts);
    platform::installSoundPlayer(sound);
    user_ = std::make_shared<platform::RegFileHive>(
        dir_.filePath(QStringLiteral("HKEY_CURRENT_USER.reg")),
        QStringLiteral("HKEY_CURRENT_USER"));
    machine_ = std::make_shared<platform::RegFileHive>(
        dir_.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg")),
        QStringLiteral("HKEY_LOCAL_MACHINE"));
    platform::installHives(user_, machine_);
    user_->setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\General"),
                    QStringLiteral("StartWizardOnStartup"), platform::RegValue::fromDWord(0));
}

BenchHost::~BenchHost() {
    client_.reset();
    platform::installHives(nullptr, nullptr);
    platform::installSoundPlayer(nullptr);
    platform::installPrompts(nullptr);
    platform::installTimerService(nullptr);
    platform::installClock(nullptr);
}

void BenchHost::start() {
    client_->start(QStringLiteral(VANTOREL_ADDIN_PATH));
    // The sound file the poll looks for before it plays.
    QFile wave(dir_.filePath(QStringLiteral("reminder.wav")));
    wave.open(QIODevice::WriteOnly);
    ReminderSoundPath = wave.fileName();
}

namespace {
// The offscreen platform cannot raise a window and says so each time the reminders
// window is brought to the front; the other messages go through.
QtMessageHandler previousHandler = nullptr;
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text == QLatin1String("This plugin does not support raise()")) {
        return;
    }
    previousHandler(type, context, text);
}
}  // namespace

void prepareProcess() {
    previousHandler = qInstallMessageHandler(messageHandler);
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QDir().mkpath(home.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

}  // namespace vantorel::bench
