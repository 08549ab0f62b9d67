#include "addin/AddInModule.h"

#include "addin/ReplyCatchUp.h"
#include "forms/CustomSendTaskUnit.h"
#include "forms/DefaultSettingsUnit.h"
#include "forms/ReminderWindowLogic.h"
#include "forms/ReminderWindowUnit.h"
#include "forms/SettingsUnit.h"
#include "forms/TemplateEditUnit.h"
#include "forms/WizardUnit.h"
#include "platform/Clock.h"
#include "platform/Hives.h"
#include "platform/Prompts.h"
#include "platform/Sound.h"
#include "reminders/PendingSends.h"
#include "reminders/TrackingProperties.h"
#include "reminders/UnsentSends.h"
#include "settings/AddInRegistry.h"
#include "settings/RegistryNames.h"
#include "tools/DateTime.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"
#include "tools/UtcMoment.h"

#include <stdexcept>
#include <utility>

namespace vantorel {

TAddInModule* AddInModule = nullptr;

namespace {
const int kReminderIntervalMs = 10000;

// Frees a long-lived form, its global cleared first. A visible form may have one of
// its handlers on the stack (a message box of its own is open, or the mail client
// shuts down from inside it): TAKEDOWN takes it off the screen now, and it goes once
// that handler has returned.
template <typename Form, typename TakeDown>
void FreeForm(Form*& global, TakeDown takeDown) {
    Form* form = std::exchange(global, nullptr);
    if (form != nullptr && form->isVisible()) {
        takeDown(*form);
        form->deleteLater();
    } else {
        delete form;
    }
}
const int kFirstSupportedVersion = 14;  // Office 2010
const QString kVersionUnreadMessage =
    QStringLiteral("Vantorel could not read the version of Microsoft Office, so it cannot start.");
}  // namespace

int MajorVersionFromText(const QString& version) {
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    const QString major = dot < 0 ? QString() : version.left(dot);
    bool ok = false;
    const int number = major.toInt(&ok);
    if (!ok) {
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(major).toStdString());
    }
    return number;
}

TAddInModule::TAddInModule()
    : AddInModuleBase(AddInName),
      SendMailToolbar(QStringLiteral("TabNewMailMessage"), kRibbonMailCompose, AddInName,
                      QStringLiteral("GroupSend")),
      MainToolbar(QStringLiteral("TabMail"), kRibbonExplorer, AddInName),
      TimerCheckReminders(platform::createTimer()) {
    SendMailToolbar.group.SetVisible(false);
    btnRemindMe_ = &SendMailToolbar.AddButton(QStringLiteral("Remind me"), RibbonSize::Large);
    btnCustom_ = &SendMailToolbar.AddButton(QStringLiteral("Custom"), RibbonSize::Large);
    btnCustom_->SetScreenTip(QStringLiteral("Choose reminder settings before sending"));
    btnRemindMe_->onClick = [this] { SendMailToolbarControls0Controls0Click(); };
    btnCustom_->onClick = [this] { SendMailToolbarControls0Controls1Click(); };

    btnDefaultSettings_ =
        &MainToolbar.AddButton(QStringLiteral("Default settings"), RibbonSize::Large);
    btnEditTemplate_ = &MainToolbar.AddButton(QStringLiteral("Edit template"), RibbonSize::Large);
    btnPreferences_ = &MainToolbar.AddButton(QStringLiteral("Preferences..."), RibbonSize::Normal);
    for (RibbonButton* b : {btnDefaultSettings_, btnEditTemplate_, btnPreferences_}) {
        b->SetEnabled(false);
    }
    btnDefaultSettings_->onClick = [this] { MainToolbarControls0Controls0Click(); };
    btnEditTemplate_->onClick = [this] { MainToolbarControls0Controls1Click(); };
    btnPreferences_->onClick = [this] { MainToolbarControls0Controls3Click(); };

    AddRibbonTab(SendMailToolbar);
    AddRibbonTab(MainToolbar);

    TimerCheckReminders->setInterval(kReminderIntervalMs);
    TimerCheckReminders->setEnabled(false);
    TimerCheckReminders->setOnTimer([this] { TimerCheckRemindersTimer(); });
}

TAddInModule::~TAddInModule() {
    TimerCheckReminders->setEnabled(false);
    if (TaskItemsEvents == TaskItemsWatcher.get()) {
        TaskItemsEvents = nullptr;
    }
    if (AddInModule == this) {
        AddInModule = nullptr;
    }
    // The mail client's Application goes with the module (one module lives at a time).
    OutlookApp.reset();
}

// --- lifecycle ----------------------------------------------------------------------

void TAddInModule::adxCOMAddInModuleAddInInitialize() {
    AddInModule = this;
    // Unknown until read: a version that cannot be read stops at the version gate.
    OutlookMajorVersion = 0;
    versionRead_ = false;
    OutlookMajorVersion = MajorVersionFromText(HostApplication()->Version());
    versionRead_ = true;
    delete PendingSends;
    PendingSends = new TPendingSends();
}

void TAddInModule::adxCOMAddInModuleAddInStartupComplete() {
    // 1. The settings store, whose changes the tip of "Remind me" follows.
    AddInRegistry = new TAddInRegistry();
    settingsWatch_ = platform::subscribeToHiveChanges(
        [this](const platform::RegistryHive& hive, const QString& keyPath) {
            SettingsChanged(hive, keyPath);
        });
    // 2, 3. The reminder sound in the mail client's folder; the help file in ours.
    ReminderSoundPath = AddInRegistry->GetOutlookPath() + QStringLiteral("reminder.wav");
    HelpFilePath = AddInFolder() + QStringLiteral("Vantorel.chm");
    // 4. The application object.
    OutlookApp = HostApplication();
    // 5. The template editor, which measures the display scale every other form uses.
    TemplateEdit = new TTemplateEdit();
    DisplayScale = TemplateEdit->GetWindowsScaling();
    // 6. The version gate. A version that could not be read (the call failed, or its
    // answer was no version text) is said as such, not taken for an old client.
    if (!versionRead_) {
        platform::showMessage(kVersionUnreadMessage, platform::MessageIcon::Error);
        return;
    }
    if (OutlookMajorVersion < kFirstSupportedVersion) {
        platform::showMessage(
            QStringLiteral("To use Vantorel, you must be running Microsoft Office 2010 or later."),
            platform::MessageIcon::Error);
        return;
    }
    // 7. The ribbon groups.
    MainToolbar.group.SetVisible(true);
    ActivateMenu(true);
    // 8. The long-lived forms.
    CustomSendTask = new TCustomSendTask();
    DefaultSettings = new TDefaultSettings();
    ReminderWindow = new TTReminderWindow();
    // 9. The send event: one subscription runs both steps in their order, since the
    // mail client calls the subscribers of one event in no promised order.
    itemSendHook_ = OutlookApp->OnItemSend([this](const outlook::ItemPtr& Item, bool& Cancel) {
        Guarded([&] { DoItemSend(Item, Cancel); });
        // A send the first step cancelled is over: the second step does not see it.
        if (!Cancel) {
            Guarded([&] { adxOutlookAppEvents1ItemSend(Item, Cancel); });
        }
    });
    // 10. The folder watchers.
    SentItemsEvents = std::make_unique<TSentItems>();
    TaskItemsWatcher = std::make_unique<TTaskItems>();
    TaskItemsEvents = TaskItemsWatcher.get();
    InboxesEvents.clear();
    // 11. Connected to the default folders, then to the other stores' Inboxes.
    const outlook::NameSpacePtr session = OutlookApp->GetNamespace(QStringLiteral("MAPI"));
    SentItemsEvents->ConnectTo(session->GetDefaultFolder(outlook::olFolderSentMail));
    TaskItemsEvents->ConnectTo(session->GetDefaultFolder(outlook::olFolderTasks));
    const outlook::MAPIFolderPtr inbox = session->GetDefaultFolder(outlook::olFolderInbox);
    InboxesEvents.push_back(std::make_unique<TInboxItems>());
    InboxesEvents.back()->ConnectTo(inbox);
    WatchOtherInboxes(inbox);
    // 11b. From the first start on, the moment after which replies are caught up.
    const std::optional<qint64> catchUpStored = AddInRegistry->GetCatchUpRepliesFrom();
    catchUpFrom_ =
        CatchUpStart(catchUpStored, AddInRegistry->GetInboxWatchedUntil(), tools::nowUtcSeconds());
    if (!catchUpStored) {
        AddInRegistry->SetCatchUpRepliesFrom(*catchUpFrom_);
    }
    // 12. The quick start wizard, for a person who has not switched it off.
    if (OutlookApp->Explorers()->Count() > 0 && AddInRegistry->GetStartWizard()) {
        TWizardWindow wizard;
        wizard_ = &wizard;
        wizard.ShowModal();
        if (released_) {
            return;  // the mail client shut down while the wizard was open
        }
    }
    // 13. The reminder timer; its first tick catches up the replies that came while
    // the add-in was not watching, so start-up does not wait for that walk.
    TimerCheckReminders->setEnabled(true);
}

void TAddInModule::adxCOMAddInModuleAddInBeginShutdown() {
    ReleaseAddIn();
}

void TAddInModule::adxCOMAddInModuleAddInFinalize() {
    FinalizeAddIn();
}

void TAddInModule::adxOutlookAppEvents1Quit() {
    if (OutlookShutdownBehavior() == ShutdownBehavior::Fast) {
        ReleaseAddIn();
        FinalizeAddIn();
    }
}

void TAddInModule::adxCOMAddInModuleError(const std::exception& /*E*/, bool& Handled) {
    // Before start-up has created the settings store (an error while initialising),
    // the setting is read through a store of its own.
    if (AddInRegistry != nullptr) {
        Handled = !AddInRegistry->IsVerbose();
    } else {
        Handled = !TAddInRegistry().IsVerbose();
    }
}

void TAddInModule::adxCOMAddInModuleOLInspectorActivate(const outlook::InspectorPtr& Inspector) {
    outlook::MailItemPtr mail;
    try {
        mail = outlook::asMailItem(Inspector ? Inspector->CurrentItem() : nullptr);
    } catch (const std::exception&) {
        return;  // an item that cannot be fetched leaves the tip as it was
    }
    if (mail) {
        remindMeTipAsked_ = true;
        UpdateRemindMeScreenTip();
    }
}

void TAddInModule::SettingsChanged(const platform::RegistryHive& hive, const QString& keyPath) {
    if (!remindMeTipAsked_ || updatingRemindMeTip_ || AddInRegistry == nullptr ||
        &hive != &platform::currentUserHive()) {
        return;
    }
    // Only a change of the add-in's own key, of a key in it, or of a key above it.
    const QString sRoot = platform::normalizeKeyPath(reg::kRootKey);
    const QString sChanged = platform::normalizeKeyPath(keyPath);
    const auto isAtOrBelow = [](const QString& path, const QString& key) {
        return key.isEmpty() || path.compare(key, Qt::CaseInsensitive) == 0 ||
               path.startsWith(key + QLatin1Char('\\'), Qt::CaseInsensitive);
    };
    if (!isAtOrBelow(sChanged, sRoot) && !isAtOrBelow(sRoot, sChanged)) {
        return;
    }
    updatingRemindMeTip_ = true;
    try {
        UpdateRemindMeScreenTip();
    } catch (const std::exception&) {
        // The tip stays as it was; the change itself was made.
    }
    updatingRemindMeTip_ = false;
}

void TAddInModule::adxCOMAddInModuleRibbonBeforeCreate(const QString& RibbonID) {
    const QString sSuffix = ScaleToSuffix(DisplayScale);
    if (RibbonID == kRibbonExplorer) {
        MainToolbar.group.SetImage(QStringLiteral("IMG_ALARM_") + sSuffix);
        btnDefaultSettings_->SetImage(QStringLiteral("IMG_DEFAULT_") + sSuffix);
        btnEditTemplate_->SetImage(QStringLiteral("IMG_TEMPEDIT_") + sSuffix);
        btnPreferences_->SetImage(QStringLiteral("IMG_SETTINGS_") + sSuffix);
    } else if (RibbonID == kRibbonMailCompose) {
        SendMailToolbar.group.SetImage(QStringLiteral("IMG_ALARM_") + sSuffix);
        btnRemindMe_->SetImage(QStringLiteral("IMG_REMINDME_") + sSuffix);
        btnCustom_->SetImage(QStringLiteral("IMG_CUSTOM_") + sSuffix);
    }
}

void TAddInModule::ReleaseAddIn() {
    if (released_) {
        return;
    }
    released_ = true;
    // No tick may run once the objects it uses are gone.
    TimerCheckReminders->setEnabled(false);
    // 1. The send hook.
    itemSendHook_.disconnect();
    // 2. The watchers: Sent Items, Tasks, then the Inboxes in their order.
    if (SentItemsEvents) {
        SentItemsEvents->Disconnect();
        SentItemsEvents.reset();
    }
    if (TaskItemsWatcher) {
        TaskItemsEvents = nullptr;
        TaskItemsWatcher->Disconnect();
        TaskItemsWatcher.reset();
    }
    for (std::unique_ptr<TInboxItems>& watcher : InboxesEvents) {
        watcher->Disconnect();
        watcher.reset();
    }
    InboxesEvents.clear();
    // 3. The shared objects, each global cleared before its object goes.
    settingsWatch_.reset();
    TAddInRegistry* store = AddInRegistry;
    AddInRegistry = nullptr;
    delete store;
    FreeForm(ReminderWindow, [](TTReminderWindow& window) { window.hide(); });
    FreeForm(TemplateEdit, [](TTemplateEdit& dialog) { dialog.reject(); });
    FreeForm(CustomSendTask, [](TCustomSendTask& dialog) { dialog.reject(); });
    FreeForm(DefaultSettings, [](TDefaultSettings& dialog) { dialog.reject(); });
    // 4. The windows made for one showing: each closes now, and its command, once
    // it returns, frees it.
    if (preferences_) {
        preferences_->CloseWithAddIn();
    }
    if (wizard_) {
        wizard_->reject();
    }
}

void TAddInModule::FinalizeAddIn() {
    if (finalized_) {
        return;
    }
    finalized_ = true;
    TPendingSends* pending = PendingSends;
    PendingSends = nullptr;
    delete pending;
    if (AddInModule == this) {
        AddInModule = nullptr;
    }
}

// --- watchers and the reminder poll ---------------------------------------------------------

void TAddInModule::WatchOtherInboxes(const outlook::MAPIFolderPtr& inbox) {
    vantorel::WatchOtherInboxes(inbox, *OutlookApp->GetNamespace(QStringLiteral("MAPI")),
                                InboxesEvents);
}

void TAddInModule::CatchUpReplies() {
    repliesCaughtUp_ = true;
    if (TaskItemsEvents == nullptr || !catchUpFrom_) {
        return;
    }
    try {
        vantorel::CatchUpReplies(InboxesEvents, TaskItemsEvents->WatchedFolder(), *catchUpFrom_);
    } catch (const std::exception&) {
        // Like an arriving message: what could not be matched stays open, and is
        // looked at again at the next start.
    }
}

void TAddInModule::ReconcileSends() {
    const outlook::MAPIFolderPtr tasks =
        TaskItemsEvents != nullptr ? TaskItemsEvents->WatchedFolder() : nullptr;
    if (!tasks) {
        return;
    }
    const outlook::NameSpacePtr session = OutlookApp->GetNamespace(QStringLiteral("MAPI"));
    if (!sendsReconciled_) {
        sendsReconciled_ = true;
        const outlook::MAPIFolderPtr sentItems =
            SentItemsEvents ? SentItemsEvents->WatchedFolder() : nullptr;
        // A message being sent right now (a tick inside the custom send dialog) is no
        // half-done send.
        ReconcileSentMessages(tasks, *session, sentItems, [](const QString& sMailID) {
            return PendingSends != nullptr && PendingSends->IndexOf(sMailID) >= 0;
        });
    }
    for (auto it = unsentTasks_.begin(); it != unsentTasks_.end();) {
        try {
            if (const outlook::TaskItemPtr task =
                    outlook::asTaskItem(session->GetItemFromID(*it))) {
                task->Delete();
            }
            it = unsentTasks_.erase(it);
        } catch (const std::exception&) {
            ++it;  // still refused; the next tick tries again
        }
    }
}

void TAddInModule::TimerCheckRemindersTimer() {
    if (!sendsReconciled_ || !unsentTasks_.empty()) {
        try {
            ReconcileSends();  // a task follows only a message that was sent
        } catch (const std::exception&) {
            // What could not be looked at is looked at again at the next start.
        }
    }
    if (!repliesCaughtUp_) {
        CatchUpReplies();  // an answered task never reminds
    }
    int added = 0;
    const outlook::MAPIFolderPtr folder =
        TaskItemsEvents != nullptr ? TaskItemsEvents->WatchedFolder() : nullptr;
    const outlook::ItemsPtr items = folder ? folder->Items() : nullptr;
    const int n = items ? items->Count() : 0;
    // Moments compare as local wall-clock seconds: a reminder inside the hour that
    // daylight saving skips falls due once, when the clock passes it.
    const QDateTime clock = platform::now();
    const PassMoment now{tools::toLocalUnixSeconds(tools::toDateTime(clock)),
                         clock.time().msec() > 0};
    openFollowUps_ = n > 0 ? OpenFollowUps() : std::set<QString>();
    for (int i = 1; i <= n; ++i) {
        outlook::TaskItemPtr task;
        try {
            task = outlook::asTaskItem(items->Item(i));
        } catch (const std::exception&) {
            continue;
        }
        if (!task) {
            continue;
        }
        try {
            CheckReminder(task, now, added);
        } catch (const std::exception& e) {
            // One damaged task must not hide the reminders of the tasks after it.
            ReportPollError(task, e);
        }
    }
    if (added > 0 && platform::FileExists(ReminderSoundPath)) {
        platform::PlayWaveAsync(ReminderSoundPath);
    }
}

void TAddInModule::CheckReminder(const outlook::TaskItemPtr& task, const PassMoment& now,
                                 int& added) {
    namespace tp = TrackingProperty;
    if (!ReadCheckedTrackingFlag(*task, tp::ReminderSet).value_or(false)) {
        return;
    }
    if (!unsentTasks_.empty() && unsentTasks_.count(task->EntryID()) > 0) {
        return;  // made for a message that did not go
    }
    const qint64 nowSeconds = now.seconds;
    const bool pastTheSecond = now.pastTheSecond;
    qint64 snooze = 0;
    qint64 due = nowSeconds;
    try {
        if (const std::optional<QString> text = ReadTrackingProperty(*task, tp::Snooze)) {
            if (const std::optional<qint64> seconds = tools::parseLocalUnixSeconds(*text)) {
                snooze = *seconds;
                due = snooze;
            }
        }
    } catch (const std::exception&) {
    }
    if (snooze <= 0) {
        std::optional<QString> text;
        try {
            text = ReadTrackingProperty(*task, tp::ReminderTime);
        } catch (const std::exception&) {
            return;  // read again at the next pass
        }
        if (!text) {
            return;
        }
        // A moment damaged by another program would keep the reminder away for good,
        // without a word: it is reported (once, see ReportPollError), as the
        // reminders window reports it.
        const std::optional<qint64> seconds = tools::parseLocalUnixSeconds(*text);
        if (!seconds) {
            throw std::invalid_argument(
                QStringLiteral("'%1' is not a valid integer value").arg(*text).toStdString());
        }
        // 9999-12-31 23:59:59: a moment after the calendar's last never falls due.
        constexpr qint64 kLastCalendarSecond = 253'402'300'799;
        if (*seconds > kLastCalendarSecond) {
            throw std::invalid_argument(
                QStringLiteral("'%1' is not a valid date").arg(*text).toStdString());
        }
        due = *seconds;
    }
    if (nowSeconds > due || (nowSeconds == due && pastTheSecond)) {
        // A task the user completed by hand needs no reminder: the window's refresh
        // would drop it, and every pass would list it again with the sound.
        if (task->Complete()) {
            return;
        }
        if (!openFollowUps_.empty() && openFollowUps_.count(task->EntryID()) > 0) {
            return;  // its follow-up is being written
        }
        if (ReminderWindow != nullptr && ReminderWindow->ReminderAdd(task)) {
            ++added;
        }
        if (snooze > 0) {
            if (const outlook::UserPropertyPtr p = task->UserProperties()->Item(tp::Snooze)) {
                p->Delete();
            }
            task->Save();
        }
    }
}

std::set<QString> TAddInModule::OpenFollowUps() {
    std::set<QString> tasks;
    const auto note = [&tasks](const outlook::InspectorPtr& inspector) {
        const outlook::MailItemPtr mail =
            outlook::asMailItem(inspector ? inspector->CurrentItem() : nullptr);
        if (!mail) {
            return;
        }
        if (const std::optional<QString> task =
                ReadTrackingProperty(*mail, TrackingProperty::FollowUpTask)) {
            tasks.insert(*task);
        }
    };
    try {
        const outlook::InspectorsPtr inspectors = OutlookApp->Inspectors();
        const int n = inspectors->Count();
        for (int i = 1; i <= n; ++i) {
            try {
                note(inspectors->Item(i));
            } catch (const std::exception&) {
            }
        }
    } catch (const std::exception&) {
        // A mail client that does not list its windows: the active one is looked at.
        try {
            note(OutlookApp->ActiveInspector());
        } catch (const std::exception&) {
        }
    }
    return tasks;
}

void TAddInModule::ReportPollError(const outlook::TaskItemPtr& task, const std::exception& error) {
    const QString text = ErrorText(error);
    QString key;
    try {
        key = task->EntryID();
    } catch (const std::exception&) {
    }
    if (key.isEmpty()) {
        key = text;
    }
    if (reportedPollErrors_.insert(key).second) {
        platform::showMessage(text, platform::MessageIcon::Error);
    }
}

// --- ribbon ------------------------------------------------------------------------------

void TAddInModule::ActivateMenu(bool bActivate) {
    SendMailToolbar.group.SetVisible(bActivate);
    btnDefaultSettings_->SetEnabled(bActivate);
    btnEditTemplate_->SetEnabled(bActivate);
    btnPreferences_->SetEnabled(bActivate);
}

void TAddInModule::SendMailToolbarControls0Controls0Click() {
    SendCurrentMail(false);
}

void TAddInModule::SendMailToolbarControls0Controls1Click() {
    SendCurrentMail(true);
}

void TAddInModule::MainToolbarControls0Controls0Click() {
    if (DefaultSettings != nullptr) {
        DefaultSettings->ShowModal();
    }
}

void TAddInModule::MainToolbarControls0Controls1Click() {
    if (TemplateEdit != nullptr) {
        TemplateEdit->ShowModal();
    }
}

void TAddInModule::MainToolbarControls0Controls3Click() {
    TSettings dialog;
    preferences_ = &dialog;
    // An error of the About box reaches the error path; the dialog stays open.
    dialog.OnHandlerError = [this](const std::exception_ptr& error) {
        Guarded([&] { std::rethrow_exception(error); });
    };
    dialog.ShowModal();
}

QString TAddInModule::Describe(const QString& what) {
    QString out;
    if (what == QLatin1String("reminders")) {
        return ReminderWindow != nullptr ? ReminderWindow->DescribeForScript() : QString();
    }
    if (what == QLatin1String("pending") && PendingSends != nullptr) {
        for (int i = 0; i < PendingSends->Count(); ++i) {
            const TSendingMailData& d = PendingSends->Data(i);
            out += QStringLiteral("pending %1 key=\"%2\" custom=%3 task=\"%4\"\n")
                       .arg(i + 1)
                       .arg(PendingSends->Key(i),
                            d.bIsCustom ? QStringLiteral("yes") : QStringLiteral("no"),
                            d.sTaskEntryID);
        }
    }
    return out;
}

}  // namespace vantorel

vantorel::IAddIn* vantorel_create_addin() {
    return new vantorel::TAddInModule();
}
