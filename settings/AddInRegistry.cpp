#include "settings/AddInRegistry.h"

#include "platform/Hives.h"
#include "settings/RegistryNames.h"
#include "tools/DateTime.h"
#include "tools/Globals.h"
#include "tools/UtcMoment.h"

#include <utility>

namespace vantorel {

TAddInRegistry* AddInRegistry = nullptr;

const QString SignatureText = QStringLiteral(
    "P.S.: Be aware of your unanswered messages; Use Vantorel! For more information, go to "
    "https://www.ostrelin.example/vantorel.");

const QString DefaultReplyTemplate =
    QStringLiteral(
        "Dear &[NAME],\r\n"
        "\r\n"
        "I'm still waiting for a reply of the e-mail that I have sent to you on "
        "&[DATE].\r\n"
        "\r\n"
        "Please reply.\r\n"
        "\r\n") +
    SignatureText;

namespace {

// Built-in defaults, shared by both task sets.
const bool kDefRemindMe = true;
const QString kDefRemindMeStart = QStringLiteral("d1");
const QString kDefRemindMeTime = QStringLiteral("NOW");
const QString kDefCreateOnlyStart = QStringLiteral("d0");
const bool kDefSetDuration = false;
const QString kDefDuration = QStringLiteral("d1");
const bool kDefDeleteOnReply = true;
const bool kDefMarkAsCompletedOnReply = true;
const int kDefPriority = 1;
const bool kDefMoveOffWeekend = false;

const QString& taskSection(bool defaultSettings) {
    return defaultSettings ? reg::kSectionTask : reg::kSectionCustom;
}

const QString& pick(bool defaultSettings, const QString& taskName, const QString& customName) {
    return defaultSettings ? taskName : customName;
}

}  // namespace

TAddInRegistry::TAddInRegistry()
    : TAddInRegistry(platform::currentUserHive(), platform::localMachineHive()) {}

TAddInRegistry::TAddInRegistry(platform::RegistryHive& currentUser,
                               platform::RegistryHive& localMachine)
    : machine_(localMachine), reg(std::make_unique<platform::RegistryKey>(currentUser)) {}

// --- reading and writing one value ---------------------------------------------------

bool TAddInRegistry::openSection(const QString& section, bool canCreate) {
    return reg->openKey(reg::kRootKey + section, canCreate);
}

bool TAddInRegistry::readBool(const QString& section, const QString& name, bool def,
                              bool createSection) {
    try {
        if (!openSection(section, createSection) ||
            reg->dataType(name) != platform::RegType::DWord) {
            return def;
        }
        return reg->readBool(name);
    } catch (const std::exception&) {
        return def;
    }
}

int TAddInRegistry::readInteger(const QString& section, const QString& name, int def) {
    try {
        if (!openSection(section, false) || reg->dataType(name) != platform::RegType::DWord) {
            return def;
        }
        return reg->readInteger(name);
    } catch (const std::exception&) {
        return def;
    }
}

QString TAddInRegistry::readText(const QString& section, const QString& name, const QString& def) {
    try {
        if (!openSection(section, false)) {
            return def;
        }
        const platform::RegType type = reg->dataType(name);
        if (type != platform::RegType::Sz && type != platform::RegType::ExpandSz) {
            return def;
        }
        return reg->readString(name);
    } catch (const std::exception&) {
        return def;
    }
}

void TAddInRegistry::writeBool(const QString& section, const QString& name, bool value) {
    writeInteger(section, name, value ? 1 : 0);
}

void TAddInRegistry::writeInteger(const QString& section, const QString& name, int value) {
    writeValue(section, [&] { reg->writeInteger(name, value); });
}

void TAddInRegistry::writeText(const QString& section, const QString& name, const QString& value) {
    writeValue(section, [&] { reg->writeString(name, value); });
}

void TAddInRegistry::writeValue(const QString& section, const std::function<void()>& write) {
    QString failure;
    try {
        reg->openOrCreateKey(reg::kRootKey + section);
        write();
        return;
    } catch (const platform::RegistryError& e) {
        failure =
            e.where().isEmpty()
                ? QStringLiteral("Cannot save the settings: %1.").arg(QString::fromUtf8(e.what()))
                : QStringLiteral("Cannot save the settings to %1: %2.").arg(e.where(), e.why());
    } catch (const std::exception& e) {
        failure = QStringLiteral("Cannot save the settings: %1.").arg(QString::fromUtf8(e.what()));
    }
    // A setting that cannot be written keeps its old value.
    if (checkedSave_) {
        throw SettingsSaveError(failure);
    }
}

void TAddInRegistry::SaveChecked(const std::function<void()>& save) {
    const bool outer = std::exchange(checkedSave_, true);
    try {
        save();
    } catch (...) {
        checkedSave_ = outer;
        throw;
    }
    checkedSave_ = outer;
}

// --- task options ----------------------------------------------------------------------

bool TAddInRegistry::GetTaskRemindMe(bool DefaultSettings) {
    return readBool(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kRemindMe, reg::kCustomRemindMe), kDefRemindMe);
}

QString TAddInRegistry::GetTaskRemindMeStart(bool DefaultSettings) {
    return readText(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kRemindMeStart, reg::kCustomRemindMeStart),
                    kDefRemindMeStart);
}

QString TAddInRegistry::GetTaskRemindMeTime(bool DefaultSettings) {
    return readText(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kRemindMeTime, reg::kCustomRemindMeTime),
                    kDefRemindMeTime);
}

QString TAddInRegistry::GetTaskCreateOnlyStart(bool DefaultSettings) {
    return readText(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kCreateOnlyStart, reg::kCustomCreateOnlyStart),
                    kDefCreateOnlyStart);
}

bool TAddInRegistry::GetTaskMoveOffWeekend(bool DefaultSettings) {
    return readBool(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kMoveOffWeekend, reg::kCustomMoveOffWeekend),
                    kDefMoveOffWeekend);
}

bool TAddInRegistry::GetTaskSetDuration(bool DefaultSettings) {
    return readBool(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kSetDuration, reg::kCustomSetDuration),
                    kDefSetDuration);
}

QString TAddInRegistry::GetTaskDuration(bool DefaultSettings) {
    // A value of another type falls back like every other setting: raising here
    // would break every send made with the default options.
    return readText(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kDuration, reg::kCustomDuration), kDefDuration);
}

bool TAddInRegistry::GetTaskDeleteOnReply(bool DefaultSettings) {
    return readBool(taskSection(DefaultSettings),
                    pick(DefaultSettings, reg::kDeleteOnReply, reg::kCustomDeleteOnReply),
                    kDefDeleteOnReply);
}

bool TAddInRegistry::GetTaskMarkAsCompletedOnReply(bool DefaultSettings) {
    return readBool(
        taskSection(DefaultSettings),
        pick(DefaultSettings, reg::kMarkAsCompletedOnReply, reg::kCustomMarkAsCompletedOnReply),
        kDefMarkAsCompletedOnReply);
}

int TAddInRegistry::GetTaskPriority(bool DefaultSettings) {
    return readInteger(taskSection(DefaultSettings),
                       pick(DefaultSettings, reg::kPriority, reg::kCustomPriority), kDefPriority);
}

void TAddInRegistry::SetTaskRemindMe(bool bActivateReminder, bool bResetCustom) {
    writeBool(reg::kSectionTask, reg::kRemindMe, bActivateReminder);
    if (bResetCustom) {
        SetCustomTaskRemindMe(bActivateReminder);
    }
}

void TAddInRegistry::SetTaskRemindMeStart(const QString& sRepresentation, bool bResetCustom) {
    writeText(reg::kSectionTask, reg::kRemindMeStart, sRepresentation);
    if (bResetCustom) {
        SetCustomTaskRemindMeStart(sRepresentation);
    }
}

void TAddInRegistry::SetTaskRemindMeTime(const QString& sRepresentation, bool bResetCustom) {
    writeText(reg::kSectionTask, reg::kRemindMeTime, sRepresentation);
    if (bResetCustom) {
        SetCustomTaskRemindMeTime(sRepresentation);
    }
}

void TAddInRegistry::SetTaskCreateOnlyStart(const QString& sRepresentation, bool bResetCustom) {
    writeText(reg::kSectionTask, reg::kCreateOnlyStart, sRepresentation);
    if (bResetCustom) {
        SetCustomTaskCreateOnlyStart(sRepresentation);
    }
}

void TAddInRegistry::SetTaskSetDuration(bool bSetDuration, bool bResetCustom) {
    writeBool(reg::kSectionTask, reg::kSetDuration, bSetDuration);
    if (bResetCustom) {
        SetCustomTaskSetDuration(bSetDuration);
    }
}

void TAddInRegistry::SetTaskDuration(const QString& sDuration, bool bResetCustom) {
    writeText(reg::kSectionTask, reg::kDuration, sDuration);
    if (bResetCustom) {
        SetCustomTaskDuration(sDuration);
    }
}

void TAddInRegistry::SetTaskDeleteOnReply(bool bDeleteOnReply, bool bResetCustom) {
    writeBool(reg::kSectionTask, reg::kDeleteOnReply, bDeleteOnReply);
    if (bResetCustom) {
        SetCustomTaskDeleteOnReply(bDeleteOnReply);
    }
}

void TAddInRegistry::SetTaskMarkAsCompletedOnReply(bool bMarkAsCompletedOnReply,
                                                   bool bResetCustom) {
    writeBool(reg::kSectionTask, reg::kMarkAsCompletedOnReply, bMarkAsCompletedOnReply);
    if (bResetCustom) {
        SetCustomTaskMarkAsCompletedOnReply(bMarkAsCompletedOnReply);
    }
}

void TAddInRegistry::SetTaskPriority(int nPriority, bool bResetCustom) {
    writeInteger(reg::kSectionTask, reg::kPriority, nPriority);
    if (bResetCustom) {
        SetCustomTaskPriority(nPriority);
    }
}

void TAddInRegistry::SetTaskMoveOffWeekend(bool bMoveOffWeekend, bool bResetCustom) {
    writeBool(reg::kSectionTask, reg::kMoveOffWeekend, bMoveOffWeekend);
    if (bResetCustom) {
        SetCustomTaskMoveOffWeekend(bMoveOffWeekend);
    }
}

void TAddInRegistry::SetCustomTaskRemindMe(bool bActivateReminder) {
    writeBool(reg::kSectionCustom, reg::kCustomRemindMe, bActivateReminder);
}

void TAddInRegistry::SetCustomTaskRemindMeStart(const QString& sRepresentation) {
    writeText(reg::kSectionCustom, reg::kCustomRemindMeStart, sRepresentation);
}

void TAddInRegistry::SetCustomTaskRemindMeTime(const QString& sRepresentation) {
    writeText(reg::kSectionCustom, reg::kCustomRemindMeTime, sRepresentation);
}

void TAddInRegistry::SetCustomTaskCreateOnlyStart(const QString& sRepresentation) {
    writeText(reg::kSectionCustom, reg::kCustomCreateOnlyStart, sRepresentation);
}

void TAddInRegistry::SetCustomTaskSetDuration(bool bSetDuration) {
    writeBool(reg::kSectionCustom, reg::kCustomSetDuration, bSetDuration);
}

void TAddInRegistry::SetCustomTaskDuration(const QString& sDuration) {
    writeText(reg::kSectionCustom, reg::kCustomDuration, sDuration);
}

void TAddInRegistry::SetCustomTaskDeleteOnReply(bool bDeleteOnReply) {
    writeBool(reg::kSectionCustom, reg::kCustomDeleteOnReply, bDeleteOnReply);
}

void TAddInRegistry::SetCustomTaskMarkAsCompletedOnReply(bool bMarkAsCompletedOnReply) {
    writeBool(reg::kSectionCustom, reg::kCustomMarkAsCompletedOnReply, bMarkAsCompletedOnReply);
}

void TAddInRegistry::SetCustomTaskPriority(int nPriority) {
    writeInteger(reg::kSectionCustom, reg::kCustomPriority, nPriority);
}

void TAddInRegistry::SetCustomTaskMoveOffWeekend(bool bMoveOffWeekend) {
    writeBool(reg::kSectionCustom, reg::kCustomMoveOffWeekend, bMoveOffWeekend);
}

bool TAddInRegistry::GetTaskShowAdvanced() {
    return readBool(reg::kSectionCustom, reg::kCustomShowAdvanced, false);
}

void TAddInRegistry::SetTaskShowAdvanced(bool bShowAdvanced) {
    writeBool(reg::kSectionCustom, reg::kCustomShowAdvanced, bShowAdvanced);
}

// --- task subjects -----------------------------------------------------------------------

bool TAddInRegistry::GetIncludeSpecificTextInSubject(QString& Header) {
    Header =
        readText(reg::kSectionAdvanced, reg::kSpecificTextInSubject, QStringLiteral("[Vantorel]"));
    return readBool(reg::kSectionAdvanced, reg::kUseSpecificTextInSubject, true);
}

void TAddInRegistry::SetIncludeSpecificTextInSubject(bool bIsAddText, const QString& sText) {
    writeBool(reg::kSectionAdvanced, reg::kUseSpecificTextInSubject, bIsAddText);
    writeText(reg::kSectionAdvanced, reg::kSpecificTextInSubject, sText);
}

bool TAddInRegistry::GetIncludeNameInSubject() {
    return readBool(reg::kSectionAdvanced, reg::kIncludeNameInSubject, true);
}

void TAddInRegistry::SetIncludeNameInSubject(bool bIncludeNameInSubject) {
    writeBool(reg::kSectionAdvanced, reg::kIncludeNameInSubject, bIncludeNameInSubject);
}

bool TAddInRegistry::GetIncludeEMailInSubject() {
    return readBool(reg::kSectionAdvanced, reg::kIncludeEMailInSubject, true);
}

void TAddInRegistry::SetIncludeEMailInSubject(bool bIncludeEMailInSubject) {
    writeBool(reg::kSectionAdvanced, reg::kIncludeEMailInSubject, bIncludeEMailInSubject);
}

bool TAddInRegistry::GetIncludeDateInSubject() {
    return readBool(reg::kSectionAdvanced, reg::kIncludeDateInSubject, true);
}

void TAddInRegistry::SetIncludeDateInSubject(bool bIncludeDateInSubject) {
    writeBool(reg::kSectionAdvanced, reg::kIncludeDateInSubject, bIncludeDateInSubject);
}

bool TAddInRegistry::GetIncludeTimeInSubject() {
    return readBool(reg::kSectionAdvanced, reg::kIncludeTimeInSubject, false);
}

void TAddInRegistry::SetIncludeTimeInSubject(bool bIncludeTimeInSubject) {
    writeBool(reg::kSectionAdvanced, reg::kIncludeTimeInSubject, bIncludeTimeInSubject);
}

QString TAddInRegistry::GetRemindersCategory() {
    return readText(reg::kSectionAdvanced, reg::kReminderCategory, QStringLiteral("Vantorel"));
}

void TAddInRegistry::SetRemindersCategory(const QString& sReminderCategory) {
    const bool none = sReminderCategory.toUpper() == QLatin1String("(NONE)");
    writeText(reg::kSectionAdvanced, reg::kReminderCategory, none ? QString() : sReminderCategory);
}

int TAddInRegistry::GetMaxReminderBodyLen() {
    return readInteger(reg::kSectionGeneral, reg::kReminderBodyMaxLength, 2500);
}

// --- the follow-up template -------------------------------------------------------------

bool TAddInRegistry::GetUseReplyTemplate() {
    return readBool(reg::kSectionGeneral, reg::kUseReplyTemplate, true);
}

QString TAddInRegistry::GetReplyTemplate() {
    const QString stored = readText(reg::kSectionGeneral, reg::kReplyTemplate, QString());
    if (stored.isEmpty() && GetUseReplyTemplate()) {
        SetReplyTemplate(true, DefaultReplyTemplate);
        return DefaultReplyTemplate;
    }
    return stored;
}

void TAddInRegistry::SetReplyTemplate(bool bUseTemplate, const QString& sReplyTemplate) {
    writeText(reg::kSectionGeneral, reg::kReplyTemplate, sReplyTemplate);
    writeBool(reg::kSectionGeneral, reg::kUseReplyTemplate,
              !sReplyTemplate.isEmpty() && bUseTemplate);
}

// --- start-up and dialogs ---------------------------------------------------------------

bool TAddInRegistry::GetStartWizard() {
    return readBool(reg::kSectionGeneral, reg::kStartWizardOnStartup, true);
}

void TAddInRegistry::SetStartWizard(bool bStartWizardOnStartup) {
    writeBool(reg::kSectionGeneral, reg::kStartWizardOnStartup, bStartWizardOnStartup);
}

std::optional<qint64> TAddInRegistry::GetInboxWatchedUntil() {
    return tools::parseLocalUnixSeconds(
        readText(reg::kSectionGeneral, reg::kInboxWatchedUntil, QString()));
}

std::optional<qint64> TAddInRegistry::GetCatchUpRepliesFrom() {
    return tools::parseUtcSeconds(
        readText(reg::kSectionGeneral, reg::kCatchUpRepliesFrom, QString()));
}

void TAddInRegistry::SetCatchUpRepliesFrom(qint64 nUtcSeconds) {
    writeText(reg::kSectionGeneral, reg::kCatchUpRepliesFrom, tools::utcSecondsText(nUtcSeconds));
}

bool TAddInRegistry::GetShowDialogTemplate() {
    return readBool(reg::kSectionDialogs, reg::kShowTemplate, true, /*createSection=*/true);
}

void TAddInRegistry::SetShowDialogTemplate(bool bShow) {
    writeBool(reg::kSectionDialogs, reg::kShowTemplate, bShow);
}

bool TAddInRegistry::IsVerbose() {
    return readBool(reg::kSectionVerbose, reg::kIsVerbose, false);
}

// --- the installed mail client -----------------------------------------------------------

QString TAddInRegistry::GetOutlookPath() {
    try {
        platform::RegistryKey machine(machine_, /*readOnly=*/true);
        if (!machine.openKey(reg::kOutlookAppPathKey, false)) {
            return {};
        }
        const platform::RegType type = machine.dataType(reg::kOutlookAppPathValue);
        if (type != platform::RegType::Sz && type != platform::RegType::ExpandSz) {
            return {};
        }
        const QString path = machine.readString(reg::kOutlookAppPathValue);
        // The folder up to and including its last separator; Windows writes "\",
        // a program folder registered on Linux may use "/".
        const qsizetype cut =
            std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
        return path.left(cut + 1);
    } catch (const std::exception&) {
        return {};
    }
}

QStringList TAddInRegistry::GetMasterCategories() {
    QStringList names;
    if (!OutlookApp) {
        return names;
    }
    try {
        const outlook::CategoriesPtr categories = OutlookApp->Session()->Categories();
        const int count = categories->Count();
        for (int i = 1; i <= count; ++i) {
            names << categories->Item(i)->Name();
        }
    } catch (const std::exception&) {
        // The names gathered so far are the answer.
    }
    return names;
}

}  // namespace vantorel
