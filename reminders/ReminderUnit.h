#pragma once

// Tracking tasks: the task that stands for one followed-up message until a reply
// arrives. This unit writes it (subject, standard task fields, the quoted message as
// its body, the tracking properties of TrackingProperties.h), matches incoming
// messages to it, and removes its tracking properties once it is finished.
//
// Every object-model call that fails throws outlook::OutlookError, and nothing here
// catches it: the error ends the operation and reaches the caller.

#include "outlook/Outlook.h"
#include "tools/DateTime.h"

#include <QDateTime>
#include <QString>

namespace vantorel {

// The options for one tracking task, filled from the default settings ("Remind me")
// or from the custom send dialog ("Custom").
struct TReminderData {
    bool bDeleteOnReply = false;    // delete the task when a reply arrives
    bool bMarkAsCompleted = false;  // mark the task completed when a reply arrives
    // Days from the moment of sending to the task's start; the reminder moment moves
    // by the same offset.
    qint32 nInDays = 0;
    bool bRemindMe = false;  // false: a task only, no reminder
    // The reminder moment before the offset; used only with bRemindMe.
    tools::TDateTime dReminderTime = 0.0;
    QString sCategories;  // may be empty
    // Days from the start date to the due date; negative: no due date.
    qint32 nDuration = -1;
    qint32 oImportance = outlook::olImportanceNormal;  // passed to the task unchanged
    // The most characters of the message text quoted in the body; 0 or less: none.
    qint32 nMaxBodyLength = 0;
    QString sSubjectHeader;  // opens the task subject; empty: none
    bool bSubjectIncludeName = false;
    bool bSubjectIncludeAdress = false;
    bool bSubjectIncludeDate = false;
    bool bSubjectIncludeTime = false;
};

// A new, unsaved task item of APP, to become a tracking task. Throws
// outlook::OutlookError when the client hands out anything else.
outlook::TaskItemPtr NewTaskItem(outlook::Application& app);

// Saves MESSAGE, then fills and saves TASK, a new and unsaved task item, as the
// tracking task of MESSAGE and, when PendingSends holds an entry for the message's
// EntryID, records the task's EntryID in it. A message without an entry is no
// error. The task is only saved, into the Tasks folder: not shown, not moved. A
// failure leaves no task: the task's save is the last thing that can fail before
// its EntryID is recorded, and a task whose EntryID cannot be recorded is deleted.
void CreateReminderTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message,
                        const TReminderData& data);

// Writes the subject, the standard task fields, the body and the tracking
// properties, then saves the task.
void FillReminderTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message,
                      const TReminderData& data);

// The composed task subject, without the task's current subject in front: the
// header and a blank, the recipient part (RECIPIENTTEXT, used only when the data
// includes names or addresses) and ": ", the message's subject, then " - " and the
// short date and/or HH:MM of NOW as the data asks. The preferences dialog's sample
// follows the same composition.
QString ComposeSubject(const TReminderData& data, const QString& sRecipientText,
                       const QString& sMessageSubject, const QDateTime& now);

// One recipient in a task subject: its display name, its address, or both
// ("Name (address)"). A display name that already holds the address is not repeated;
// without the address, "Name <address>" keeps only the name. An Exchange entry
// (BEXCHANGE) stands as its display name, never as its address.
QString SubjectRecipientName(const QString& sName, const QString& sAddress, bool bExchange,
                             bool includeName, bool includeAddress);

// The recipient part of a task subject: the To recipients, each as its display
// name, its address, or both ("Name (address)"), joined by "; ". An Exchange entry
// always stands as its display name, never as its address.
QString SubjectRecipientText(const outlook::MailItemPtr& message, bool includeName,
                             bool includeAddress);

// The task body: a header (moment of sending, To, Cc, Bcc, Subject) and, with
// maxLength > 0, the message text after a line of underscores, cut after maxLength
// characters (or at the end of the line that crosses the limit, when that line
// ends within 200 more) and then marked "[Truncated]". Lines end with CR alone.
QString QuotedMessageBody(const outlook::MailItemPtr& message, qint32 maxLength);

// The recipient list texts of the message's recipients, by type.
struct TRecipientLists {
    QString sTo;   // type 1
    QString sCc;   // type 2
    QString sBcc;  // any other type
};
TRecipientLists RecipientListTexts(const outlook::MailItemPtr& message);

// One recipient list entry: display name + "|" + address + ";". A "|" or ";" in the
// name or address is written as "/" or "," so the entry reads back as written.
QString RecipientListEntry(const QString& name, const QString& address);

// The display names of a recipient list text, joined by ", "; a name that ends in a
// blank and the entry's address in parentheses loses both.
QString RecipientNames(const QString& list);

// The addresses of a recipient list text, each followed by "; " (the last one too).
QString RecipientAddresses(const QString& list);

// Whether MESSAGE answers the message tracked by TASK: its sender is one of the
// task's To recipients (the whole address, without regard to letter case or to
// blanks around it) and its conversation topic equals the task's "Topic" exactly,
// but for the marks nobody sees (tools/InvisibleMarks.h). False when the sender is
// empty or the task lacks "Recipients" or "Topic".
bool IsReplyToTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message);

// What an arriving message is matched by, read from it once for a walk over many
// tasks.
struct TReplyKey {
    QString sender;  // its sender's address, without blanks around it
    QString topic;   // its conversation topic
};
TReplyKey ReplyKeyOf(outlook::MailItem& message);
// The same as above, for the message KEY was read from.
bool IsReplyToTask(outlook::TaskItem& task, const TReplyKey& key);

// Deletes the ten tracking properties the task has, in their order, then
// "FirstSentUTC" ("Snooze" and "AutoReply" stay).
// The task is not saved.
void DeleteTrackingProperties(const outlook::TaskItemPtr& task);

}  // namespace vantorel
