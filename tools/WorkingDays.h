#pragma once

// Working days: the days of the week the user's regional settings count as work
// (QLocale::weekdays(): Monday to Friday in most places, Sunday to Thursday where the
// weekend is Friday and Saturday); every other day is the weekend. An empty list of
// working days has no weekend: every day counts.

#include <QDate>
#include <QList>

#include <optional>

namespace vantorel::tools {

bool isWorkingDay(QDate date, const QList<Qt::DayOfWeek>& workingDays);

// The whole days from BASE to the N-th working day after it, counting from the day
// after BASE (0 for N = 0). No value for an invalid base date, or when the day reached
// lies beyond the year 9999 or more than 2147483647 days ahead.
std::optional<qint32> workingDaysToDays(QDate base, qint32 n,
                                        const QList<Qt::DayOfWeek>& workingDays);

// The whole days from DATE to the first working day on or after it: 0 on a working
// day, 2 on the Saturday of a Saturday-Sunday weekend.
qint32 daysToWorkingDay(QDate date, const QList<Qt::DayOfWeek>& workingDays);

}  // namespace vantorel::tools
