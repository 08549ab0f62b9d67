#include "platform/RegTree.h"

#include <gtest/gtest.h>

using namespace vantorel::platform;

namespace {

const QString kUser = QStringLiteral("HKEY_CURRENT_USER");

RegTree parse(const char* text) {
    return RegTree::parse(QString::fromUtf8(text), kUser);
}

}  // namespace

TEST(RegTree, EveryValueTypeSurvivesARoundTrip) {
    RegTree tree;
    const QString key = QStringLiteral("Software\\Ostrelin\\Vantorel\\General");
    tree.setValue(key, QStringLiteral("Plain"), RegValue::fromString(QStringLiteral("d1")));
    tree.setValue(key, QStringLiteral("Quotes"),
                  RegValue::fromString(QStringLiteral("say \"hi\" C:\\dir\\")));
    tree.setValue(key, QStringLiteral("Lines"),
                  RegValue::fromString(QStringLiteral("Dear &[NAME],\r\n\r\nP.S.")));
    tree.setValue(key, QStringLiteral("Unicode"),
                  RegValue::fromString(QStringLiteral("Grüße ✓ 日本")));
    tree.setValue(key, QStringLiteral("Empty"), RegValue::fromString(QString()));
    tree.setValue(key, QStringLiteral("Expand"),
                  RegValue::fromString(QStringLiteral("%APPDATA%\\x"), RegType::ExpandSz));
    tree.setValue(key, QStringLiteral("Number"), RegValue::fromDWord(0xfffffffe));
    tree.setValue(key, QStringLiteral("Bytes"), RegValue{RegType::Binary, QByteArray(100, '\x7f')});
    tree.setValue(key, QStringLiteral("Quad"), RegValue{RegType::QWord, QByteArray(8, '\x01')});
    tree.setValue(key, QString(), RegValue::fromString(QStringLiteral("default")));

    const QString text = tree.toRegText(kUser);
    const RegTree back = RegTree::parse(text, kUser);
    for (const QString& name : tree.valueNames(key)) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_NE(back.find(key, name), nullptr);
        EXPECT_EQ(*back.find(key, name), *tree.find(key, name));
    }
    EXPECT_EQ(back.toRegText(kUser), text);
    // Texts with line breaks are written the way Windows does, as hex(1).
    EXPECT_TRUE(text.contains(QStringLiteral("\"Lines\"=hex(1):44,00,65,00")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Quotes\"=\"say \\\"hi\\\" C:\\\\dir\\\\\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Number\"=dword:fffffffe")));
}

TEST(RegTree, KeysAndValuesAreFoundWithoutRegardToLetterCase) {
    RegTree tree;
    tree.setValue(QStringLiteral("Software\\Ostrelin\\Task"), QStringLiteral("RemindMe"),
                  RegValue::fromDWord(1));
    EXPECT_TRUE(tree.keyExists(QStringLiteral("SOFTWARE\\ostrelin")));
    ASSERT_NE(tree.find(QStringLiteral("software\\OSTRELIN\\task"), QStringLiteral("remindme")),
              nullptr);
    tree.setValue(QStringLiteral("software\\ostrelin\\task"), QStringLiteral("REMINDME"),
                  RegValue::fromDWord(0));
    EXPECT_EQ(tree.valueNames(QStringLiteral("Software\\Ostrelin\\Task")),
              QStringList{QStringLiteral("RemindMe")});
}

TEST(RegTree, DeletingAKeyTakesItsSubkeysOnly) {
    RegTree tree;
    tree.createKey(QStringLiteral("A\\B\\C"));
    tree.createKey(QStringLiteral("A\\B2"));
    tree.createKey(QStringLiteral("A\\B C"));
    EXPECT_EQ(tree.subKeys(QStringLiteral("A")),
              (QStringList{QStringLiteral("B"), QStringLiteral("B C"), QStringLiteral("B2")}));
    EXPECT_TRUE(tree.deleteKey(QStringLiteral("a\\b")));
    EXPECT_FALSE(tree.keyExists(QStringLiteral("A\\B\\C")));
    EXPECT_TRUE(tree.keyExists(QStringLiteral("A\\B2")));
    EXPECT_TRUE(tree.keyExists(QStringLiteral("A\\B C")));
    EXPECT_FALSE(tree.deleteKey(QStringLiteral("A\\B")));
}

TEST(RegTree, ReadsWhatWindowsRegistryEditorExports) {
    const RegTree tree = parse(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; exported by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\General]\r\n"
        "\"ReplyTemplate\"=hex(1):44,00,0d,00,0a,00,\\\r\n"
        "  45,00,00,00\r\n"
        "\"ReminderBodyMaxLength\"=dword:0000000A\r\n"
        "@=\"default\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Gone]\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Gone]\r\n");
    const QString key = QStringLiteral("Software\\Ostrelin\\Vantorel\\General");
    ASSERT_NE(tree.find(key, QStringLiteral("ReplyTemplate")), nullptr);
    EXPECT_EQ(tree.find(key, QStringLiteral("ReplyTemplate"))->toText(), QStringLiteral("D\r\nE"));
    EXPECT_EQ(tree.find(key, QStringLiteral("ReminderBodyMaxLength"))->toDWord(), 10u);
    EXPECT_EQ(tree.find(key, QString())->toText(), QStringLiteral("default"));
    EXPECT_FALSE(tree.keyExists(QStringLiteral("Software\\Ostrelin\\Vantorel\\Gone")));
}

struct BadText {
    const char* name;
    const char* text;
    int line;
    const char* message;
};

class RegTreeRejects : public ::testing::TestWithParam<BadText> {};

TEST_P(RegTreeRejects, NamingTheLine) {
    try {
        parse(GetParam().text);
        FAIL() << "parsed";
    } catch (const RegParseError& e) {
        EXPECT_EQ(e.line(), GetParam().line);
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().message)))
            << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegTreeRejects,
    ::testing::Values(
        BadText{"NoHeader", "[HKEY_CURRENT_USER\\A]\n", 1, "header"},
        BadText{"OtherRoot", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n", 2, "not below"},
        BadText{"ValueBeforeKey", "REGEDIT4\n\"a\"=dword:1\n", 2, "[key]"},
        BadText{"BadDword", "REGEDIT4\n[HKCU\\A]\n\"a\"=dword:xyz\n", 3, "dword"},
        BadText{"LongDword", "REGEDIT4\n[HKCU\\A]\n\"a\"=dword:123456789\n", 3, "dword"},
        BadText{"BadHex", "REGEDIT4\n[HKCU\\A]\n\"a\"=hex:4g\n", 3, "hexadecimal"},
        BadText{"Unterminated", "REGEDIT4\n[HKCU\\A]\n\"a\"=\"open\n", 3, "unterminated"},
        BadText{"NoEquals", "REGEDIT4\n[HKCU\\A]\n\"a\" dword:1\n", 3, "\"=\""},
        BadText{"Garbage", "REGEDIT4\n[HKCU\\A]\nhello\n", 3, "expected"},
        BadText{"OpenKey", "REGEDIT4\n[HKCU\\A\n", 2, "]"}),
    [](const auto& info) { return std::string(info.param.name); });

struct HexRow {
    const char* name;
    const char* list;   // after "hex:"
    const char* bytes;  // as hexadecimal digits; null: rejected
};

class RegTreeHexList : public ::testing::TestWithParam<HexRow> {};

TEST_P(RegTreeHexList, BytesOfOneOrTwoDigitsBetweenCommas) {
    const QString data = QStringLiteral("hex:") + QString::fromUtf8(GetParam().list);
    if (GetParam().bytes == nullptr) {
        EXPECT_THROW(parseRegData(data), RegistryError);
        return;
    }
    EXPECT_EQ(parseRegData(data).data.toHex(), QByteArray(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegTreeHexList,
    ::testing::Values(HexRow{"Empty", "", ""}, HexRow{"Blanks", " \t ", ""},
                      HexRow{"One", "7", "07"}, HexRow{"Cases", "aB,Cd,0f", "abcd0f"},
                      HexRow{"TrailingComma", "01,02,", "0102"},
                      HexRow{"BlanksAnywhere", " 0 1 ,\tf f ", "01ff"},
                      HexRow{"OnlyAComma", ",", nullptr}, HexRow{"EmptyPart", "01,,02", nullptr},
                      HexRow{"TwoCommas", "01,,", nullptr}, HexRow{"ThreeDigits", "100", nullptr},
                      HexRow{"NoDigit", "4g", nullptr}, HexRow{"Wide", "\xef\xbc\x91", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// A long text (a template of a megabyte) is written in continued lines and read
// back byte for byte.
TEST(RegTree, ALongTextComesBackWhole) {
    QString text;
    for (int i = 0; text.size() < 1 << 20; ++i) {
        text += QStringLiteral("Line %1 &[NAME] \U0001F600\r\n").arg(i);
    }
    RegTree tree;
    const QString key = QStringLiteral("Software\\Ostrelin\\Vantorel\\General");
    tree.setValue(key, QStringLiteral("ReplyTemplate"), RegValue::fromString(text));
    const QString written = tree.toRegText(kUser);
    const RegTree back = RegTree::parse(written, kUser);
    ASSERT_NE(back.find(key, QStringLiteral("ReplyTemplate")), nullptr);
    EXPECT_TRUE(back.find(key, QStringLiteral("ReplyTemplate"))->toText() == text);
    EXPECT_TRUE(back.toRegText(kUser) == written);
    for (const QStringView line : QStringView(written).split(u'\n')) {
        ASSERT_LE(line.size(), 80) << line.left(20).toString().toStdString();
    }
}

TEST(RegTree, AValueChangedAfterItWasWrittenIsWrittenAnew) {
    RegTree tree;
    const QString key = QStringLiteral("A");
    tree.setValue(key, QStringLiteral("Text"), RegValue::fromString(QStringLiteral("one\r\n")));
    tree.setValue(key, QStringLiteral("Number"), RegValue::fromDWord(1));
    const QString first = tree.toRegText(kUser);
    tree.setValue(key, QStringLiteral("TEXT"), RegValue::fromString(QStringLiteral("two\r\n")));
    const QString second = tree.toRegText(kUser);
    EXPECT_NE(second, first);
    EXPECT_EQ(RegTree::parse(second, kUser).find(key, QStringLiteral("text"))->toText(),
              QStringLiteral("two\r\n"));
    RegTree copy = tree;
    copy.setValue(key, QStringLiteral("Text"), RegValue::fromDWord(3));
    EXPECT_EQ(tree.toRegText(kUser), second) << "a copy's change leaves the original";
    EXPECT_TRUE(copy.toRegText(kUser).contains(QStringLiteral("\"Text\"=dword:00000003")));
}

TEST(RegTree, ParsesValueDataAsScenarioScriptsWriteIt) {
    EXPECT_EQ(parseRegData(QStringLiteral("\"text\"")),
              RegValue::fromString(QStringLiteral("text")));
    EXPECT_EQ(parseRegData(QStringLiteral("dword:0000000a")), RegValue::fromDWord(10));
    EXPECT_EQ(parseRegData(QStringLiteral("hex(2):41,00,00,00")),
              RegValue::fromString(QStringLiteral("A"), RegType::ExpandSz));
    EXPECT_THROW(parseRegData(QStringLiteral("text")), RegistryError);
}

TEST(RegTree, ValuesAtTheRootKeySurviveARoundTrip) {
    // Every way a key line can name just the root.
    for (const char* keyLine :
         {"[HKEY_CURRENT_USER]", "[HKCU]", "[hkey_current_user]", "[HKEY_CURRENT_USER\\]"}) {
        SCOPED_TRACE(keyLine);
        const RegTree tree = RegTree::parse(
            QStringLiteral("REGEDIT4\n%1\n\"Top\"=dword:00000001\n@=\"root default\"\n"
                           "[HKEY_CURRENT_USER\\Software]\n\"Below\"=\"b\"\n")
                .arg(QString::fromUtf8(keyLine)),
            kUser);
        ASSERT_NE(tree.find(QString(), QStringLiteral("Top")), nullptr);
        EXPECT_EQ(tree.find(QString(), QStringLiteral("Top"))->toDWord(), 1u);
        EXPECT_EQ(tree.valueNames(QString()), (QStringList{QString(), QStringLiteral("Top")}));
        EXPECT_EQ(tree.subKeys(QString()), QStringList{QStringLiteral("Software")});

        const QString text = tree.toRegText(kUser);
        EXPECT_TRUE(text.startsWith(
            QStringLiteral("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER]\n"
                           "@=\"root default\"\n\"Top\"=dword:00000001\n\n")))
            << text.toStdString();
        EXPECT_EQ(RegTree::parse(text, kUser).toRegText(kUser), text);
    }
}

TEST(RegTree, TheRootKeyLineGoesWithItsLastValue) {
    RegTree tree;
    tree.setValue(QString(), QStringLiteral("Top"), RegValue::fromDWord(1));
    tree.setValue(QStringLiteral("A"), QStringLiteral("x"), RegValue::fromDWord(2));
    EXPECT_TRUE(tree.deleteValue(QString(), QStringLiteral("top")));
    EXPECT_EQ(tree.toRegText(kUser),
              QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:00000002\n\n"));
    EXPECT_FALSE(tree.deleteValue(QString(), QStringLiteral("Top")));
}

TEST(RegTree, ACommentNeverContinuesOntoTheNextLine) {
    struct Row {
        const char* name;
        const char* comment;
    };
    for (const Row& row :
         {Row{"hex value", "; \"x\"=hex:01,\\"}, Row{"indented", "   ;\"x\"=hex(2):41,00,\\"},
          Row{"plain backslash", "; see C:\\"}}) {
        SCOPED_TRACE(row.name);
        const RegTree tree =
            RegTree::parse(QStringLiteral("REGEDIT4\n[HKCU\\A]\n%1\n\"Kept\"=dword:00000007\n%1\n")
                               .arg(QString::fromUtf8(row.comment)),
                           kUser);
        ASSERT_NE(tree.find(QStringLiteral("A"), QStringLiteral("Kept")), nullptr);
        EXPECT_EQ(tree.find(QStringLiteral("A"), QStringLiteral("Kept"))->toDWord(), 7u);
        EXPECT_EQ(tree.valueNames(QStringLiteral("A")), QStringList{QStringLiteral("Kept")});
    }
}
