#include "addin/FolderWatchers.h"

#include "addin/AddInModuleBase.h"
#include "forms/ReminderWindowUnit.h"
#include "platform/Prompts.h"
#include "reminders/AutomaticReplies.h"
#include "reminders/FollowUp.h"
#include "reminders/ReminderUnit.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"
#include "tools/Globals.h"
#include "tools/InvisibleMarks.h"
#include "tools/OneLineText.h"
#include "tools/UtcMoment.h"

#include <QStringList>

#include <stdexcept>

namespace vantorel {

TTaskItems* TaskItemsEvents = nullptr;

namespace {

// Whether TEXT holds a character written right to left, or a digit of the Arabic
// script: either can draw the characters beside it on a line into its direction.
bool hasRightToLeft(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i).unicode(), text.at(i + 1).unicode());
            ++i;
        }
        const QChar::Direction direction = QChar::direction(c);
        if (direction == QChar::DirR || direction == QChar::DirAL || direction == QChar::DirAN) {
            return true;
        }
    }
    return false;
}

// TEXT of a reply made one line (tools::oneLineText), and set in an isolate when it
// holds right-to-left text: it then reads in its own direction and reorders nothing
// else on the line. A name or subject takes the direction of its first letter (U+2068
// FIRST STRONG ISOLATE), an address reads left to right as addresses do (U+2066
// LEFT-TO-RIGHT ISOLATE); both end with U+2069 POP DIRECTIONAL ISOLATE. Other texts
// stay as they are.
enum class Isolate : char16_t { FirstStrong = 0x2068, LeftToRight = 0x2066 };

QString lineText(const QString& text, Isolate isolate = Isolate::FirstStrong) {
    constexpr qsizetype kLongestText = 256;
    const QString line = tools::oneLineText(text, kLongestText);
    return hasRightToLeft(line) ? QChar(static_cast<char16_t>(isolate)) + line + QChar(0x2069)
                                : line;
}

}  // namespace

QString AnsweredByLine(outlook::MailItem& reply) {
    // What the sender wrote stays on the line, and a line of reasonable length.
    QString when;
    // Any date of the calendar: the clock runs on past the dates a task field can hold.
    const outlook::DateTime received = reply.ReceivedTime();
    if (received != outlook::kNoDate && tools::localSecondsOfDate(received)) {
        const QDateTime moment = tools::fromDateTime(received);
        when = tools::shortDateText(moment) + QLatin1Char(' ') + tools::shortTimeText(moment);
    }
    return QStringLiteral("Answered by %1 <%2> on %3: %4")
        .arg(lineText(reply.SenderName()),
             lineText(reply.SenderEmailAddress().trimmed(), Isolate::LeftToRight), when,
             lineText(reply.Subject()));
}

bool HasAnsweredATask(outlook::MailItem& message) {
    return ReadTrackingProperty(message, TrackingProperty::AnsweredTask).has_value();
}

namespace {

// Marks MESSAGE as the answer of the task with EntryID TASKID, and saves it.
void MarkAnswer(outlook::MailItem& message, const QString& taskId) {
    WriteTrackingProperty(message, TrackingProperty::AnsweredTask, taskId);
    message.Save();
}

void UnmarkAnswer(outlook::MailItem& message) noexcept {
    try {
        if (const outlook::UserPropertyPtr mark =
                message.UserProperties()->Item(TrackingProperty::AnsweredTask)) {
            mark->Delete();
            message.Save();
        }
    } catch (const std::exception&) {
        // The message then answers nothing more: the task keeps its reminder.
    }
}

// Marks the message (as MARK asks), then runs CHANGETASK, which saves the task; when
// that fails the mark is taken back, so the message can still answer the task.
template <typename ChangeTask>
void MarkedAnswer(outlook::MailItem& message, const QString& taskId, AnswerMark mark,
                  ChangeTask changeTask) {
    bool marked = false;
    try {
        MarkAnswer(message, taskId);
        marked = true;
    } catch (const std::exception&) {
        if (mark == AnswerMark::Required) {
            throw;
        }
    }
    try {
        changeTask();
    } catch (const std::exception&) {
        if (marked) {
            UnmarkAnswer(message);
        }
        throw;
    }
}

}  // namespace

bool AnswerTrackingTask(const outlook::TaskItemPtr& task, outlook::MailItem& message,
                        bool automatic, AnswerMark mark) {
    const QString taskId = task->EntryID();
    if (automatic) {
        MarkedAnswer(message, taskId, mark, [&] { RecordAutoReply(*task, message); });
        if (ReminderWindow != nullptr) {
            ReminderWindow->NoteAutoReply(taskId);
        }
        return false;
    }
    if (ReminderWindow != nullptr) {
        ReminderWindow->RemoveFromList(taskId);
    }
    const bool bDelete =
        ReadCheckedTrackingFlag(*task, TrackingProperty::DeleteOnReply).value_or(false);
    const bool bComplete =
        ReadCheckedTrackingFlag(*task, TrackingProperty::MarkCompletedOnReply).value_or(false);
    if (bComplete) {
        task->SetComplete(true);
        if (!bDelete) {
            // A completed task says which message answered it.
            task->SetBody(AnsweredByLine(message) + QStringLiteral("\r\r") + task->Body());
        }
    }
    DeleteTrackingProperties(task);
    // Once saved without its tracking properties the task is answered, whether or
    // not the deletion that follows succeeds.
    MarkedAnswer(message, taskId, mark, [&] { task->Save(); });
    if (bDelete) {
        task->Delete();
    }
    return true;
}

// --- TItems ------------------------------------------------------------------------------

TItems::~TItems() = default;

void TItems::ConnectTo(const outlook::MAPIFolderPtr& AFolder) {
    if (!AFolder) {
        return;
    }
    Disconnect();
    items_ = AFolder->Items();
    if (bindItemAdd_) {
        itemAdd_ = items_->OnItemAdd([this](const outlook::ItemPtr& item) { ItemAdd(item); });
    }
}

outlook::MAPIFolderPtr TItems::WatchedFolder() {
    return items_ ? items_->Parent() : nullptr;
}

void TItems::Disconnect() {
    itemAdd_.disconnect();
    items_.reset();
}

// --- the handlers --------------------------------------------------------------------------

void TSentItems::ItemAdd(const outlook::ItemPtr& Item) {
    // A folder event never fails: whatever goes wrong ends the handler silently.
    try {
        const outlook::MailItemPtr mail = outlook::asMailItem(Item);
        if (!mail) {
            return;
        }
        const outlook::UserPropertiesPtr properties = mail->UserProperties();
        if (const outlook::UserPropertyPtr reminderId =
                properties->Item(TrackingProperty::ReminderID)) {
            try {
                FollowSentCopy(*mail, reminderId->Value());
            } catch (const std::exception&) {
                // The task keeps the draft's EntryID; a follow-up still closes its task.
            }
        }
        if (const outlook::UserPropertyPtr followed =
                properties->Item(TrackingProperty::FollowUpTask)) {
            CloseOutFollowedTask(followed->Value());
        }
    } catch (const std::exception&) {
    }
}

void TSentItems::FollowSentCopy(outlook::MailItem& mail, const QString& sTaskID) {
    const outlook::TaskItemPtr task = outlook::asTaskItem(
        OutlookApp->GetNamespace(QStringLiteral("MAPI"))->GetItemFromID(sTaskID));
    if (!task) {
        return;
    }
    const outlook::UserPropertyPtr sentMail = task->UserProperties()->Item(TrackingProperty::Mail);
    if (!sentMail) {
        return;
    }
    sentMail->SetValue(mail.EntryID());
    task->Save();
}

void TSentItems::CloseOutFollowedTask(const QString& sTaskID) {
    try {
        const outlook::TaskItemPtr task = outlook::asTaskItem(
            OutlookApp->GetNamespace(QStringLiteral("MAPI"))->GetItemFromID(sTaskID));
        if (!task) {
            return;
        }
        if (ReminderWindow != nullptr) {
            ReminderWindow->RemoveFromList(sTaskID);
        }
        CloseOutTask(task);
    } catch (const std::exception&) {
        // The task is gone (answered and deleted meanwhile): nothing to close.
    }
}

void TInboxItems::ReportTopicFilterFailure(const std::exception& error) {
    if (TaskItemsEvents == nullptr || TaskItemsEvents->TopicFilterFailureReported) {
        return;
    }
    TaskItemsEvents->TopicFilterFailureReported = true;
    try {
        platform::showMessage(kTopicFilterFailedMessage.arg(ErrorText(error)),
                              platform::MessageIcon::Warning);
    } catch (const std::exception&) {
    }
}

void TInboxItems::ItemAdd(const outlook::ItemPtr& Item) {
    // A folder event never fails: an error ends the handler with its steps kept.
    try {
        const outlook::MailItemPtr mail = outlook::asMailItem(Item);
        if (!mail || TaskItemsEvents == nullptr) {
            return;
        }
        const outlook::MAPIFolderPtr tasks = TaskItemsEvents->WatchedFolder();
        if (!tasks) {
            return;
        }
        const TReplyKey key = ReplyKeyOf(*mail);
        if (key.sender.isEmpty()) {
            return;  // a message without a sender answers no task
        }
        if (HasAnsweredATask(*mail)) {
            return;  // a copy of a message that answered already
        }
        // Only the tasks of the message's topic can answer it: the mail client picks
        // them out of the folder, in its order, without opening every task. A topic
        // with marks nobody sees is looked for without them as well.
        QStringList topics{key.topic};
        if (const QString plain = tools::withoutInvisibleMarks(key.topic); plain != key.topic) {
            topics << plain;
        }
        // The tasks that may answer: each topic's, or, when the mail client will not
        // pick them out, every task (IsReplyToTask compares the topic itself).
        const outlook::ItemsPtr all = tasks->Items();
        std::vector<outlook::ItemsPtr> candidates;
        try {
            for (const QString& topic : topics) {
                candidates.push_back(
                    all->Restrict(outlook::UserPropertyFilter(TrackingProperty::Topic, topic)));
            }
        } catch (const std::exception& error) {
            ReportTopicFilterFailure(error);
            candidates = {all};
        }
        for (const outlook::ItemsPtr& items : candidates) {
            const int n = items->Count();
            // From the end: of two tasks for one message, the later one is closed.
            for (int i = n; i >= 1; --i) {
                outlook::TaskItemPtr task;
                try {
                    task = outlook::asTaskItem(items->Item(i));
                } catch (const std::exception&) {
                    continue;
                }
                if (!task || !IsReplyToTask(*task, key)) {
                    continue;
                }
                // A message on a store that keeps no marks still answers what arrives
                // live.
                AnswerTrackingTask(task, *mail, IsAutomaticReply(*mail), AnswerMark::IfPossible);
                return;  // one arriving message answers at most one task
            }
        }
    } catch (const std::exception&) {
    }
}

// --- the other stores' Inboxes -------------------------------------------------------------

void WatchOtherInboxes(const outlook::MAPIFolderPtr& inbox, outlook::NameSpace& session,
                       TInboxList& InboxesEvents) {
    const outlook::FoldersPtr roots = session.Folders();
    if (!roots || roots->Count() < 1) {
        return;
    }
    for (int i = 1; i <= roots->Count(); ++i) {
        WatchInboxesOfStore(inbox, roots->Item(i), InboxesEvents);
    }
}

void WatchInboxesOfStore(const outlook::MAPIFolderPtr& inbox, const outlook::MAPIFolderPtr& root,
                         TInboxList& InboxesEvents) {
    try {
        for (int j = 1; j <= root->Folders()->Count(); ++j) {
            if (root->Folders()->Item(j)->Name() != inbox->Name()) {
                continue;  // the name must be spelled exactly alike
            }
            if (root->Folders()->Item(j)->EntryID() == inbox->EntryID()) {
                continue;  // the default Inbox is watched already
            }
            auto watcher = std::make_unique<TInboxItems>();
            watcher->ConnectTo(root->Folders()->Item(j));
            InboxesEvents.push_back(std::move(watcher));
        }
    } catch (const std::exception&) {
        // The scan of this store ends; the watchers found so far stay.
    }
}

}  // namespace vantorel
