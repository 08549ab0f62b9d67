#pragma once

// The stand-in for the mail client: its mailbox (the embedded engine), the add-in it
// loads, and the hosting framework's side of the add-in's life: connection,
// lifecycle events, ribbon requests, button presses, shutdown behaviour. The desktop
// window and the scenario runner both drive the add-in through this class.

#include "addin/AddInHost.h"
#include "host/AddInLoader.h"
#include "host/DataFolderLock.h"
#include "host/engine/Engine.h"
#include "platform/ClientWindow.h"

#include <functional>
#include <memory>

namespace vantorel::host {

class MailClient : public IAddInHost {
public:
    // The mailbox is DATADIR/mailbox.db. Takes the data folder for this process first:
    // throws DataFolderInUse, changing nothing, while another process holds it.
    explicit MailClient(const QString& dataDir);
    ~MailClient() override;

    engine::Engine& engine() { return *engine_; }
    const QString& dataDir() const { return dataDir_; }

    void setShutdownBehavior(ShutdownBehavior behavior) { shutdown_ = behavior; }
    void setExplorerCount(int count);
    int explorerCount() const { return explorers_; }

    // Loads the add-in (ADDINPATH; empty: beside the host), connects it, builds the
    // main window's ribbon and reports that starting has finished.
    void start(const QString& addInPath = {});
    bool running() const { return addIn_ != nullptr; }
    // The mail client quits: Quit, then the shutdown events (the add-in ignores
    // those it has already handled), then the add-in is unloaded.
    void quit();

    // Opens a compose window (building the message window's ribbon the first time).
    outlook::InspectorPtr compose(const engine::ComposeFields& fields);

    // The add-in's ribbon tabs (empty while no add-in runs).
    std::vector<RibbonTab*> ribbonTabs() const;
    // Presses the add-in's button with CAPTION in the window where it lives: a message
    // window's button in WINDOW, an open inspector that need not be the active one
    // (null: the active one). Throws std::invalid_argument when no such button can be
    // pressed now.
    void press(const QString& caption, const outlook::InspectorPtr& window = nullptr);
    // A diagnostic view of the running add-in (see IAddIn::Describe).
    QString describe(const QString& what) const;

    // IAddInHost
    outlook::ApplicationPtr HostApplication() override;
    QString AddInFolder() override;
    ShutdownBehavior OutlookShutdownBehavior() override { return shutdown_; }
    void ErrorSuppressed(const QString& text) override;

    // Called as soon as the add-in has built a ribbon (its id), while the mail client
    // starts or opens its first message window: the window shows the add-in's groups
    // from then on, also while the add-in's start-up is still showing its own windows.
    std::function<void(const QString&)> onRibbonCreated;
    // The desktop's native windows (the main window, an inspector's), for an add-in that
    // asks the client's windows for their handles; none in scripts.
    std::function<platform::NativeWindow()> mainWindowHandle;
    std::function<platform::NativeWindow(const outlook::InspectorPtr&)> inspectorWindowHandle;
    // Where suppressed errors go (the transcript's "error" lines); without it, to
    // standard error. The desktop's event handlers send their failures here too.
    std::function<void(const QString&)> onErrorSuppressed;

private:
    void leaveAddInCall();
    void registerProgramFolder();
    void requestRibbon(const QString& ribbonId);

    QString dataDir_;
    DataFolderLock lock_;
    std::unique_ptr<engine::Engine> engine_;
    std::unique_ptr<LoadedAddIn> library_;
    IAddIn* addIn_ = nullptr;
    // Calls into the add-in in progress, and a module that quit during one of them.
    int inAddInCall_ = 0;
    std::unique_ptr<LoadedAddIn> retired_;
    ShutdownBehavior shutdown_ = ShutdownBehavior::Fast;
    int explorers_ = 1;
    bool composeRibbonBuilt_ = false;
};

}  // namespace vantorel::host
