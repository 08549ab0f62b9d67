#pragma once

// Replies that arrived while the add-in was not watching: while the mail client was
// closed, or while it was starting and syncing the mailbox before its add-ins were
// connected. The Inbox watchers only see what arrives while they are connected, so at
// start-up every message received since the add-in last watched goes through the same
// reply detection, oldest first.

#include "addin/FolderWatchers.h"

#include <QHash>
#include <QString>

#include <vector>

namespace vantorel {

// The open tracking tasks of a Tasks folder, gathered in one walk and kept by topic:
// a run of many messages is matched against them without walking the folder again
// for each.
class TTrackingTaskIndex {
public:
    // Walks TASKS once; an item that cannot be read is left out.
    explicit TTrackingTaskIndex(const outlook::MAPIFolderPtr& tasks);

    // The tracking task MESSAGE, of conversation topic TOPIC, answers (see
    // IsReplyToTask): of the tasks with that topic, the one furthest down the folder;
    // null when none.
    outlook::TaskItemPtr Match(const QString& topic, const outlook::MailItemPtr& message);
    // TASK, of topic TOPIC, is closed: it answers no later message.
    void Remove(const QString& topic, const outlook::TaskItemPtr& task);

    int Count() const { return count_; }

private:
    QHash<QString, std::vector<outlook::TaskItemPtr>> byTopic_;  // in folder order
    int count_ = 0;
};

// Puts every message of the watched Inboxes received after SINCE (local Unix seconds)
// through the reply detection, oldest first: each answers at most one task, as an
// arriving message does. Messages that cannot be read are passed over. Returns how
// many messages were looked at.
int CatchUpReplies(const TInboxList& inboxes, const outlook::MAPIFolderPtr& tasks, qint64 since);

}  // namespace vantorel
