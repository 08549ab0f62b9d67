#include "addin/windows/ConnectObject.h"

#include "addin/windows/ConnectionListener.h"
#include "addin/windows/ServerLifetime.h"

namespace vantorel::com {

ConnectObject::ConnectObject(ConnectionListener* listener) : listener_(listener) {
    ServerLifetime::objectCreated();
}

ConnectObject::~ConnectObject() {
    releaseApplication();
    ServerLifetime::objectDestroyed();
}

void ConnectObject::releaseApplication() {
    if (application_ != nullptr) {
        application_->Release();
        application_ = nullptr;
    }
}

HRESULT ConnectObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IDTExtensibility2) {
        *object = static_cast<IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectObject::AddRef() {
    return ++references_;
}

ULONG ConnectObject::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT ConnectObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT ConnectObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT ConnectObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    if (ids == nullptr) {
        return E_POINTER;
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT ConnectObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                              UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT ConnectObject::OnConnection(IDispatch* Application, int ConnectMode, IDispatch*,
                                    SAFEARRAY**) {
    if (Application == nullptr) {
        return E_INVALIDARG;
    }
    Application->AddRef();
    releaseApplication();
    application_ = Application;
    record_.connected = true;
    record_.connectMode = ConnectMode;
    if (listener_ != nullptr) {
        listener_->connected(application_, ConnectMode);
    }
    return S_OK;
}

HRESULT ConnectObject::OnDisconnection(int RemoveMode, SAFEARRAY**) {
    record_.connected = false;
    record_.disconnectMode = RemoveMode;
    if (listener_ != nullptr) {
        listener_->disconnected(RemoveMode);
    }
    // The client's objects refuse calls once it has disconnected us: let go now, not in
    // the destructor.
    releaseApplication();
    return S_OK;
}

HRESULT ConnectObject::OnAddInsUpdate(SAFEARRAY**) {
    ++record_.addInsUpdates;
    if (listener_ != nullptr) {
        listener_->addInsUpdated();
    }
    return S_OK;
}

HRESULT ConnectObject::OnStartupComplete(SAFEARRAY**) {
    ++record_.startupCompletes;
    if (listener_ != nullptr) {
        listener_->startupComplete();
    }
    return S_OK;
}

HRESULT ConnectObject::OnBeginShutdown(SAFEARRAY**) {
    ++record_.beginShutdowns;
    if (listener_ != nullptr) {
        listener_->beginShutdown();
    }
    return S_OK;
}

}  // namespace vantorel::com
