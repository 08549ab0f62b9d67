// The host run as a person runs it: vantorel-host --script, its exit status, its
// standard error, and what it leaves in its data folder.

#include "host/DataFolderLock.h"
#include "tests/support/TestSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

using namespace vantorel;

namespace {

struct HostRun {
    int status = -1;
    QString out;
    QString err;
};

// Closes the host's input and waits for it: its exit status (-1 after a crash or a
// minute without an end) and what it printed.
HostRun finish(QProcess& host) {
    host.closeWriteChannel();
    if (!host.waitForFinished(60'000)) {
        host.kill();
        host.waitForFinished();
        return {};
    }
    return {host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1,
            QString::fromUtf8(host.readAllStandardOutput()),
            QString::fromUtf8(host.readAllStandardError())};
}

// Runs the host with ARGS and the test's environment less UNSET; nothing on its input.
HostRun runHostWith(const QStringList& args, const QStringList& unset = {}) {
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset) {
        env.remove(name);
    }
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VANTOREL_HOST_PATH), args);
    return finish(host);
}

HostRun runHost(const QString& script, const QString& dataDir = {}) {
    QProcess host;
    QStringList args{QStringLiteral("--script"), QStringLiteral("-")};
    if (!dataDir.isEmpty()) {
        args << QStringLiteral("--data") << dataDir;
    }
    host.start(QStringLiteral(VANTOREL_HOST_PATH), args);
    host.write(script.toUtf8());
    return finish(host);
}

// Every file below FOLDER with its size and modification time.
QStringList folderState(const QString& folder) {
    QStringList state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        state << QStringLiteral("%1 %2 %3")
                     .arg(info.filePath())
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    state.sort();
    return state;
}

struct FaultRow {
    const char* name;
    const char* script;  // after a clock at 2026-12-10 09:00
    int status;
    const char* stderrText;  // standard error holds it (line 2 is the command's line)
};

class ScriptFaults : public ::testing::TestWithParam<FaultRow> {};

}  // namespace

TEST_P(ScriptFaults, AreScriptErrorsNamingTheLine) {
    const FaultRow& row = GetParam();
    const HostRun run =
        runHost(QStringLiteral("clock 2026-12-10 09:00\n") + QString::fromUtf8(row.script));
    EXPECT_EQ(run.status, row.status) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.stderrText))) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Host, ScriptFaults,
    ::testing::Values(
        FaultRow{"advance_past_9999", "advance 100000000d\n", 2,
                 "-:2: advance 100000000d would move the clock past the year 9999"},
        FaultRow{"advance_beyond_64_bits", "advance 9999999999999999999999d\n", 2,
                 "-:2: advance 9999999999999999999999d would move the clock past the year 9999"},
        FaultRow{"advance_overflowing_milliseconds", "advance 9223372036854775807s\n", 2,
                 "-:2: advance 9223372036854775807s would move the clock past the year 9999"},
        FaultRow{"clock_past_the_last_date", "clock 10000-01-01 00:00\n", 2,
                 "-:2: \"10000-01-01 00:00\" is not a date and time"},
        FaultRow{"value_name_with_a_line_break",
                 "reg set HKCU\\Software\\Ostrelin\\Vantorel \"a\\nb\" \"V\"\n", 2,
                 "-:2: the value name \"a\\nb\" holds a line break"},
        FaultRow{"key_with_a_line_break", "reg set \"HKCU\\\\Software\\\\a\\rb\" N \"V\"\n", 2,
                 "-:2: the key"},
        FaultRow{
            "disabled_control",
            "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\npress Custom\n"
            "ui comTask set x\n",
            2, "-:6: the control \"comTask\" is disabled"},
        FaultRow{
            "combo_without_the_entry",
            "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\npress Custom\n"
            "ui btnShowOptions click\nui comPriority select Urgent\n",
            2, "-:7: \"comPriority\" has no entry \"Urgent\""},
        // While a dialog is open a person reaches no other window; timers and mail go on.
        FaultRow{"compose_under_the_quick_start", "start\ncompose to=ann@example.com\n", 2,
                 "-:3: the dialog \"Quick Start\" is open; close it first"},
        FaultRow{"compose_under_custom",
                 "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\n"
                 "press Custom\nadvance 1h\ndeliver from=bob@example.com subject=Hi\n"
                 "compose to=bob@example.com subject=Second\n",
                 2, "-:8: the dialog \"Send with Custom Settings\" is open; close it first"},
        FaultRow{"remind_me_under_custom",
                 "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\n"
                 "press Custom\npress \"Remind me\"\n",
                 2, "-:6: the dialog \"Send with Custom Settings\" is open; close it first"},
        FaultRow{"closing_the_message_under_custom",
                 "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\n"
                 "press Custom\nclose Offer\n",
                 2, "-:6: the dialog \"Send with Custom Settings\" is open; close it first"},
        FaultRow{"header_without_a_name", "deliver from=a@x subject=Hi header=\": x\"\n", 2,
                 "-:2: \": x\" is no internet header"},
        FaultRow{"header_name_with_a_blank",
                 "deliver from=a@x subject=Hi header=\"Auto Submitted: no\"\n", 2,
                 "-:2: \"Auto Submitted: no\" is no internet header"},
        FaultRow{"header_over_two_lines",
                 "deliver from=a@x subject=Hi header=\"Precedence: bulk\\r\\nX: y\"\n", 2,
                 "is no internet header"},
        FaultRow{"empty_message_class", "deliver from=a@x subject=Hi class=\n", 2,
                 "-:2: class needs a message class"},
        FaultRow{"send_under_custom",
                 "start\nclose \"Quick Start\"\ncompose to=ann@example.com subject=Offer\n"
                 "press Custom\nsend\n",
                 2, "-:6: the dialog \"Send with Custom Settings\" is open; close it first"}),
    [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

struct CommandLineRow {
    const char* name;
    QStringList args;
    int status;
    const char* stderrText;  // the whole of standard error
};

class CommandLineFaults : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLineFaults, AreOneLineAndNothingStarts) {
    const CommandLineRow& row = GetParam();
    const HostRun run = runHostWith(row.args);
    EXPECT_EQ(run.status, row.status) << run.err.toStdString();
    EXPECT_EQ(run.err.toStdString(), row.stderrText);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Host, CommandLineFaults,
    ::testing::Values(
        CommandLineRow{"unknown_long_option",
                       {QStringLiteral("--x")},
                       2,
                       "vantorel-host: unknown option '--x'; see --help\n"},
        CommandLineRow{"unknown_option_with_a_value",
                       {QStringLiteral("--colour=red")},
                       2,
                       "vantorel-host: unknown option '--colour'; see --help\n"},
        CommandLineRow{"unknown_short_option",
                       {QStringLiteral("-q"), QStringLiteral("--script"), QStringLiteral("-")},
                       2,
                       "vantorel-host: unknown option '-q'; see --help\n"},
        CommandLineRow{"option_without_its_value",
                       {QStringLiteral("--script")},
                       2,
                       "vantorel-host: missing value after '--script'; see --help\n"},
        CommandLineRow{"a_stray_argument",
                       {QStringLiteral("--script"), QStringLiteral("-"), QStringLiteral("extra")},
                       2,
                       "vantorel-host: unexpected argument 'extra'; see --help\n"}),
    [](const ::testing::TestParamInfo<CommandLineRow>& info) {
        return std::string(info.param.name);
    });

TEST(CommandLine, HelpListsTheOptions) {
    const HostRun run = runHostWith({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: vantorel-host [options]\n")))
        << run.out.toStdString();
    for (const char* option : {"--help", "--script <FILE>", "--data <DIR>"}) {
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(option))) << option;
    }
}

// A data folder the host cannot keep its data in stops it, in the window's mode and
// in the scripted one, before anything starts.
TEST(CommandLine, AnUnusableDataFolderIsNamed) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString file = temp.filePath(QStringLiteral("file"));
    QFile made(file);
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    made.close();
    const struct {
        QString folder;
        QString message;
    } rows[] = {
        {file, QStringLiteral("the data folder %1 is not a folder").arg(file)},
        {file + QStringLiteral("/sub"),
         QStringLiteral("cannot create the data folder %1/sub").arg(file)},
        // Not even the superuser may make a file there.
        {QStringLiteral("/proc/self"),
         QStringLiteral("cannot write in the data folder /proc/self")},
    };
    for (const auto& row : rows) {
        for (const QStringList& mode :
             {QStringList{}, QStringList{QStringLiteral("--script"), QStringLiteral("-")}}) {
            const HostRun run =
                runHostWith(mode + QStringList{QStringLiteral("--data"), row.folder});
            EXPECT_EQ(run.status, 1) << row.folder.toStdString();
            EXPECT_EQ(run.err.toStdString(),
                      QStringLiteral("vantorel-host: %1\n").arg(row.message).toStdString());
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
}

// Without a display the window's mode says what to do instead of letting Qt abort,
// and leaves the data folder alone.
TEST(CommandLine, WithoutADisplayTheWindowsModeSaysWhatToDo) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString data = temp.filePath(QStringLiteral("data"));
    const HostRun run = runHostWith({QStringLiteral("--data"), data},
                                    {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                     QStringLiteral("QT_QPA_PLATFORM")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("QT_QPA_PLATFORM=vnc"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("port 5900")));
    EXPECT_TRUE(run.err.contains(QLatin1String("--script FILE")));
    EXPECT_FALSE(QFileInfo::exists(data));
}

// A value at a hive's root is legal: written, kept, and read back.
TEST(ScriptRun, AValueAtTheHivesRootIsWrittenAndKept) {
    const HostRun run =
        runHost(QStringLiteral("reg set HKCU\\Software\\Ostrelin\\Vantorel\\Verbose IsVerbose "
                               "dword:00000001\nreg set HKCU N \"V\"\nstart\nclose \"Quick "
                               "Start\"\nquit\ndump reg HKCU\n"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("[HKEY_CURRENT_USER]\n\"N\"=\"V\"\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"IsVerbose\"=dword:00000001")));
}

TEST(ScriptRun, ALongAdvanceWithTheAddInStartedEnds) {
    const HostRun run = runHost(
        QStringLiteral("clock 2026-12-10 09:00\nstart\nclose \"Quick Start\"\nadvance 2900000d\n"
                       "quit\n"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
}

TEST(DataFolder, OneHostAtATimeAndTheSecondChangesNothing) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    ASSERT_EQ(runHost(QStringLiteral("start\nclose \"Quick Start\"\nquit\n"), data.path()).status,
              0);

    const host::DataFolderLock held(data.path());
    const QStringList before = folderState(data.path());
    const HostRun second =
        runHost(QStringLiteral("start\nclose \"Quick Start\"\nreg set HKCU\\Software\\X N \"V\"\n"),
                data.path());
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err.trimmed(),
              QStringLiteral("vantorel-host: the data folder %1 is in use by another "
                             "vantorel-host (process %2)")
                  .arg(QDir(data.path()).absolutePath())
                  .arg(::getpid()));
    EXPECT_TRUE(second.out.isEmpty());
    EXPECT_EQ(folderState(data.path()), before);
}

// Two hosts started together on a new folder: one owns it, the other refuses or
// starts after it; neither breaks the other's mailbox or hive.
TEST(DataFolder, HostsStartedTogetherTakeTurns) {
    const QByteArray script =
        "start\nclose \"Quick Start\"\nreg set HKCU\\Software\\X N \"V\"\nquit\n";
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir data;
        ASSERT_TRUE(data.isValid());
        QProcess hosts[2];
        for (QProcess& host : hosts) {
            host.start(QStringLiteral(VANTOREL_HOST_PATH),
                       {QStringLiteral("--script"), QStringLiteral("-"), QStringLiteral("--data"),
                        data.path()});
            host.write(script);
            host.closeWriteChannel();
        }
        for (QProcess& host : hosts) {
            ASSERT_TRUE(host.waitForFinished(60'000));
            const QString err = QString::fromUtf8(host.readAllStandardError());
            if (host.exitCode() != 0) {
                EXPECT_EQ(host.exitCode(), 1);
                EXPECT_TRUE(err.contains(QLatin1String("is in use by another vantorel-host")))
                    << err.toStdString();
            }
        }
        EXPECT_EQ(runHost(QStringLiteral("dump reg HKCU\\Software\\X\n"), data.path()).out,
                  QStringLiteral("[HKEY_CURRENT_USER\\Software\\X]\n\"N\"=\"V\"\n\n"));
    }
}

// Quitting and starting again keeps the mail, the tasks and the settings; a reminder
// that fell due while the mail client was closed comes on the first poll.
TEST(DataFolder, StateSurvivesARestart) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const HostRun first = runHost(
        QStringLiteral("locale en_US\nclock 2026-12-10 09:00\nstart\nclose \"Quick Start\"\n"
                       "compose to=ann@example.com subject=Offer\npress \"Remind me\"\nquit\n"),
        data.path());
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    const HostRun second =
        runHost(QStringLiteral("locale en_US\nclock 2026-12-12 09:00\nstart\nclose \"Quick "
                               "Start\"\nadvance 10s\ndump reminders\ndump sent\n"),
                data.path());
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_TRUE(
        second.out.startsWith(QStringLiteral("sound \"reminder.wav\"\nwindow visible "
                                             "\"1 Vantorel\"\nentry 1 selected \"Offer\"")))
        << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("  Subject: Offer\n")));
}

// A hive that cannot be written: on a file system filled to the last byte (a small one
// of its own, which only root may mount), or write-protected. The default settings
// dialog says so in its error box and stays open, "reg set" fails the script naming
// its line, and the hive file is left byte for byte.
struct UnwritableHiveRow {
    const char* name;
    // Makes the data folder (in TEMP) that the script runs on: a first run has stored
    // some settings, then the hive is made unwritable for as long as the result lives.
    // Null data: the system cannot, and the case is skipped.
    std::function<std::shared_ptr<void>(const QString& temp, QString& data, QString& skip)> prepare;
    const char* why;  // how the reason begins
};

void PrintTo(const UnwritableHiveRow& row, std::ostream* os) {
    *os << row.name;
}

class UnwritableHive : public ::testing::TestWithParam<UnwritableHiveRow> {};

const QString kFirstRun = QStringLiteral(
    "reg set HKCU\\Software\\Ostrelin\\Vantorel\\General StartWizardOnStartup dword:0\n"
    "reg set HKCU\\Software\\Ostrelin\\Vantorel\\General ReplyTemplate \"Mine\"\n"
    "start\nquit\n");

TEST_P(UnwritableHive, SettingsDialogsAndRegSetSayWhyAndTheHiveStays) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    QString data;
    QString skip;
    const std::shared_ptr<void> unwritable = GetParam().prepare(temp.path(), data, skip);
    if (!skip.isEmpty()) {
        GTEST_SKIP() << skip.toStdString();
    }
    ASSERT_TRUE(unwritable);
    const QString hive = data + QStringLiteral("/HKEY_CURRENT_USER.reg");
    QFile file(hive);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    const HostRun run = runHost(
        QStringLiteral("start\npress \"Default settings\"\nui btnOK click\nui btnCancel click\n"
                       "reg set HKCU\\Software\\Ostrelin\\Vantorel\\General ReplyTemplate "
                       "\"Other\"\nquit\n"),
        data);
    const QString start = QStringLiteral("%1: %2").arg(hive, QString::fromUtf8(GetParam().why));
    EXPECT_TRUE(
        run.out.startsWith(QStringLiteral("msgbox error \"Cannot save the settings to ") + start))
        << run.out.toStdString();
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("-:5: cannot write ") + start))
        << run.err.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// The mount of a small tmpfs, undone when it goes.
class SmallDisk {
public:
    explicit SmallDisk(QString at) : at_(std::move(at)) {}
    ~SmallDisk() { ::umount2(QFile::encodeName(at_).constData(), MNT_DETACH); }

private:
    QString at_;
};

INSTANTIATE_TEST_SUITE_P(
    Host, UnwritableHive,
    ::testing::Values(
        UnwritableHiveRow{
            "full_disk",
            [](const QString& temp, QString& data, QString& skip) -> std::shared_ptr<void> {
                if (::geteuid() != 0) {
                    skip = QStringLiteral("mounting a small file system needs root");
                    return nullptr;
                }
                const QString disk = temp + QStringLiteral("/disk");
                QDir().mkpath(disk);
                if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=1m") !=
                    0) {
                    skip = QStringLiteral("cannot mount a tmpfs here: ") +
                           QString::fromLocal8Bit(std::strerror(errno));
                    return nullptr;
                }
                auto mounted = std::make_shared<SmallDisk>(disk);
                data = disk + QStringLiteral("/data");
                if (runHost(kFirstRun, data).status != 0) {
                    return nullptr;
                }
                QFile filler(disk + QStringLiteral("/filler"));
                if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                    return nullptr;
                }
                const QByteArray page(4096, '\0');
                while (filler.write(page) == page.size()) {
                }
                return mounted;
            },
            "the disk is full"},
        UnwritableHiveRow{
            "write_protected_hive",
            [](const QString& temp, QString& data, QString& skip) -> std::shared_ptr<void> {
                data = temp;
                if (runHost(kFirstRun, data).status != 0) {
                    return nullptr;
                }
                auto protection = std::make_shared<test::WriteProtection>(
                    data + QStringLiteral("/HKEY_CURRENT_USER.reg"));
                if (!protection->done()) {
                    skip = QStringLiteral("this file system cannot write-protect a file");
                    return nullptr;
                }
                return protection;
            },
            "it may not be changed ("}),
    [](const auto& info) { return std::string(info.param.name); });

// A lock file the host did not make as a regular file of its own: another name of a
// file of the folder (a hard link), a pipe, a link. The host refuses the folder in one
// line and writes nothing, into the file the lock shares least of all.
struct LockRow {
    const char* name;
    std::function<void(const QDir& data, const QByteArray& lock)> make;
    const char* expected;
};

void PrintTo(const LockRow& row, std::ostream* os) {
    *os << row.name;
}

class ForeignLockFile : public ::testing::TestWithParam<LockRow> {};

TEST_P(ForeignLockFile, IsRefusedAndNothingChanges) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir data(temp.path());
    ASSERT_EQ(runHost(QStringLiteral("start\nclose \"Quick Start\"\ncompose to=ann@example.com "
                                     "subject=Offer\npress \"Remind me\"\nquit\n"),
                      data.path())
                  .status,
              0);
    const QString lock = data.filePath(QLatin1String(host::DataFolderLock::kFileName));
    ASSERT_TRUE(QFile::remove(lock));
    GetParam().make(data, QFile::encodeName(lock));
    const auto contents = [&data] {
        QStringList files;
        for (const QString& name :
             {QStringLiteral("mailbox.db"), QStringLiteral("HKEY_CURRENT_USER.reg")}) {
            QFile file(data.filePath(name));
            files << (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex())
                                                     : QStringLiteral("unreadable"));
        }
        return files;
    };
    const QStringList before = folderState(data.path());
    const QStringList contentsBefore = contents();

    const HostRun run =
        runHost(QStringLiteral("start\nclose \"Quick Start\"\nquit\n"), data.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("vantorel-host: the data folder %1 cannot be "
                                                  "locked: ")
                                       .arg(QDir(data.path()).absolutePath())))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String(GetParam().expected))) << run.err.toStdString();
    EXPECT_EQ(folderState(data.path()), before);
    EXPECT_EQ(contents(), contentsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Locks, ForeignLockFile,
    ::testing::Values(
        LockRow{"hard_link_to_the_mailbox",
                [](const QDir& data, const QByteArray& lock) {
                    ASSERT_EQ(::link(QFile::encodeName(data.filePath(QStringLiteral("mailbox.db")))
                                         .constData(),
                                     lock.constData()),
                              0);
                },
                "is a hard link shared with another file"},
        LockRow{"hard_link_to_the_settings",
                [](const QDir& data, const QByteArray& lock) {
                    ASSERT_EQ(::link(QFile::encodeName(
                                         data.filePath(QStringLiteral("HKEY_CURRENT_USER.reg")))
                                         .constData(),
                                     lock.constData()),
                              0);
                },
                "is a hard link shared with another file"},
        LockRow{"named_pipe",
                [](const QDir&, const QByteArray& lock) {
                    ASSERT_EQ(::mkfifo(lock.constData(), 0600), 0);
                },
                "is not a regular file but a named pipe"},
        LockRow{
            "link_to_the_mailbox",
            [](const QDir& data, const QByteArray& lock) {
                ASSERT_EQ(
                    ::symlink(
                        QFile::encodeName(data.filePath(QStringLiteral("mailbox.db"))).constData(),
                        lock.constData()),
                    0);
            },
            "is not a regular file but a link"},
        LockRow{"link_to_nothing",
                [](const QDir& data, const QByteArray& lock) {
                    ASSERT_EQ(
                        ::symlink(
                            QFile::encodeName(data.filePath(QStringLiteral("gone"))).constData(),
                            lock.constData()),
                        0);
                },
                "is not a regular file but a link"}),
    [](const ::testing::TestParamInfo<LockRow>& info) { return std::string(info.param.name); });

TEST(DataFolder, TheLockIsTheProcesssUntilReleased) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    {
        const host::DataFolderLock first(data.path());
        EXPECT_THROW(host::DataFolderLock second(data.path()), host::DataFolderInUse);
    }
    EXPECT_NO_THROW(host::DataFolderLock again(data.path()));
}
