// vantorel.dll as the mail client meets it: loaded with LoadLibraryW from the build's
// bin folder (where the registration points) and reached only through its exports.
#pragma once

#include <windows.h>

#include <string>

namespace vantorel::test {

class AddInDll {
public:
    // The one loaded copy, loaded on first use and kept for the whole run: the DLL
    // brings Qt with it, and unloading Qt inside a running process is not supported.
    static AddInDll& instance();

    const std::wstring& path() const { return path_; }
    HMODULE module() const { return module_; }

    HRESULT getClassObject(REFCLSID clsid, REFIID riid, void** object) const;
    HRESULT canUnloadNow() const;
    HRESULT registerServer() const;
    HRESULT unregisterServer() const;

private:
    AddInDll();

    std::wstring path_;
    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer_)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer_)() = nullptr;
};

// The folder of this test program, with a trailing backslash.
std::wstring programFolder();

}  // namespace vantorel::test
