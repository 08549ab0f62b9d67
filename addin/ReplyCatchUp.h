#pragma once

// Replies that arrived while the add-in was not watching: while the mail client was
// closed, while it was starting, or in the Inbox of a store added while it ran. The
// Inbox watchers only see what arrives while they are connected, so once the add-in
// has started every message of the watched Inboxes that could answer an open
// tracking task goes through the same reply detection, oldest first.
//
// Nothing rests on a remembered moment of the wall clock, which can be set back and
// which daylight saving folds. Two rules keep the catch-up to what the live watch
// would have done:
// - a message answers at most one task, ever: the one it answered carries its mark
//   ("AnsweredTask"), and a marked message answers nothing more;
// - a message answers only a task that existed before it arrived: its moment of
//   arrival, read in UTC, is not earlier than the task's moment of sending.

#include "addin/FolderWatchers.h"
#include "reminders/ReminderUnit.h"
#include "tools/InvisibleMarks.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace vantorel {

// The open tracking tasks of a Tasks folder, gathered in one walk and kept by topic:
// a run of many messages is matched against them without walking the folder again
// for each.
class TTrackingTaskIndex {
public:
    // Walks TASKS once; an item that cannot be read is left out.
    explicit TTrackingTaskIndex(const outlook::MAPIFolderPtr& tasks);

    // Topics are kept and looked up without their invisible marks, as IsReplyToTask
    // compares them.
    bool HasTopic(const QString& topic) const {
        return byTopic_.contains(tools::withoutInvisibleMarks(topic));
    }

    // The tracking task the message of KEY, arrived at UTC second RECEIVED, answers:
    // of the tasks of its topic sent no later than it arrived, the one furthest down
    // the folder (see IsReplyToTask); null when none. A task whose moment of sending
    // cannot be read is answered by no message here.
    outlook::TaskItemPtr Match(const TReplyKey& key, qint64 received);
    // TASK, of topic TOPIC, is closed: it answers no later message.
    void Remove(const QString& topic, const outlook::TaskItemPtr& task);

    int Count() const { return count_; }

private:
    // By topic without invisible marks, in folder order.
    QHash<QString, std::vector<outlook::TaskItemPtr>> byTopic_;
    int count_ = 0;
};

// The moment a tracking task was sent, as UTC seconds: its "FirstSentUTC", or for a
// task written before that was kept, its "FirstSent" read as the latest moment the
// wall clock showed it. None when the moment cannot be read.
std::optional<qint64> FirstSentUtc(outlook::TaskItem& task);

// Puts every message of the watched Inboxes that could answer an open tracking task,
// received after FROM (UTC seconds, see CatchUpRepliesFrom), through the reply
// detection, oldest first. Messages that cannot be read are passed over. Returns how
// many messages were taken as candidates.
int CatchUpReplies(const TInboxList& inboxes, const outlook::MAPIFolderPtr& tasks, qint64 from);

// The moment from which replies are caught up, as stored (UTC seconds); at the first
// start, where none is stored, the moment up to which an earlier version watched the
// Inboxes (LEGACYWATCHEDUNTIL, local Unix seconds, read as late as it can be), or else
// NOW: nothing that came before is caught up.
qint64 CatchUpStart(std::optional<qint64> stored, std::optional<qint64> legacyWatchedUntil,
                    qint64 now);

}  // namespace vantorel
