// The connect object driving the add-in module, as the mail client connects it. Once
// the module has run, vantorel.dll stays loaded for the life of the process (Qt and the
// module's Qt objects cannot be unloaded): these tests run in a program of their own.

#include "addin/windows/ComInterfaces.h"
#include "tests/addin/windows/AddInDll.h"

#include <gtest/gtest.h>

namespace vantorel::test {

namespace {

using com::CLSID_VantorelConnect;
using com::IDTExtensibility2;
using com::IID_IDTExtensibility2;

IDTExtensibility2* connectObject() {
    void* factory = nullptr;
    EXPECT_EQ(S_OK, AddInDll::instance().getClassObject(CLSID_VantorelConnect, IID_IClassFactory,
                                                        &factory));
    void* object = nullptr;
    EXPECT_EQ(S_OK, static_cast<IClassFactory*>(factory)->CreateInstance(
                        nullptr, IID_IDTExtensibility2, &object));
    static_cast<IClassFactory*>(factory)->Release();
    return static_cast<IDTExtensibility2*>(object);
}

// The client's Application as the connect object sees it: only its references count.
class CountedApplication final : public IDispatch {
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
};

TEST(ConnectTest, LifecycleCallsSucceedAndTheApplicationIsHeldUntilDisconnection) {
    IDTExtensibility2* addIn = connectObject();
    ASSERT_NE(nullptr, addIn);
    CountedApplication application;
    SAFEARRAY* custom = nullptr;

    EXPECT_EQ(S_OK, addIn->OnConnection(&application, com::ext_cm_Startup, nullptr, &custom));
    EXPECT_GE(application.references, 2u) << "held while connected";
    EXPECT_EQ(S_OK, addIn->OnStartupComplete(&custom));
    EXPECT_EQ(S_OK, addIn->OnAddInsUpdate(&custom));
    EXPECT_EQ(S_OK, addIn->OnBeginShutdown(&custom));
    EXPECT_EQ(S_OK, addIn->OnDisconnection(com::ext_dm_HostShutdown, &custom));
    EXPECT_EQ(1u, application.references) << "let go on disconnection";

    // Connected again (the user switched the add-in off and on): one reference, not two.
    EXPECT_EQ(S_OK, addIn->OnConnection(&application, com::ext_cm_AfterStartup, nullptr, &custom));
    const ULONG connected = application.references;
    EXPECT_EQ(S_OK, addIn->OnConnection(&application, com::ext_cm_AfterStartup, nullptr, &custom));
    EXPECT_EQ(connected, application.references);
    EXPECT_EQ(S_OK, addIn->OnDisconnection(com::ext_dm_UserClosed, &custom));
    EXPECT_EQ(1u, application.references);

    // A client that never disconnects: the last Release lets go.
    EXPECT_EQ(S_OK, addIn->OnConnection(&application, com::ext_cm_Startup, nullptr, &custom));
    addIn->Release();
    EXPECT_EQ(1u, application.references);
}

TEST(ConnectTest, TheDllStaysOnceTheAddInHasRun) {
    IDTExtensibility2* addIn = connectObject();
    ASSERT_NE(nullptr, addIn);
    addIn->Release();
    EXPECT_EQ(S_FALSE, AddInDll::instance().canUnloadNow());
}

}  // namespace

}  // namespace vantorel::test
