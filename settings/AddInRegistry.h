#pragma once

// TAddInRegistry: every persistent setting of the add-in, one getter and one setter
// each, in the current user's hive under "\Software\Ostrelin\Vantorel\".
// Getters fall back to the built-in default when a key or value is missing, of the
// wrong type or unreadable; setters do nothing when they cannot write, unless they run
// inside SaveChecked, which then stops and tells why. Nothing is cached: every getter
// reads the hive anew.

#include "platform/RegistryKey.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace vantorel {

// The follow-up template's signature line and the template used until the user
// writes one.
extern const QString SignatureText;
extern const QString DefaultReplyTemplate;

// Settings that a dialog's OK could not save, with a text for the person: "Cannot save
// the settings to FILE: the disk is full."
class SettingsSaveError : public std::runtime_error {
public:
    explicit SettingsSaveError(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}
    QString text() const { return text_; }

private:
    QString text_;
};

class TAddInRegistry {
public:
    // On the process's current-user and machine hives.
    TAddInRegistry();
    TAddInRegistry(platform::RegistryHive& currentUser, platform::RegistryHive& localMachine);

    // The task options: DefaultSettings true reads section "Task", false "Custom".
    bool GetTaskRemindMe(bool DefaultSettings);
    QString GetTaskRemindMeStart(bool DefaultSettings);
    QString GetTaskRemindMeTime(bool DefaultSettings);
    QString GetTaskCreateOnlyStart(bool DefaultSettings);
    bool GetTaskSetDuration(bool DefaultSettings);
    QString GetTaskDuration(bool DefaultSettings);
    bool GetTaskDeleteOnReply(bool DefaultSettings);
    bool GetTaskMarkAsCompletedOnReply(bool DefaultSettings);
    int GetTaskPriority(bool DefaultSettings);
    // A reminder or start day on a weekend moves to the next working day (off when the
    // value is missing, as for every store written before it existed).
    bool GetTaskMoveOffWeekend(bool DefaultSettings);

    // The default set; bResetCustom copies the value into the custom set as well.
    void SetTaskRemindMe(bool bActivateReminder, bool bResetCustom);
    void SetTaskRemindMeStart(const QString& sRepresentation, bool bResetCustom);
    void SetTaskRemindMeTime(const QString& sRepresentation, bool bResetCustom);
    void SetTaskCreateOnlyStart(const QString& sRepresentation, bool bResetCustom);
    void SetTaskSetDuration(bool bSetDuration, bool bResetCustom);
    void SetTaskDuration(const QString& sDuration, bool bResetCustom);
    void SetTaskDeleteOnReply(bool bDeleteOnReply, bool bResetCustom);
    void SetTaskMarkAsCompletedOnReply(bool bMarkAsCompletedOnReply, bool bResetCustom);
    void SetTaskPriority(int nPriority, bool bResetCustom);
    void SetTaskMoveOffWeekend(bool bMoveOffWeekend, bool bResetCustom);

    // The custom set.
    void SetCustomTaskRemindMe(bool bActivateReminder);
    void SetCustomTaskRemindMeStart(const QString& sRepresentation);
    void SetCustomTaskRemindMeTime(const QString& sRepresentation);
    void SetCustomTaskCreateOnlyStart(const QString& sRepresentation);
    void SetCustomTaskSetDuration(bool bSetDuration);
    void SetCustomTaskDuration(const QString& sDuration);
    void SetCustomTaskDeleteOnReply(bool bDeleteOnReply);
    void SetCustomTaskMarkAsCompletedOnReply(bool bMarkAsCompletedOnReply);
    void SetCustomTaskPriority(int nPriority);
    void SetCustomTaskMoveOffWeekend(bool bMoveOffWeekend);
    bool GetTaskShowAdvanced();
    void SetTaskShowAdvanced(bool bShowAdvanced);

    // Task subjects. Header receives the specific text even when it is not in use.
    bool GetIncludeSpecificTextInSubject(QString& Header);
    void SetIncludeSpecificTextInSubject(bool bIsAddText, const QString& sText);
    bool GetIncludeNameInSubject();
    void SetIncludeNameInSubject(bool bIncludeNameInSubject);
    bool GetIncludeEMailInSubject();
    void SetIncludeEMailInSubject(bool bIncludeEMailInSubject);
    bool GetIncludeDateInSubject();
    void SetIncludeDateInSubject(bool bIncludeDateInSubject);
    bool GetIncludeTimeInSubject();
    void SetIncludeTimeInSubject(bool bIncludeTimeInSubject);
    QString GetRemindersCategory();
    // "(NONE)" in any letter case stores empty text: no category.
    void SetRemindersCategory(const QString& sReminderCategory);
    int GetMaxReminderBodyLen();

    // The follow-up template.
    bool GetUseReplyTemplate();
    // The first reader on a fresh profile stores and gets DefaultReplyTemplate.
    QString GetReplyTemplate();
    // An empty template always switches the template off.
    void SetReplyTemplate(bool bUseTemplate, const QString& sReplyTemplate);

    bool GetStartWizard();
    void SetStartWizard(bool bStartWizardOnStartup);
    // The moment (local Unix seconds) up to which an earlier version watched the
    // Inboxes; none when it never ran, or when the value holds no such number. Only
    // read: the replies are now caught up without it.
    std::optional<qint64> GetInboxWatchedUntil();
    // The moment (UTC seconds) after which a message may be a reply not yet seen;
    // none before the first start, or when the value holds no such moment.
    std::optional<qint64> GetCatchUpRepliesFrom();
    void SetCatchUpRepliesFrom(qint64 nUtcSeconds);
    // Reading creates the "Dialogs" key when it is absent.
    bool GetShowDialogTemplate();
    void SetShowDialogTemplate(bool bShow);
    bool IsVerbose();

    // Runs SAVE, the setters of one save (a dialog's OK). The first value that cannot
    // be written ends it with SettingsSaveError: the setters after it do not run, so
    // a value that goes with it (the template's switch with its text) is not written
    // without it.
    void SaveChecked(const std::function<void()>& save);

    // The mail client's program folder, ending in its separator, or empty text.
    QString GetOutlookPath();
    // The names of the mail profile's categories, in the profile's order; as many as
    // could be read when reading fails part-way (possibly none).
    QStringList GetMasterCategories();

private:
    bool readBool(const QString& section, const QString& name, bool def,
                  bool createSection = false);
    int readInteger(const QString& section, const QString& name, int def);
    QString readText(const QString& section, const QString& name, const QString& def);
    void writeBool(const QString& section, const QString& name, bool value);
    void writeInteger(const QString& section, const QString& name, int value);
    void writeText(const QString& section, const QString& name, const QString& value);
    // Opens (or creates) SECTION and runs WRITE; a failure keeps the old value, and
    // inside SaveChecked throws SettingsSaveError.
    void writeValue(const QString& section, const std::function<void()>& write);
    bool openSection(const QString& section, bool canCreate);

    platform::RegistryHive& machine_;
    std::unique_ptr<platform::RegistryKey> reg;
    // Inside SaveChecked: a write that fails throws.
    bool checkedSave_ = false;
};

// The add-in's one settings store, from start-up to shutdown; null outside.
extern TAddInRegistry* AddInRegistry;

}  // namespace vantorel
