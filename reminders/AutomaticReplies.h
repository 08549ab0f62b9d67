#pragma once

// Messages no person wrote: out-of-office and rule replies, delivery reports, and
// mail whose internet headers say a machine sent it. Such a message comes from a
// recipient in the same conversation like a reply, but it answers nothing: it must
// not close a tracking task. When it matches one, the task records it ("AutoReply")
// so that the reminder can say the recipient may be away.

#include "outlook/Outlook.h"

#include <QString>

#include <optional>

namespace vantorel {

// Whether a message of that class is an automatic reply or a report:
// "IPM.Note.Rules.OofTemplate.Microsoft", "IPM.Note.Rules.ReplyTemplate.Microsoft",
// "IPM.Report.*" and "REPORT.*" (letter case aside).
bool IsAutomaticMessageClass(const QString& messageClass);

// The value of the first header NAME (letter case aside) in an internet header block,
// its continuation lines joined and the blanks around it trimmed; none when absent.
std::optional<QString> InternetHeader(const QString& headers, const QString& name);

// Whether the headers mark the message as sent by a machine: "Auto-Submitted" with any
// value but "no", or "Precedence" of "auto_reply", "bulk" or "junk".
bool IsAutomaticByHeaders(const QString& headers);

// Whether MESSAGE is an automatic reply or a report, by its class and then by its
// internet headers; a message without headers is judged by its class alone. A
// failure to read the class is thrown.
bool IsAutomaticReply(outlook::MailItem& message);

// Records MESSAGE as an automatic reply on TASK ("AutoReply") and saves the task.
void RecordAutoReply(outlook::TaskItem& task, outlook::MailItem& message);

// Whether the task has an automatic reply recorded; false when that cannot be read.
bool HasAutoReply(outlook::TaskItem& task);

}  // namespace vantorel
