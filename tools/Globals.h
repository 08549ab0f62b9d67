#pragma once

// Process-wide values that the add-in module sets while it starts and every part
// of the add-in reads.

#include "outlook/Outlook.h"

#include <QString>

namespace vantorel {

// The add-in's display name, as the mail client lists it.
inline const QString AddInName = QStringLiteral("Vantorel");

// The mail client's major version (16 for "16.0.0.0"); 0 until initialisation.
extern int OutlookMajorVersion;
// "reminder.wav" in the mail client's program folder (or bare when that is unknown).
extern QString ReminderSoundPath;
// "Vantorel.chm" in the add-in's folder: where every form's help command points.
extern QString HelpFilePath;
// The display scale in percent; 0 until measured.
extern quint16 DisplayScale;
// The mail client's application object, once the add-in has started.
extern outlook::ApplicationPtr OutlookApp;

}  // namespace vantorel
