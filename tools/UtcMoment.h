#pragma once

// Moments on a scale that daylight saving cannot fold: whole seconds since
// 1970-01-01 00:00:00 UTC. The mail client hands out its dates on the local wall
// clock, where the hour that the clocks go back comes twice; these read such a
// moment in UTC, choosing which of its readings the caller can afford to be wrong
// about.

#include "tools/DateTime.h"

#include <QtGlobal>

#include <optional>

namespace vantorel::tools {

// Which UTC moment a local wall-clock time stands for when it stands for two (the
// repeated hour) or none (the skipped hour, read as the moment the clocks jump).
enum class LocalReading { Earliest, Latest };

// The UTC seconds of local Unix seconds LOCAL (tools/DateTime.h); none outside the
// years 1 to 9999.
std::optional<qint64> utcSecondsOfLocal(qint64 local, LocalReading reading);

// The local Unix seconds of a date-time; none for a value that is no date of the
// years 1 to 9999 (not a number, infinite, or far outside the calendar).
std::optional<qint64> localSecondsOfDate(TDateTime value);

// The UTC seconds of the current moment of the clock.
qint64 nowUtcSeconds();

// Decimal text of UTC seconds, and its reader: none for text that is no whole
// number, or one outside the years 1 to 9999.
QString utcSecondsText(qint64 seconds);
std::optional<qint64> parseUtcSeconds(const QString& text);

}  // namespace vantorel::tools
