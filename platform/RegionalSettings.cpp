#include "platform/RegionalSettings.h"

#include <QLocale>

namespace vantorel::platform {

QChar timeSeparatorOf(const QString& timeFormat) {
    // The first h or H (read on every date shown: no expression is compiled for it).
    qsizetype h = 0;
    while (h < timeFormat.size() && timeFormat[h] != QLatin1Char('h') &&
           timeFormat[h] != QLatin1Char('H')) {
        ++h;
    }
    if (h == timeFormat.size()) {
        return QLatin1Char(':');
    }
    qsizetype i = h;
    while (i < timeFormat.size() &&
           (timeFormat[i] == QLatin1Char('h') || timeFormat[i] == QLatin1Char('H'))) {
        ++i;
    }
    if (i < timeFormat.size() && !timeFormat[i].isLetter() && timeFormat[i] != QLatin1Char('\'') &&
        !timeFormat[i].isSpace()) {
        return timeFormat[i];
    }
    return QLatin1Char(':');
}

RegionalSettings RegionalSettings::current() {
    const QLocale locale;
    RegionalSettings s;
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    s.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    s.timeSeparator = timeSeparatorOf(s.shortTimeFormat);
    const QString decimal = locale.decimalPoint();
    s.decimalSeparator = decimal.isEmpty() ? QLatin1Char('.') : decimal.at(0);
    s.amDesignator = locale.amText();
    s.pmDesignator = locale.pmText();
    s.workingDays = locale.weekdays();
    return s;
}

}  // namespace vantorel::platform
