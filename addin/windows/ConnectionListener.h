// The seam between the connect object and the add-in: the client's lifecycle calls as
// the connect object passes them on, and the ribbon the client asks it for.
#pragma once

#include <oaidl.h>

#include <QString>

namespace vantorel::com {

class ConnectionListener {
public:
    virtual ~ConnectionListener() = default;

    // application: the client's Application, valid until disconnected().
    virtual void connected(IDispatch* application, int connectMode) = 0;
    virtual void addInsUpdated() = 0;
    virtual void startupComplete() = 0;
    virtual void beginShutdown() = 0;
    virtual void disconnected(int removeMode) = 0;

    // The customUI XML of the ribbon RIBBONID; empty when the add-in has nothing there.
    virtual QString customUi(const QString& ribbonId) = 0;
    // The connect object's members by name (the ribbon's callbacks and the add-in's own),
    // as IDispatch::GetIDsOfNames and Invoke.
    virtual HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) = 0;
    virtual HRESULT invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argumentError) = 0;
};

}  // namespace vantorel::com
