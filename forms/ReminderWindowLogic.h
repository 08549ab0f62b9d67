#pragma once

// What the reminders window shows and decides without a window: the texts of an
// entry, of the caption and of the selection labels, the snooze lengths a person
// types, and the walk over the selected entries that Dismiss, Snooze and Re-send
// share.

#include "outlook/Outlook.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace vantorel {

// What the window keeps of one listed tracking task: EntryIDs only, no item.
struct TListItemData {
    QString TaskID;           // the task's EntryID
    QString MailID;           // the task's "Mail" value when it was listed; empty without one
    bool bAutoReply = false;  // an automatic reply to the message has arrived
};

// The local Unix seconds of now.
qint64 NowLocalUnixSeconds();

// N / D rounded to the nearest whole number, halves to the even neighbour.
qint64 RoundedQuotient(qint64 n, qint64 d);

// A length in minutes in words: "Now" for 0 or less, else the largest unit that fits
// ("59 minutes", "1 hour", "1 day", "2 weeks"), the count cut off. Empty above
// 2147483647 or below -32767.
QString MinutesToPhrase(qint64 a);

// "Due in" for a reminder moment (local Unix seconds) seen at NOW: "Now", "1 minute",
// "1 hour overdue"; the minutes rounded, halves to the even neighbour.
QString DueInText(qint64 nReminderSeconds, qint64 nNow);

// "Due in" of a tracking task, from its "ReminderTime" (0 when it has none) and the
// clock. Throws when "ReminderTime" holds no integer.
QString DueInText(outlook::TaskItem& task);

// A typed snooze length in minutes ("5 minutes", "1.5 h", "2 d", a bare "10"), or -1
// when the text gives none between 1 and 2147483647 minutes. The number takes the
// user's decimal separator; only the first letter after it counts as the unit
// (m, h, d, w; any other: minutes). On success sText becomes the canonical wording.
qint32 ParseSnoozeText(QString& sText);

// The canonical wording of a snooze length: the largest unit it fills exactly, or
// "0.5 days" for 720 minutes. "Now" for 0 or less; empty out of range as above.
QString SnoozeMinutesToText(qint64 a);

// The snooze list's entry that snoozes until the next working day, and whether a text
// names it (in any letter case, blanks around it aside).
extern const QString kNextWorkingDaySnooze;  // "Next working day"
bool IsNextWorkingDaySnooze(const QString& sText);

// The moment "Next working day" snoozes until, in local Unix seconds: the first working
// day after the day of nNow, at the time of day of the stored reminder time sRemindMeTime
// ("hh:nn"; "NOW" or a text that is no time: the time of day of nNow).
qint64 NextWorkingDaySeconds(qint64 nNow, const QString& sRemindMeTime);

// The warning for a snooze text that gives no length.
QString SnoozeInvalidMessage(const QString& sText);

// The error messages of the window's actions.
extern const QString kItemNotFoundMessage;     // Re-send: the task is gone
extern const QString kMessageNotFoundMessage;  // Open e-mail: the message is gone

// The "Sent to" cell: the names of the recipient list text, ", on ", and the short
// date of the moment of sending (local Unix seconds); what is missing stays empty.
// Throws std::invalid_argument for a moment no date of the mail client can hold.
QString SentToText(const std::optional<QString>& sRecipients,
                   const std::optional<qint64>& nFirstSent);

// The "Sent to" cell of a tracking task, from "Recipients" and "FirstSent". Throws
// when "FirstSent" holds no integer, or one no date of the mail client can hold.
QString SentToText(outlook::TaskItem& task);

// The window caption for COUNT entries: "1 Vantorel", "3 Vantorels"; empty for none
// (the window is hidden then).
QString ReminderCaption(int count);

// What the labels above the list show for the selection.
struct TSelectionView {
    bool bActionsEnabled = false;  // the action buttons and the snooze box
    bool bPictureVisible = false;  // PictureTask
    QString sSubject;              // lblSubject
    QString sSentTo;               // lblSentTo
};

// K entries selected; with exactly one, its subject and "Sent to" cell, and whether an
// automatic reply to its message arrived (", automatic reply received" follows then).
TSelectionView SelectionView(int k, const QString& sSubject = {}, const QString& sSentToCell = {},
                             bool bAutoReply = false);

// The widths of the list's columns "Subject", "Sent to" and "Due in" in a list
// NVIEWPORT wide, given the width each needs for its heading (aHeading) and for its
// longest text (aText): the three always fit side by side, each at least as wide as its
// heading while the list allows. "Due in" gets what it needs, up to a third of the
// list; "Subject" and "Sent to" share the rest: both get what they need when it fits,
// else the one that needs less keeps it (up to half the rest) and the other takes
// what is left, shortening its texts.
std::array<int, 3> FitReminderColumns(int nViewport, const std::array<int, 3>& aHeading,
                                      const std::array<int, 3>& aText);

// What becomes of a selected entry once it has been handled.
enum class TEntryOutcome {
    Remove,  // the entry goes; the next one moves into its position
    Keep,    // the entry stays; the walk goes on after it
    Stop,    // the entry stays and the walk ends here, selecting nothing afterwards
};

// The walk over the selected entries, from the first position.
struct TEntryWalk {
    std::function<int()> count;
    std::function<bool(int)> isSelected;       // by position from 0
    std::function<TEntryOutcome(int)> handle;  // handles the selected entry there
    std::function<void(int)> remove;           // removes the entry there
};

struct TWalkResult {
    int nLastRemoved = -1;  // the position of the last removed entry; -1: none
    bool bStopped = false;  // a handler ended the walk
};

TWalkResult WalkSelectedEntries(const TEntryWalk& walk);

// The position to select after removals at INDEX, COUNT entries being left; -1 for
// none (an empty list, or nothing removed).
int SelectAfterRemovalIndex(int index, int count);

// TEXT in double quotes for the scripted host, with \r \n \t \" and \\ escaped.
QString ScriptQuoted(const QString& text);

}  // namespace vantorel
