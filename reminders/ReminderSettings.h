#pragma once

// Filling the options of a tracking task from the settings store.

#include "reminders/ReminderUnit.h"
#include "settings/AddInRegistry.h"

namespace vantorel {

// The fields no dialog asks for: the category, the limit of the quoted text and how
// the task's subject is composed.
void FillSharedReminderFields(TReminderData& data, TAddInRegistry& registry);

// The days of a duration representation, counted from DSTART; -1 (no due date) when
// the duration is switched off. A representation that does not convert gives 0.
qint32 DurationDays(bool bSetDuration, const QString& sDuration, tools::TDateTime dStart);

// The task importance for a priority setting or list index: Low, Normal or High
// (0, 1, 2) as they are; anything else, such as the -1 of a typed text that is no
// entry, is Normal: the mail client takes no other importance, and the task must
// not be lost for it.
qint32 ImportanceFromPriority(int nPriority);

// The options for "Remind me": the default settings, counted from now, the start day
// moved off the weekend when the settings say so. Phrases that
// do not convert give what the phrase functions give for them (0 days; the current
// moment as the reminder time).
TReminderData DefaultReminderData(TAddInRegistry& registry);

// The weekday ("Monday") a "Remind me" sent now starts on when the default settings
// move it off the weekend and their period ends on a weekend day; empty otherwise.
QString MovedStartDayName(TAddInRegistry& registry);

}  // namespace vantorel
