#include "addin/ReplyCatchUp.h"

#include "reminders/AutomaticReplies.h"
#include "reminders/TrackingProperties.h"
#include "tools/UtcMoment.h"

#include <algorithm>

namespace vantorel {

std::optional<qint64> FirstSentUtc(outlook::TaskItem& task) {
    if (const std::optional<QString> utc =
            ReadTrackingProperty(task, TrackingProperty::FirstSentUTC)) {
        return tools::parseUtcSeconds(*utc);
    }
    const std::optional<QString> text = ReadTrackingProperty(task, TrackingProperty::FirstSent);
    const std::optional<qint64> local = text ? tools::parseLocalUnixSeconds(*text) : std::nullopt;
    // Read late, a moment in the hour that comes twice lets fewer messages answer.
    return local ? tools::utcSecondsOfLocal(*local, tools::LocalReading::Latest) : std::nullopt;
}

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
                byTopic_[tools::withoutInvisibleMarks(*topic)].push_back(task);
                ++count_;
            }
        } catch (const std::exception&) {
            // A task that cannot be read is matched by nothing, as in the live watch.
        }
    }
}

outlook::TaskItemPtr TTrackingTaskIndex::Match(const TReplyKey& key, qint64 received) {
    const auto found = byTopic_.constFind(tools::withoutInvisibleMarks(key.topic));
    if (found == byTopic_.constEnd()) {
        return nullptr;
    }
    // From the end, as the live watch walks the folder.
    for (auto it = found->crbegin(); it != found->crend(); ++it) {
        try {
            if (!IsReplyToTask(**it, key)) {
                continue;
            }
            const std::optional<qint64> sent = FirstSentUtc(**it);
            if (sent && *sent <= received) {
                return *it;
            }
        } catch (const std::exception&) {
        }
    }
    return nullptr;
}

void TTrackingTaskIndex::Remove(const QString& topic, const outlook::TaskItemPtr& task) {
    const auto found = byTopic_.find(tools::withoutInvisibleMarks(topic));
    if (found != byTopic_.end() && std::erase(found.value(), task) > 0) {
        --count_;
        if (found->empty()) {
            byTopic_.erase(found);
        }
    }
}

namespace {

struct TCandidate {
    qint64 received;  // UTC seconds, the earliest the wall clock allows
    outlook::MailItemPtr mail;
};

// When the message arrived, as UTC seconds; none for a time that is no date. Read
// early, a message in the hour that comes twice answers fewer tasks.
std::optional<qint64> ReceivedUtc(outlook::MailItem& mail) {
    const std::optional<qint64> local = tools::localSecondsOfDate(mail.ReceivedTime());
    return local ? tools::utcSecondsOfLocal(*local, tools::LocalReading::Earliest) : std::nullopt;
}

// The messages of the watched Inboxes of a topic INDEX holds, received after FROM,
// oldest first; of two received at the same second, the one of the earlier Inbox,
// then the one higher up.
std::vector<TCandidate> Candidates(const TInboxList& inboxes, const TTrackingTaskIndex& index,
                                   qint64 from) {
    std::vector<TCandidate> found;
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
                    // The topic first: almost every message is of no open task's.
                    if (!mail || !index.HasTopic(mail->ConversationTopic())) {
                        continue;
                    }
                    const std::optional<qint64> received = ReceivedUtc(*mail);
                    if (received && *received > from) {
                        found.push_back({*received, mail});
                    }
                } catch (const std::exception&) {
                }
            }
        } catch (const std::exception&) {
            // This Inbox cannot be read now; the others still are.
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const TCandidate& a, const TCandidate& b) {
        return a.received < b.received;
    });
    return found;
}

}  // namespace

qint64 CatchUpStart(std::optional<qint64> stored, std::optional<qint64> legacyWatchedUntil,
                    qint64 now) {
    if (stored) {
        return *stored;
    }
    // A message that may have come by an earlier version's moment is left to what
    // that version did with it; one that is no date says nothing.
    const std::optional<qint64> legacy =
        legacyWatchedUntil
            ? tools::utcSecondsOfLocal(*legacyWatchedUntil, tools::LocalReading::Latest)
            : std::nullopt;
    return legacy.value_or(now);
}

int CatchUpReplies(const TInboxList& inboxes, const outlook::MAPIFolderPtr& tasks, qint64 from) {
    TTrackingTaskIndex index(tasks);
    if (index.Count() == 0) {
        return 0;  // no Inbox is even walked
    }
    const std::vector<TCandidate> candidates = Candidates(inboxes, index, from);
    for (const TCandidate& candidate : candidates) {
        if (index.Count() == 0) {
            break;
        }
        try {
            outlook::MailItem& mail = *candidate.mail;
            if (HasAnsweredATask(mail)) {
                continue;
            }
            const TReplyKey key = ReplyKeyOf(mail);
            const outlook::TaskItemPtr task = index.Match(key, candidate.received);
            if (task &&
                AnswerTrackingTask(task, mail, IsAutomaticReply(mail), AnswerMark::Required)) {
                index.Remove(key.topic, task);
            }
        } catch (const std::exception&) {
            // As with an arriving message: the steps done so far stay.
        }
    }
    return static_cast<int>(candidates.size());
}

}  // namespace vantorel
