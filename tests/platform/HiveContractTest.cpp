// What every hive does alike, whatever keeps it: run on each kind of hive the
// system has (tests/support/HiveKinds.h), the .reg files everywhere and the registry
// on Windows.

#include "platform/RegistryKey.h"
#include "tests/support/HiveKinds.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantorel::platform;
using vantorel::test::HiveKind;

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

QStringList sorted(QStringList names) {
    std::sort(names.begin(), names.end());
    return names;
}

class HiveContract : public ::testing::TestWithParam<HiveKind> {
protected:
    std::unique_ptr<vantorel::test::ScratchHives> hives = GetParam().make();
    RegistryHive& hive = hives->user();
};

std::string kindName(const ::testing::TestParamInfo<HiveKind>& info) {
    return info.param.name;
}

}  // namespace

TEST_P(HiveContract, AMissingKeyReadsAsEmptyAndDeletesAsNothing) {
    const QString key = S("Software\\Missing");
    EXPECT_TRUE(hive.keyExists(QString()));
    EXPECT_FALSE(hive.keyExists(key));
    EXPECT_EQ(hive.subKeys(key), QStringList());
    EXPECT_EQ(hive.valueNames(key), QStringList());
    EXPECT_EQ(hive.value(key, S("Name")), RegValue());
    EXPECT_FALSE(hive.hasValue(key, S("Name")));
    EXPECT_FALSE(hive.deleteValue(key, S("Name")));
    EXPECT_FALSE(hive.deleteKey(key));
    // Reading made nothing.
    EXPECT_FALSE(hive.keyExists(S("Software")));
}

TEST_P(HiveContract, CreatingAKeyMakesTheKeysAboveItAndKeepsWhatIsThere) {
    hive.setValue(S("Software\\Ostrelin"), S("Kept"), RegValue::fromDWord(7));
    hive.createKey(S("Software\\Ostrelin\\Vantorel\\Task"));
    EXPECT_TRUE(hive.keyExists(S("Software\\Ostrelin\\Vantorel")));
    EXPECT_TRUE(hive.keyExists(S("Software\\Ostrelin\\Vantorel\\Task")));
    hive.createKey(S("Software\\Ostrelin"));
    EXPECT_EQ(hive.value(S("Software\\Ostrelin"), S("Kept")), RegValue::fromDWord(7));
    EXPECT_EQ(hive.subKeys(S("Software\\Ostrelin")), QStringList{S("Vantorel")});
}

TEST_P(HiveContract, DeletingAKeyTakesItsSubtreeAndNothingBeside) {
    hive.setValue(S("A\\B\\C"), S("v"), RegValue::fromDWord(1));
    hive.setValue(S("A\\B"), S("v"), RegValue::fromDWord(2));
    hive.setValue(S("A\\BC"), S("v"), RegValue::fromDWord(3));
    hive.setValue(S("A"), S("v"), RegValue::fromDWord(4));
    EXPECT_TRUE(hive.deleteKey(S("a\\b")));
    EXPECT_FALSE(hive.keyExists(S("A\\B")));
    EXPECT_FALSE(hive.keyExists(S("A\\B\\C")));
    EXPECT_EQ(hive.value(S("A\\BC"), S("v")), RegValue::fromDWord(3));
    EXPECT_EQ(hive.value(S("A"), S("v")), RegValue::fromDWord(4));
    EXPECT_EQ(hive.subKeys(S("A")), QStringList{S("BC")});
    EXPECT_FALSE(hive.deleteKey(S("A\\B")));
}

TEST_P(HiveContract, SubkeysAreTheDirectOnesSortedWithoutRegardToLetterCase) {
    for (const char* key : {"K\\beta", "K\\Alpha", "K\\gamma\\delta", "K\\ALPHA2", "K\\_x"}) {
        hive.createKey(S(key));
    }
    EXPECT_EQ(hive.subKeys(S("K")),
              (QStringList{S("_x"), S("Alpha"), S("ALPHA2"), S("beta"), S("gamma")}));
    EXPECT_EQ(hive.subKeys(S("k\\GAMMA")), QStringList{S("delta")});
    EXPECT_EQ(hive.subKeys(QString()), QStringList{S("K")});
}

TEST_P(HiveContract, KeysAndValuesAreFoundWithoutRegardToLetterCaseAndKeepTheirFirstSpelling) {
    hive.setValue(S("Software\\Ostrelin\\Task"), S("RemindMe"), RegValue::fromDWord(1));
    EXPECT_TRUE(hive.keyExists(S("SOFTWARE\\ostrelin")));
    EXPECT_TRUE(hive.hasValue(S("software\\OSTRELIN\\task"), S("remindme")));
    hive.setValue(S("software\\ostrelin\\TASK"), S("REMINDME"), RegValue::fromDWord(0));
    EXPECT_EQ(hive.valueNames(S("Software\\Ostrelin\\Task")), QStringList{S("RemindMe")});
    EXPECT_EQ(hive.value(S("Software\\Ostrelin\\Task"), S("RemindMe")), RegValue::fromDWord(0));
    EXPECT_EQ(hive.subKeys(S("Software\\Ostrelin")), QStringList{S("Task")});
}

TEST_P(HiveContract, KeyPathsAreNormalised) {
    hive.setValue(S("\\A\\\\B\\"), S("v"), RegValue::fromDWord(1));
    EXPECT_TRUE(hive.keyExists(S("A\\B")));
    EXPECT_EQ(hive.value(S("A\\B\\\\"), S("v")), RegValue::fromDWord(1));
    EXPECT_EQ(hive.subKeys(S("\\A")), QStringList{S("B")});
    EXPECT_EQ(normalizeKeyPath(S("\\\\A\\\\B\\")), S("A\\B"));
}

TEST_P(HiveContract, AValueIsReplacedWhateverItsTypeAndDeletedOnce) {
    hive.setValue(S("K"), S("V"), RegValue::fromString(S("1")));
    hive.setValue(S("K"), S("V"), RegValue::fromDWord(1));
    EXPECT_EQ(hive.value(S("K"), S("V")), RegValue::fromDWord(1));
    EXPECT_EQ(hive.valueNames(S("K")), QStringList{S("V")});
    EXPECT_TRUE(hive.deleteValue(S("K"), S("v")));
    EXPECT_FALSE(hive.hasValue(S("K"), S("V")));
    EXPECT_FALSE(hive.deleteValue(S("K"), S("V")));
    EXPECT_TRUE(hive.keyExists(S("K")));
}

TEST_P(HiveContract, TheDefaultValueAndTheRootsValuesAreValuesLikeAnyOther) {
    hive.setValue(S("K"), QString(), RegValue::fromString(S("default")));
    hive.setValue(QString(), S("Top"), RegValue::fromDWord(5));
    EXPECT_EQ(hive.valueNames(S("K")), QStringList{QString()});
    EXPECT_EQ(hive.value(S("K"), QString()).toText(), S("default"));
    EXPECT_EQ(hive.valueNames(QString()), QStringList{S("Top")});
    EXPECT_EQ(hive.value(QString(), S("Top")), RegValue::fromDWord(5));
    EXPECT_TRUE(hive.deleteValue(QString(), S("Top")));
    EXPECT_FALSE(hive.hasValue(QString(), S("Top")));
}

TEST_P(HiveContract, NamesAreTakenAsTheyAre) {
    const QString key = S("Grüße\\日本\\ A b\\[x];c");
    const QStringList names{S("say \"x\" C:\\dir\\"), S(" @ "), S("✓ 😀"), S("n\"=hex:01,\\")};
    for (const QString& name : names) {
        hive.setValue(key, name, RegValue::fromString(name));
    }
    EXPECT_EQ(sorted(hive.valueNames(key)), sorted(names));
    for (const QString& name : names) {
        EXPECT_EQ(hive.value(key, name).toText(), name);
    }
    EXPECT_EQ(hive.subKeys(S("Grüße\\日本")), QStringList{S(" A b")});
}

TEST_P(HiveContract, TheSettingsAccessorWorksOnIt) {
    RegistryKey reg(hive);
    ASSERT_TRUE(reg.openKey(S("\\Software\\Ostrelin\\Vantorel"), true));
    reg.writeString(S("Name"), S("x"));
    reg.writeExpandString(S("Path"), S("%APPDATA%\\x"));
    reg.writeInteger(S("Count"), -2);
    EXPECT_EQ(reg.readString(S("Name")), S("x"));
    EXPECT_EQ(reg.readString(S("Path")), S("%APPDATA%\\x"));
    EXPECT_EQ(reg.dataType(S("Path")), RegType::ExpandSz);
    EXPECT_EQ(reg.readInteger(S("Count")), -2);
    EXPECT_THROW(reg.readInteger(S("Name")), RegistryError);
    EXPECT_THROW(reg.readString(S("Missing")), RegistryError);
    EXPECT_TRUE(reg.deleteValue(S("Name")));
    EXPECT_FALSE(reg.valueExists(S("Name")));
}

INSTANTIATE_TEST_SUITE_P(On, HiveContract, ::testing::ValuesIn(vantorel::test::hiveKinds()),
                         kindName);

namespace {

// A value as Windows stores it: every type, and bytes no writer of ours makes.
struct ValueRow {
    const char* label;
    RegValue value;
};

RegValue raw(RegType type, const QByteArray& bytes) {
    return RegValue{type, bytes};
}

const ValueRow kValues[] = {
    {"Text", RegValue::fromString(S("Grüße ✓ 日本"))},
    {"EmptyText", RegValue::fromString(QString())},
    {"TextWithLineBreaks", RegValue::fromString(S("Dear &[NAME],\r\n\r\nP.S."))},
    {"TextWithoutTerminator", raw(RegType::Sz, QByteArray("a\0b\0", 4))},
    {"TextOfOddLength", raw(RegType::Sz, QByteArray("a\0b", 3))},
    {"TextOfNoBytes", raw(RegType::Sz, QByteArray())},
    {"TextWithInnerNul", raw(RegType::Sz, QByteArray("a\0\0\0b\0\0\0", 8))},
    {"ExpandableText", RegValue::fromString(S("%APPDATA%\\x"), RegType::ExpandSz)},
    {"ExpandableWithoutTerminator", raw(RegType::ExpandSz, QByteArray("%\0", 2))},
    {"MultiText", raw(RegType::MultiSz, QByteArray("a\0\0\0b\0\0\0\0\0", 10))},
    {"Binary", raw(RegType::Binary, QByteArray("\x00\xff\x7f\x80", 4))},
    {"EmptyBinary", raw(RegType::Binary, QByteArray())},
    {"LargeBinary", raw(RegType::Binary, QByteArray(70000, '\x5a'))},
    {"DWord", RegValue::fromDWord(0xfffffffe)},
    {"ShortDWord", raw(RegType::DWord, QByteArray("\x01\x02", 2))},
    {"BigEndianDWord", raw(RegType::DWordBigEndian, QByteArray("\x00\x00\x00\x01", 4))},
    {"QWord", raw(RegType::QWord, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8))},
    {"NoneWithBytes", raw(RegType::None, QByteArray("\x01", 1))},
    {"UnlistedType", raw(static_cast<RegType>(0x20), QByteArray("\x02", 1))},
};

void PrintTo(const ValueRow& row, std::ostream* out) {
    *out << row.label;
}

class HiveValues : public ::testing::TestWithParam<std::tuple<HiveKind, ValueRow>> {};

}  // namespace

TEST_P(HiveValues, KeepTheirTypeAndBytes) {
    const auto& [kind, row] = GetParam();
    const auto hives = kind.make();
    RegistryHive& hive = hives->user();
    hive.setValue(S("Software\\Ostrelin\\Vantorel"), S("V"), row.value);
    EXPECT_TRUE(hive.hasValue(S("Software\\Ostrelin\\Vantorel"), S("V")));
    const RegValue back = hive.value(S("Software\\Ostrelin\\Vantorel"), S("V"));
    EXPECT_EQ(back.type, row.value.type);
    EXPECT_EQ(back.data.toHex(' ').left(300), row.value.data.toHex(' ').left(300));
    EXPECT_EQ(back.data.size(), row.value.data.size());
    EXPECT_TRUE(back == row.value);
}

INSTANTIATE_TEST_SUITE_P(On, HiveValues,
                         ::testing::Combine(::testing::ValuesIn(vantorel::test::hiveKinds()),
                                            ::testing::ValuesIn(kValues)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).label;
                         });
