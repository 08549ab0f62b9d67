#pragma once

// The meeting point of the add-in library and the program that hosts it.
//
// The host loads the library, takes one IAddIn from vantorel_create_addin(),
// connects it to the mail client's application object, and delivers the lifecycle
// events, the ribbon requests and the button presses. The add-in learns what it
// needs of its host through IAddInHost.

#include "addin/Ribbon.h"
#include "outlook/Outlook.h"

#include <QString>

#include <vector>

namespace vantorel {

// How the mail client shuts down: fast skips the add-ins' shutdown events, so an
// add-in tidies up when the mail client reports that it quits.
enum class ShutdownBehavior { Fast, Normal };

class IAddInHost {
public:
    virtual ~IAddInHost() = default;
    virtual outlook::ApplicationPtr HostApplication() = 0;
    // The folder the add-in library was loaded from, ending in a path separator.
    virtual QString AddInFolder() = 0;
    virtual ShutdownBehavior OutlookShutdownBehavior() = 0;
    // An error that reached the error path and was suppressed (not shown).
    virtual void ErrorSuppressed(const QString& text) = 0;
};

// The ribbon of the explorer (main) window and of the message (compose) window.
inline const QString kRibbonExplorer = QStringLiteral("Microsoft.Outlook.Explorer");
inline const QString kRibbonMailCompose = QStringLiteral("Microsoft.Outlook.Mail.Compose");

class IAddIn {
public:
    virtual ~IAddIn() = default;
    // The add-in is connected to the mail client.
    virtual void Connect(IAddInHost& host) = 0;
    // The mail client has finished starting.
    virtual void StartupComplete() = 0;
    // The mail client begins to shut down (not under fast shutdown).
    virtual void BeginShutdown() = 0;
    // The add-in is disconnected; it may be deleted afterwards.
    virtual void Disconnect() = 0;
    // The mail client is about to build the ribbon RIBBONID.
    virtual void RibbonBeforeCreate(const QString& ribbonId) = 0;
    // The add-in's ribbon tabs, owned by the add-in.
    virtual std::vector<RibbonTab*> RibbonTabs() = 0;
    // A ribbon button was pressed in WINDOW: the message window whose ribbon holds the
    // button, which need not be the active one; null for the main window's ribbon, or
    // when the mail client names no window.
    virtual void Press(RibbonButton& button, const outlook::InspectorPtr& window) = 0;
    // A diagnostic view of the add-in's state for scripts and support: "pending"
    // lists the pending-send list, one line per entry.
    virtual QString Describe(const QString& what) = 0;
};

}  // namespace vantorel

extern "C" {
// The library's one entry point: a new add-in object, owned by the caller.
__attribute__((visibility("default"))) vantorel::IAddIn* vantorel_create_addin();
}
