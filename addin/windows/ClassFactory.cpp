#include "addin/windows/ClassFactory.h"

#include "addin/windows/ComAddIn.h"
#include "addin/windows/ConnectObject.h"
#include "addin/windows/ServerLifetime.h"

#include <new>

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

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    auto* connect = new (std::nothrow) ConnectObject(std::make_unique<ComAddIn>());
    if (connect == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = connect->QueryInterface(riid, object);
    connect->Release();
    return result;
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
