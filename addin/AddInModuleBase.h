#pragma once

// The hosting framework's half of an add-in module: it receives the host's calls,
// dispatches them to the module's handlers, subscribes the module to the mail
// client's application events, and runs the error path: an exception that leaves a
// handler or a ribbon command goes to adxCOMAddInModuleError, and unless that sets
// Handled, an error box shows "<name> error: the add-in has fired an exception.".

#include "addin/AddInHost.h"

#include <functional>

namespace vantorel {

class AddInModuleBase : public IAddIn {
public:
    explicit AddInModuleBase(QString addInName);
    ~AddInModuleBase() override;

    void Connect(IAddInHost& host) override;
    void StartupComplete() override;
    void BeginShutdown() override;
    void Disconnect() override;
    void RibbonBeforeCreate(const QString& ribbonId) override;
    std::vector<RibbonTab*> RibbonTabs() override { return ribbonTabs_; }
    void Press(RibbonButton& button, const outlook::InspectorPtr& window) override;

    const QString& GetAddInName() const { return addInName_; }
    // The add-in's folder, ending in a path separator.
    QString AddInFolder() const;
    ShutdownBehavior OutlookShutdownBehavior() const;
    outlook::ApplicationPtr HostApplication() const;

protected:
    // The module's handlers; each may throw.
    virtual void AddInInitialize() {}
    virtual void AddInStartupComplete() {}
    virtual void AddInBeginShutdown() {}
    virtual void AddInFinalize() {}
    virtual void OLInspectorActivate(const outlook::InspectorPtr& /*inspector*/) {}
    virtual void RibbonBeforeCreateHandler(const QString& /*ribbonId*/) {}
    virtual void AppEventsItemSend(const outlook::ItemPtr& /*item*/, bool& /*cancel*/) {}
    virtual void AppEventsQuit() {}
    // The error path: set Handled to keep the error from being shown.
    virtual void ModuleError(const std::exception& /*error*/, bool& /*handled*/) {}

    void AddRibbonTab(RibbonTab& tab) { ribbonTabs_.push_back(&tab); }

    // While a button's onClick runs: the message window it was pressed in, null for the
    // main window or a press that names no window.
    const outlook::InspectorPtr& PressedWindow() const { return pressedWindow_; }

    // Runs ACTION; an exception that leaves it takes the error path.
    void Guarded(const std::function<void()>& action);

private:
    void ConnectApplicationEvents();

    QString addInName_;
    IAddInHost* host_ = nullptr;
    std::vector<RibbonTab*> ribbonTabs_;
    outlook::InspectorPtr pressedWindow_;
    outlook::Connection itemSend_;
    outlook::Connection quit_;
    outlook::Connection inspectorActivate_;
};

// The text of an error as the user is shown it.
QString ErrorText(const std::exception& error);

}  // namespace vantorel
