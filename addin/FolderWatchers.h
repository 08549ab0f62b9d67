#pragma once

// The folder watchers. Each follows one folder through the ItemAdd event of its item
// collection: the Sent Items watcher links a tracking task to the sent copy of its
// message, the Inbox watchers close the tracking task a reply answers, and the Tasks
// watcher raises nothing but gives the reply detection and the reminder poll their
// way to the Tasks folder.

#include "outlook/Outlook.h"

#include <memory>
#include <vector>

namespace vantorel {

// The event wrapper of one Items collection.
class TItems {
public:
    virtual ~TItems();
    TItems(const TItems&) = delete;
    TItems& operator=(const TItems&) = delete;

    // Connects to AFolder's items; with no folder, does nothing.
    void ConnectTo(const outlook::MAPIFolderPtr& AFolder);
    // The folder of the connected collection; null when not connected.
    outlook::MAPIFolderPtr WatchedFolder();
    // Stops the events.
    void Disconnect();

protected:
    // BINDITEMADD: whether the watcher's ItemAdd handler is bound.
    explicit TItems(bool bindItemAdd) : bindItemAdd_(bindItemAdd) {}
    virtual void ItemAdd(const outlook::ItemPtr& /*Item*/) {}

private:
    bool bindItemAdd_;
    outlook::ItemsPtr items_;
    outlook::Connection itemAdd_;
};

// Sent Items: the sent copy's EntryID goes into its task's "Mail"; a follow-up's sent
// copy closes out the task it follows up.
class TSentItems : public TItems {
public:
    TSentItems() : TItems(true) {}

protected:
    void ItemAdd(const outlook::ItemPtr& Item) override;

private:
    // MAIL, stamped with the task's EntryID STASKID, becomes the task's "Mail".
    static void FollowSentCopy(outlook::MailItem& mail, const QString& sTaskID);
    // The follow-up of the task STASKID was sent: the task is closed out.
    static void CloseOutFollowedTask(const QString& sTaskID);
};

// An Inbox: a reply to a tracked message closes its tracking task; an automatic
// reply is recorded on it instead.
class TInboxItems : public TItems {
public:
    TInboxItems() : TItems(true) {}

protected:
    void ItemAdd(const outlook::ItemPtr& Item) override;

private:
    // The mail client would not pick out the tasks of a topic: every task is read
    // instead, and the person is told once while the Tasks watcher lives.
    static void ReportTopicFilterFailure(const std::exception& error);
};

// Said once when the tasks of a reply's topic cannot be picked out; %1 is the client's
// error.
inline const QString kTopicFilterFailedMessage = QStringLiteral(
    "The mail client could not pick out the tasks of a reply's topic, so every task is "
    "read to find the one a reply answers.\r\n%1");

// Tasks: no events.
class TTaskItems : public TItems {
public:
    TTaskItems() : TItems(false) {}

    // Whether a failure to pick out the tasks of a topic has been reported.
    bool TopicFilterFailureReported = false;
};

// The line a completed task opens with: "Answered by NAME <ADDRESS> on DATE TIME:
// SUBJECT", the date and time of the reply's arrival in the user's short formats.
// One line whatever the reply holds: NAME, ADDRESS and SUBJECT as tools::oneLineText
// makes them, each of at most 256 characters; one that holds right-to-left text is
// set in a directional isolate (U+2068 or, for the address, U+2066 ... U+2069), so
// that it cannot reorder the rest of the line.
QString AnsweredByLine(outlook::MailItem& reply);

// Whether MESSAGE has answered a tracking task (it carries "AnsweredTask"): it
// answers no other.
bool HasAnsweredATask(outlook::MailItem& message);

// Whether a message must carry the mark of its answer before the task is changed.
enum class AnswerMark {
    IfPossible,  // a message that cannot be marked answers all the same
    Required,    // a message that cannot be marked answers nothing (the error is thrown)
};

// What MESSAGE, found to answer the tracked message of TASK, does to the task. The
// message is marked with the task's EntryID first ("AnsweredTask"); should the task
// then fail to save, the mark is taken back. An automatic reply (AUTOMATIC) is
// recorded on the task and the task stays open. A reply takes the task off the
// reminders window and closes it as its flags say: marked complete (its body then
// opens with the "Answered by" line), its tracking properties deleted, saved, and
// deleted when it asks to be. Returns whether the task was closed.
bool AnswerTrackingTask(const outlook::TaskItemPtr& task, outlook::MailItem& message,
                        bool automatic, AnswerMark mark);

// The Tasks watcher, from start-up to shutdown; null outside.
extern TTaskItems* TaskItemsEvents;

// The Inbox watchers: the default Inbox's first, then those of other stores.
using TInboxList = std::vector<std::unique_ptr<TInboxItems>>;

// Watches the Inbox of every other store: a folder directly below a store's
// top-level folder, named exactly like the default Inbox INBOX and not INBOX itself.
// An error reading the stores' top-level folders is thrown; an error within one
// store ends the scan of that store, keeping the watchers found before it.
void WatchOtherInboxes(const outlook::MAPIFolderPtr& inbox, outlook::NameSpace& session,
                       TInboxList& InboxesEvents);
void WatchInboxesOfStore(const outlook::MAPIFolderPtr& inbox, const outlook::MAPIFolderPtr& root,
                         TInboxList& InboxesEvents);

}  // namespace vantorel
