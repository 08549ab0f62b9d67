#pragma once

// The user's regional settings, read from the default QLocale (which the desktop
// takes from the environment on Linux and from the user's regional settings on
// Windows, through GetLocaleInfo; tests and scripts set it).
// Formats are Qt's date-time format strings.

#include <QChar>
#include <QList>
#include <QString>

namespace vantorel::platform {

struct RegionalSettings {
    QString shortDateFormat;  // e.g. "M/d/yy"
    QString shortTimeFormat;  // e.g. "h:mm AP"
    QChar timeSeparator;      // e.g. ':'
    QChar decimalSeparator;   // e.g. '.'
    QString amDesignator;     // e.g. "AM"; may be empty
    QString pmDesignator;
    QList<Qt::DayOfWeek> workingDays;  // e.g. Monday to Friday; the others are the weekend

    static RegionalSettings current();
};

// The character between hours and minutes in a Qt time format (':' when none).
QChar timeSeparatorOf(const QString& timeFormat);

}  // namespace vantorel::platform
