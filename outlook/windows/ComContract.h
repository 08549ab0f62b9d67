// The mail client's COM contract, as far as Vantorel uses it: the event interfaces
// the client fires through connection points (their IIDs and the members' DISPIDs),
// the ribbon's interfaces and the add-in's lifecycle interface. MinGW has none of the
// client's headers: what is needed is declared here by hand, in the client's vtable
// order. A COM interface never gets a virtual destructor: GCC would add two slots.
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace vantorel::outlook::com {

// ApplicationEvents_11: fired by the Application.
inline constexpr IID DIID_ApplicationEvents_11 = {
    0x0006302C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// ItemSend(IDispatch* Item, VARIANT_BOOL* Cancel): rgvarg[0] is Cancel (by reference).
inline constexpr DISPID DISPID_ItemSend = 0xF002;
inline constexpr DISPID DISPID_Quit = 0xF007;

// ItemsEvents: fired by a folder's Items while someone holds that Items object.
inline constexpr IID DIID_ItemsEvents = {
    0x00063077, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID DISPID_ItemAdd = 0xF001;

// InspectorsEvents: fired by Application.Inspectors when a message window opens.
inline constexpr IID DIID_InspectorsEvents = {
    0x00063079, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID DISPID_NewInspector = 0xF001;

// InspectorEvents_10: fired by one Inspector.
inline constexpr IID DIID_InspectorEvents_10 = {
    0x0006302A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID DISPID_InspectorActivate = 0xF001;
inline constexpr DISPID DISPID_InspectorClose = 0xF008;

// IDTExtensibility2: the lifecycle every Office add-in answers.
inline constexpr IID IID_IDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

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

struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

// The ribbon. The client asks the add-in's connect object for IRibbonExtensibility,
// takes the customUI XML of each ribbon from it, then calls the callbacks the XML
// names on the same object through IDispatch (GetIDsOfNames, then Invoke with the
// arguments in reverse order).
inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonControl = {
    0x000C0395, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonUI = {
    0x000C03A7, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

inline constexpr wchar_t kCustomUiNamespace[] =
    L"http://schemas.microsoft.com/office/2009/07/customui";

struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};

// What a callback is told about the control it is called for.
struct IRibbonControl : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Id(BSTR* Id) = 0;
    // The window the control lives in: an Explorer or an Inspector.
    virtual HRESULT STDMETHODCALLTYPE get_Context(IDispatch** Context) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Tag(BSTR* Tag) = 0;
};

// Handed over by the customUI's onLoad callback: asks the client to call the
// callbacks of one control, or of all, again.
struct IRibbonUI : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Invalidate() = 0;
    virtual HRESULT STDMETHODCALLTYPE InvalidateControl(BSTR ControlID) = 0;
    virtual HRESULT STDMETHODCALLTYPE InvalidateControlMso(BSTR ControlID) = 0;
    virtual HRESULT STDMETHODCALLTYPE ActivateTab(BSTR ControlID) = 0;
    virtual HRESULT STDMETHODCALLTYPE ActivateTabMso(BSTR ControlID) = 0;
    virtual HRESULT STDMETHODCALLTYPE ActivateTabQ(BSTR ControlID, BSTR Namespace) = 0;
};

// The error source the client's objects name in EXCEPINFO.
inline constexpr wchar_t kErrorSource[] = L"Microsoft Outlook";

}  // namespace vantorel::outlook::com
