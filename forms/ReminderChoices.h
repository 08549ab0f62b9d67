#pragma once

// What the reminder and option controls of the send dialogs hold, and everything
// done with it that needs no window: the item lists, the canonical wording of typed
// phrases, the checks before sending, the task options and the stored settings.

#include "reminders/ReminderUnit.h"
#include "settings/AddInRegistry.h"

#include <QPoint>
#include <QSize>
#include <QStringList>

namespace vantorel {

struct TReminderChoices {
    bool bRemindMe = true;         // rdbRemindMe checked; else rdbTask
    QString sRemindMe;             // comRemindMe: the reminder's period
    QString sRemindMeTime;         // comRemindMeTime: the reminder's time of day
    QString sTask;                 // comTask: the period to a task without reminder
    bool bCompleted = false;       // chkCompleted
    bool bDelete = false;          // chkDelete
    bool bDuration = false;        // chkDuration
    QString sDuration;             // comDuration
    int nPriority = 1;             // comPriority's index; -1 for a typed text that is no entry
    bool bMoveOffWeekend = false;  // chkMoveOffWeekend
};

// The item lists of the combo boxes.
QStringList PeriodListItems();    // comRemindMe, comTask
QStringList TimeListItems();      // comRemindMeTime
QStringList DurationListItems();  // comDuration
QStringList PriorityListItems();  // comPriority: index = importance

// The choices as stored: the "Task" settings with DefaultSettings, else "Custom".
TReminderChoices LoadReminderChoices(TAddInRegistry& registry, bool DefaultSettings);

// Leaving a box: a valid phrase takes its canonical wording, anything else stays.
QString CanonicalStartText(const QString& sText);     // comRemindMe, comTask
QString CanonicalDurationText(const QString& sText);  // comDuration (no keywords)
QString CanonicalTimeText(const QString& sText);      // comRemindMeTime

// What the checks before sending found.
enum class TChoiceProblem { None, Period, Time, Duration };

struct TChoiceCheck {
    TChoiceProblem problem = TChoiceProblem::None;
    QString sMessage;                    // the warning for the problem
    qint32 nDays = 0;                    // days from now to the start
    tools::TDateTime dReminderTime = 0;  // the reminder moment; task mode: now
};

// The start period (comRemindMe in remind mode, else comTask) must give a day count,
// moved off the weekend with bMoveOffWeekend; in remind mode the time must read as a
// time.
TChoiceCheck CheckStartChoices(const TReminderChoices& choices);

// With chkDuration ticked, the duration must give a day count; a keyword such as
// "tomorrow" counts. Returns the warning, or an empty text.
QString CheckDurationChoice(const TReminderChoices& choices);

// The options of the task for a custom send, from the checked choices.
TReminderData CustomReminderData(const TReminderChoices& choices, const TChoiceCheck& check,
                                 TAddInRegistry& registry);

// Remembers the choices as the custom settings. A text that does not parse is not
// written; the stored value stays.
void StoreCustomChoices(const TReminderChoices& choices, bool bShowOptions,
                        TAddInRegistry& registry);

// Remembers the choices as the default settings; with bResetCustom each value goes
// into the custom set as well. A text that does not parse is written to neither set.
// Throws SettingsSaveError when a value could not be written.
void StoreDefaultChoices(const TReminderChoices& choices, bool bResetCustom,
                         TAddInRegistry& registry);

// The messages of the custom send dialog.
QString PeriodInvalidMessage(const QString& sText);
QString TimeInvalidMessage(const QString& sText);
QString DurationInvalidMessage(const QString& sText);
extern const QString kCreationErrorMessage;
extern const QString kMessageNotAssignedMessage;

// Where a window of SIZE opens at the mouse cursor so that it stays inside the work
// area (whose extents count from 0).
QPoint PlaceAtCursor(QPoint cursor, QSize size, QSize workArea);

// The outer height of the send dialog with its options hidden.
int HiddenOptionsHeight(int nStartHeight);

}  // namespace vantorel
