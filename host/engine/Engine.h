#pragma once

// The embedded mail host: a mailbox in one SQLite file, offered to the add-in
// through the object-model interface (application()), and to the host program
// through the members below: the profile's stores and categories, mail arriving,
// the compose and item windows, and fault injection for tests.
//
// Reads come from memory, loaded when the engine opens; every Save, Delete, Send
// and arrival is one transaction. Everything runs on the user-interface thread.
// Destroying the engine closes the mailbox; object-model objects that outlive it
// then fail with "The mailbox is closed.".

#include "host/engine/Faults.h"
#include "host/engine/MailboxError.h"
#include "outlook/Outlook.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vantorel::engine {

class Core;

struct EngineOptions {
    // The default store's top-level folder, made when a new mailbox is created.
    QString defaultStoreName = QStringLiteral("Mailbox");
    // The profile's own identity: the sender of every message sent.
    QString userName = QStringLiteral("Vantorel User");
    QString userAddress = QStringLiteral("user@vantorel.example");
};

// The order in which the handlers of one event are called. The mail client's
// connection points promise no order among the sinks of an event; the engine calls
// the newest subscription first unless told otherwise, so that nothing comes to
// depend on the order of subscription.
enum class SinkOrder { NewestFirst, OldestFirst };

// A message arriving from outside.
struct Delivery {
    QString from;                  // the sender's address
    QString name;                  // the sender's display name; empty: the address
    QString subject;               //
    std::optional<QString> topic;  // the conversation topic; none: from the subject
    QString body;
    bool meetingRequest = false;  // a meeting request instead of a mail item
    QString messageClass;         // empty: the kind's own
    QStringList headers;          // internet headers, "Name: value" each
};

// The fields of a new message in a compose window; To/CC/BCC as the mail item's
// SetTo() reads them ("Name <addr>; addr2; Name3 <ex:/o=org/cn=name3>").
struct ComposeFields {
    QString to;
    QString cc;
    QString bcc;
    QString subject;
    QString body;
};

class Engine {
public:
    // Opens the mailbox database at databasePath, creating it when no file is there.
    // Throws MailboxError when the file cannot be used; such a file is left as it is.
    explicit Engine(const QString& databasePath, const EngineOptions& options = {});
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const QString& path() const;
    // The object model's root, as the add-in receives it.
    outlook::ApplicationPtr application() const;

    // The profile. Version and explorer count are not stored: the host sets them
    // at each start ("16.0.0.0" and 1 until then).
    void setVersion(const QString& version);
    void setExplorerCount(int count);
    // The order in which every event reaches its handlers (newest first until set).
    void setSinkOrder(SinkOrder order);
    void setCurrentUser(const QString& name, const QString& address);
    // Adds a category to the master list (a known name is kept once).
    void addCategory(const QString& name);
    // Adds a store: a top-level folder `name` with Inbox, Drafts, Sent Items,
    // Deleted Items, Outbox and Tasks below it. Its Inbox is called inboxName
    // (default "Inbox") and, with deep, lies one level further down, in "Mail".
    // A store of that name that exists already is returned as it is.
    outlook::MAPIFolderPtr addStore(const QString& name, const QString& inboxName = QString(),
                                    bool deep = false);
    outlook::MAPIFolderPtr addFolder(const outlook::MAPIFolderPtr& parent, const QString& name);
    // The Inbox of the store of that name (empty: the default store).
    outlook::MAPIFolderPtr inbox(const QString& storeName = QString()) const;

    // A message arrives in the store's Inbox (or the folder); ItemAdd is raised there.
    outlook::ItemPtr deliver(const Delivery& message, const QString& storeName = QString());
    outlook::ItemPtr deliverTo(const outlook::MAPIFolderPtr& folder, const Delivery& message);

    // Windows. compose() opens a new, unsaved message in an inspector that becomes
    // the active one; activate() brings an open inspector to the front. Both raise
    // the inspector-activated event. A message sent from an inspector closes it.
    outlook::InspectorPtr compose(const ComposeFields& fields = {});
    void activate(const outlook::InspectorPtr& inspector);
    // True while INSPECTOR is open (not yet closed).
    bool isOpen(const outlook::InspectorPtr& inspector) const;
    void close(const outlook::InspectorPtr& inspector);
    // Open inspectors, the active one last.
    std::vector<outlook::InspectorPtr> inspectors() const;
    // Every item shown by Display(), oldest first (the objects themselves).
    std::vector<outlook::ItemPtr> displayed() const;
    [[nodiscard]] outlook::Connection onDisplay(
        std::function<void(const outlook::ItemPtr&, const outlook::InspectorPtr&)> handler);
    [[nodiscard]] outlook::Connection onInspectorClose(
        std::function<void(const outlook::InspectorPtr&)> handler);

    // The mail client quits: raises Application's Quit.
    void quit();

    // An event handler threw (an object-model event, or one of the host's above):
    // the event ("ItemSend", "ItemAdd", "Quit", "InspectorActivate", ...) and the
    // error's text. The error goes no further, as with the mail client, whose events
    // cannot fail the call that raised them; without a listener it is logged.
    [[nodiscard]] outlook::Connection onEventError(
        std::function<void(const QString& event, const QString& text)> handler);

    Faults& faults();

private:
    std::shared_ptr<Core> core_;
};

}  // namespace vantorel::engine
