#pragma once

// The follow-up to an unanswered message: a forward of the tracked message (or, when
// it is gone, a new "FW: " message with its topic), addressed again to the first
// message's recipients and opening with the user's template; and closing out the
// tracking task once the follow-up is displayed.

#include "outlook/Outlook.h"

#include <QString>

#include <utility>
#include <vector>

namespace vantorel {

// TEXT with each occurrence of a placeholder of VALUES (placeholder, its text; exact
// letter case) replaced by its text, in one pass from the start: the text put in is
// never read again, so a placeholder inside it stays as it is. Where placeholders
// overlap, the leftmost occurrence wins, then the first of VALUES.
QString ExpandPlaceholders(const QString& text,
                           const std::vector<std::pair<QString, QString>>& values);

// TEMPLATE with "&[NAME]", "&[EMAIL]", "&[DATE]" and "&[TIME]" replaced from the task's
// "Recipients" and "FirstSent" (exact letter case) in one pass (ExpandPlaceholders);
// the date and time in the user's short formats, also for moments after 2038. Never
// throws: a missing or unreadable property leaves its placeholders as they are.
QString ExpandReplyTemplate(const outlook::TaskItemPtr& task, const QString& sTemplate);

// Builds the follow-up for the tracking task (MailID: the tracked message's EntryID as
// the reminders window recorded it), marks it with the task's EntryID
// ("FollowUpTask") and displays it. Throws when a new message cannot be created, its
// subject, body, recipient lines or mark cannot be set, or it cannot be displayed;
// failures of the other steps are ignored. Without the settings store the follow-up
// carries no template text. The task is left as it is: its follow-up's sent copy
// closes it out (CloseOutTask, by the Sent Items watcher).
void ComposeFollowUp(const outlook::TaskItemPtr& task, const QString& MailID);

// Ends the tracking of the task: tracking properties removed, the mail client's
// reminder off, marked complete, saved. Never throws; the first failing step ends it.
void CloseOutTask(const outlook::TaskItemPtr& task);

}  // namespace vantorel
