#pragma once

// The phrases in which the user picks or types when a reminder falls due, when a task
// starts and how long it runs ("tomorrow", "in 2 weeks", "on next Friday", "1 month",
// "the same hour", "17:30"), their stored forms, and what they amount to.
//
// Period representation: a lower-case letter and a decimal number without sign:
//   "d" + n  n days after the base date ("d0": the base date itself);
//   "m" + n  n calendar months after the base date;
//   "o" + n  the next day on weekday n (1 Monday ... 7 Sunday), one to seven days ahead;
//   "b" + n  n working days after the base date, counted from the day after it and
//            skipping the weekend of the user's regional settings ("b0": the base date).
// Weeks are stored as days ("d14"), years as months ("m12").
//
// Time representation: "NOW" (the time of day when the reminder is computed) or
// "hh:nn": the hour 00-23, the user's time separator, the minute.
//
// None of these functions throws; failures come back through the result.

#include "tools/DateTime.h"

#include <QString>
#include <QtGlobal>

namespace vantorel {

// Phrase styles of FormatPeriodPhrase.
inline constexpr qint32 kPhraseStyleStart = 0;     // "in 2 days": a start or reminder day
inline constexpr qint32 kPhraseStyleAfter = 1;     // "after 2 days": after an earlier event
inline constexpr qint32 kPhraseStyleDuration = 2;  // "2 days": a duration (any other value too)

// Reads a typed period. With AllowKeywords (start and reminder periods) the words
// "today", "same 1", "same 2", the weekday names, "tomorrow" and "following" are tried
// first, in that order, anywhere in the text; otherwise, and when none occurs, the
// first number in the text with the unit words "working day", "business day" or
// "workday" (working days), or "week", "day", "month" or "year" (or a bare number, as
// days). Letter case and surrounding blanks do not matter.
// Returns false, with sPeriod empty, for text that is no period, for a count with a
// sign ("-5 days", "+ 2 weeks"), and for a count
// that does not fit the representation's 32-bit number (also after weeks become days
// and years months).
bool ParsePeriodPhrase(bool AllowKeywords, const QString& sPhrase, QString& sPeriod);

// The canonical phrase of a period representation in the given style: "today",
// "tomorrow", "in 3 weeks", "after 18 months", "on next Friday", "1 year", "in 3
// working days", "1 working day". Empty for
// an empty representation or one whose number does not fit in 32 bits.
QString FormatPeriodPhrase(const QString& sPeriod, qint32 PhraseStyle);

// The whole number of days from the base date to the end of the period: n for "d",
// the lengths of n calendar months from the base date's month on for "m", one to
// seven for "o", the calendar days up to the n-th working day for "b". The base date's
// time of day does not matter. Returns false, with nDays 0, for an empty
// representation, for a month, weekday or working-day period of a base date outside
// the years 1 to 9999 (or one that ends beyond them), and for a count of days beyond
// 32 bits.
bool PeriodToDays(const QString& sPeriod, tools::TDateTime dBase, qint32& nDays);

// Whether the day of the moment is a working day in the user's regional settings.
bool IsWorkingDay(tools::TDateTime dDay);

// nDays moved off the weekend: the days from dBase to the first working day on or
// after the day nDays after dBase (nDays itself when that day is a working day).
qint32 DaysOffWeekend(tools::TDateTime dBase, qint32 nDays);

// Reads a typed time: any text containing "now" or "same" (in any letter case) is
// "NOW"; otherwise a time of day in the user's regional time settings, written back
// as "hh:nn" with the user's time separator ("9:30" becomes "09:30"). sTime is left
// as it was when the text is no time.
//
// Accepted times of day: hours 0-23, a separator, minutes 0-59 and optionally a
// separator and seconds 0-59, the separator being the user's time separator or ":";
// the same with hours 1-12 and the locale's AM/PM designator (or "AM"/"PM") before or
// after it, where the minutes may be left out ("5 PM"); and whatever the locale reads
// with the user's short time format.
bool ParseTimePhrase(const QString& sPhrase, QString& sTime);

// The phrase of a time representation: "the same hour" for exactly "NOW", any other
// text unchanged.
QString FormatTimePhrase(const QString& sTime);

// Today's date at the time of a time phrase or representation. dDateTime is set to
// the current moment first and stays so for "now"/"same" phrases and, with the result
// false, for text that is no time.
bool TimePhraseToDateTime(const QString& sPhrase, tools::TDateTime& dDateTime);

}  // namespace vantorel
