// The class factory of the add-in's connect class, the one class DllGetClassObject hands
// out. A factory counts as a live object for DllCanUnloadNow.
#pragma once

#include <unknwn.h>

#include <atomic>

namespace vantorel::com {

class ClassFactory final : public IClassFactory {
public:
    ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~ClassFactory();
    std::atomic<ULONG> references_{1};
};

}  // namespace vantorel::com
