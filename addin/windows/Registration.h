// The add-in's per-user registration: its COM class under HKCU\Software\Classes and its
// entry in the mail client's add-in list. Unregistration removes exactly these keys and
// leaves their parents (the client's Addins key, Classes\CLSID) as they are.
#pragma once

#include <windows.h>

#include <string>

namespace vantorel::com {

class Registration {
public:
    // Where the keys live, below HKEY_CURRENT_USER.
    static std::wstring classKey();   // Software\Classes\CLSID\{clsid}
    static std::wstring progIdKey();  // Software\Classes\<ProgID>
    static std::wstring addInKey();   // Software\Microsoft\Office\Outlook\Addins\<ProgID>

    // Writes every key and value for the DLL at dllPath; on failure removes what it
    // wrote and returns the failure.
    static HRESULT registerServer(const std::wstring& dllPath);
    // Removes the keys; keys already gone are no failure.
    static HRESULT unregisterServer();
};

}  // namespace vantorel::com
