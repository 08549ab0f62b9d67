#include "tools/UtcMoment.h"

#include "platform/Clock.h"

#include <QTimeZone>

#include <array>
#include <cmath>

namespace vantorel::tools {

namespace {

// 0001-01-01 00:00:00 and 9999-12-31 23:59:59, as seconds from 1970-01-01.
constexpr qint64 kFirstSecond = -62135596800;
constexpr qint64 kLastSecond = 253402300799;
// The same bounds as date-times (days from 1899-12-30), the last exclusive.
constexpr double kFirstDay = -693593.0;
constexpr double kEndDay = 2958466.0;
constexpr qint64 kDay = 86400;

bool inCalendar(qint64 seconds) {
    return seconds >= kFirstSecond && seconds <= kLastSecond;
}

// The local zone's offset from UTC, in seconds, at UTC moment U.
qint64 offsetAt(qint64 utc) {
    return QDateTime::fromSecsSinceEpoch(utc, Qt::LocalTime).offsetFromUtc();
}

}  // namespace

std::optional<qint64> utcSecondsOfLocal(qint64 local, LocalReading reading) {
    if (!inCalendar(local)) {
        return std::nullopt;
    }
    // No zone is further than a day from UTC, and no zone changes its offset twice in
    // two days: the offsets a day either side are every offset the wall-clock time
    // can have been read with.
    const std::array<qint64, 3> offsets{offsetAt(local - kDay), offsetAt(local),
                                        offsetAt(local + kDay)};
    std::optional<qint64> chosen;
    for (const qint64 offset : offsets) {
        const qint64 utc = local - offset;
        if (offsetAt(utc) != offset) {
            continue;  // the clock did not read LOCAL with this offset
        }
        if (!chosen || (reading == LocalReading::Earliest ? utc < *chosen : utc > *chosen)) {
            chosen = utc;
        }
    }
    if (!chosen) {
        // Inside a skipped hour: the wall clock never showed it. It is read with the
        // offset in force before the jump, as far past the jump as it lies in the gap.
        chosen = local - offsets.front();
    }
    return chosen;
}

std::optional<qint64> localSecondsOfDate(TDateTime value) {
    if (!std::isfinite(value) || value < kFirstDay || value >= kEndDay) {
        return std::nullopt;
    }
    return toLocalUnixSeconds(value);
}

qint64 nowUtcSeconds() {
    return platform::now().toSecsSinceEpoch();
}

QString utcSecondsText(qint64 seconds) {
    return QString::number(seconds);
}

std::optional<qint64> parseUtcSeconds(const QString& text) {
    // The same decimal count as local seconds are written in.
    const std::optional<qint64> seconds = parseLocalUnixSeconds(text);
    return seconds && inCalendar(*seconds) ? seconds : std::nullopt;
}

}  // namespace vantorel::tools
