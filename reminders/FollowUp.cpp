#include "reminders/FollowUp.h"

#include "reminders/ReminderUnit.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tools/DontShowAgain.h"
#include "tools/Globals.h"

#include <QDateTime>

#include <algorithm>
#include <exception>
#include <optional>

namespace vantorel {

namespace {

const QString kName = QStringLiteral("&[NAME]");
const QString kEmail = QStringLiteral("&[EMAIL]");
const QString kDate = QStringLiteral("&[DATE]");
const QString kTime = QStringLiteral("&[TIME]");

const QString kForwardPrefix = QStringLiteral("FW: ");

// Shown when a follow-up opens with the generated text, until the user silences it.
const QString kTemplateNotice =
    QStringLiteral("The text of the reply message will be generated automatically.") +
    QChar(u'\r') +
    QStringLiteral(
        "You can remove or modify the template of this message on the \"Vantorel\" "
        "tab in Outlook Option Page.");

// The addresses of the recipient list text in the task's property NAME, each followed
// by "; "; the empty text when the task has no such property.
QString addressesOf(outlook::TaskItem& task, const QString& name) {
    const std::optional<QString> list = ReadTrackingProperty(task, name);
    return list ? RecipientAddresses(*list) : QString();
}

// The forward of the tracked message; null when it cannot be had (no EntryID, the
// message deleted meanwhile, not a message, the client refusing to forward it).
outlook::MailItemPtr forwardOf(const QString& MailID) {
    try {
        if (!OutlookApp) {
            return nullptr;
        }
        const outlook::NameSpacePtr ns = OutlookApp->GetNamespace(QStringLiteral("MAPI"));
        const outlook::MailItemPtr tracked = outlook::asMailItem(ns->GetItemFromID(MailID));
        return tracked ? tracked->Forward() : nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
}

// A new message in place of the forward: "FW: " and the tracked message's topic.
outlook::MailItemPtr freshFollowUp(outlook::TaskItem& task) {
    if (!OutlookApp) {
        throw outlook::OutlookError(QStringLiteral("The mail client is not connected."));
    }
    outlook::MailItemPtr mail = outlook::asMailItem(OutlookApp->CreateItem(outlook::olMailItem));
    if (!mail) {
        throw outlook::OutlookError(QStringLiteral("The new item is no mail item."));
    }
    const std::optional<QString> topic = ReadTrackingProperty(task, TrackingProperty::Topic);
    mail->SetSubject(kForwardPrefix + topic.value_or(QString()));
    return mail;
}

// The template text for the follow-up; empty with the template switched off. Shows
// the notice about the generated text unless the user has silenced it.
QString templateText(const outlook::TaskItemPtr& task) {
    if (!AddInRegistry || !AddInRegistry->GetUseReplyTemplate()) {
        return QString();
    }
    const QString text = ExpandReplyTemplate(task, AddInRegistry->GetReplyTemplate());
    if (AddInRegistry->GetShowDialogTemplate()) {
        bool bChecked = false;
        ShowMessageWithDontShowAgain(kTemplateNotice, &bChecked);
        AddInRegistry->SetShowDialogTemplate(!bChecked);
    }
    return text;
}

}  // namespace

QString ExpandPlaceholders(const QString& text,
                           const std::vector<std::pair<QString, QString>>& values) {
    QString r;
    r.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const auto match = std::find_if(values.begin(), values.end(), [&](const auto& value) {
            return !value.first.isEmpty() && QStringView(text).sliced(i).startsWith(value.first);
        });
        if (match == values.end()) {
            r += text[i];
            ++i;
            continue;
        }
        r += match->second;
        i += match->first.size();
    }
    return r;
}

QString ExpandReplyTemplate(const outlook::TaskItemPtr& task, const QString& sTemplate) {
    // What each placeholder stands for; one left out stays as it is.
    std::vector<std::pair<QString, QString>> values;
    try {
        if (const std::optional<QString> recipients =
                ReadTrackingProperty(*task, TrackingProperty::Recipients)) {
            values.emplace_back(kName, RecipientNames(*recipients));
            values.emplace_back(kEmail, RecipientAddresses(*recipients));
        }
    } catch (const std::exception&) {
        // The names and addresses stay as placeholders.
    }
    try {
        // Read as a 64-bit count: a message sent after 2038 still has its date.
        if (const std::optional<tools::TDateTime> sent =
                ReadTrackingMoment(*task, TrackingProperty::FirstSent)) {
            const QDateTime moment = tools::fromDateTime(*sent);
            values.emplace_back(kDate, tools::shortDateText(moment));
            values.emplace_back(kTime, tools::shortTimeText(moment));
        }
    } catch (const std::exception&) {
        // The date and time stay as placeholders.
    }
    return ExpandPlaceholders(sTemplate, values);
}

void ComposeFollowUp(const outlook::TaskItemPtr& task, const QString& MailID) {
    outlook::MailItemPtr followUp = forwardOf(MailID);
    if (!followUp) {
        followUp = freshFollowUp(*task);
    }

    // The recipients of the first message; lists read before a failure are kept.
    QString to;
    QString cc;
    QString bcc;
    try {
        to = addressesOf(*task, TrackingProperty::Recipients);
        cc = addressesOf(*task, TrackingProperty::CcRecipients);
        bcc = addressesOf(*task, TrackingProperty::BccRecipients);
    } catch (const std::exception&) {
    }

    // A template that should stand apart from the quotation ends with its own line
    // breaks; nothing is put in between.
    const QString text = templateText(task);
    followUp->SetBody(text + followUp->Body());
    followUp->SetTo(to);
    followUp->SetCC(cc);
    followUp->SetBCC(bcc);
    // The follow-up names its task: sent, it closes the task out.
    WriteTrackingProperty(*followUp, TrackingProperty::FollowUpTask, task->EntryID());

    // Names that do not resolve stay as typed; the user sees them in the window.
    try {
        followUp->Recipients()->ResolveAll();
    } catch (const std::exception&) {
    }

    followUp->Display(false);
}

void CloseOutTask(const outlook::TaskItemPtr& task) {
    try {
        DeleteTrackingProperties(task);
        task->SetReminderSet(false);
        task->MarkComplete();
        task->Save();
    } catch (const std::exception&) {
        // The remaining steps are skipped; the task keeps what was saved last.
    }
}

}  // namespace vantorel
