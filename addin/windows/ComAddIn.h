// The add-in inside the mail client's process: the hosting framework's side of the
// module's life, driven by the connect object. It starts Qt on the first connection,
// wraps the client's Application in the object model, makes the module, passes the
// lifecycle calls on as the stand-in client's hosting framework does, and lets go of
// every object of the client when it is disconnected.
#pragma once

#include "addin/AddInHost.h"
#include "addin/windows/ConnectionListener.h"

#include <memory>

namespace vantorel::com {

class RibbonFace;

class ComAddIn final : public ConnectionListener, public IAddInHost {
public:
    ComAddIn();
    ~ComAddIn() override;

    // ConnectionListener
    void connected(IDispatch* application, int connectMode) override;
    void addInsUpdated() override {}
    void startupComplete() override;
    void beginShutdown() override;
    void disconnected(int removeMode) override;
    QString customUi(const QString& ribbonId) override;
    HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) override;
    HRESULT invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError) override;

    // IAddInHost
    outlook::ApplicationPtr HostApplication() override { return application_; }
    QString AddInFolder() override;
    ShutdownBehavior OutlookShutdownBehavior() override;
    void ErrorSuppressed(const QString& text) override;

    // The connect object's own member beside the ribbon's callbacks: Describe(what),
    // the module's diagnostic view for support and for the stand-in client's scripts.
    static constexpr DISPID kDispIdDescribe = 0x7E01;

private:
    // Calls into the module in progress: a module disconnected inside one of them
    // (the client quit while the module's dialog was open) goes once they have returned.
    void enter() { ++calls_; }
    void leave();
    void letGo();

    outlook::ApplicationPtr application_;
    // The client's Application as it came, for the window the add-in's dialogs belong to.
    IDispatch* applicationDispatch_ = nullptr;
    std::unique_ptr<IAddIn> module_;
    std::unique_ptr<RibbonFace> ribbon_;
    bool startupCompleted_ = false;
    int calls_ = 0;
    bool disconnected_ = false;
};

}  // namespace vantorel::com
