#include "reminders/ReminderUnit.h"

#include "platform/Clock.h"
#include "reminders/PendingSends.h"
#include "reminders/TrackingProperties.h"
#include "tools/InvisibleMarks.h"
#include "tools/UtcMoment.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

namespace vantorel {

namespace {

const QChar kCR(u'\r');
const QChar kLF(u'\n');
// The client's line break in the texts handed to it.
const QLatin1String kLineEnd("\r\n");
const QLatin1String kExchangeEntry("EX");
// The line between the header and the quoted text.
constexpr qsizetype kSeparatorLength = 84;
// How far past the limit the line that crosses it may run and still be quoted whole.
constexpr qsizetype kLineAllowance = 200;

// Letters a to z turned into A to Z; every other character unchanged.
QString upper(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (c >= u'a' && c <= u'z') {
            c = QChar(static_cast<char16_t>(c.unicode() - (u'a' - u'A')));
        }
    }
    return result;
}

// 1-based position of NEEDLE in HAYSTACK; 0 when it does not occur or either is empty.
qsizetype position(const QString& needle, const QString& haystack) {
    if (needle.isEmpty() || haystack.isEmpty()) {
        return 0;
    }
    return haystack.indexOf(needle) + 1;
}

// Hours of the 24-hour clock and minutes, two digits each, joined by ":".
QString hoursMinutes(const QDateTime& moment) {
    return moment.time().toString(QStringLiteral("HH:mm"));
}

// The type of the recipient's address-book entry ("SMTP", "EX", ...); empty
// without an entry.
QString entryTypeOf(outlook::Recipient& recipient) {
    const outlook::AddressEntryPtr entry = recipient.AddressEntry();
    return entry ? entry->Type() : QString();
}

// Every recipient of the message, in order; none without a recipients collection.
template <class Visit>
void forEachRecipient(outlook::MailItem& message, Visit visit) {
    const outlook::RecipientsPtr recipients = message.Recipients();
    if (!recipients) {
        return;
    }
    const int count = recipients->Count();
    for (int i = 1; i <= count; ++i) {
        visit(*recipients->Item(i));
    }
}

QString composeSubject(outlook::TaskItem& task, const outlook::MailItemPtr& message,
                       const TReminderData& data, const QDateTime& now) {
    const bool withRecipients = data.bSubjectIncludeName || data.bSubjectIncludeAdress;
    const QString recipients =
        withRecipients
            ? SubjectRecipientText(message, data.bSubjectIncludeName, data.bSubjectIncludeAdress)
            : QString();
    return task.Subject() + ComposeSubject(data, recipients, message->Subject(), now);
}

// TEXT with every line break (CR LF, a CR alone, an LF alone) as CR LF.
QString withCrLf(const QString& text) {
    QString result;
    result.reserve(text.size() + text.count(kLF) + text.count(kCR));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == kCR) {
            result += kLineEnd;
            if (i + 1 < text.size() && text.at(i + 1) == kLF) {
                ++i;
            }
        } else if (c == kLF) {
            result += kLineEnd;
        } else {
            result += c;
        }
    }
    return result;
}

QString quotedMessageBody(outlook::MailItem& message, qint32 maxLength, const QDateTime& now) {
    QStringList to;
    QStringList cc;
    QStringList bcc;
    forEachRecipient(message, [&](outlook::Recipient& recipient) {
        QString name = recipient.Name();
        const QString address = recipient.Address();
        if (entryTypeOf(recipient) != kExchangeEntry && upper(address) != upper(name)) {
            name += QLatin1String(" [") + address + QLatin1Char(']');
        }
        switch (recipient.Type()) {
            case outlook::olTo:
                to << name;
                break;
            case outlook::olCC:
                cc << name;
                break;
            default:
                bcc << name;
                break;
        }
    });
    const QLatin1String separator("; ");

    QString result = QLatin1String("Message sent on ") + tools::shortDateText(now) +
                     QLatin1Char(' ') + hoursMinutes(now) + kLineEnd;
    result += QLatin1String("To: ") + to.join(separator) + kLineEnd;
    if (!message.CC().isEmpty()) {
        result += QLatin1String("Cc: ") + cc.join(separator) + kLineEnd;
    }
    if (!message.BCC().isEmpty()) {
        result += QLatin1String("Bcc: ") + bcc.join(separator) + kLineEnd;
    }
    result += QLatin1String("Subject: ") + message.Subject() + kLineEnd;

    const QString text = withCrLf(message.Body());
    if (text.isEmpty() || maxLength <= 0) {
        return result;
    }
    result += QString(kSeparatorLength, QLatin1Char('_')) + kLineEnd + kLineEnd;
    const qsizetype limit = maxLength;
    if (text.size() <= limit) {
        return result + text;
    }
    // The first CR at or after the limit's position: the line that crosses the limit
    // is quoted whole, with its line break, when it ends soon enough.
    const qsizetype lineEnd = text.indexOf(kCR, limit - 1);
    qsizetype length = limit;
    if (lineEnd >= 0 && lineEnd + 1 <= limit + kLineAllowance) {
        length = lineEnd + kLineEnd.size();
    } else if (text.at(length - 1).isHighSurrogate()) {
        --length;  // never half a character
    }
    return result + text.left(length) + kLineEnd + QLatin1String("[Truncated]");
}

char16_t upperLetter(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

// Whether one of the addresses of a recipient list text is SENDER, letters a to z
// in either case. An address is what follows the first "|" of an entry up to its
// ";" (or the end of the text), every further "|" left out, as RecipientAddresses
// reads it; an entry without "|" has none. The text is read once, in place: the
// reply watch asks this of every tracking task.
bool listHasAddress(QStringView list, QStringView sender) {
    const char16_t* c = list.utf16();
    const char16_t* const end = c + list.size();
    const qsizetype size = sender.size();
    while (c != end) {
        // The name, up to the first "|" of the entry.
        while (c != end && *c != u'|' && *c != u';') {
            ++c;
        }
        if (c == end) {
            break;
        }
        if (*c == u';') {
            ++c;
            continue;
        }
        ++c;
        // The address, compared while it is read; blanks around it are no part of it.
        qsizetype matched = 0;
        bool alike = true;
        bool begun = false;
        qsizetype matchedToText = 0;  // as of the address's last character not blank
        bool alikeToText = true;
        for (; c != end && *c != u';'; ++c) {
            if (*c == u'|') {
                continue;
            }
            const bool blank = QChar::isSpace(*c);
            if (blank && !begun) {
                continue;
            }
            begun = true;
            if (alike) {
                alike = matched < size && upperLetter(*c) == upperLetter(sender[matched].unicode());
                ++matched;
            }
            if (!blank) {
                matchedToText = matched;
                alikeToText = alike;
            }
        }
        if (alikeToText && matchedToText == size) {
            return true;
        }
        if (c != end) {
            ++c;
        }
    }
    return false;
}

}  // namespace

outlook::TaskItemPtr NewTaskItem(outlook::Application& app) {
    outlook::TaskItemPtr task = outlook::asTaskItem(app.CreateItem(outlook::olTaskItem));
    if (!task) {
        throw outlook::OutlookError(QStringLiteral("The new item is no task."));
    }
    return task;
}

void CreateReminderTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message,
                        const TReminderData& data) {
    // The message first: whatever fails before the task's save leaves no task behind.
    message->Save();
    FillReminderTask(task, message, data);
    try {
        if (PendingSends) {
            if (TSendingMailData* pending = PendingSends->Find(message->EntryID())) {
                pending->sTaskEntryID = task->EntryID();
            }
        }
    } catch (const std::exception&) {
        // A task the send does not know of would follow the draft: it goes.
        try {
            task->Delete();
        } catch (const std::exception&) {
        }
        throw;
    }
}

void FillReminderTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message,
                      const TReminderData& data) {
    // One moment of sending for the subject, the dates, the body and "FirstSent".
    const QDateTime now = platform::now();
    const tools::TDateTime sentAt = tools::toDateTime(now);

    task->SetSubject(composeSubject(*task, message, data, now));

    task->SetCategories(data.sCategories);
    const tools::TDateTime start = sentAt + data.nInDays;
    task->SetStartDate(start);
    if (data.nDuration >= 0) {
        task->SetDueDate(start + data.nDuration);
    }
    task->SetImportance(data.oImportance);
    task->SetReminderOverrideDefault(true);
    // The add-in reminds by itself; the mail client's own reminder stays off.
    task->SetReminderSet(false);
    const tools::TDateTime reminderTime = data.dReminderTime + data.nInDays;
    if (data.bRemindMe) {
        task->SetReminderTime(reminderTime);
    }
    task->SetBody(quotedMessageBody(*message, data.nMaxBodyLength, now));

    const TRecipientLists lists = RecipientListTexts(message);

    namespace tp = TrackingProperty;
    outlook::TaskItem& t = *task;
    WriteTrackingProperty(t, tp::Topic, message->ConversationTopic());
    WriteTrackingProperty(t, tp::Mail, message->EntryID());
    WriteTrackingProperty(t, tp::Recipients, lists.sTo);
    WriteTrackingProperty(t, tp::CcRecipients, lists.sCc);
    WriteTrackingProperty(t, tp::BccRecipients, lists.sBcc);
    WriteTrackingProperty(t, tp::FirstSent, tools::localUnixSecondsText(sentAt));
    WriteTrackingProperty(t, tp::DeleteOnReply, tools::boolText(data.bDeleteOnReply));
    WriteTrackingProperty(t, tp::MarkCompletedOnReply, tools::boolText(data.bMarkAsCompleted));
    WriteTrackingProperty(t, tp::ReminderSet, tools::boolText(data.bRemindMe));
    if (data.bRemindMe) {
        WriteTrackingProperty(t, tp::ReminderTime, tools::localUnixSecondsText(reminderTime));
    }
    WriteTrackingProperty(t, tp::FirstSentUTC, tools::utcSecondsText(now.toSecsSinceEpoch()));
    task->Save();
}

QString ComposeSubject(const TReminderData& data, const QString& sRecipientText,
                       const QString& sMessageSubject, const QDateTime& now) {
    QString s = data.sSubjectHeader;
    if (!s.isEmpty()) {
        s += QLatin1Char(' ');
    }
    if (data.bSubjectIncludeName || data.bSubjectIncludeAdress) {
        s += sRecipientText;
        if (!s.isEmpty()) {
            s += QLatin1String(": ");
        }
    }
    s += sMessageSubject;
    if (data.bSubjectIncludeDate && data.bSubjectIncludeTime) {
        s +=
            QLatin1String(" - ") + tools::shortDateText(now) + QLatin1Char(' ') + hoursMinutes(now);
    } else if (data.bSubjectIncludeDate) {
        s += QLatin1String(" - ") + tools::shortDateText(now);
    } else if (data.bSubjectIncludeTime) {
        s += QLatin1String(" - ") + hoursMinutes(now);
    }
    return s;
}

QString SubjectRecipientName(const QString& sName, const QString& sAddress, bool bExchange,
                             bool includeName, bool includeAddress) {
    QString name;
    if (includeName || (bExchange && includeAddress)) {
        name = sName;
    }
    const qsizetype p = position(upper(sAddress), upper(name));
    if (!includeAddress && p > 4) {
        // "Name <address>" or "Name (address)": the name alone.
        name = name.left(p - 3);
    }
    if (includeAddress && p < 1 && !bExchange) {
        name = name.isEmpty() ? sAddress : name + QLatin1String(" (") + sAddress + QLatin1Char(')');
    }
    return name;
}

QString SubjectRecipientText(const outlook::MailItemPtr& message, bool includeName,
                             bool includeAddress) {
    QString result;
    forEachRecipient(*message, [&](outlook::Recipient& recipient) {
        const bool exchange = entryTypeOf(recipient) == kExchangeEntry;
        const bool needsName = includeName || (exchange && includeAddress);
        const QString name =
            SubjectRecipientName(needsName ? recipient.Name() : QString(), recipient.Address(),
                                 exchange, includeName, includeAddress);
        if (recipient.Type() == outlook::olTo) {
            if (!result.isEmpty()) {
                result += QLatin1String("; ");
            }
            result += name;
        }
    });
    return result;
}

QString QuotedMessageBody(const outlook::MailItemPtr& message, qint32 maxLength) {
    return quotedMessageBody(*message, maxLength, platform::now());
}

TRecipientLists RecipientListTexts(const outlook::MailItemPtr& message) {
    TRecipientLists lists;
    forEachRecipient(*message, [&lists](outlook::Recipient& recipient) {
        const QString entry = RecipientListEntry(recipient.Name(), recipient.Address());
        switch (recipient.Type()) {
            case outlook::olTo:
                lists.sTo += entry;
                break;
            case outlook::olCC:
                lists.sCc += entry;
                break;
            default:
                lists.sBcc += entry;
                break;
        }
    });
    return lists;
}

QString RecipientListEntry(const QString& name, const QString& address) {
    // "|" and ";" delimit the parts of a list; a name holding one would read back as
    // another address, and a reply from that person would never match.
    const auto listSafe = [](QString text) {
        return text.replace(QLatin1Char('|'), QLatin1Char('/'))
            .replace(QLatin1Char(';'), QLatin1Char(','));
    };
    return listSafe(name) + QLatin1Char('|') + listSafe(address) + QLatin1Char(';');
}

QString RecipientNames(const QString& list) {
    QString result;
    QString address;
    result.reserve(list.size());
    address.reserve(list.size());
    bool inAddress = false;
    qsizetype entryStart = 0;  // where the current entry's name begins in result
    for (const QChar c : list) {
        if (c == u'|') {
            inAddress = true;
        } else if (c == u';') {
            // "Name (address)" loses the blank and the parenthesis. Only the entry's
            // own name is searched: an earlier name that happens to hold this address
            // must not be cut.
            const qsizetype at = result.indexOf(QLatin1Char('(') + address, entryStart);
            if (at >= 0 && at - entryStart + 1 > 2) {
                result.truncate(at - 1);
            }
            result += QLatin1String(", ");
            entryStart = result.size();
            address.clear();
            inAddress = false;
        } else if (inAddress) {
            address += c;
        } else {
            result += c;
        }
    }
    if (result.endsWith(QLatin1String(", "))) {
        result.chop(2);
    }
    return result;
}

QString RecipientAddresses(const QString& list) {
    QString result;
    bool inAddress = false;
    for (const QChar c : list) {
        if (c == u'|') {
            inAddress = true;
        } else if (c == u';') {
            result += QLatin1String("; ");
            inAddress = false;
        } else if (inAddress) {
            result += c;
        }
    }
    return result;
}

bool IsReplyToTask(const outlook::TaskItemPtr& task, const outlook::MailItemPtr& message) {
    return IsReplyToTask(*task, ReplyKeyOf(*message));
}

TReplyKey ReplyKeyOf(outlook::MailItem& message) {
    // As the mail client reads an address: blanks around it are none of it.
    TReplyKey key{message.SenderEmailAddress().trimmed(), QString()};
    if (!key.sender.isEmpty()) {
        key.topic = message.ConversationTopic();
    }
    return key;
}

bool IsReplyToTask(outlook::TaskItem& task, const TReplyKey& key) {
    if (key.sender.isEmpty()) {
        return false;
    }
    // "Topic" first: a comparison that almost every other task fails at once, where
    // the recipient list would have to be read through. Exact but for the marks
    // nobody sees, which the mail client ignores too. A task without either is no
    // match.
    const std::optional<QString> topic = ReadTrackingProperty(task, TrackingProperty::Topic);
    if (!topic || !tools::sameIgnoringInvisibleMarks(*topic, key.topic)) {
        return false;
    }
    // The whole address: a reply from bob@example.com does not answer a message
    // sent to jimbob@example.com.
    const std::optional<QString> recipients =
        ReadTrackingProperty(task, TrackingProperty::Recipients);
    return recipients && listHasAddress(*recipients, key.sender);
}

void DeleteTrackingProperties(const outlook::TaskItemPtr& task) {
    const outlook::UserPropertiesPtr properties = task->UserProperties();
    for (const QString& name : TrackingProperty::All) {
        if (const outlook::UserPropertyPtr property = properties->Item(name)) {
            property->Delete();
        }
    }
    if (const outlook::UserPropertyPtr property =
            properties->Item(TrackingProperty::FirstSentUTC)) {
        property->Delete();
    }
}

}  // namespace vantorel
