// The object the mail client creates through the class factory and drives through
// IDTExtensibility2, asks for the ribbon through IRibbonExtensibility, and calls the
// ribbon's callbacks on through IDispatch. It holds the client's Application from
// OnConnection to OnDisconnection, records which lifecycle calls arrived and passes
// them on to its listener, if it has one.
#pragma once

#include "addin/windows/ComInterfaces.h"

#include <atomic>
#include <memory>

namespace vantorel::com {

class ConnectionListener;

// What the client has told the object so far.
struct ConnectionRecord {
    bool connected = false;
    int connectMode = -1;
    int disconnectMode = -1;
    int addInsUpdates = 0;
    int startupCompletes = 0;
    int beginShutdowns = 0;
};

class ConnectObject final : public IDTExtensibility2, public outlook::com::IRibbonExtensibility {
public:
    explicit ConnectObject(std::unique_ptr<ConnectionListener> listener);
    ConnectObject(const ConnectObject&) = delete;
    ConnectObject& operator=(const ConnectObject&) = delete;

    const ConnectionRecord& record() const { return record_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch (of both interfaces): the listener's members.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    // IDTExtensibility2
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(int RemoveMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

    // IRibbonExtensibility
    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

private:
    ~ConnectObject();
    void releaseApplication();

    std::atomic<ULONG> references_{1};
    std::unique_ptr<ConnectionListener> listener_;
    IDispatch* application_ = nullptr;
    ConnectionRecord record_;
};

}  // namespace vantorel::com
