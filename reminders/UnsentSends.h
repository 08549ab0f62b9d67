#pragma once

// What a send leaves half-done when the mail client stops between the tracking task's
// save and the sent copy's arrival in Sent Items (a kill, a crash, a failing disk):
// - the message stayed unsent (in Drafts) while its task was saved: the task follows
//   nothing that was sent, and goes;
// - the message went, but its task still names the draft it was sent from: the sent
//   copy carries the task's EntryID ("ReminderID"), and the task's "Mail" is pointed
//   at it, as the Sent Items watcher would have done.
// A message on its way out (unsent, but carrying its task's EntryID, as one waiting
// in an Outbox does) is no half-done send.

#include "outlook/Outlook.h"

#include <QString>

#include <functional>

namespace vantorel {

enum class TSendReconciled {
    Nothing,  // the task follows its sent message, or nothing more can be told
    Removed,  // the task's message never went: the task is deleted
    Relinked  // the task's "Mail" now names the sent copy
};

// Brings one tracking task in line with its message, looked up through SESSION; its
// sent copy is looked for in SENTITEMS (may be null). Errors of the object model are
// thrown.
TSendReconciled ReconcileSentMessage(const outlook::TaskItemPtr& task, outlook::NameSpace& session,
                                     const outlook::MAPIFolderPtr& sentItems);

// Every tracking task of TASKS, in folder order; a task that cannot be read or
// changed is passed over, and so is one whose "Mail" names a message SENDING says is
// being sent right now. Returns how many tasks were removed or relinked.
int ReconcileSentMessages(const outlook::MAPIFolderPtr& tasks, outlook::NameSpace& session,
                          const outlook::MAPIFolderPtr& sentItems,
                          const std::function<bool(const QString& mailId)>& sending);

}  // namespace vantorel
