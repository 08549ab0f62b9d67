#pragma once

// The add-in's date-time: a double counting days since 1899-12-30 00:00 on the local
// wall clock, the time of day as its fraction. This file holds every conversion
// between it, QDateTime (local), and the text encodings stored in tracking
// properties (local Unix seconds, Boolean text).

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantorel::tools {

using TDateTime = double;

// The mail client's "no date" (4501-01-01), as its task fields report an unset date.
inline constexpr TDateTime kNoDate = 949998.0;

// The local moment at that wall-clock date and time. A time that the clocks skip
// (inside a daylight-saving gap) reads as the first moment after the gap, so the
// result is valid for every valid date and time.
QDateTime localDateTime(QDate date, QTime time);

// Whether a date field of the mail client can hold the moment: from kNoDate on, a
// field reads as having no date.
inline bool fitsMailDate(TDateTime value) {
    return value < kNoDate;
}

// Local wall-clock QDateTime <-> TDateTime, to the millisecond. Both are total: a
// wall-clock time inside a daylight-saving gap reads as the first moment after it.
TDateTime toDateTime(const QDateTime& local);
QDateTime fromDateTime(TDateTime value);
TDateTime dateOf(TDateTime value);  // midnight of that day
TDateTime timeOf(TDateTime value);  // the fraction: time of day

// The moment's date, and its time of day, in the user's short formats (regional
// settings).
QString shortDateText(const QDateTime& moment);
QString shortTimeText(const QDateTime& moment);

// Whole seconds from 1970-01-01 00:00:00 to the moment, both on the local wall
// clock with no time-zone conversion (truncated toward zero).
// Total: a value beyond any date counts from the farthest day both ways can hold (NaN
// as 0), a count of seconds beyond any date gives a value as far out.
qint64 toLocalUnixSeconds(TDateTime value);
TDateTime fromLocalUnixSeconds(qint64 seconds);
// The moment of a count of local Unix seconds when a date of the mail client can hold
// it (from 0001-01-01 00:00:00 on, before kNoDate); none for any other count.
std::optional<TDateTime> mailDateOfLocalUnixSeconds(qint64 seconds);
QString localUnixSecondsText(TDateTime value);
// Reads a decimal count as a 64-bit number; no value for text that is not one.
std::optional<qint64> parseLocalUnixSeconds(const QString& text);

// Boolean text: "-1" for true, "0" for false. Readers take a number as true when it is
// not zero, in every decimal form ("1", "-1", "1.5", "1e3"; "0.0" is false), and
// "True"/"False" in any letter case; anything else: no value.
QString boolText(bool value);
std::optional<bool> parseBoolText(const QString& text);

}  // namespace vantorel::tools
