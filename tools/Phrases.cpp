#include "tools/Phrases.h"

#include "platform/Clock.h"
#include "platform/RegionalSettings.h"
#include "tools/WorkingDays.h"

#include <QDate>
#include <QLocale>
#include <QStringView>
#include <QTime>

#include <array>
#include <limits>
#include <optional>

namespace vantorel {

namespace {

constexpr qint64 kMaxCount = std::numeric_limits<qint32>::max();

// The base dates whose calendar months and weekdays are counted: the years 1 to 9999.
constexpr tools::TDateTime kFirstBaseDate = -693593.0;  // 0001-01-01
constexpr tools::TDateTime kEndBaseDate = 2958466.0;    // 10000-01-01

constexpr qint64 kMsPerDay = 86'400'000;

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Only the ASCII letters a-z change; every other character stays.
QString upperAscii(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            c = QChar(c.unicode() - u'a' + u'A');
        }
    }
    return result;
}

// Removes leading and trailing spaces and control characters (up to U+0020).
QString trimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20) {
        ++begin;
    }
    while (end > begin && text[end - 1].unicode() <= 0x20) {
        --end;
    }
    return text.mid(begin, end - begin);
}

// The value of a run of decimal digits, when it fits in a signed 32-bit number.
std::optional<qint32> decimalValue(QStringView digits) {
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (const QChar c : digits) {
        if (!isAsciiDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > kMaxCount) {
            return std::nullopt;
        }
    }
    return static_cast<qint32>(value);
}

// The number written by the digits at the end of a representation: 0 when it ends in
// no digit, no value when it does not fit in 32 bits.
std::optional<qint32> trailingNumber(const QString& sPeriod) {
    qsizetype start = sPeriod.size();
    while (start > 0 && isAsciiDigit(sPeriod[start - 1])) {
        --start;
    }
    if (start == sPeriod.size()) {
        return 0;
    }
    return decimalValue(QStringView(sPeriod).sliced(start));
}

QString weekdayName(qint32 n) {
    switch (n) {
        case 2:
            return QStringLiteral("Tuesday");
        case 3:
            return QStringLiteral("Wednesday");
        case 4:
            return QStringLiteral("Thursday");
        case 5:
            return QStringLiteral("Friday");
        case 6:
            return QStringLiteral("Saturday");
        case 7:
            return QStringLiteral("Sunday");
        default:
            return QStringLiteral("Monday");
    }
}

QString stylePrefix(qint32 PhraseStyle) {
    switch (PhraseStyle) {
        case kPhraseStyleStart:
            return QStringLiteral("in ");
        case kPhraseStyleAfter:
            return QStringLiteral("after ");
        default:
            return QString();
    }
}

// "in 3 weeks", "after 1 year", "6 months".
QString countPhrase(qint32 PhraseStyle, qint32 nCount, const QString& sSingular,
                    const QString& sPlural) {
    return stylePrefix(PhraseStyle) + QString::number(nCount) + QLatin1Char(' ') +
           (nCount < 2 ? sSingular : sPlural);
}

// Blanks around a time: spaces, control characters and the other Unicode spaces (some
// locales put a no-break space before the AM/PM designator).
bool isBlank(QChar c) {
    return c.unicode() <= 0x20 || c.isSpace();
}

QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front())) {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && isBlank(text.back())) {
        text.chop(1);
    }
    return text;
}

// Reads one or two digits at pos.
std::optional<int> readTwoDigits(QStringView text, qsizetype& pos) {
    int value = 0;
    int count = 0;
    while (pos < text.size() && count < 2 && isAsciiDigit(text[pos])) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++count;
    }
    if (count == 0) {
        return std::nullopt;
    }
    return value;
}

bool readSeparator(QStringView text, qsizetype& pos, QChar separator) {
    if (pos < text.size() && (text[pos] == separator || text[pos] == QLatin1Char(':'))) {
        ++pos;
        return true;
    }
    return false;
}

enum class Half { None, Am, Pm };

// Hours, minutes and optional seconds, 24-hour or with an AM/PM designator before or
// after them.
std::optional<QTime> readClockTime(QStringView text, const platform::RegionalSettings& regional) {
    QStringView rest = trimBlanks(text);

    struct Designator {
        QString text;
        Half half;
    };
    const std::array<Designator, 4> designators{{{regional.amDesignator, Half::Am},
                                                 {regional.pmDesignator, Half::Pm},
                                                 {QStringLiteral("AM"), Half::Am},
                                                 {QStringLiteral("PM"), Half::Pm}}};
    Half half = Half::None;
    for (const Designator& d : designators) {
        if (d.text.isEmpty() || rest.size() <= d.text.size()) {
            continue;
        }
        if (rest.endsWith(d.text, Qt::CaseInsensitive)) {
            rest = trimBlanks(rest.chopped(d.text.size()));
        } else if (rest.startsWith(d.text, Qt::CaseInsensitive)) {
            rest = trimBlanks(rest.sliced(d.text.size()));
        } else {
            continue;
        }
        half = d.half;
        break;
    }

    qsizetype pos = 0;
    const std::optional<int> hour = readTwoDigits(rest, pos);
    if (!hour) {
        return std::nullopt;
    }
    int minute = 0;
    int second = 0;
    if (pos == rest.size()) {
        // A bare hour is a time only with its designator: "5 PM".
        if (half == Half::None) {
            return std::nullopt;
        }
    } else {
        if (!readSeparator(rest, pos, regional.timeSeparator)) {
            return std::nullopt;
        }
        const std::optional<int> minutes = readTwoDigits(rest, pos);
        if (!minutes) {
            return std::nullopt;
        }
        minute = *minutes;
        if (pos < rest.size()) {
            if (!readSeparator(rest, pos, regional.timeSeparator)) {
                return std::nullopt;
            }
            const std::optional<int> seconds = readTwoDigits(rest, pos);
            if (!seconds) {
                return std::nullopt;
            }
            second = *seconds;
        }
        if (pos != rest.size()) {
            return std::nullopt;
        }
    }

    int hour24 = *hour;
    if (half != Half::None) {
        if (hour24 < 1 || hour24 > 12) {
            return std::nullopt;
        }
        hour24 %= 12;
        if (half == Half::Pm) {
            hour24 += 12;
        }
    }
    if (hour24 > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return QTime(hour24, minute, second);
}

// A time of day in the user's regional settings; see ParseTimePhrase.
std::optional<QTime> readTimeOfDay(const QString& sText) {
    const platform::RegionalSettings regional = platform::RegionalSettings::current();
    if (const std::optional<QTime> time = readClockTime(sText, regional)) {
        return time;
    }
    // Forms of the locale's own, such as "17 h 30" or native digits.
    const QTime time = QLocale().toTime(trimBlanks(sText).toString(), regional.shortTimeFormat);
    if (time.isValid()) {
        return time;
    }
    return std::nullopt;
}

bool meansNow(const QString& sUpper) {
    return sUpper.contains(QLatin1String("NOW")) || sUpper.contains(QLatin1String("SAME"));
}

}  // namespace

bool ParsePeriodPhrase(bool AllowKeywords, const QString& sPhrase, QString& sPeriod) {
    sPeriod.clear();
    try {
        const QString s = upperAscii(trimControls(sPhrase));
        const auto contains = [&s](const char* word) { return s.contains(QLatin1String(word)); };

        if (AllowKeywords) {
            if (contains("TODAY") || contains("SAME 1") || contains("SAME 2")) {
                sPeriod = QStringLiteral("d0");
                return true;
            }
            static const std::array<const char*, 7> weekdays{
                "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"};
            for (std::size_t i = 0; i < weekdays.size(); ++i) {
                if (contains(weekdays[i])) {
                    sPeriod = QLatin1Char('o') + QString::number(i + 1);
                    return true;
                }
            }
            if (contains("TOMORROW") || contains("FOLLOWING")) {
                sPeriod = QStringLiteral("d1");
                return true;
            }
        }

        qsizetype first = 0;
        while (first < s.size() && !isAsciiDigit(s[first])) {
            ++first;
        }
        if (first == s.size()) {
            return false;
        }
        // A period counts forward: "-5 days" is no period, rather than five days ahead.
        qsizetype before = first;
        while (before > 0 && s[before - 1].isSpace()) {
            --before;
        }
        if (before > 0 && (s[before - 1] == QLatin1Char('-') || s[before - 1] == QLatin1Char('+') ||
                           s[before - 1] == QChar(0x2212))) {
            return false;
        }
        qsizetype last = first;
        while (last < s.size() && isAsciiDigit(s[last])) {
            ++last;
        }
        // A count beyond 32 bits is no period (rather than a period of 0 days).
        const std::optional<qint32> n = decimalValue(QStringView(s).sliced(first, last - first));
        if (!n) {
            return false;
        }

        const auto counted = [&sPeriod](char unit, qint64 count) {
            if (count > kMaxCount) {
                return false;
            }
            sPeriod = QLatin1Char(unit) + QString::number(count);
            return true;
        };
        if (contains("WORKING DAY") || contains("BUSINESS DAY") || contains("WORKDAY")) {
            return counted('b', *n);
        }
        if (contains("WEEK")) {
            return counted('d', qint64{7} * *n);
        }
        if (contains("DAY") || s == QString::number(*n)) {
            return counted('d', *n);
        }
        if (contains("MONTH")) {
            return counted('m', *n);
        }
        if (contains("YEAR")) {
            return counted('m', qint64{12} * *n);
        }
        return false;
    } catch (...) {
        // Any failure inside means the text is no period.
        sPeriod.clear();
        return false;
    }
}

QString FormatPeriodPhrase(const QString& sPeriod, qint32 PhraseStyle) {
    try {
        if (sPeriod.isEmpty()) {
            return QString();
        }
        const std::optional<qint32> number = trailingNumber(sPeriod);
        if (!number) {
            return QString();
        }
        const qint32 n = *number;

        if (sPeriod.front() == QLatin1Char('m')) {
            if (n % 12 == 0) {
                return countPhrase(PhraseStyle, n / 12, QStringLiteral("year"),
                                   QStringLiteral("years"));
            }
            return countPhrase(PhraseStyle, n, QStringLiteral("month"), QStringLiteral("months"));
        }

        if (sPeriod.front() == QLatin1Char('b')) {
            return stylePrefix(PhraseStyle) + QString::number(n) +
                   (n == 1 ? QStringLiteral(" working day") : QStringLiteral(" working days"));
        }

        if (sPeriod.front() == QLatin1Char('o')) {
            const QString name = weekdayName(n);
            switch (PhraseStyle) {
                case kPhraseStyleStart:
                    return QStringLiteral("on next ") + name;
                case kPhraseStyleAfter:
                    return QStringLiteral("on ") + name + QStringLiteral(" the following week");
                default:
                    return QStringLiteral("next ") + name;
            }
        }

        if (n == 0) {
            switch (PhraseStyle) {
                case kPhraseStyleStart:
                    return QStringLiteral("today");
                case kPhraseStyleAfter:
                    return QStringLiteral("on the same day");
                default:
                    return QStringLiteral("0 days");
            }
        }
        if (n == 1) {
            switch (PhraseStyle) {
                case kPhraseStyleStart:
                    return QStringLiteral("tomorrow");
                case kPhraseStyleAfter:
                    return QStringLiteral("on the following day");
                default:
                    return QStringLiteral("1 day");
            }
        }
        if (n % 7 == 0) {
            return countPhrase(PhraseStyle, n / 7, QStringLiteral("week"), QStringLiteral("weeks"));
        }
        return countPhrase(PhraseStyle, n, QStringLiteral("days"), QStringLiteral("days"));
    } catch (...) {
        return QString();
    }
}

bool PeriodToDays(const QString& sPeriod, tools::TDateTime dBase, qint32& nDays) {
    nDays = 0;
    try {
        if (sPeriod.isEmpty()) {
            return false;
        }
        const std::optional<qint32> number = trailingNumber(sPeriod);
        if (!number) {
            return false;
        }
        const qint32 n = *number;
        const QChar kind = sPeriod.front();
        if (kind != QLatin1Char('m') && kind != QLatin1Char('o') && kind != QLatin1Char('b')) {
            nDays = n;
            return true;
        }

        // On the date alone: before 1899-12-30 the time of day makes a date-time more
        // negative, so a moment on 0001-01-01 lies below that day's midnight. NaN fails
        // this test too.
        const tools::TDateTime day = tools::dateOf(dBase);
        if (!(day >= kFirstBaseDate && day < kEndBaseDate)) {
            return false;
        }
        const QDate base = tools::fromDateTime(dBase).date();
        if (!base.isValid()) {
            return false;
        }

        if (kind == QLatin1Char('b')) {
            const std::optional<qint32> days = tools::workingDaysToDays(
                base, n, platform::RegionalSettings::current().workingDays);
            if (!days) {
                return false;
            }
            nDays = *days;
            return true;
        }

        if (kind == QLatin1Char('o')) {
            const qint32 b = base.dayOfWeek();
            nDays = n > b ? n - b : n + 7 - b;
            return true;
        }

        // The lengths of n months from the base date's month on: from the first of that
        // month to the first of the month n months later.
        const QDate monthStart(base.year(), base.month(), 1);
        const qint64 monthIndex = qint64{base.month()} - 1 + n;
        const QDate end(static_cast<int>(base.year() + monthIndex / 12),
                        static_cast<int>(monthIndex % 12) + 1, 1);
        if (!end.isValid()) {
            return false;
        }
        const qint64 days = monthStart.daysTo(end);
        if (days < 0 || days > kMaxCount) {
            return false;
        }
        nDays = static_cast<qint32>(days);
        return true;
    } catch (...) {
        nDays = 0;
        return false;
    }
}

bool IsWorkingDay(tools::TDateTime dDay) {
    try {
        return tools::isWorkingDay(tools::fromDateTime(dDay).date(),
                                   platform::RegionalSettings::current().workingDays);
    } catch (...) {
        return true;
    }
}

qint32 DaysOffWeekend(tools::TDateTime dBase, qint32 nDays) {
    try {
        const QDate day = tools::fromDateTime(dBase).date().addDays(nDays);
        if (!day.isValid()) {
            return nDays;
        }
        const qint32 nMove =
            tools::daysToWorkingDay(day, platform::RegionalSettings::current().workingDays);
        return nDays <= std::numeric_limits<qint32>::max() - nMove ? nDays + nMove : nDays;
    } catch (...) {
        return nDays;
    }
}

bool ParseTimePhrase(const QString& sPhrase, QString& sTime) {
    try {
        if (meansNow(upperAscii(sPhrase))) {
            sTime = QStringLiteral("NOW");
            return true;
        }
        const std::optional<QTime> time = readTimeOfDay(sPhrase);
        if (!time) {
            return false;
        }
        const QChar separator = platform::RegionalSettings::current().timeSeparator;
        sTime = QStringLiteral("%1").arg(time->hour(), 2, 10, QLatin1Char('0')) + separator +
                QStringLiteral("%1").arg(time->minute(), 2, 10, QLatin1Char('0'));
        return true;
    } catch (...) {
        return false;
    }
}

QString FormatTimePhrase(const QString& sTime) {
    if (sTime == QLatin1String("NOW")) {
        return QStringLiteral("the same hour");
    }
    return sTime;
}

bool TimePhraseToDateTime(const QString& sPhrase, tools::TDateTime& dDateTime) {
    try {
        const tools::TDateTime dNow = tools::toDateTime(platform::now());
        dDateTime = dNow;
        if (meansNow(upperAscii(sPhrase))) {
            return true;
        }
        const std::optional<QTime> time = readTimeOfDay(sPhrase);
        if (!time) {
            return false;
        }
        // Today's date and the time of day, on the wall clock (also on a day the clocks
        // change); the fraction counts forward from midnight as in every date-time.
        const tools::TDateTime day = tools::dateOf(dNow);
        const tools::TDateTime fraction =
            static_cast<double>(time->msecsSinceStartOfDay()) / static_cast<double>(kMsPerDay);
        dDateTime = day >= 0 ? day + fraction : day - fraction;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace vantorel
