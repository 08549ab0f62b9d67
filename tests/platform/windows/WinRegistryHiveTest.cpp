// What only the registry-backed hive does: it is the system's default hive, it
// really reaches the registry (in the 64-bit view), and it names the key and the
// system's reason when the registry refuses. The behaviour it shares with the hive
// files is in HiveContractTest.cpp.

#include "platform/Hives.h"
#include "platform/windows/WinRegistryHive.h"
#include "tests/support/HiveKinds.h"
#include "tests/support/TempHives.h"

#include <QCoreApplication>

#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

using namespace vantorel::platform;

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

class WinRegistryHiveTest : public ::testing::Test {
protected:
    WinRegistryHiveTest() { hive.deleteKey(QString()); }
    ~WinRegistryHiveTest() override {
        WinRegistryHive(WinRegistryHive::Root::CurrentUser, S("Software\\Ostrelin"))
            .deleteKey(S("VantorelTest-%1-own").arg(QCoreApplication::applicationPid()));
    }
    // Below HKEY_CURRENT_USER.
    const QString base =
        S("Software\\Ostrelin\\VantorelTest-%1-own").arg(QCoreApplication::applicationPid());
    WinRegistryHive hive{WinRegistryHive::Root::CurrentUser, base};

    // What the registry holds at KEY (below BASE), read without the hive.
    RegValue read(const QString& key, const QString& name) {
        HKEY handle = nullptr;
        const QString full = base + S("\\") + key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(full), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                          &handle) != ERROR_SUCCESS) {
            return {};
        }
        DWORD type = 0;
        DWORD size = 0;
        RegValue v;
        if (RegQueryValueExW(handle, wide(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            v.data.resize(size);
            RegQueryValueExW(handle, wide(name), nullptr, &type,
                             reinterpret_cast<BYTE*>(v.data.data()), &size);
            v.type = static_cast<RegType>(type);
        }
        RegCloseKey(handle);
        return v;
    }
};

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RegistryError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST_F(WinRegistryHiveTest, TheSystemsHivesAreTheRegistry) {
    struct Seen {
        std::string root;
        std::string base = "(not the registry)";
    };
    const auto seen = [](RegistryHive& hive) {
        const auto* registry = dynamic_cast<const WinRegistryHive*>(&hive);
        return registry ? Seen{registry->rootName().toStdString(), registry->base().toStdString()}
                        : Seen{hive.rootName().toStdString()};
    };
    // Read before the test hives are back: installing them ends the system's.
    installHives(nullptr, nullptr);
    const Seen user = seen(currentUserHive());
    const Seen machine = seen(localMachineHive());
    vantorel::test::installTestHives();
    EXPECT_EQ(user.root, "HKEY_CURRENT_USER");
    EXPECT_EQ(user.base, "");
    EXPECT_EQ(machine.root, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(machine.base, "");
    // The hive files stay what the tests and the scenario runner use.
    EXPECT_NE(dynamic_cast<RegFileHive*>(&currentUserHive()), nullptr);
}

TEST_F(WinRegistryHiveTest, ItWritesTheRegistryItselfAndReadsWhatOthersWrote) {
    hive.setValue(S("Task"), S("Priority"), RegValue::fromDWord(2));
    EXPECT_EQ(read(S("Task"), S("Priority")), RegValue::fromDWord(2));

    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(base + S("\\Other")), 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const wchar_t text[] = L"x";
    RegSetValueExW(handle, L"Name", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text),
                   sizeof text);
    RegCloseKey(handle);
    EXPECT_EQ(hive.value(S("Other"), S("Name")), RegValue::fromString(S("x"), RegType::ExpandSz));
    EXPECT_EQ(hive.subKeys(QString()).join(S("|")).toStdString(), "Other|Task");
}

TEST_F(WinRegistryHiveTest, DeletingTheRootEmptiesTheBaseKeyButNeverAWholeHive) {
    hive.setValue(S("A\\B"), S("v"), RegValue::fromDWord(1));
    hive.setValue(QString(), S("Top"), RegValue::fromDWord(1));
    EXPECT_TRUE(hive.deleteKey(QString()));
    EXPECT_TRUE(hive.subKeys(QString()).isEmpty());
    EXPECT_TRUE(hive.valueNames(QString()).isEmpty());
    EXPECT_FALSE(hive.deleteKey(QString()));

    for (WinRegistryHive::Root root :
         {WinRegistryHive::Root::CurrentUser, WinRegistryHive::Root::LocalMachine}) {
        WinRegistryHive whole(root);
        EXPECT_EQ(messageOf([&] { whole.deleteKey(S("\\")); }), "will not delete everything in " +
                                                                    whole.rootName().toStdString() +
                                                                    ": only a key below it");
        EXPECT_TRUE(whole.keyExists(S("Software")));
    }
}

TEST_F(WinRegistryHiveTest, WhatTheRegistryRefusesIsNamedWithTheSystemsReason) {
    const std::string shownBase = "HKEY_CURRENT_USER\\" + base.toStdString();
    struct Row {
        const char* label;
        std::function<void()> call;
        std::string message;  // the start of the error's message
    };
    const QString tooLong(300, QLatin1Char('k'));
    const Row rows[] = {
        {"KeyNameTooLong", [&] { hive.setValue(tooLong, S("v"), RegValue::fromDWord(1)); },
         "cannot create the key " + shownBase + "\\" + tooLong.toStdString() + ": "},
        {"NulInValueName",
         [&] { hive.setValue(S("K"), S("a") + QChar(0) + S("b"), RegValue::fromDWord(1)); },
         "the value name \"a\\u0000b\" in " + shownBase +
             "\\K holds a NUL character, which the Windows registry cannot carry in a name"},
        {"NulInKey", [&] { hive.value(S("K") + QChar(0), S("v")); },
         "the key \"" + base.toStdString() + "\\K\\u0000\" in HKEY_CURRENT_USER holds a NUL"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string message = messageOf(row.call);
        EXPECT_EQ(message.substr(0, row.message.size()), row.message) << message;
    }
    // The system's text and number follow the key.
    const std::string message = messageOf(rows[0].call);
    EXPECT_NE(message.find("(Windows error "), std::string::npos) << message;
    EXPECT_FALSE(hive.keyExists(S("K")));
}

TEST(WindowsErrorText, IsTheSystemsTextWithItsNumber) {
    // The text is the system's own ("Access is denied." on Windows, "Access denied." under
    // Wine), on one line.
    const QString denied = windowsErrorText(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(denied.contains(S("denied. (Windows error 5)"))) << denied.toStdString();
    EXPECT_FALSE(denied.contains(QLatin1Char('\n'))) << denied.toStdString();
    EXPECT_EQ(windowsErrorText(0x7fffffff).toStdString(), "Windows error 2147483647");
}
