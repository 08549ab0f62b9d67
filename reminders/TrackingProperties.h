#pragma once

// The tracking properties: the user properties through which the add-in recognises
// a tracking task, finds its message, knows its recipients and decides when and
// whether to remind. Every one is a text property (olText), not added to the
// folder's fields, display format 0.
//
// Encodings of the values:
// - recipient list text: per recipient, in the message's order, display name + "|"
//   + address + ";" (no blanks, no escaping); no recipients: the empty text;
// - moments: local Unix seconds (tools/DateTime.h), decimal text;
// - flags: Boolean text, "-1" or "0" (tools/DateTime.h).

#include "outlook/Outlook.h"
#include "tools/DateTime.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vantorel::TrackingProperty {

// Of the tracking task, in the order they are created.
inline const QString Topic = QStringLiteral("Topic");  // the message's conversation topic
inline const QString Mail = QStringLiteral("Mail");    // EntryID of the message (its sent copy)
inline const QString Recipients = QStringLiteral("Recipients");        // To recipients
inline const QString CcRecipients = QStringLiteral("CcRecipients");    // Cc recipients
inline const QString BccRecipients = QStringLiteral("BccRecipients");  // every other type
inline const QString FirstSent = QStringLiteral("FirstSent");          // moment of sending
inline const QString DeleteOnReply = QStringLiteral("DeleteOnReply");  // flag
inline const QString MarkCompletedOnReply = QStringLiteral("MarkCompletedOnReply");  // flag
inline const QString ReminderSet = QStringLiteral("ReminderSet");    // flag: the add-in reminds
inline const QString ReminderTime = QStringLiteral("ReminderTime");  // moment; only with a reminder
// Written when a reminder is snoozed: the moment it is due again.
inline const QString Snooze = QStringLiteral("Snooze");
// Written when an automatic reply to the message arrives (an out-of-office reply, a
// delivery report): the sender as "NAME <ADDRESS>", "|", and the moment it arrived.
inline const QString AutoReply = QStringLiteral("AutoReply");

// The moment of sending as UTC seconds (tools/UtcMoment.h), written after the ten
// below and deleted with them: "FirstSent" is read on the local wall clock, which
// daylight saving folds, and a reply is told from an older message by this moment.
inline const QString FirstSentUTC = QStringLiteral("FirstSentUTC");

// Of the tracked message: the EntryID of its tracking task.
inline const QString ReminderID = QStringLiteral("ReminderID");

// Of a follow-up composed for a tracking task: that task's EntryID. The follow-up's
// sent copy closes the task out; while the follow-up is open unsent in a window, the
// task does not remind.
inline const QString FollowUpTask = QStringLiteral("FollowUpTask");

// Of a received message that answered a tracking task (or was recorded on it as an
// automatic reply): that task's EntryID. A message answers at most one task, ever:
// one that carries this answers no other.
inline const QString AnsweredTask = QStringLiteral("AnsweredTask");

// The ten properties of a tracked task, in the order they are written and deleted
// ("Snooze" and "AutoReply" are not among them).
inline const QStringList All = {Topic,         Mail,        Recipients,    CcRecipients,
                                BccRecipients, FirstSent,   DeleteOnReply, MarkCompletedOnReply,
                                ReminderSet,   ReminderTime};

}  // namespace vantorel::TrackingProperty

namespace vantorel {

// Adds the text property NAME to the item (olText, not in the folder's fields,
// display format 0) and gives it VALUE. The item is not saved.
void WriteTrackingProperty(outlook::Item& item, const QString& name, const QString& value);

// The value of the item's property NAME; none when the item has no such property.
std::optional<QString> ReadTrackingProperty(outlook::Item& item, const QString& name);

// A moment stored as local Unix seconds, read as a 64-bit count (moments after
// 2038-01-19 03:14:07 read back too); none when the property is absent or holds no
// number of seconds within the years 1 to 9999.
std::optional<tools::TDateTime> ReadTrackingMoment(outlook::Item& item, const QString& name);

// A flag stored as Boolean text ("0" false, any other number true, "True"/"False"
// in any letter case); none when the property is absent or holds none of these.
std::optional<bool> ReadTrackingFlag(outlook::Item& item, const QString& name);

// The same, for a flag the reader cannot do without: none when the property is absent;
// a text that is no flag throws std::runtime_error naming it.
std::optional<bool> ReadCheckedTrackingFlag(outlook::Item& item, const QString& name);

}  // namespace vantorel
