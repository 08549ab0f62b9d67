#include "addin/windows/ConnectObject.h"

#include "addin/windows/ConnectionListener.h"
#include "addin/windows/ServerLifetime.h"
#include "outlook/windows/Variant.h"

namespace vantorel::com {

ConnectObject::ConnectObject(std::unique_ptr<ConnectionListener> listener)
    : listener_(std::move(listener)) {
    ServerLifetime::objectCreated();
}

ConnectObject::~ConnectObject() {
    // A client that let go without disconnecting: the add-in tidies up all the same.
    if (record_.connected && listener_ != nullptr) {
        listener_->disconnected(ext_dm_HostShutdown);
    }
    listener_.reset();
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
    if (riid == outlook::com::IID_IRibbonExtensibility) {
        *object = static_cast<outlook::com::IRibbonExtensibility*>(this);
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

HRESULT ConnectObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (ids == nullptr) {
        return E_POINTER;
    }
    if (listener_ != nullptr) {
        return listener_->idsOfNames(names, count, ids);
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT ConnectObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (listener_ == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // The callbacks may release the add-in's last reference (a command that makes the
    // client disconnect it): stay alive until they return.
    AddRef();
    const HRESULT hr = listener_->invoke(id, flags, params, result, exception, argumentError);
    Release();
    return hr;
}

HRESULT ConnectObject::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
    if (RibbonXml == nullptr) {
        return E_POINTER;
    }
    *RibbonXml = nullptr;
    if (listener_ == nullptr) {
        return S_OK;
    }
    try {
        const QString xml = listener_->customUi(outlook::com::fromBstr(RibbonID));
        *RibbonXml = xml.isEmpty() ? nullptr : outlook::com::newBstr(xml);
        return S_OK;
    } catch (const std::exception&) {
        return E_FAIL;
    }
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
        // The add-in's start-up shows its own windows and reads the client's objects: an
        // error that leaves it must not cross into the client.
        try {
            listener_->connected(application_, ConnectMode);
        } catch (const std::exception&) {
            return E_FAIL;
        }
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
