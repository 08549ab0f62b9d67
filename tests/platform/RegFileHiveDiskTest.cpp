// What the hive does with whatever stands at its file's path, and with changes that
// another program makes to the file.

#include "platform/AtomicWrite.h"
#include "platform/RegFileHive.h"
#include "tests/support/TestSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

using namespace vantorel::platform;

namespace {

const QString kUser = QStringLiteral("HKEY_CURRENT_USER");
const QByteArray kHeader = "Windows Registry Editor Version 5.00\n";

void writeTo(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFrom(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t typeOf(const QString& file) {
    struct stat st {};
    return ::lstat(QFile::encodeName(file).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class RegFileHiveDiskTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("HKEY_CURRENT_USER.reg")); }
    QTemporaryDir dir;
};

// Makes FILE (the hive's path) something that is no regular file; ASIDE is a folder
// for whatever it needs beside it.
struct OddRow {
    const char* label;
    void (*make)(const QString& file, const QString& aside);
};

void PrintTo(const OddRow& row, std::ostream* out) {
    *out << row.label;
}

class RegFileHiveLeavesAlone : public RegFileHiveDiskTest,
                               public ::testing::WithParamInterface<OddRow> {};

TEST_P(RegFileHiveLeavesAlone, WhatIsNoRegularFile) {
    const QString aside = dir.filePath(QStringLiteral("aside"));
    ASSERT_TRUE(QDir().mkpath(aside));
    GetParam().make(path(), aside);
    const mode_t type = typeOf(path());
    const QString linkTarget = QFileInfo(path()).symLinkTarget();
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);

    RegFileHive hive(path(), kUser);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(hive.keyExists(QStringLiteral("K")));
    EXPECT_EQ(hive.valueNames(QString()), QStringList());
    const QString message = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(message.startsWith(path() + QLatin1Char(' '))) << message.toStdString();
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();

    try {
        hive.setValue(QStringLiteral("K"), QStringLiteral("a"), RegValue::fromDWord(1));
        ADD_FAILURE() << "written";
    } catch (const RegistryError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(path())) << e.what();
    }
    EXPECT_FALSE(hive.hasValue(QStringLiteral("K"), QStringLiteral("a")));
    EXPECT_EQ(typeOf(path()), type);
    EXPECT_EQ(QFileInfo(path()).symLinkTarget(), linkTarget);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegFileHiveLeavesAlone,
    ::testing::Values(
        OddRow{"Fifo",
               [](const QString& file, const QString&) {
                   ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
               }},
        OddRow{"LinkToFifo",
               [](const QString& file, const QString& aside) {
                   const QString fifo = aside + QStringLiteral("/fifo");
                   ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
                   ASSERT_TRUE(QFile::link(fifo, file));
               }},
        OddRow{"LinkToEndlessDevice",
               [](const QString& file, const QString&) {
                   ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), file));
               }},
        OddRow{"Folder",
               [](const QString& file, const QString&) { ASSERT_TRUE(QDir().mkpath(file)); }},
        OddRow{"LinkToFolder", [](const QString& file,
                                  const QString& aside) { ASSERT_TRUE(QFile::link(aside, file)); }},
        OddRow{"LinkToNothing",
               [](const QString& file, const QString& aside) {
                   ASSERT_TRUE(QFile::link(aside + QStringLiteral("/gone.reg"), file));
               }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegFileHiveDiskTest, AFileOverSixtyFourMegabytesIsNotReadNorWritten) {
    const qint64 size = 64 * 1024 * 1024 + 1;
    writeTo(path(), kHeader + "[HKEY_CURRENT_USER\\K]\n\"a\"=dword:00000001\n");
    ASSERT_TRUE(QFile::resize(path(), size));  // sparse: costs no disk

    RegFileHive hive(path(), kUser);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(hive.hasValue(QStringLiteral("K"), QStringLiteral("a")));
    const QString message = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(message.startsWith(path() + QStringLiteral(" holds 67108865 bytes")))
        << message.toStdString();
    EXPECT_THROW(hive.setValue(QStringLiteral("K"), QStringLiteral("b"), RegValue::fromDWord(1)),
                 RegistryError);
    EXPECT_EQ(QFileInfo(path()).size(), size);
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".damaged")));
}

// Settings that would make the file larger than a hive may be (a template of many
// megabytes) are not written: the file would not be read back at the next start.
TEST_F(RegFileHiveDiskTest, SettingsTooLargeToBeReadBackAreNotWritten) {
    writeTo(path(), kHeader + "[HKEY_CURRENT_USER\\K]\n\"a\"=dword:00000001\n");
    const QByteArray before = readFrom(path());
    RegFileHive hive(path(), kUser);
    ASSERT_TRUE(hive.hasValue(QStringLiteral("K"), QStringLiteral("a")));

    const QString huge(RegFileHive::kMaxFileSize, QLatin1Char('x'));
    try {
        hive.setValue(QStringLiteral("K"), QStringLiteral("t"), RegValue::fromString(huge));
        ADD_FAILURE() << "written";
    } catch (const RegistryError& e) {
        EXPECT_TRUE(e.why().startsWith(QStringLiteral("the settings would take ")))
            << e.why().toStdString();
        EXPECT_TRUE(e.why().endsWith(QStringLiteral("more than the 64 MB a hive file may hold")));
    }
    EXPECT_EQ(readFrom(path()), before);
    EXPECT_TRUE(hive.hasValue(QStringLiteral("K"), QStringLiteral("a")));
    EXPECT_FALSE(hive.hasValue(QStringLiteral("K"), QStringLiteral("t")));
}

// A link to a regular file is followed: reads come from that file, writes replace it
// and keep the link.
TEST_F(RegFileHiveDiskTest, ALinkToARegularFileIsReadAndWrittenThrough) {
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("real"))));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("data"))));
    const QString target = dir.filePath(QStringLiteral("real/user.reg"));
    const QString link = dir.filePath(QStringLiteral("data/HKEY_CURRENT_USER.reg"));
    writeTo(target, kHeader + "\n[HKEY_CURRENT_USER\\K]\n\"a\"=dword:00000001\n");
    ASSERT_EQ(::symlink("../real/user.reg", QFile::encodeName(link).constData()), 0);

    RegFileHive hive(link, kUser);
    EXPECT_EQ(hive.value(QStringLiteral("K"), QStringLiteral("a")).toDWord(), 1u);
    hive.setValue(QStringLiteral("K"), QStringLiteral("b"), RegValue::fromDWord(2));

    EXPECT_EQ(typeOf(link), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    EXPECT_TRUE(readFrom(target).contains("\"a\"=dword:00000001\n\"b\"=dword:00000002\n"));
    // The temporary file went beside the target and is gone.
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("real"))).entryList(QDir::Files),
              QStringList{QStringLiteral("user.reg")});
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("data"))).entryList(QDir::Files | QDir::System),
              QStringList{QStringLiteral("HKEY_CURRENT_USER.reg")});
}

// Another program writes the same number of bytes and keeps the old modification time:
// neither the size nor that time tells, and the hive must still see the change.
TEST_F(RegFileHiveDiskTest, ASameSizeChangeByAnotherProgramIsSeenAndKept) {
    struct Row {
        const char* label;
        bool inPlace;  // else a new file renamed over the old one
    };
    for (const Row& row : {Row{"rewritten in place", true}, Row{"replaced by rename", false}}) {
        SCOPED_TRACE(row.label);
        QFile::remove(path());
        writeTo(path(), kHeader + "\n[HKEY_CURRENT_USER\\K]\n\"Who\"=\"aaaa\"\n");
        RegFileHive hive(path(), kUser);
        ASSERT_EQ(hive.value(QStringLiteral("K"), QStringLiteral("Who")).toText(),
                  QStringLiteral("aaaa"));
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
        const QByteArray theirs = kHeader + "\n[HKEY_CURRENT_USER\\K]\n\"Who\"=\"bbbb\"\n";
        const QString written = row.inPlace ? path() : path() + QStringLiteral(".new");
        writeTo(written, theirs);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(written).constData(), times, 0), 0);
        if (!row.inPlace) {
            ASSERT_EQ(::rename(QFile::encodeName(written).constData(),
                               QFile::encodeName(path()).constData()),
                      0);
        }
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
        ASSERT_EQ(after.st_size, before.st_size);
        ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

        EXPECT_EQ(hive.value(QStringLiteral("K"), QStringLiteral("Who")).toText(),
                  QStringLiteral("bbbb"));
        hive.setValue(QStringLiteral("K"), QStringLiteral("Mine"), RegValue::fromDWord(1));
        const QByteArray now = readFrom(path());
        EXPECT_TRUE(now.contains("\"Who\"=\"bbbb\"")) << now.toStdString();
        EXPECT_TRUE(now.contains("\"Mine\"=dword:00000001")) << now.toStdString();
    }
}

const QString kSettingsKey = QStringLiteral("Software\\Ostrelin\\Vantorel\\Task");
const QByteArray kSettings = kHeader +
                             "\n[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Task]\n"
                             "\"RemindMeStart\"=\"d3\"\n";

// A write the hive cannot make leaves its file and folder exactly as they were and
// names the file; returns why it was refused.
QString refusedWrite(RegFileHive& hive, const QString& file, const QString& folder,
                     const RegValue& value) {
    const QByteArray before = readFrom(file);
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
    QString why;
    try {
        hive.setValue(kSettingsKey, QStringLiteral("Written"), value);
        ADD_FAILURE() << "written";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.where(), file);
        why = e.why();
    }
    EXPECT_FALSE(hive.hasValue(kSettingsKey, QStringLiteral("Written")));
    EXPECT_EQ(readFrom(file), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), entries)
        << "no temporary file is left";
    return why;
}

// What is protected: the hive file, or its folder.
struct ProtectedRow {
    const char* label;
    bool folder;
    const char* why;  // how the error begins
};

void PrintTo(const ProtectedRow& row, std::ostream* out) {
    *out << row.label;
}

class RegFileHiveWriteProtected : public RegFileHiveDiskTest,
                                  public ::testing::WithParamInterface<ProtectedRow> {};

TEST_P(RegFileHiveWriteProtected, IsNotWrittenAndStaysAsItWas) {
    writeTo(path(), kSettings);
    RegFileHive hive(path(), kUser);
    ASSERT_EQ(hive.value(kSettingsKey, QStringLiteral("RemindMeStart")).toText(),
              QStringLiteral("d3"));
    const vantorel::test::WriteProtection protection(GetParam().folder ? dir.path() : path());
    if (!protection.done()) {
        GTEST_SKIP() << "this file system cannot take away the right to change a file";
    }
    const QString why = refusedWrite(hive, path(), dir.path(), RegValue::fromDWord(2));
    EXPECT_TRUE(why.startsWith(QString::fromUtf8(GetParam().why))) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, RegFileHiveWriteProtected,
                         ::testing::Values(ProtectedRow{"File", false, "it may not be changed ("},
                                           ProtectedRow{"Folder", true,
                                                        "no file can be created in its folder "}),
                         [](const auto& info) { return std::string(info.param.label); });

// A small file system of its own, filled to the last byte: the disk really is full.
// Only root may mount one.
class RealFullDisk : public RegFileHiveDiskTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "mounting a small file system needs root";
        }
        mountPoint = dir.filePath(QStringLiteral("small"));
        ASSERT_TRUE(QDir().mkpath(mountPoint));
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") !=
            0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        }
    }
    // Fills the file system with a file of zeros until it takes no more.
    void fill() const {
        QFile filler(mountPoint + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, '\0');
        while (filler.write(page) == page.size()) {
        }
    }
    QString mountPoint;
    bool mounted = false;
};

TEST_F(RealFullDisk, KeepsTheHiveWholeAndSaysTheDiskIsFull) {
    const QString file = mountPoint + QStringLiteral("/HKEY_CURRENT_USER.reg");
    writeTo(file, kSettings);
    RegFileHive hive(file, kUser);
    ASSERT_EQ(hive.value(kSettingsKey, QStringLiteral("RemindMeStart")).toText(),
              QStringLiteral("d3"));
    ASSERT_NO_FATAL_FAILURE(fill());
    // A large template on the little room that was left, and a small change on none.
    for (const qsizetype size : {qsizetype{200 * 1024}, qsizetype{1}}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(refusedWrite(hive, file, mountPoint,
                               RegValue::fromString(QString(size, QLatin1Char('t')))),
                  diskFullText());
    }
    ASSERT_TRUE(QFile::remove(mountPoint + QStringLiteral("/filler")));
    hive.setValue(kSettingsKey, QStringLiteral("Written"), RegValue::fromDWord(2));
    EXPECT_TRUE(readFrom(file).contains("\"Written\"=dword:00000002"));
}

}  // namespace
