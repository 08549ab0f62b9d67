#include "tools/WorkingDays.h"

#include <limits>

namespace vantorel::tools {

namespace {

constexpr qint64 kMaxDays = std::numeric_limits<qint32>::max();

// The distinct working days of a week: 1 to 7; 7 when the list names none.
qint64 workingDaysPerWeek(const QList<Qt::DayOfWeek>& workingDays) {
    qint64 count = 0;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        if (workingDays.contains(static_cast<Qt::DayOfWeek>(day))) {
            ++count;
        }
    }
    return count == 0 ? 7 : count;
}

}  // namespace

bool isWorkingDay(QDate date, const QList<Qt::DayOfWeek>& workingDays) {
    return workingDays.isEmpty() ||
           workingDays.contains(static_cast<Qt::DayOfWeek>(date.dayOfWeek()));
}

std::optional<qint32> workingDaysToDays(QDate base, qint32 n,
                                        const QList<Qt::DayOfWeek>& workingDays) {
    if (!base.isValid() || n < 0) {
        return std::nullopt;
    }
    if (n == 0) {
        return 0;
    }
    // Whole weeks first, each holding every working day once; the last few one by one.
    const qint64 perWeek = workingDaysPerWeek(workingDays);
    const qint64 weeks = (n - 1) / perWeek;
    qint64 left = n - weeks * perWeek;
    qint64 days = weeks * 7;
    if (days > kMaxDays) {
        return std::nullopt;
    }
    QDate day = base.addDays(days);
    while (left > 0) {
        day = day.addDays(1);
        ++days;
        if (!day.isValid()) {
            return std::nullopt;
        }
        if (isWorkingDay(day, workingDays)) {
            --left;
        }
    }
    if (days > kMaxDays || !day.isValid() || day.year() > 9999) {
        return std::nullopt;
    }
    return static_cast<qint32>(days);
}

qint32 daysToWorkingDay(QDate date, const QList<Qt::DayOfWeek>& workingDays) {
    qint32 days = 0;
    while (days < 7 && !isWorkingDay(date.addDays(days), workingDays)) {
        ++days;
    }
    return days < 7 ? days : 0;
}

}  // namespace vantorel::tools
