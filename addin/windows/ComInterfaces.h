// The COM interfaces the mail client talks to the add-in through, and the add-in's own
// class identity. MinGW's headers lack IDTExtensibility2 (it comes from the MSADDNDR type
// library): it is declared here by hand, in the client's vtable order. COM interfaces
// never get a virtual destructor: GCC would add two slots to the vtable.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace vantorel::com {

// How the client connected the add-in (OnConnection's ConnectMode).
enum ext_ConnectMode : int {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
    ext_cm_Solution = 4,
    ext_cm_UISetup = 5,
};

// Why the client disconnects it (OnDisconnection's RemoveMode).
enum ext_DisconnectMode : int {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
inline constexpr IID IID_IDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

// The lifecycle every Office add-in answers. The client calls it through the vtable
// after QueryInterface; no type library is needed.
struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

// The add-in's connect class, {F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}. Fixed for good:
// the client finds the add-in by it and by its ProgID.
inline constexpr CLSID CLSID_VantorelConnect = {
    0xF1D8C358, 0x7EB0, 0x4442, {0xA0, 0x5E, 0xE0, 0x7F, 0x2F, 0xA5, 0xEC, 0x5C}};
inline constexpr wchar_t kClsidText[] = L"{F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}";
inline constexpr wchar_t kProgId[] = L"Vantorel.Connect";

}  // namespace vantorel::com
