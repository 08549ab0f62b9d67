// Qt inside the mail client's process: a client is no Qt program, so the add-in starts
// Qt itself on its first connection, as a plug-in that leaves the process's DPI
// awareness as the client set it. This program has no QApplication of its own (no
// test main of ours) and runs with Windows' own platform plug-in on a virtual display.

#include "addin/windows/ComInterfaces.h"
#include "host/engine/Engine.h"
#include "host/windows/com/ComServer.h"
#include "tests/addin/windows/AddInDll.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

namespace vantorel::test {
namespace {

using com::CLSID_VantorelConnect;
using com::IDTExtensibility2;
using com::IID_IDTExtensibility2;

// The process's DPI awareness as Windows keeps it (0 unaware, 1 system, 2 per monitor).
int dpiAwareness() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using GetContext = HANDLE(WINAPI*)();
    using GetAwareness = int(WINAPI*)(HANDLE);
    const auto getContext = reinterpret_cast<GetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto getAwareness = reinterpret_cast<GetAwareness>(reinterpret_cast<void (*)()>(
        GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (getContext == nullptr || getAwareness == nullptr) {
        return IsProcessDPIAware() ? 1 : 0;
    }
    return getAwareness(getContext());
}

TEST(QtInClientTest, TheFirstConnectionStartsQtAsAPlugIn) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs a display: scripts/test-windows runs the tests on one";
    }
    ASSERT_EQ(QCoreApplication::instance(), nullptr) << "the client has no Qt of its own";
    const int awareBefore = dpiAwareness();

    const QTemporaryDir dir;
    engine::Engine engine(dir.filePath(QStringLiteral("mailbox.db")));
    outlook::com::ComPtr<IDispatch> application =
        host::com::makeApplicationServer(engine.application(), host::com::windowsOf(engine));

    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, AddInDll::instance().getClassObject(CLSID_VantorelConnect, IID_IClassFactory,
                                                        reinterpret_cast<void**>(&factory)));
    IDTExtensibility2* addIn = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDTExtensibility2,
                                            reinterpret_cast<void**>(&addIn)));
    factory->Release();
    SAFEARRAY* custom = nullptr;
    ASSERT_EQ(S_OK, addIn->OnConnection(application.get(), com::ext_cm_Startup, nullptr, &custom));

    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr)
        << "a QApplication, for the add-in's windows";
    // What keeps Qt's Windows platform from setting the process's DPI awareness (Wine
    // keeps it as it was either way: the awareness below cannot tell the two apart).
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_PluginApplication));
    EXPECT_EQ(dpiAwareness(), awareBefore) << "the client's DPI awareness is the client's";
    EXPECT_EQ(S_FALSE, AddInDll::instance().canUnloadNow()) << "Qt cannot be unloaded";

    EXPECT_EQ(S_OK, addIn->OnDisconnection(com::ext_dm_HostShutdown, &custom));
    addIn->Release();
    application.reset();
    EXPECT_EQ(host::com::liveServerObjects(), 0);
    EXPECT_EQ(host::com::activeAdvises(), 0);
}

}  // namespace
}  // namespace vantorel::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
