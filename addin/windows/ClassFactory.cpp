#include "addin/windows/ClassFactory.h"

#include "addin/windows/ServerLifetime.h"

namespace vantorel::com {

ClassFactory::ClassFactory() {
    ServerLifetime::objectCreated();
}

ClassFactory::~ClassFactory() {
    ServerLifetime::objectDestroyed();
}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
    return ++references_;
}

ULONG ClassFactory::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    // The connect object comes with the next change.
    return E_NOINTERFACE;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ServerLifetime::lock();
    } else {
        ServerLifetime::unlock();
    }
    return S_OK;
}

}  // namespace vantorel::com
