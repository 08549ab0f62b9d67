#include "addin/windows/Registration.h"

#include "addin/windows/ComInterfaces.h"

namespace vantorel::com {

namespace {

const wchar_t kDescription[] =
    L"Vantorel: follows up sent e-mail that gets no reply and reminds you when it is due";

LSTATUS setString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            bytes);
    RegCloseKey(handle);
    return status;
}

LSTATUS setDword(const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY handle = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
    RegCloseKey(handle);
    return status;
}

LSTATUS deleteTree(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    return status;
}

LSTATUS writeAll(const std::wstring& dllPath) {
    const std::wstring classKey = Registration::classKey();
    const std::wstring addInKey = Registration::addInKey();
    const LSTATUS steps[] = {
        setString(classKey, nullptr, kDescription),
        setString(classKey + L"\\InprocServer32", nullptr, dllPath),
        setString(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
        setString(classKey + L"\\ProgID", nullptr, kProgId),
        setString(Registration::progIdKey() + L"\\CLSID", nullptr, kClsidText),
        setString(addInKey, L"FriendlyName", L"Vantorel"),
        setString(addInKey, L"Description", kDescription),
        setDword(addInKey, L"LoadBehavior", 3),
    };
    for (LSTATUS status : steps) {
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::wstring Registration::classKey() {
    return std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText;
}

std::wstring Registration::progIdKey() {
    return std::wstring(L"Software\\Classes\\") + kProgId;
}

std::wstring Registration::addInKey() {
    return std::wstring(L"Software\\Microsoft\\Office\\Outlook\\Addins\\") + kProgId;
}

HRESULT Registration::registerServer(const std::wstring& dllPath) {
    const LSTATUS status = writeAll(dllPath);
    if (status != ERROR_SUCCESS) {
        unregisterServer();
        return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

HRESULT Registration::unregisterServer() {
    LSTATUS first = ERROR_SUCCESS;
    for (const std::wstring& key : {addInKey(), progIdKey(), classKey()}) {
        const LSTATUS status = deleteTree(key);
        if (first == ERROR_SUCCESS) {
            first = status;
        }
    }
    return HRESULT_FROM_WIN32(first);
}

}  // namespace vantorel::com
