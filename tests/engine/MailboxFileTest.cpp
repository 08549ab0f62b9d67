// Opening the mailbox file: a write-ahead log left by a process that died, files
// that are not regular files, and files or folders that cannot be written.

#include "EngineFixture.h"

#include "host/engine/MailboxFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::engine::testing {
namespace {

// Opening the mailbox at path fails with a MailboxError naming it and saying `expected`.
void expectRefused(const QString& path, const QString& expected) {
    try {
        Engine refused(path);
        ADD_FAILURE() << "the mailbox was opened";
    } catch (const MailboxError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_TRUE(e.text().contains(QLatin1Char('"') + path + QLatin1Char('"'))) << e.what();
        EXPECT_TRUE(e.text().contains(expected)) << e.what();
    }
}

// The checks read a file through a URI when no write-ahead log lies beside it.
TEST(MailboxFileTest, APathWithCharactersOfAUriReopens) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a b?c#d%20e\u00fc/mailbox.db"));
    Engine(path).addCategory(QStringLiteral("Clients"));
    Engine reopened(path);
    EXPECT_EQ(reopened.application()->GetNamespace(QStringLiteral("MAPI"))->Categories()->Count(),
              1);
}

// --- A write-ahead log left beside the mailbox ---------------------------------------

class LeftoverWalTest : public EngineTest {
public:
    // A copy of the mailbox as a process leaves it when it dies right after running
    // sql: the database, its -wal holding the commit and its -shm, in the folder
    // "crashed". Returns the copy's path.
    QString crashedCopy(const char* sql) {
        newTask(QStringLiteral("precious"));
        close();
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "PRAGMA wal_autocheckpoint = 0", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        QDir(dir.path()).mkdir(QStringLiteral("crashed"));
        const QString copy = dir.filePath(QStringLiteral("crashed/mailbox.db"));
        for (const char* suffix : {"", "-wal", "-shm"}) {
            EXPECT_TRUE(
                QFile::copy(databasePath() + QLatin1String(suffix), copy + QLatin1String(suffix)))
                << suffix;
        }
        sqlite3_close(db);
        EXPECT_GT(QFileInfo(copy + QStringLiteral("-wal")).size(), 0);
        return copy;
    }
};

TEST_F(LeftoverWalTest, AGoodMailboxOpensWithTheCommitsInTheLog) {
    const QString path = crashedCopy("INSERT INTO categories(name) VALUES ('Late')");
    {
        Engine reopened(path);
        ol::CategoriesPtr categories =
            reopened.application()->GetNamespace(QStringLiteral("MAPI"))->Categories();
        ASSERT_EQ(categories->Count(), 1);
        EXPECT_EQ(categories->Item(1)->Name(), QStringLiteral("Late"));
    }
    // Closed cleanly, the log is folded into the file.
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    Engine again(path);
    EXPECT_EQ(again.application()->GetNamespace(QStringLiteral("MAPI"))->Categories()->Count(), 1);
}

struct WalRow {
    const char* name;
    const char* sql;                                 // committed into the log
    std::function<void(const QString& path)> after;  // then done to the file, if set
    const char* expected;
};

void PrintTo(const WalRow& row, std::ostream* os) {
    *os << row.name;
}

class RefusedWithLeftoverWalTest : public LeftoverWalTest,
                                   public ::testing::WithParamInterface<WalRow> {};

TEST_P(RefusedWithLeftoverWalTest, LeavesTheFileItsLogAndItsIndexAsTheyWere) {
    const QString path = crashedCopy(GetParam().sql);
    if (GetParam().after) {
        GetParam().after(path);
    }
    const QString folder = QFileInfo(path).absolutePath();
    const auto before = entriesOf(folder);
    ASSERT_EQ(before.size(), 3u);

    expectRefused(path, QLatin1String(GetParam().expected));
    EXPECT_EQ(entriesOf(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, RefusedWithLeftoverWalTest,
    ::testing::Values(
        WalRow{"newer_format",
               "INSERT INTO categories(name) VALUES ('Late'); PRAGMA user_version = 99;", nullptr,
               "newer version"},
        WalRow{"damaged_pages", "INSERT INTO categories(name) VALUES ('Late')",
               // Pages 2 to 4, meta's and stores'; the log holds categories' only.
               [](const QString& path) { overwrite(path, 4096, QByteArray(3 * 4096, '\xa5')); },
               "damaged"},
        WalRow{"table_dropped", "DROP TABLE address_book", nullptr,
               "the table address_book is missing"},
        WalRow{"item_in_a_missing_folder",
               "PRAGMA foreign_keys = OFF; UPDATE items SET folder_id = 999;", nullptr,
               "refers to a missing row"}),
    [](const ::testing::TestParamInfo<WalRow>& info) { return std::string(info.param.name); });

// --- What lies at the mailbox's path ---------------------------------------------------

struct EntryRow {
    const char* name;
    std::function<void(const QString& path, const QString& elsewhere)> make;
    const char* expected;
};

void PrintTo(const EntryRow& row, std::ostream* os) {
    *os << row.name;
}

class NotARegularFileTest : public EngineTest, public ::testing::WithParamInterface<EntryRow> {};

TEST_P(NotARegularFileTest, IsRefusedUntouched) {
    close();
    QFile::remove(databasePath());
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    GetParam().make(databasePath(), elsewhere);
    // A pipe gets a writer and bytes to read, so a try to read it cannot hang.
    const QByteArray waiting(32768, 'x');
    int pipe = -1;
    struct stat st {};
    if (::lstat(QFile::encodeName(databasePath()).constData(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        pipe = ::open(QFile::encodeName(databasePath()).constData(), O_RDWR | O_NONBLOCK);
        ASSERT_GE(pipe, 0);
        ASSERT_EQ(::write(pipe, waiting.constData(), waiting.size()), waiting.size());
    }
    const auto before = entriesOf(dir.path());

    expectRefused(databasePath(), QLatin1String(GetParam().expected));
    EXPECT_EQ(entriesOf(dir.path()), before);
    EXPECT_TRUE(entriesOf(elsewhere).empty());
    if (pipe >= 0) {
        QByteArray left(2 * waiting.size(), '\0');
        EXPECT_EQ(::read(pipe, left.data(), left.size()), waiting.size());
        ::close(pipe);
    }
}

void makeLink(const QString& target, const QString& path) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
              0);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, NotARegularFileTest,
    ::testing::Values(
        EntryRow{"pipe",
                 [](const QString& path, const QString&) {
                     ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
                 },
                 "is not a regular file but a named pipe"},
        EntryRow{"folder", [](const QString& path, const QString&) { QDir().mkpath(path); },
                 "is not a regular file but a folder"},
        EntryRow{"link_to_a_device",
                 [](const QString& path, const QString&) {
                     makeLink(QStringLiteral("/dev/null"), path);
                 },
                 "is a link to \"/dev/null\", which is not a regular file but a device"},
        EntryRow{"link_to_a_folder",
                 [](const QString& path, const QString& elsewhere) {
                     QDir().mkpath(elsewhere);
                     makeLink(elsewhere, path);
                 },
                 "which is not a regular file but a folder"},
        // A link into a folder that is not there (an unmounted disk) must not be
        // replaced by an empty mailbox.
        EntryRow{"link_to_nothing",
                 [](const QString& path, const QString& elsewhere) {
                     QDir().mkpath(elsewhere);
                     makeLink(elsewhere + QStringLiteral("/mailbox.db"), path);
                 },
                 "which does not exist"}),
    [](const ::testing::TestParamInfo<EntryRow>& info) { return std::string(info.param.name); });

// --- What lies beside the mailbox -----------------------------------------------------

struct SideRow {
    const char* name;
    const char* suffix;  // of the side file
    bool mailboxFirst;   // a mailbox is there already
    std::function<void(const QString& side, const QString& elsewhere)> make;
    const char* expected;
};

void PrintTo(const SideRow& row, std::ostream* os) {
    *os << row.name;
}

class SideFileTest : public EngineTest, public ::testing::WithParamInterface<SideRow> {};

TEST_P(SideFileTest, IsRefusedBeforeTheMailboxOpensAndNothingChanges) {
    close();
    if (!GetParam().mailboxFirst) {
        QFile::remove(databasePath());
    }
    const QString side = databasePath() + QLatin1String(GetParam().suffix);
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    GetParam().make(side, elsewhere);
    // A pipe gets a writer and bytes to read, so a try to read it cannot hang.
    const QByteArray waiting(4096, 'x');
    int pipe = -1;
    struct stat st {};
    if (::stat(QFile::encodeName(side).constData(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        pipe = ::open(QFile::encodeName(side).constData(), O_RDWR | O_NONBLOCK);
        ASSERT_GE(pipe, 0);
        ASSERT_EQ(::write(pipe, waiting.constData(), waiting.size()), waiting.size());
    }
    const auto before = entriesOf(dir.path());

    expectRefused(databasePath(), QLatin1String(GetParam().expected));
    EXPECT_EQ(entriesOf(dir.path()), before);
    if (pipe >= 0) {
        QByteArray left(2 * waiting.size(), '\0');
        EXPECT_EQ(::read(pipe, left.data(), left.size()), waiting.size());
        ::close(pipe);
    }
}

void makePipe(const QString& path, const QString&) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SideFileTest,
    ::testing::Values(
        SideRow{"journal_pipe", "-journal", true, makePipe, "-journal\" beside the mailbox file"},
        SideRow{"log_pipe", "-wal", true, makePipe, "is not a regular file but a named pipe"},
        SideRow{"index_pipe", "-shm", true, makePipe, "is not a regular file but a named pipe"},
        SideRow{"log_pipe_before_the_mailbox_is_made", "-wal", false, makePipe,
                "is not a regular file but a named pipe"},
        SideRow{"log_folder", "-wal", true,
                [](const QString& path, const QString&) { QDir().mkpath(path); },
                "is not a regular file but a folder"},
        SideRow{"journal_link_to_a_device", "-journal", true,
                [](const QString& path, const QString&) {
                    makeLink(QStringLiteral("/dev/null"), path);
                },
                "is a link to \"/dev/null\", which is not a regular file but a device"}),
    [](const ::testing::TestParamInfo<SideRow>& info) { return std::string(info.param.name); });

// The side files of a linked mailbox lie beside the file the link leads to.
TEST_F(EngineTest, TheSideFilesOfALinkedMailboxAreCheckedBesideItsTarget) {
    close();
    const QString real = dir.filePath(QStringLiteral("elsewhere/mailbox.db"));
    QDir().mkpath(QFileInfo(real).absolutePath());
    ASSERT_TRUE(QFile::rename(databasePath(), real));
    makeLink(real, databasePath());
    const QString side = real + QStringLiteral("-wal");
    makePipe(side, {});
    // A writer and bytes to read: a try to read it cannot hang.
    const int pipe = ::open(QFile::encodeName(side).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, "x", 1), 1);
    expectRefused(databasePath(), QStringLiteral("mailbox.db-wal\" beside the mailbox file"));
    ::close(pipe);
}

TEST_F(EngineTest, ALinkToAMailboxIsFollowed) {
    newTask(QStringLiteral("one"));
    close();
    const QString real = dir.filePath(QStringLiteral("elsewhere/mailbox.db"));
    QDir().mkpath(QFileInfo(real).absolutePath());
    ASSERT_TRUE(QFile::rename(databasePath(), real));
    makeLink(real, databasePath());

    open();
    newTask(QStringLiteral("two"));
    close();
    EXPECT_TRUE(QFileInfo(databasePath()).isSymLink());
    Engine direct(real);
    EXPECT_EQ(direct.application()
                  ->GetNamespace(QStringLiteral("MAPI"))
                  ->GetDefaultFolder(ol::olFolderTasks)
                  ->Items()
                  ->Count(),
              2);
}

// --- Write protection --------------------------------------------------------------------

// Takes away the right to change a file or folder: its write bits, or for root, whom
// those do not stop, the immutable attribute. Gives it back on destruction.
class WriteProtection {
public:
    explicit WriteProtection(const QString& path) : path_(QFile::encodeName(path)) {
        if (::geteuid() != 0) {
            struct stat st {};
            if (::stat(path_.constData(), &st) == 0 &&
                ::chmod(path_.constData(), st.st_mode & ~0222) == 0) {
                mode_ = st.st_mode;
                done_ = true;
            }
            return;
        }
        const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            done_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ~WriteProtection() {
        if (!done_) {
            return;
        }
        if (::geteuid() != 0) {
            ::chmod(path_.constData(), mode_);
            return;
        }
        const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

    bool done() const { return done_; }

private:
    QByteArray path_;
    mode_t mode_ = 0;
    bool done_ = false;
};

struct ProtectionRow {
    const char* name;
    bool mailboxExists;
    bool protectFile;      // else the folder
    const char* expected;  // %1: the mailbox file, %2: its folder
};

void PrintTo(const ProtectionRow& row, std::ostream* os) {
    *os << row.name;
}

class WriteProtectionTest : public EngineTest,
                            public ::testing::WithParamInterface<ProtectionRow> {};

TEST_P(WriteProtectionTest, IsNamedAndNothingIsWritten) {
    const ProtectionRow& row = GetParam();
    const QString folder = dir.filePath(QStringLiteral("data"));
    const QString path = folder + QStringLiteral("/mailbox.db");
    if (row.mailboxExists) {
        Engine(path).addCategory(QStringLiteral("Clients"));
    } else {
        QDir().mkpath(folder);
    }
    WriteProtection protection(row.protectFile ? path : folder);
    if (!protection.done()) {
        GTEST_SKIP() << "this file system keeps no immutable attribute, and for root that is "
                        "the only write protection";
    }
    const auto before = entriesOf(folder);

    expectRefused(path, QString::fromLatin1(row.expected).arg(path, folder));
    EXPECT_EQ(entriesOf(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    Protected, WriteProtectionTest,
    ::testing::Values(
        ProtectionRow{"mailbox_file", true, true, "The mailbox file \"%1\" cannot be written"},
        ProtectionRow{"data_folder", true, false,
                      "The data folder \"%2\" cannot be written, so the mailbox file \"%1\" "
                      "cannot be opened"},
        ProtectionRow{"data_folder_of_a_new_mailbox", false, false,
                      "The data folder \"%2\" cannot be written, so the mailbox file \"%1\" "
                      "cannot be created"}),
    [](const ::testing::TestParamInfo<ProtectionRow>& info) {
        return std::string(info.param.name);
    });

}  // namespace
}  // namespace vantorel::engine::testing
