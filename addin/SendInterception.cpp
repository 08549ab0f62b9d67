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

// A message that cannot be made ready to be sent and followed up; with the mail
// client's text of the failure.
const QString kCannotSendAndTrackMessage = QStringLiteral("Cannot send and track this message: %1");

TPendingSends& pendingSends() {
    if (PendingSends == nullptr) {
        throw std::logic_error("the pending-send list is gone");
    }
    return *PendingSends;
}
}  // namespace

void TAddInModule::SendCurrentMail(bool bIsCustom) {
    // The message of the window the button was pressed in, whichever window is active.
    const outlook::InspectorPtr inspector =
        PressedWindow() ? PressedWindow() : OutlookApp->ActiveInspector();
    const outlook::MailItemPtr mail =
        outlook::asMailItem(inspector ? inspector->CurrentItem() : nullptr);
    if (!mail) {
        throw std::runtime_error("The active window holds no e-mail message.");
    }
    auto data = std::make_unique<TSendingMailData>();
    data->bIsCustom = bIsCustom;
    QString sKey;
    try {
        // A new message gets its EntryID when it is first saved.
        mail->Save();
        sKey = mail->EntryID();
    } catch (const std::exception& error) {
        // Nothing is pending and nothing was made; the message stays open, unsent, and
        // the person must know why (a full disk, a mailbox that cannot be written).
        platform::showMessage(kCannotSendAndTrackMessage.arg(ErrorText(error)),
                              platform::MessageIcon::Error);
        return;
    }
    pendingSends().Add(sKey, std::move(data));
    bool bSent = true;
    try {
        mail->Send();
    } catch (const std::exception& error) {
        bSent = false;
        platform::showMessage(ErrorText(error), platform::MessageIcon::Warning);
    }
    // The send steps ran inside Send(): whatever they did or failed to do, the entry has
    // served. One the second step did not consume belongs to a message that did not go
    // (cancelled, or refused before it was stamped). A message has one entry at the most.
    QString sTaskEntryID;
    if (PendingSends != nullptr) {
        const int nIndex = PendingSends->IndexOf(sKey);
        if (nIndex >= 0) {
            bSent = false;
            sTaskEntryID = PendingSends->Data(nIndex).sTaskEntryID;
            PendingSends->Delete(nIndex);
        }
    }
    if (!bSent) {
        DropUnsentTask(mail, sTaskEntryID);
    }
}

void TAddInModule::DropUnsentTask(const outlook::MailItemPtr& mail, QString sTaskEntryID) {
    // The stamp goes with the task: saved later as a draft, the message must not claim
    // a task.
    try {
        if (const outlook::UserPropertyPtr stamp =
                mail->UserProperties()->Item(TrackingProperty::ReminderID)) {
            if (sTaskEntryID.isEmpty()) {
                sTaskEntryID = stamp->Value();
            }
            stamp->Delete();
        }
    } catch (const std::exception&) {
        // A stamp that cannot be removed names a task that is about to go: the check at
        // the next start finds no task behind it, and the stamp claims nothing.
    }
    if (sTaskEntryID.isEmpty() || !OutlookApp) {
        return;  // no task was made, or the mail client is gone
    }
    try {
        if (const outlook::TaskItemPtr task = outlook::asTaskItem(
                OutlookApp->GetNamespace(QStringLiteral("MAPI"))->GetItemFromID(sTaskEntryID))) {
            task->Delete();
        }
    } catch (const std::exception&) {
        // The mailbox refuses (a full disk): the task reminds of nothing and goes at the
        // next tick of the reminder timer that can delete it.
        unsentTasks_.insert(sTaskEntryID);
    }
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

void TAddInModule::adxOutlookAppEvents1ItemSend(const outlook::ItemPtr& Item, bool& Cancel) {
    const outlook::MailItemPtr mail = outlook::asMailItem(Item);
    if (!mail || PendingSends == nullptr) {
        return;
    }
    const int nIndex = PendingSends->IndexOf(mail->EntryID());
    if (nIndex < 0) {
        return;
    }
    const QString sTaskEntryID = PendingSends->Data(nIndex).sTaskEntryID;
    try {
        WriteTrackingProperty(*mail, TrackingProperty::ReminderID, sTaskEntryID);
    } catch (const std::exception& error) {
        // Sent without its task's EntryID, the message would leave its task following
        // a draft that is gone: it stays open, unsent, and the entry tells
        // SendCurrentMail so.
        Cancel = true;
        platform::showMessage(kCannotSendAndTrackMessage.arg(ErrorText(error)),
                              platform::MessageIcon::Error);
        return;
    }
    PendingSends->Delete(nIndex);
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
