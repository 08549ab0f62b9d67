#pragma once

// Registry key and value names of the add-in's settings, exactly as stored.

#include <QString>

namespace vantorel::reg {

inline const QString kRootKey = QStringLiteral("\\Software\\Ostrelin\\Vantorel\\");

inline const QString kSectionGeneral = QStringLiteral("General");
inline const QString kSectionAdvanced = QStringLiteral("Advanced");
inline const QString kSectionTask = QStringLiteral("Task");
inline const QString kSectionCustom = QStringLiteral("Custom");
inline const QString kSectionDialogs = QStringLiteral("Dialogs");
inline const QString kSectionVerbose = QStringLiteral("Verbose");

// "Task": the default set; "Custom": the custom send dialog's last choices.
inline const QString kRemindMe = QStringLiteral("RemindMe");
inline const QString kRemindMeStart = QStringLiteral("RemindMeStart");
inline const QString kRemindMeTime = QStringLiteral("RemindMeTime");
inline const QString kCreateOnlyStart = QStringLiteral("CreateOnlyStart");
inline const QString kSetDuration = QStringLiteral("SetDuration");
inline const QString kDuration = QStringLiteral("Duration");
inline const QString kDeleteOnReply = QStringLiteral("DeleteOnReply");
inline const QString kMarkAsCompletedOnReply = QStringLiteral("MarkAsCompletedOnReply");
inline const QString kPriority = QStringLiteral("Priority");
inline const QString kMoveOffWeekend = QStringLiteral("MoveOffWeekend");

inline const QString kCustomRemindMe = QStringLiteral("TaskRemindMe");
// Letters of "Task" transposed: stored settings depend on this very name.
inline const QString kCustomRemindMeStart = QStringLiteral("TaksRemindMeStart");
inline const QString kCustomRemindMeTime = QStringLiteral("TaskRemindMeTime");
inline const QString kCustomCreateOnlyStart = QStringLiteral("TaskCreateOnlyStart");
inline const QString kCustomSetDuration = QStringLiteral("TaskSetDuration");
inline const QString kCustomDuration = QStringLiteral("TaskDuration");
inline const QString kCustomDeleteOnReply = QStringLiteral("TaskDeleteOnReply");
inline const QString kCustomMarkAsCompletedOnReply = QStringLiteral("TaskMarkAsCompletedOnReply");
inline const QString kCustomPriority = QStringLiteral("TaskPriority");
inline const QString kCustomMoveOffWeekend = QStringLiteral("TaskMoveOffWeekend");
inline const QString kCustomShowAdvanced = QStringLiteral("TaskShowAdvanced");

// "General"
inline const QString kUseReplyTemplate = QStringLiteral("UseReplyTemplate");
inline const QString kReplyTemplate = QStringLiteral("ReplyTemplate");
inline const QString kStartWizardOnStartup = QStringLiteral("StartWizardOnStartup");
inline const QString kReminderBodyMaxLength = QStringLiteral("ReminderBodyMaxLength");
// Written by earlier versions: the moment up to which they watched the Inboxes, local
// Unix seconds as text. Read once, on the first start that keeps the next value.
inline const QString kInboxWatchedUntil = QStringLiteral("InboxWatchedUntil");
// The moment from which replies are caught up, UTC seconds as text: set once, at the
// first start; what came by then was seen by earlier versions or by nobody.
inline const QString kCatchUpRepliesFrom = QStringLiteral("CatchUpRepliesFrom");

// "Advanced"
inline const QString kUseSpecificTextInSubject = QStringLiteral("UseSpecificTextInSubject");
inline const QString kSpecificTextInSubject = QStringLiteral("SpecificTextInSubject");
inline const QString kIncludeNameInSubject = QStringLiteral("IncludeNameInSubject");
inline const QString kIncludeEMailInSubject = QStringLiteral("IncludeEMailInSubject");
inline const QString kIncludeDateInSubject = QStringLiteral("IncludeDateInSubject");
inline const QString kIncludeTimeInSubject = QStringLiteral("IncludeTimeInSubject");
inline const QString kReminderCategory = QStringLiteral("ReminderCategory");

// "Dialogs", "Verbose"
inline const QString kShowTemplate = QStringLiteral("ShowTemplate");
inline const QString kIsVerbose = QStringLiteral("IsVerbose");

// The machine-wide registration of the mail client's program file.
inline const QString kOutlookAppPathKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE");
inline const QString kOutlookAppPathValue = QStringLiteral("Path");

}  // namespace vantorel::reg
