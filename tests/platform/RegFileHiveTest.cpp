#include "platform/AtomicWrite.h"
#include "platform/Hives.h"
#include "platform/RegFileHive.h"
#include "platform/RegistryKey.h"
#include "tests/support/TempHives.h"
#include "tests/support/TestSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

using namespace vantorel::platform;

namespace {

class RegFileHiveTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("HKEY_CURRENT_USER.reg")); }
    void writeFile(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(RegFileHiveTest, AMissingFileIsAnEmptyHiveAndTheFirstWriteCreatesIt) {
    RegFileHive hive(path(), QStringLiteral("HKCU"));
    EXPECT_FALSE(hive.keyExists(QStringLiteral("Software")));
    EXPECT_FALSE(QFile::exists(path()));
    hive.setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\Task"), QStringLiteral("Priority"),
                  RegValue::fromDWord(2));
    EXPECT_EQ(QString::fromUtf8(readFile()),
              QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\Software]\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrelin]\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel]\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Task]\n"
                             "\"Priority\"=dword:00000002\n\n"));
    // Nothing but the hive file is left in the folder (the write went through a temp file).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("HKEY_CURRENT_USER.reg")});
}

TEST_F(RegFileHiveTest, ChangesMadeByHandAreSeenByTheNextRead) {
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    hive.setValue(QStringLiteral("V"), QStringLiteral("IsVerbose"), RegValue::fromDWord(0));
    QThread::msleep(20);
    writeFile(
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\V]\n"
        "\"IsVerbose\"=dword:00000001\n\"Extra\"=\"x\"\n");
    EXPECT_EQ(hive.value(QStringLiteral("V"), QStringLiteral("IsVerbose")).toDWord(), 1u);
    EXPECT_TRUE(hive.hasValue(QStringLiteral("V"), QStringLiteral("Extra")));
}

TEST_F(RegFileHiveTest, ADamagedFileIsMovedAsideNeverOverwritten) {
    const QByteArray damaged =
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"a\"=oops\n";
    writeFile(damaged);
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(hive.keyExists(QStringLiteral("K")));
    const QString message = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(message.startsWith(QDir::toNativeSeparators(path()) + QStringLiteral(": line 3: ")))
        << message.toStdString();
    QFile aside(path() + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), damaged);
    // The hive goes on working from empty.
    hive.setValue(QStringLiteral("K"), QStringLiteral("a"), RegValue::fromDWord(1));
    EXPECT_TRUE(readFile().contains("\"a\"=dword:00000001"));
}

TEST_F(RegFileHiveTest, AnUnreadableFileIsLeftAlone) {
    if (vantorel::test::readsEveryFile()) {
        GTEST_SKIP() << "this process reads every file";
    }
    writeFile("Windows Registry Editor Version 5.00\n");
    QFile::setPermissions(path(), QFileDevice::Permissions());
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_THROW(hive.setValue(QStringLiteral("K"), QStringLiteral("a"), RegValue::fromDWord(1)),
                 RegistryError);
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile(), QByteArray("Windows Registry Editor Version 5.00\n"));
}

TEST_F(RegFileHiveTest, AFailedWriteLeavesTheHiveAsItWas) {
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    QDir().mkpath(blocked);
    // A folder stands where the file would be written: every write fails.
    RegFileHive hive(blocked, QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_THROW(hive.setValue(QStringLiteral("K"), QStringLiteral("a"), RegValue::fromDWord(1)),
                 RegistryError);
    EXPECT_FALSE(hive.hasValue(QStringLiteral("K"), QStringLiteral("a")));
}

// A disk with too little room for the new hive: the old file stays byte for byte, no
// temporary file is left, the hive in memory keeps what the file holds, and the error
// names the file and the full disk. Once there is room, the same write goes through.
struct FullDiskRow {
    const char* label;
    QByteArray before;  // the hive file's bytes; empty: no file yet
    qsizetype valueSize;
    qint64 room;  // bytes the disk takes
};

void PrintTo(const FullDiskRow& row, std::ostream* out) {
    *out << row.label;
}

class RegFileHiveFullDisk : public RegFileHiveTest,
                            public ::testing::WithParamInterface<FullDiskRow> {};

TEST_P(RegFileHiveFullDisk, KeepsTheOldFileWhole) {
    const FullDiskRow& row = GetParam();
    if (!row.before.isEmpty()) {
        writeFile(row.before);
    }
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    const QString key = QStringLiteral("Software\\Ostrelin\\Vantorel\\General");
    const RegValue template_ = RegValue::fromString(QString(row.valueSize, QLatin1Char('t')));
    const RegValue old = hive.value(key, QStringLiteral("ReplyTemplate"));
    {
        const DiskSpaceLimit full(row.room);
        try {
            hive.setValue(key, QStringLiteral("ReplyTemplate"), template_);
            ADD_FAILURE() << "written";
        } catch (const RegistryError& e) {
            EXPECT_EQ(e.where(), QDir::toNativeSeparators(path()));
            EXPECT_EQ(e.why(), QStringLiteral("the disk is full"));
            EXPECT_EQ(QString::fromUtf8(e.what()),
                      QStringLiteral("cannot write %1: the disk is full")
                          .arg(QDir::toNativeSeparators(path())));
        }
        EXPECT_EQ(hive.value(key, QStringLiteral("ReplyTemplate")), old);
    }
    EXPECT_EQ(QFile::exists(path()), !row.before.isEmpty());
    EXPECT_EQ(readFile(), row.before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries)
        << "no temporary file is left";

    hive.setValue(key, QStringLiteral("ReplyTemplate"), template_);
    EXPECT_EQ(RegFileHive(path(), QStringLiteral("HKEY_CURRENT_USER"))
                  .value(key, QStringLiteral("ReplyTemplate")),
              template_);
}

const QByteArray kSettingsFile =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\General]\n"
    "\"ReplyTemplate\"=\"Dear &[NAME]\"\n"
    "\"StartWizardOnStartup\"=dword:00000000\n\n"
    "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Task]\n"
    "\"RemindMeStart\"=\"d3\"\n\n";

INSTANTIATE_TEST_SUITE_P(Cases, RegFileHiveFullDisk,
                         ::testing::Values(FullDiskRow{"NoRoomAtAll", kSettingsFile, 10, 0},
                                           FullDiskRow{"RoomForAFewBytes", kSettingsFile, 10, 100},
                                           FullDiskRow{"ALargeTemplateOnLittleRoom", kSettingsFile,
                                                       200 * 1024, 20 * 1024},
                                           FullDiskRow{"NoFileYet", QByteArray(), 10, 50}),
                         [](const auto& info) { return std::string(info.param.label); });

// Room for exactly the new bytes is enough; one byte less is not.
TEST_F(RegFileHiveTest, AFileWrittenAtomicallyNeedsRoomForAllItsBytes) {
    writeFile("old");
    const QByteArray bytes(3 * 1024 * 1024 + 7, 'n');  // more than one write's share
    {
        const DiskSpaceLimit tight(bytes.size() - 1);
        EXPECT_THROW(writeFileAtomically(path(), bytes), FileWriteError);
    }
    EXPECT_EQ(readFile(), QByteArray("old"));
    {
        const DiskSpaceLimit exact(bytes.size());
        writeFileAtomically(path(), bytes);
    }
    EXPECT_EQ(readFile(), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("HKEY_CURRENT_USER.reg")});
}

TEST_F(RegFileHiveTest, TheAccessorOpensKeysAbsoluteOrRelative) {
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    RegistryKey reg(hive);
    EXPECT_FALSE(reg.openKey(QStringLiteral("\\Software\\Ostrelin"), false));
    EXPECT_FALSE(reg.hasCurrentKey());
    ASSERT_TRUE(reg.openKey(QStringLiteral("\\Software\\Ostrelin"), true));
    ASSERT_TRUE(reg.openKey(QStringLiteral("Vantorel"), true));
    EXPECT_EQ(reg.currentPath(), QStringLiteral("Software\\Ostrelin\\Vantorel"));
    reg.writeString(QStringLiteral("Name"), QStringLiteral("x"));
    reg.writeBool(QStringLiteral("Flag"), true);
    EXPECT_EQ(reg.dataType(QStringLiteral("Name")), RegType::Sz);
    EXPECT_THROW(reg.readInteger(QStringLiteral("Name")), RegistryError);
    EXPECT_THROW(reg.readString(QStringLiteral("Flag")), RegistryError);
    EXPECT_THROW(reg.readString(QStringLiteral("Missing")), RegistryError);
    EXPECT_TRUE(reg.readBool(QStringLiteral("Flag")));

    RegistryKey readOnly(hive, /*readOnly=*/true);
    EXPECT_FALSE(readOnly.openKey(QStringLiteral("\\New"), true));
    ASSERT_TRUE(readOnly.openKey(QStringLiteral("\\Software\\Ostrelin\\Vantorel"), false));
    EXPECT_THROW(readOnly.writeString(QStringLiteral("Name"), QStringLiteral("y")), RegistryError);
    EXPECT_EQ(readOnly.readString(QStringLiteral("Name")), QStringLiteral("x"));
}

TEST_F(RegFileHiveTest, AFailedOpenLeavesNoKeyOpen) {
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    hive.setValue(QStringLiteral("Software\\Old"), QStringLiteral("Name"),
                  RegValue::fromString(QStringLiteral("old")));
    struct Row {
        const char* key;
        bool canCreate;
        bool readOnly;
    };
    for (const Row& row : {Row{"\\Software\\Missing", false, false}, Row{"Missing", false, false},
                           Row{"\\Software\\New", true, true}}) {
        SCOPED_TRACE(row.key);
        RegistryKey reg(hive, row.readOnly);
        ASSERT_TRUE(reg.openKey(QStringLiteral("\\Software\\Old"), false));
        EXPECT_FALSE(reg.openKey(QString::fromUtf8(row.key), row.canCreate));
        EXPECT_FALSE(reg.hasCurrentKey());
        EXPECT_EQ(reg.currentPath(), QString());
        EXPECT_FALSE(reg.valueExists(QStringLiteral("Name")));
        EXPECT_THROW(reg.readString(QStringLiteral("Name")), RegistryError);
    }
}

// The root key's values, in both hives of a data folder.
TEST_F(RegFileHiveTest, ValuesAtAHivesRootAreReadKeptAndWrittenBack) {
    for (const QString& root :
         {QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("HKEY_LOCAL_MACHINE")}) {
        SCOPED_TRACE(root.toStdString());
        const QString file = dir.filePath(root + QStringLiteral(".reg"));
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("Windows Registry Editor Version 5.00\n\n[%1]\n\"Top\"=\"t\"\n\n"
                                   "[%1\\Software]\n\"Kept\"=dword:00000001\n")
                        .arg(root)
                        .toUtf8());
        }
        useHiveFolder(dir.path());
        RegistryHive& hive = *hiveForRoot(root);
        EXPECT_EQ(hive.value(QString(), QStringLiteral("Top")).toText(), QStringLiteral("t"));
        EXPECT_EQ(snapshot(hive).valueNames(QString()), QStringList{QStringLiteral("Top")});

        hive.setValue(QStringLiteral("Software"), QStringLiteral("New"), RegValue::fromDWord(2));
        hive.setValue(QString(), QStringLiteral("Top2"), RegValue::fromDWord(3));
        vantorel::test::installTestHives();

        EXPECT_FALSE(QFile::exists(file + QStringLiteral(".damaged")));
        RegFileHive again(file, root);
        EXPECT_EQ(again.valueNames(QString()),
                  (QStringList{QStringLiteral("Top"), QStringLiteral("Top2")}));
        EXPECT_EQ(again.valueNames(QStringLiteral("Software")),
                  (QStringList{QStringLiteral("Kept"), QStringLiteral("New")}));
    }
}

namespace {

struct NameRow {
    const char* label;
    QString key;
    QString name;
    const char* refusal;  // in the error message, or null when the name is written
};

void PrintTo(const NameRow& row, std::ostream* out) {
    *out << row.label;
}

class RegFileHiveNames : public RegFileHiveTest, public ::testing::WithParamInterface<NameRow> {};

}  // namespace

// Whatever the writer accepts reads back the same; whatever it refuses leaves the file
// as it was.
TEST_P(RegFileHiveNames, AreWrittenFaithfullyOrRefused) {
    const NameRow& row = GetParam();
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    hive.setValue(QStringLiteral("Before"), QStringLiteral("x"), RegValue::fromDWord(1));
    const QByteArray before = readFile();
    const RegValue value = RegValue::fromString(QStringLiteral("v"));
    if (row.refusal == nullptr) {
        hive.setValue(row.key, row.name, value);
        RegFileHive again(path(), QStringLiteral("HKEY_CURRENT_USER"));
        EXPECT_EQ(again.valueNames(row.key), QStringList{row.name});
        EXPECT_EQ(again.value(row.key, row.name), value);
        EXPECT_EQ(again.exportText(), hive.exportText());
        EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".damaged")));
        return;
    }
    const auto expectRefused = [&](const std::function<void()>& write) {
        try {
            write();
            ADD_FAILURE() << "written";
        } catch (const RegistryError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QString::fromUtf8(row.refusal)))
                << e.what();
        }
    };
    expectRefused([&] { hive.setValue(row.key, row.name, value); });
    if (row.name.isEmpty()) {  // the key is what cannot be written
        expectRefused([&] { hive.createKey(row.key); });
    }
    EXPECT_EQ(readFile(), before);
    RegFileHive again(path(), QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(again.exportText(), QString::fromUtf8(before));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegFileHiveNames,
    ::testing::Values(
        NameRow{"Plain", QStringLiteral("Software\\A"), QStringLiteral("Name"), nullptr},
        NameRow{"QuotesAndBackslashes", QStringLiteral("A"), QStringLiteral("say \"x\" C:\\dir\\"),
                nullptr},
        NameRow{"LooksLikeData", QStringLiteral("A"), QStringLiteral("n\"=hex:01,\\"), nullptr},
        NameRow{"Brackets", QStringLiteral("[A] b\\[c"), QStringLiteral("[x]"), nullptr},
        NameRow{"Blanks", QStringLiteral(" A \\ b"), QStringLiteral(" @ "), nullptr},
        NameRow{"CommentAndDash", QStringLiteral("-A\\;b"), QStringLiteral(";c"), nullptr},
        NameRow{"Default", QStringLiteral("A"), QString(), nullptr},
        NameRow{"Root", QString(), QStringLiteral("Top"), nullptr},
        NameRow{"Unicode", QStringLiteral("Grüße\\日本"), QStringLiteral("✓ 😀"), nullptr},
        NameRow{"NameWithLineFeed", QStringLiteral("A"), QStringLiteral("a\nb"),
                "the value name \"a\\nb\" holds a line break, which a .reg file cannot carry"},
        NameRow{"NameWithCarriageReturn", QStringLiteral("A"), QStringLiteral("a\r"),
                "\"a\\r\" holds a line break"},
        NameRow{"NameWithTab", QStringLiteral("A"), QStringLiteral("a\tb"),
                "holds the control character U+0009"},
        NameRow{"NameWithNul", QStringLiteral("A"), QString(QChar(0)), "U+0000"},
        NameRow{"NameWithLoneSurrogate", QStringLiteral("A"), QString(QChar(0xd800)),
                "lone UTF-16 surrogate"},
        NameRow{"KeyWithLineFeed", QStringLiteral("A\nB"), QString(),
                "the key \"A\\nB\" holds a line break"},
        NameRow{"KeyWithControl", QStringLiteral("A\\\x1b"), QString(), "U+001B"},
        NameRow{"KeyEndingInBracket", QStringLiteral("A]\\B"), QString(), "ends in \"]\""},
        NameRow{"LastKeyEndingInBracket", QStringLiteral("A\\B]"), QString(), "ends in \"]\""}),
    [](const auto& info) { return std::string(info.param.label); });

namespace {

struct EncodingRow {
    const char* label;
    QByteArray (*encode)(const QString&);
};

QByteArray utf16(const QString& text, QSysInfo::Endian order, bool mark) {
    QByteArray bytes;
    const QString marked = mark ? QChar(0xfeff) + text : text;
    for (QChar c : marked) {
        const char lo = static_cast<char>(c.unicode() & 0xff);
        const char hi = static_cast<char>(c.unicode() >> 8);
        bytes.append(order == QSysInfo::LittleEndian ? lo : hi);
        bytes.append(order == QSysInfo::LittleEndian ? hi : lo);
    }
    return bytes;
}

void PrintTo(const EncodingRow& row, std::ostream* out) {
    *out << row.label;
}

class RegFileHiveEncodings : public RegFileHiveTest,
                             public ::testing::WithParamInterface<EncodingRow> {};

}  // namespace

TEST_P(RegFileHiveEncodings, AreRecognised) {
    writeFile(GetParam().encode(
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                       "\"Name\"=\"Grüße ✓\"\r\n")));
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(hive.value(QStringLiteral("K"), QStringLiteral("Name")).toText(),
              QStringLiteral("Grüße ✓"));
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral(".damaged")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegFileHiveEncodings,
    ::testing::Values(
        EncodingRow{"Utf8", [](const QString& t) { return t.toUtf8(); }},
        EncodingRow{"Utf8WithMark",
                    [](const QString& t) { return QByteArray("\xef\xbb\xbf") + t.toUtf8(); }},
        EncodingRow{"Utf16LeWithMark",
                    [](const QString& t) { return utf16(t, QSysInfo::LittleEndian, true); }},
        EncodingRow{"Utf16LeWithoutMark",
                    [](const QString& t) { return utf16(t, QSysInfo::LittleEndian, false); }},
        EncodingRow{"Utf16BeWithMark",
                    [](const QString& t) { return utf16(t, QSysInfo::BigEndian, true); }},
        EncodingRow{"Utf16BeWithoutMark",
                    [](const QString& t) { return utf16(t, QSysInfo::BigEndian, false); }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegFileHiveTest, AnUnknownEncodingIsNamedAsSuch) {
    for (const QByteArray& bytes :
         {QByteArray(
              "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"a\"=\"\xe9\"\n"),
          QByteArray(64, '\0')}) {
        SCOPED_TRACE(bytes.left(8).toHex().toStdString());
        try {
            decodeRegFile(bytes);
            ADD_FAILURE() << "decoded";
        } catch (const RegParseError& e) {
            EXPECT_EQ(e.line(), 1);
            EXPECT_TRUE(e.message().contains(QStringLiteral("encoding is not recognised")))
                << e.message().toStdString();
        }
    }
}

TEST_F(RegFileHiveTest, ATextUtf8CannotCarryIsWrittenSoItReadsBackTheSame) {
    RegFileHive hive(path(), QStringLiteral("HKEY_CURRENT_USER"));
    const RegValue lone = RegValue::fromString(QString(QChar(0xd800)) + QStringLiteral("x"));
    hive.setValue(QStringLiteral("K"), QStringLiteral("Lone"), lone);
    RegFileHive again(path(), QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(again.value(QStringLiteral("K"), QStringLiteral("Lone")), lone);
}
