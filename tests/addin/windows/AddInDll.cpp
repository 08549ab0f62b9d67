#include "tests/addin/windows/AddInDll.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantorel::test {

namespace {

template <typename Function>
void resolve(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (function == nullptr) {
        throw std::runtime_error(std::string("vantorel.dll does not export ") + name);
    }
}

}  // namespace

std::wstring programFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

AddInDll& AddInDll::instance() {
    static AddInDll dll;
    return dll;
}

AddInDll::AddInDll() : path_(programFolder() + L"vantorel.dll") {
    module_ = LoadLibraryW(path_.c_str());
    if (module_ == nullptr) {
        throw std::runtime_error("cannot load vantorel.dll, error " +
                                 std::to_string(GetLastError()));
    }
    resolve(module_, "DllGetClassObject", getClassObject_);
    resolve(module_, "DllCanUnloadNow", canUnloadNow_);
    resolve(module_, "DllRegisterServer", registerServer_);
    resolve(module_, "DllUnregisterServer", unregisterServer_);
}

HRESULT AddInDll::getClassObject(REFCLSID clsid, REFIID riid, void** object) const {
    return getClassObject_(clsid, riid, object);
}

HRESULT AddInDll::canUnloadNow() const {
    return canUnloadNow_();
}
HRESULT AddInDll::registerServer() const {
    return registerServer_();
}
HRESULT AddInDll::unregisterServer() const {
    return unregisterServer_();
}

}  // namespace vantorel::test
