// The class factory and the connect object, reached as the mail client reaches them:
// DllGetClassObject, IClassFactory, QueryInterface and the vtable of IDTExtensibility2.

#include "addin/windows/ComInterfaces.h"
#include "tests/addin/windows/AddInDll.h"

#include <gtest/gtest.h>

#include <ocidl.h>

namespace vantorel::test {

namespace {

using com::CLSID_VantorelConnect;
using com::IDTExtensibility2;
using com::IID_IDTExtensibility2;

// A pointer the calls under test must overwrite with null on failure.
void* const kGarbage = reinterpret_cast<void*>(0x1234);

// Every test starts and must end with nothing of the DLL alive.
class ComServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, dll.canUnloadNow()) << "objects left alive"; }
    void TearDown() override { EXPECT_EQ(S_OK, dll.canUnloadNow()) << "objects left alive"; }

    IClassFactory* factory() {
        void* object = nullptr;
        EXPECT_EQ(S_OK, dll.getClassObject(CLSID_VantorelConnect, IID_IClassFactory, &object));
        return static_cast<IClassFactory*>(object);
    }

    IDTExtensibility2* connectObject() {
        IClassFactory* classFactory = factory();
        void* object = nullptr;
        EXPECT_EQ(S_OK, classFactory->CreateInstance(nullptr, IID_IDTExtensibility2, &object));
        classFactory->Release();
        return static_cast<IDTExtensibility2*>(object);
    }

    AddInDll& dll = AddInDll::instance();
};

TEST_F(ComServerTest, GivesAClassFactoryForItsClassOnly) {
    struct Case {
        const char* name;
        CLSID clsid;
        IID iid;
        HRESULT result;
    };
    const CLSID otherClass = {0x0B1D5A3E, 0x0C62, 0x4E3B, {0x9A, 1, 2, 3, 4, 5, 6, 7}};
    const Case cases[] = {
        {"IClassFactory", CLSID_VantorelConnect, IID_IClassFactory, S_OK},
        {"IUnknown", CLSID_VantorelConnect, IID_IUnknown, S_OK},
        {"not a factory's interface", CLSID_VantorelConnect, IID_IDTExtensibility2, E_NOINTERFACE},
        {"another class", otherClass, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"the interface id as a class", IID_IDTExtensibility2, IID_IClassFactory,
         CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* object = kGarbage;
        EXPECT_EQ(c.result, dll.getClassObject(c.clsid, c.iid, &object));
        if (c.result == S_OK) {
            ASSERT_NE(nullptr, object);
            static_cast<IUnknown*>(object)->Release();
        } else {
            EXPECT_EQ(nullptr, object);
        }
    }
    EXPECT_EQ(E_POINTER, dll.getClassObject(CLSID_VantorelConnect, IID_IClassFactory, nullptr));
}

TEST_F(ComServerTest, CreatesTheConnectObjectThroughEachOfItsInterfaces) {
    struct Case {
        const char* name;
        IID iid;
        HRESULT result;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"IDispatch", IID_IDispatch, S_OK},
        {"IDTExtensibility2", IID_IDTExtensibility2, S_OK},
        {"IClassFactory", IID_IClassFactory, E_NOINTERFACE},
        {"IPersist", IID_IPersist, E_NOINTERFACE},
        {"IConnectionPointContainer", IID_IConnectionPointContainer, E_NOINTERFACE},
    };
    IClassFactory* classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* object = kGarbage;
        EXPECT_EQ(c.result, classFactory->CreateInstance(nullptr, c.iid, &object));
        if (c.result == S_OK) {
            ASSERT_NE(nullptr, object);
            static_cast<IUnknown*>(object)->Release();
        } else {
            EXPECT_EQ(nullptr, object);
        }
    }
    classFactory->Release();
}

TEST_F(ComServerTest, RefusesAggregation) {
    IClassFactory* classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    IUnknown* outer = classFactory;  // any live IUnknown will do
    void* object = kGarbage;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, classFactory->CreateInstance(outer, IID_IUnknown, &object));
    EXPECT_EQ(nullptr, object);
    classFactory->Release();
}

TEST_F(ComServerTest, ConnectObjectAnswersItsInterfacesWithOneIdentity) {
    IDTExtensibility2* addIn = connectObject();
    ASSERT_NE(nullptr, addIn);
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, addIn->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, IID_IDTExtensibility2}) {
        IUnknown* other = nullptr;
        ASSERT_EQ(S_OK, addIn->QueryInterface(iid, reinterpret_cast<void**>(&other)));
        EXPECT_EQ(identity, other);
        other->Release();
    }
    void* object = kGarbage;
    EXPECT_EQ(E_NOINTERFACE, addIn->QueryInterface(IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, addIn->QueryInterface(IID_IUnknown, nullptr));
    identity->Release();
    addIn->Release();
}

TEST_F(ComServerTest, TheDllStaysWhileAnObjectOrALockLives) {
    IClassFactory* classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "the factory alive";

    void* object = nullptr;
    ASSERT_EQ(S_OK, classFactory->CreateInstance(nullptr, IID_IDTExtensibility2, &object));
    auto* addIn = static_cast<IDTExtensibility2*>(object);
    EXPECT_EQ(S_OK, classFactory->LockServer(TRUE));
    EXPECT_EQ(0u, classFactory->Release());
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "the object and a lock alive";

    EXPECT_EQ(2u, addIn->AddRef());
    EXPECT_EQ(1u, addIn->Release());
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "one reference left";
    EXPECT_EQ(0u, addIn->Release());
    EXPECT_EQ(S_FALSE, dll.canUnloadNow()) << "the lock alive";

    // The lock is the server's, not the factory's: another factory takes it off.
    classFactory = factory();
    ASSERT_NE(nullptr, classFactory);
    EXPECT_EQ(S_OK, classFactory->LockServer(FALSE));
    classFactory->Release();
    EXPECT_EQ(S_OK, dll.canUnloadNow());
}

TEST_F(ComServerTest, ConnectionWithoutAnApplicationIsRefused) {
    IDTExtensibility2* addIn = connectObject();
    ASSERT_NE(nullptr, addIn);
    EXPECT_EQ(E_INVALIDARG, addIn->OnConnection(nullptr, com::ext_cm_Startup, nullptr, nullptr));
    EXPECT_EQ(S_OK, addIn->OnDisconnection(com::ext_dm_HostShutdown, nullptr));
    addIn->Release();
}

TEST_F(ComServerTest, DispatchKnowsTheAddInsMembersOnly) {
    IDTExtensibility2* addIn = connectObject();
    ASSERT_NE(nullptr, addIn);
    UINT count = 7;
    EXPECT_EQ(S_OK, addIn->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);

    // The lifecycle is reached through the vtable, never by name.
    wchar_t name[] = L"OnConnection";
    LPOLESTR names[] = {name};
    DISPID id = 42;
    EXPECT_EQ(DISP_E_UNKNOWNNAME,
              addIn->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(DISPID_UNKNOWN, id);

    wchar_t describe[] = L"describe";
    names[0] = describe;
    ASSERT_EQ(S_OK, addIn->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT,
              addIn->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                            nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              addIn->Invoke(id + 1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                            nullptr, nullptr));
    EXPECT_EQ(VT_EMPTY, result.vt);
    addIn->Release();
}

}  // namespace

}  // namespace vantorel::test
