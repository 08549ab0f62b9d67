// DllRegisterServer and DllUnregisterServer against the real registry (under Wine, the
// build's own prefix): every key and value read back with the Win32 API. The fixture
// removes the add-in's keys and the test's sibling key before and after each test, so a
// failing test leaves nothing behind for the next.

#include "addin/windows/ComInterfaces.h"
#include "tests/addin/windows/AddInDll.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace vantorel::test {

namespace {

const std::wstring kClassKey = std::wstring(L"Software\\Classes\\CLSID\\") + com::kClsidText;
const std::wstring kProgIdKey = std::wstring(L"Software\\Classes\\") + com::kProgId;
const std::wstring kAddIns = L"Software\\Microsoft\\Office\\Outlook\\Addins";
const std::wstring kAddInKey = kAddIns + L"\\" + com::kProgId;
// Another add-in's entry beside ours.
const std::wstring kSiblingKey = kAddIns + L"\\VantorelTest.Neighbour";

const std::wstring kMissing = L"(missing)";

std::wstring readString(const std::wstring& key, const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        return kMissing;
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS) {
        return kMissing;
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

bool keyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

void writeString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &handle, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(handle);
}

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

// The full path Windows has for the loaded DLL (the path the client would load).
std::wstring loadedPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(AddInDll::instance().module(), path.data(),
                                   static_cast<DWORD>(path.size())));
    return path;
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { removeAll(); }
    void TearDown() override { removeAll(); }

    static void removeAll() {
        for (const std::wstring& key : {kAddInKey, kProgIdKey, kClassKey, kSiblingKey}) {
            const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
            EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
        }
    }

    // Every string value registration writes, and what it must be.
    static void expectEverythingRegistered() {
        struct Value {
            std::wstring key;
            const wchar_t* name;
            std::wstring expected;
        };
        const Value values[] = {
            {kClassKey + L"\\InprocServer32", nullptr, lower(loadedPath())},
            {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"apartment"},
            {kClassKey + L"\\ProgID", nullptr, lower(com::kProgId)},
            {kProgIdKey + L"\\CLSID", nullptr, lower(com::kClsidText)},
            {kAddInKey, L"FriendlyName", L"vantorel"},
        };
        for (const Value& v : values) {
            SCOPED_TRACE(testing::Message()
                         << "HKCU\\" << v.key << " " << (v.name ? v.name : L"(default)"));
            EXPECT_EQ(v.expected, lower(readString(v.key, v.name)));
        }
        // Texts for people: there, and the add-in's description is one line.
        for (const auto& [key, name] : {std::pair(kClassKey, (const wchar_t*)nullptr),
                                        std::pair(kAddInKey, L"Description")}) {
            const std::wstring text = readString(key, name);
            EXPECT_NE(kMissing, text);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(std::wstring::npos, text.find_first_of(L"\r\n")) << text;
        }
        DWORD loadBehavior = 0;
        DWORD bytes = sizeof loadBehavior;
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kAddInKey.c_str(), L"LoadBehavior",
                                              RRF_RT_REG_DWORD, nullptr, &loadBehavior, &bytes));
        EXPECT_EQ(3u, loadBehavior) << "load at start-up, connected";
    }

    static void expectNothingRegistered() {
        for (const std::wstring& key : {kClassKey, kProgIdKey, kAddInKey}) {
            EXPECT_FALSE(keyExists(key)) << L"HKCU\\" << key;
        }
    }

    AddInDll& dll = AddInDll::instance();
};

TEST_F(RegistrationTest, RegistersEveryKeyAndValueForTheLoadedDll) {
    ASSERT_EQ(S_OK, dll.registerServer());
    expectEverythingRegistered();
    EXPECT_EQ(lower(dll.path()), lower(loadedPath())) << "the DLL's own path, not the program's";
}

TEST_F(RegistrationTest, UnregisteringRemovesExactlyWhatRegistrationWrote) {
    writeString(kSiblingKey, L"FriendlyName", L"Neighbour");
    ASSERT_EQ(S_OK, dll.registerServer());
    ASSERT_EQ(S_OK, dll.unregisterServer());
    expectNothingRegistered();
    EXPECT_EQ(L"Neighbour", readString(kSiblingKey, L"FriendlyName")) << "another add-in's entry";
    EXPECT_TRUE(keyExists(kAddIns));
    EXPECT_TRUE(keyExists(L"Software\\Classes\\CLSID"));
}

TEST_F(RegistrationTest, RegisteringAgainIsHarmlessAndMendsAStalePath) {
    ASSERT_EQ(S_OK, dll.registerServer());
    writeString(kClassKey + L"\\InprocServer32", nullptr, L"C:\\Old\\vantorel.dll");
    ASSERT_EQ(S_OK, dll.registerServer());
    expectEverythingRegistered();
    ASSERT_EQ(S_OK, dll.unregisterServer());
    expectNothingRegistered();
}

TEST_F(RegistrationTest, UnregisteringWhatIsNotRegisteredSucceeds) {
    EXPECT_EQ(S_OK, dll.unregisterServer());
    expectNothingRegistered();
    EXPECT_EQ(S_OK, dll.unregisterServer());
}

// Runs the system's regsvr32 with arguments; its exit code, or -1 when it did not run.
long runRegsvr32(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

TEST_F(RegistrationTest, RegistersThroughRegsvr32) {
    std::wstring program(MAX_PATH, L'\0');
    program.resize(GetSystemDirectoryW(program.data(), MAX_PATH));
    program += L"\\regsvr32.exe";
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no regsvr32 on this system";
    }
    const std::wstring quoted = L"\"" + dll.path() + L"\"";
    ASSERT_EQ(0, runRegsvr32(program, L"/s " + quoted));
    expectEverythingRegistered();
    ASSERT_EQ(0, runRegsvr32(program, L"/u /s " + quoted));
    expectNothingRegistered();
}

}  // namespace

}  // namespace vantorel::test
