// Sending with "Remind me" and "Custom": the two buttons mark the message as pending
// and send it; inside the send, the first step creates the tracking task and the
// second stamps the message with the task's EntryID ("ReminderID"), which travels
// with the sent copy.

#include "addin/AddInModule.h"
#include "forms/CustomSendTaskUnit.h"
#include "forms/ReminderChoices.h"
#include "platform/Prompts.h"
#include "platform/RegionalSettings.h"
#include "reminders/PendingSends.h"
#include "reminders/ReminderSettings.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tools/Globals.h"
#include "tools/Phrases.h"

#include <stdexcept>

namespace vantorel {

namespace {
constexpr bool kDefaultSettings = true;

TPendingSends& pendingSends() {
    if (PendingSends == nullptr) {
        throw std::logic_error("the pending-send list is gone");
    }
    return *PendingSends;
}
}  // namespace

void TAddInModule::SendCurrentMail(bool bIsCustom) {
    const outlook::InspectorPtr inspector = OutlookApp->ActiveInspector();
    const outlook::MailItemPtr mail =
        outlook::asMailItem(inspector ? inspector->CurrentItem() : nullptr);
    if (!mail) {
        throw std::runtime_error("The active window holds no e-mail message.");
    }
    auto data = std::make_unique<TSendingMailData>();
    data->bIsCustom = bIsCustom;
    // A new message gets its EntryID when it is first saved.
    mail->Save();
    const QString sKey = mail->EntryID();
    pendingSends().Add(sKey, std::move(data));
    try {
        mail->Send();
    } catch (const std::exception& error) {
        platform::showMessage(ErrorText(error), platform::MessageIcon::Warning);
    }
    // The send steps ran inside Send(): whatever they did or failed to do, the entry has
    // served. A message has one entry at the most.
    RemovePendingEntry(sKey);
}

void TAddInModule::DoItemSend(const outlook::ItemPtr& Item, bool& Cancel) {
    const outlook::MailItemPtr mail = outlook::asMailItem(Item);
    if (!mail) {
        return;
    }
    const int nIndex = pendingSends().IndexOf(mail->EntryID());
    if (nIndex < 0) {
        return;  // not sent with the add-in's buttons
    }
    if (mail->Subject().isEmpty()) {
        Cancel = true;
        // The message stays open unsent; a later send with the client's own button
        // must not be taken for one of ours.
        RemovePendingEntry(mail->EntryID());
        platform::showMessage(QStringLiteral("You must specify a Subject when using Vantorel."),
                              platform::MessageIcon::Information);
        return;
    }
    if (PendingSends->Data(nIndex).bIsCustom) {
        if (CustomSendTask == nullptr) {
            throw std::logic_error("the custom send dialog is gone");
        }
        CustomSendTask->SetCurrentMailItem(mail);
        if (CustomSendTask->ShowModal() != QDialog::Accepted) {
            // Timers and folder events may have run meanwhile: look the entry up again.
            RemovePendingEntry(mail->EntryID());
            Cancel = true;
        }
        return;
    }
    try {
        CreateDefaultReminder(mail);
    } catch (const std::exception&) {
        // The message goes all the same; the user must know it is not followed up.
        platform::showMessage(kCreationErrorMessage, platform::MessageIcon::Error);
    }
}

void TAddInModule::RemovePendingEntry(const QString& sKey) {
    if (PendingSends == nullptr) {
        return;  // the add-in has finalised meanwhile
    }
    const int nIndex = PendingSends->IndexOf(sKey);
    if (nIndex >= 0) {
        PendingSends->Delete(nIndex);
    }
}

void TAddInModule::CreateDefaultReminder(const outlook::MailItemPtr& mail) {
    CreateReminderTask(NewTaskItem(*OutlookApp), mail, DefaultReminderData(*AddInRegistry));
}

void TAddInModule::adxOutlookAppEvents1ItemSend(const outlook::ItemPtr& Item, bool& /*Cancel*/) {
    const outlook::MailItemPtr mail = outlook::asMailItem(Item);
    if (!mail || PendingSends == nullptr) {
        return;
    }
    const int nIndex = PendingSends->IndexOf(mail->EntryID());
    if (nIndex < 0) {
        return;
    }
    // The entry goes first: a message that cannot be stamped still leaves it behind.
    const QString sTaskEntryID = PendingSends->Data(nIndex).sTaskEntryID;
    PendingSends->Delete(nIndex);
    WriteTrackingProperty(*mail, TrackingProperty::ReminderID, sTaskEntryID);
}

void TAddInModule::UpdateRemindMeScreenTip() {
    if (AddInRegistry == nullptr) {
        return;
    }
    TAddInRegistry& registry = *AddInRegistry;
    QString sTip;
    if (registry.GetTaskRemindMe(kDefaultSettings)) {
        tools::TDateTime dTime = 0;
        TimePhraseToDateTime(registry.GetTaskRemindMeTime(kDefaultSettings), dTime);
        // hh:nn with the user's time separator, as the stored time phrases are written.
        const QTime time = tools::fromDateTime(dTime).time();
        const QString sTime = QStringLiteral("%1").arg(time.hour(), 2, 10, QLatin1Char('0')) +
                              platform::RegionalSettings::current().timeSeparator +
                              QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
        sTip = QStringLiteral("Send and remind me %1 at %2")
                   .arg(FormatPeriodPhrase(registry.GetTaskRemindMeStart(kDefaultSettings),
                                           kPhraseStyleStart),
                        sTime);
    } else {
        sTip = QStringLiteral("Send and create a task starting %1")
                   .arg(FormatPeriodPhrase(registry.GetTaskCreateOnlyStart(kDefaultSettings),
                                           kPhraseStyleStart));
    }
    const QString sMovedTo = MovedStartDayName(registry);
    if (!sMovedTo.isEmpty()) {
        sTip += QStringLiteral(", moved off the weekend to ") + sMovedTo;
    }
    btnRemindMe_->SetScreenTip(sTip);
}

}  // namespace vantorel
