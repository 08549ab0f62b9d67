#include "addin/windows/ComServer.h"

#include "addin/windows/ClassFactory.h"
#include "addin/windows/ComInterfaces.h"
#include "addin/windows/Registration.h"
#include "addin/windows/ServerLifetime.h"

#include <new>
#include <string>

namespace vantorel::com {

std::wstring thisModulePath() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&thisModulePath), &module)) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace vantorel::com

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    using namespace vantorel::com;
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_VantorelConnect) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) ClassFactory;
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = factory->QueryInterface(riid, object);
    factory->Release();
    return result;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return vantorel::com::ServerLifetime::inUse() ? S_FALSE : S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring path = vantorel::com::thisModulePath();
    if (path.empty()) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return vantorel::com::Registration::registerServer(path);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return vantorel::com::Registration::unregisterServer();
}
