#include "addin/ReplyCatchUp.h"

#include "reminders/AutomaticReplies.h"
#include "reminders/ReminderUnit.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"

#include <algorithm>
#include <optional>

namespace vantorel {

TTrackingTaskIndex::TTrackingTaskIndex(const outlook::MAPIFolderPtr& tasks) {
    if (!tasks) {
        return;
    }
    const outlook::ItemsPtr items = tasks->Items();
    const int n = items->Count();
    for (int i = 1; i <= n; ++i) {
        try {
            const outlook::TaskItemPtr task = outlook::asTaskItem(items->Item(i));
            if (!task) {
                continue;
            }
            if (const std::optional<QString> topic =
                    ReadTrackingProperty(*task, TrackingProperty::Topic)) {
                byTopic_[*topic].push_back(task);
                ++count_;
            }
        } catch (const std::exception&) {
            // A task that cannot be read is matched by nothing, as in the live watch.
        }
    }
}

outlook::TaskItemPtr TTrackingTaskIndex::Match(const QString& topic,
                                               const outlook::MailItemPtr& message) {
    const auto found = byTopic_.constFind(topic);
    if (found == byTopic_.constEnd()) {
        return nullptr;
    }
    // From the end, as the live watch walks the folder.
    for (auto it = found->crbegin(); it != found->crend(); ++it) {
        try {
            if (IsReplyToTask(*it, message)) {
                return *it;
            }
        } catch (const std::exception&) {
        }
    }
    return nullptr;
}

void TTrackingTaskIndex::Remove(const QString& topic, const outlook::TaskItemPtr& task) {
    const auto found = byTopic_.find(topic);
    if (found != byTopic_.end() && std::erase(found.value(), task) > 0) {
        --count_;
        if (found->empty()) {
            byTopic_.erase(found);
        }
    }
}

namespace {

struct TCaughtUpMessage {
    outlook::DateTime received;
    outlook::MailItemPtr mail;
};

// The messages of the watched Inboxes received after SINCE, oldest first; of two
// received at the same moment, the one of the earlier Inbox, then the one higher up.
std::vector<TCaughtUpMessage> MessagesReceivedSince(const TInboxList& inboxes, qint64 since) {
    std::vector<TCaughtUpMessage> found;
    for (const std::unique_ptr<TInboxItems>& watcher : inboxes) {
        try {
            const outlook::MAPIFolderPtr folder = watcher->WatchedFolder();
            if (!folder) {
                continue;
            }
            const outlook::ItemsPtr items = folder->Items();
            const int n = items->Count();
            for (int i = 1; i <= n; ++i) {
                try {
                    const outlook::MailItemPtr mail = outlook::asMailItem(items->Item(i));
                    if (!mail) {
                        continue;
                    }
                    const outlook::DateTime received = mail->ReceivedTime();
                    if (tools::fitsMailDate(received) &&
                        tools::toLocalUnixSeconds(received) > since) {
                        found.push_back({received, mail});
                    }
                } catch (const std::exception&) {
                }
            }
        } catch (const std::exception&) {
            // This Inbox cannot be read now; the others still are.
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const TCaughtUpMessage& a, const TCaughtUpMessage& b) {
                         return a.received < b.received;
                     });
    return found;
}

}  // namespace

int CatchUpReplies(const TInboxList& inboxes, const outlook::MAPIFolderPtr& tasks, qint64 since) {
    const std::vector<TCaughtUpMessage> messages = MessagesReceivedSince(inboxes, since);
    if (messages.empty()) {
        return 0;  // the Tasks folder is not even walked
    }
    TTrackingTaskIndex index(tasks);
    for (const TCaughtUpMessage& message : messages) {
        if (index.Count() == 0) {
            break;
        }
        try {
            const QString topic = message.mail->ConversationTopic();
            const outlook::TaskItemPtr task = index.Match(topic, message.mail);
            if (task && AnswerTrackingTask(task, *message.mail, IsAutomaticReply(*message.mail))) {
                index.Remove(topic, task);
            }
        } catch (const std::exception&) {
            // As with an arriving message: the steps done so far stay.
        }
    }
    return static_cast<int>(messages.size());
}

}  // namespace vantorel
