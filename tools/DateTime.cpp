#include "tools/DateTime.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace vantorel::tools {

namespace {

const QDate kEpochDate(1899, 12, 30);
constexpr qint64 kMsPerDay = 86'400'000;
// Days from 1899-12-30 to 1970-01-01.
constexpr qint64 kUnixEpochDays = 25569;

// Milliseconds of the local wall clock since 1899-12-30 00:00; no time-zone rules apply.
qint64 wallMs(const QDateTime& local) {
    // A local date-time inside a gap is invalid but keeps its wall-clock fields.
    const QDateTime wall = local.timeSpec() == Qt::LocalTime && !local.isValid()
                               ? localDateTime(local.date(), local.time())
                               : local.toLocalTime();
    return kEpochDate.daysTo(wall.date()) * kMsPerDay + wall.time().msecsSinceStartOfDay();
}

}  // namespace

QDateTime localDateTime(QDate date, QTime time) {
    QDateTime moment(date, time);
    if (moment.isValid() || !date.isValid() || !time.isValid()) {
        return moment;
    }
    // Gaps begin and end on whole minutes; the longest ones skip a whole day.
    QDateTime wall(date, QTime(time.hour(), time.minute()), Qt::UTC);
    for (int minutes = 1; minutes <= 2 * 24 * 60; ++minutes) {
        wall = wall.addSecs(60);
        moment = QDateTime(wall.date(), wall.time());
        if (moment.isValid()) {
            return moment;
        }
    }
    return moment;
}

TDateTime toDateTime(const QDateTime& local) {
    const qint64 ms = wallMs(local);
    // Whole days, and the time of day as a fraction of the day, as the mail client
    // encodes moments before 1899-12-30 too (the fraction counts forward).
    const qint64 days = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
    const qint64 rest = ms - days * kMsPerDay;
    const double fraction = static_cast<double>(rest) / kMsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDateTime(TDateTime value) {
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint64 msOfDay = std::llround(fraction * kMsPerDay);
    QDate date = kEpochDate.addDays(static_cast<qint64>(whole));
    if (msOfDay >= kMsPerDay) {  // rounded up to the next midnight
        date = date.addDays(1);
        msOfDay -= kMsPerDay;
    }
    // Wall-clock time of day: no time-zone arithmetic, also on a day the clocks change.
    return localDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay)));
}

TDateTime dateOf(TDateTime value) {
    return std::trunc(value);
}

TDateTime timeOf(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

// The formats of the regional settings (RegionalSettings::current()), asked of the
// locale alone: the reminders window shows a date for every entry it lists.
QString shortDateText(const QDateTime& moment) {
    const QLocale locale;
    return locale.toString(moment.date(), locale.dateFormat(QLocale::ShortFormat));
}

QString shortTimeText(const QDateTime& moment) {
    const QLocale locale;
    return locale.toString(moment.time(), locale.timeFormat(QLocale::ShortFormat));
}

qint64 toLocalUnixSeconds(TDateTime value) {
    if (std::isnan(value)) {
        return 0;
    }
    // Far beyond any date, yet small enough that the milliseconds below fit in 64 bits.
    constexpr double kFarthestDay = 100'000'000'000.0;
    const double whole = std::clamp(std::trunc(value), -kFarthestDay, kFarthestDay);
    const double fraction = std::isfinite(value) ? std::fabs(value - std::trunc(value)) : 0.0;
    const qint64 days = static_cast<qint64>(whole) - kUnixEpochDays;
    const qint64 msOfDay = std::llround(fraction * kMsPerDay);
    const qint64 ms = days * kMsPerDay + msOfDay;
    return ms / 1000;
}

TDateTime fromLocalUnixSeconds(qint64 seconds) {
    // Whole days first: no product of the count can overflow.
    constexpr qint64 kSecondsPerDay = kMsPerDay / 1000;
    qint64 days = seconds / kSecondsPerDay;
    qint64 rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        --days;
        rest += kSecondsPerDay;
    }
    const double whole = static_cast<double>(days) + kUnixEpochDays;
    const double fraction = static_cast<double>(rest) / kSecondsPerDay;
    return whole >= 0 ? whole + fraction : whole - fraction;
}

std::optional<TDateTime> mailDateOfLocalUnixSeconds(qint64 seconds) {
    // 0001-01-01 00:00:00, the first moment of the calendar the dates are shown in.
    constexpr qint64 kFirstSecond = -62'135'596'800;
    if (seconds < kFirstSecond) {
        return std::nullopt;
    }
    const TDateTime value = fromLocalUnixSeconds(seconds);
    return fitsMailDate(value) ? std::optional<TDateTime>(value) : std::nullopt;
}

QString localUnixSecondsText(TDateTime value) {
    return QString::number(toLocalUnixSeconds(value));
}

namespace {
// A text of an optional "-" and 1 to 18 digits, nothing else (what the add-in
// writes), read without the general conversion: the poll reads several per task.
// None for any other text, which the general conversion then reads.
std::optional<qint64> plainInteger(const QString& text) {
    const qsizetype size = text.size();
    const bool negative = size > 0 && text.front() == u'-';
    const qsizetype first = negative ? 1 : 0;
    if (size - first < 1 || size - first > 18) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (qsizetype i = first; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}
}  // namespace

std::optional<qint64> parseLocalUnixSeconds(const QString& text) {
    if (const std::optional<qint64> plain = plainInteger(text)) {
        return plain;
    }
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

QString boolText(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

namespace {
// Whether a decimal number (an optional sign, digits with an optional fraction, an
// optional exponent; blanks around it) is other than zero; none for a text that is
// no such number. Only the digits before the exponent decide, so no size overflows.
std::optional<bool> nonZeroNumber(QStringView text) {
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    bool digits = false;
    bool nonZero = false;
    bool point = false;
    for (; i < size; ++i) {
        if (digit(text[i])) {
            digits = true;
            nonZero = nonZero || text[i] != u'0';
        } else if (text[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < size && (text[i] == u'+' || text[i] == u'-')) {
            ++i;
        }
        const qsizetype first = i;
        while (i < size && digit(text[i])) {
            ++i;
        }
        if (i == first) {
            return std::nullopt;
        }
    }
    return i == size ? std::optional<bool>(nonZero) : std::nullopt;
}
}  // namespace

std::optional<bool> parseBoolText(const QString& text) {
    if (const std::optional<qint64> plain = plainInteger(text)) {
        return *plain != 0;
    }
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return nonZeroNumber(t);
}

}  // namespace vantorel::tools
