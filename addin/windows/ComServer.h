// vantorel.dll's COM entry points, exported by name through vantorel.def: the client
// (or regsvr32) finds them with GetProcAddress.
#pragma once

#include <windows.h>

extern "C" {
HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object);
HRESULT STDAPICALLTYPE DllCanUnloadNow();
HRESULT STDAPICALLTYPE DllRegisterServer();
HRESULT STDAPICALLTYPE DllUnregisterServer();
}

#include <string>

namespace vantorel::com {
// The full path of vantorel.dll itself (not of the process that loaded it).
std::wstring thisModulePath();
}  // namespace vantorel::com
