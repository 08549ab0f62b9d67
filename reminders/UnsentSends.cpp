#include "reminders/UnsentSends.h"

#include "reminders/TrackingProperties.h"

#include <optional>
#include <vector>

namespace vantorel {

TSendReconciled ReconcileSentMessage(const outlook::TaskItemPtr& task, outlook::NameSpace& session,
                                     const outlook::MAPIFolderPtr& sentItems) {
    namespace tp = TrackingProperty;
    const outlook::UserPropertyPtr mailProperty = task->UserProperties()->Item(tp::Mail);
    if (!mailProperty) {
        return TSendReconciled::Nothing;  // no tracking task, or one finished
    }
    const QString sMailID = mailProperty->Value();
    if (sMailID.isEmpty()) {
        return TSendReconciled::Nothing;
    }
    const QString sTaskID = task->EntryID();
    outlook::MailItemPtr mail;
    try {
        mail = outlook::asMailItem(session.GetItemFromID(sMailID));
    } catch (const std::exception&) {
        // Gone: sent (its draft went with the send) or deleted since.
    }
    if (mail) {
        if (mail->Sent()) {
            return TSendReconciled::Nothing;
        }
        // Unsent. Stamped with this task, it is on its way out; otherwise the send
        // never got past the task's save.
        if (ReadTrackingProperty(*mail, tp::ReminderID) == std::optional<QString>(sTaskID)) {
            return TSendReconciled::Nothing;
        }
        task->Delete();
        return TSendReconciled::Removed;
    }
    if (!sentItems) {
        return TSendReconciled::Nothing;
    }
    const outlook::ItemsPtr copies =
        sentItems->Items()->Restrict(outlook::UserPropertyFilter(tp::ReminderID, sTaskID));
    const int n = copies->Count();
    if (n < 1) {
        return TSendReconciled::Nothing;  // the sent copy was deleted, or never stamped
    }
    const outlook::MailItemPtr copy = outlook::asMailItem(copies->Item(n));
    if (!copy) {
        return TSendReconciled::Nothing;
    }
    mailProperty->SetValue(copy->EntryID());
    task->Save();
    return TSendReconciled::Relinked;
}

int ReconcileSentMessages(const outlook::MAPIFolderPtr& tasks, outlook::NameSpace& session,
                          const outlook::MAPIFolderPtr& sentItems,
                          const std::function<bool(const QString& mailId)>& sending) {
    if (!tasks) {
        return 0;
    }
    // The tasks first, then the changes: a deleted task leaves the folder under the walk.
    std::vector<outlook::TaskItemPtr> candidates;
    const outlook::ItemsPtr items = tasks->Items();
    const int n = items->Count();
    for (int i = 1; i <= n; ++i) {
        try {
            const outlook::TaskItemPtr task = outlook::asTaskItem(items->Item(i));
            if (!task) {
                continue;
            }
            const std::optional<QString> mail = ReadTrackingProperty(*task, TrackingProperty::Mail);
            if (mail && !mail->isEmpty() && !(sending && sending(*mail))) {
                candidates.push_back(task);
            }
        } catch (const std::exception&) {
        }
    }
    int changed = 0;
    for (const outlook::TaskItemPtr& task : candidates) {
        try {
            if (ReconcileSentMessage(task, session, sentItems) != TSendReconciled::Nothing) {
                ++changed;
            }
        } catch (const std::exception&) {
            // Left as it is; the next start looks again.
        }
    }
    return changed;
}

}  // namespace vantorel
