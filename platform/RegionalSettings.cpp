#include "platform/RegionalSettings.h"

#include <QLocale>
#include <QRegularExpression>

namespace vantorel::platform {

QChar timeSeparatorOf(const QString& timeFormat) {
    const qsizetype h = timeFormat.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    if (h < 0) {
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
    return s;
}

}  // namespace vantorel::platform
