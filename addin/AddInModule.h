#pragma once

// TAddInModule: the spine of the add-in. It owns the ribbon commands, the
// subscription to the mail client's events and the reminder timer; it creates at
// start-up every object the other parts share and frees them at shutdown, in fixed
// orders. It also decides whether the add-in runs at all (Office 2010 or later).

#include "addin/AddInModuleBase.h"
#include "addin/FolderWatchers.h"
#include "platform/HiveChanges.h"
#include "platform/Timer.h"

#include <QPointer>

#include <memory>
#include <optional>
#include <set>

namespace vantorel {

class TSettings;
class TWizardWindow;

class TAddInModule : public AddInModuleBase {
public:
    TAddInModule();
    ~TAddInModule() override;

    // Handlers the hosting framework calls.
    void adxCOMAddInModuleAddInInitialize();
    void adxCOMAddInModuleAddInStartupComplete();
    void adxCOMAddInModuleAddInBeginShutdown();
    void adxCOMAddInModuleAddInFinalize();
    void adxOutlookAppEvents1Quit();
    void adxCOMAddInModuleError(const std::exception& E, bool& Handled);
    void adxCOMAddInModuleOLInspectorActivate(const outlook::InspectorPtr& Inspector);
    void adxCOMAddInModuleRibbonBeforeCreate(const QString& RibbonID);

    // The five ribbon commands, in the order of the ribbon layout.
    void SendMailToolbarControls0Controls0Click();  // "Remind me"
    void SendMailToolbarControls0Controls1Click();  // "Custom"
    void MainToolbarControls0Controls0Click();      // "Default settings"
    void MainToolbarControls0Controls1Click();      // "Edit template"
    void MainToolbarControls0Controls3Click();      // "Preferences..."

    // Sending with "Remind me" (false) or "Custom" (true): the message is marked as
    // pending and sent; the two steps of the send event create the tracking task and
    // stamp the message with its EntryID.
    void SendCurrentMail(bool bIsCustom);
    // First step of the send event; the module's one subscription to the event, made
    // at start-up, runs it and then the second step.
    void DoItemSend(const outlook::ItemPtr& Item, bool& Cancel);
    // Second step, after the first unless that cancelled the send.
    void adxOutlookAppEvents1ItemSend(const outlook::ItemPtr& Item, bool& Cancel);
    // The tracking task of a message sent with "Remind me", from the default settings.
    void CreateDefaultReminder(const outlook::MailItemPtr& mail);
    // Tells in the ScreenTip of "Remind me" what it will do with the default settings.
    void UpdateRemindMeScreenTip();

    // Shows the message window's group and enables the main window's buttons (or not).
    void ActivateMenu(bool bActivate);

    // One pass of the reminder poll: every tracking task whose reminder (or snooze)
    // moment has passed goes to the reminders window; the sound plays once when the
    // window listed something new. A task that fails is skipped, and its error is
    // shown once while the add-in runs.
    void TimerCheckRemindersTimer();
    // Watches the Inbox of every other store beside the default Inbox INBOX.
    void WatchOtherInboxes(const outlook::MAPIFolderPtr& inbox);
    // Once, at the first tick of the reminder timer (before its poll): the replies
    // that came while the add-in was not watching close their tasks.
    void CatchUpReplies();

    // Shutdown, each taking effect once.
    void ReleaseAddIn();
    void FinalizeAddIn();

    // The add-in's group on the message window's ribbon and on the main window's.
    RibbonTab SendMailToolbar;
    RibbonTab MainToolbar;
    // Every 10 000 ms once start-up is complete.
    std::unique_ptr<platform::Timer> TimerCheckReminders;
    // The Sent Items watcher and the Inbox watchers, from start-up to shutdown.
    std::unique_ptr<TSentItems> SentItemsEvents;
    TInboxList InboxesEvents;
    // The Tasks watcher, published as TaskItemsEvents while it lives. The module owns
    // it, so a module destroyed without a shutdown frees it too.
    std::unique_ptr<TTaskItems> TaskItemsWatcher;

    QString Describe(const QString& what) override;

    bool IsReleased() const { return released_; }
    bool IsFinalized() const { return finalized_; }

protected:
    void AddInInitialize() override { adxCOMAddInModuleAddInInitialize(); }
    void AddInStartupComplete() override { adxCOMAddInModuleAddInStartupComplete(); }
    void AddInBeginShutdown() override { adxCOMAddInModuleAddInBeginShutdown(); }
    void AddInFinalize() override { adxCOMAddInModuleAddInFinalize(); }
    void OLInspectorActivate(const outlook::InspectorPtr& inspector) override {
        adxCOMAddInModuleOLInspectorActivate(inspector);
    }
    void RibbonBeforeCreateHandler(const QString& ribbonId) override {
        adxCOMAddInModuleRibbonBeforeCreate(ribbonId);
    }
    void AppEventsQuit() override { adxOutlookAppEvents1Quit(); }
    void ModuleError(const std::exception& error, bool& handled) override {
        adxCOMAddInModuleError(error, handled);
    }

private:
    // Removes the pending entry of the message with EntryID SKEY, if there is one.
    void RemovePendingEntry(const QString& sKey);
    // MAIL did not go: the tracking task made for it (STASKENTRYID, or the one its
    // "ReminderID" names) is deleted and the stamp removed. A task the mailbox refuses
    // to delete is kept in unsentTasks_.
    void DropUnsentTask(const outlook::MailItemPtr& mail, QString sTaskEntryID);
    // Once per start, at the first tick: the tasks a send left half-done (the mail
    // client stopped between the task's save and the sent copy's arrival) are deleted
    // or pointed at their sent copy. Then, every tick, the tasks of failed sends the
    // mailbox refused to delete are deleted.
    void ReconcileSends();
    // Whether the poll hands TASK to the reminders window now; throws for a task it
    // cannot read. Counts into ADDED.
    // The moment of a pass: the local wall clock read once, as seconds, and whether
    // it lies past the start of its second.
    struct PassMoment {
        qint64 seconds = 0;
        bool pastTheSecond = false;
    };
    void CheckReminder(const outlook::TaskItemPtr& task, const PassMoment& now, int& added);
    // The EntryIDs of the tasks whose follow-up ("FollowUpTask") is open in a window.
    std::set<QString> OpenFollowUps();
    // Shows a task's failure in the poll, once per task while the add-in runs.
    void ReportPollError(const outlook::TaskItemPtr& task, const std::exception& error);
    // A change of the add-in's settings: once a message window has shown the tip of
    // "Remind me", the tip follows the settings at once, in every message window.
    void SettingsChanged(const platform::RegistryHive& hive, const QString& keyPath);

    RibbonButton* btnRemindMe_ = nullptr;
    RibbonButton* btnCustom_ = nullptr;
    RibbonButton* btnDefaultSettings_ = nullptr;
    RibbonButton* btnEditTemplate_ = nullptr;
    RibbonButton* btnPreferences_ = nullptr;
    // The subscription to the send event that runs its two steps, from start-up to
    // shutdown.
    outlook::Connection itemSendHook_;
    // SettingsChanged's subscription, while the settings store lives; whether a
    // message window has asked for the tip of "Remind me"; whether the tip is being
    // computed (its reading of the settings may create a missing key).
    platform::HiveChangeSubscription settingsWatch_;
    bool remindMeTipAsked_ = false;
    bool updatingRemindMeTip_ = false;

    // The tasks whose failure in the poll has been shown.
    std::set<QString> reportedPollErrors_;
    // The EntryIDs of tracking tasks made for messages that did not go, which the
    // mailbox refused to delete: they remind of nothing and are deleted at a later tick.
    std::set<QString> unsentTasks_;
    bool sendsReconciled_ = false;
    // The tasks whose follow-up is open, as the pass that runs found them.
    std::set<QString> openFollowUps_;
    // Whether this start's catch-up of replies has run, and from which moment (UTC
    // seconds) it takes messages.
    bool repliesCaughtUp_ = false;
    std::optional<qint64> catchUpFrom_;
    bool versionRead_ = false;  // Application.Version answered a version text
    bool released_ = false;
    bool finalized_ = false;
    // The windows made for one showing, while they are shown: they close at shutdown
    // with the long-lived forms.
    QPointer<TWizardWindow> wizard_;
    QPointer<TSettings> preferences_;
};

// The module instance, from initialisation to finalisation; null outside.
extern TAddInModule* AddInModule;

// OutlookMajorVersion from the mail client's Version text: the integer before its
// first "."; throws when there is none.
int MajorVersionFromText(const QString& version);

}  // namespace vantorel
