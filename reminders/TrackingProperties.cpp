#include "reminders/TrackingProperties.h"

#include <stdexcept>

namespace vantorel {

namespace {
// Local Unix seconds of 0001-01-01 00:00:00 and 9999-12-31 23:59:59: a count outside
// is no moment (and would overflow the conversion).
constexpr qint64 kFirstSecond = -62'135'596'800;
constexpr qint64 kLastSecond = 253'402'300'799;
}  // namespace

void WriteTrackingProperty(outlook::Item& item, const QString& name, const QString& value) {
    const outlook::UserPropertyPtr property =
        item.UserProperties()->Add(name, outlook::olText, false, outlook::olFormatTextText);
    property->SetValue(value);
}

std::optional<QString> ReadTrackingProperty(outlook::Item& item, const QString& name) {
    const outlook::UserPropertyPtr property = item.UserProperties()->Item(name);
    if (!property) {
        return std::nullopt;
    }
    return property->Value();
}

std::optional<tools::TDateTime> ReadTrackingMoment(outlook::Item& item, const QString& name) {
    const std::optional<QString> text = ReadTrackingProperty(item, name);
    if (!text) {
        return std::nullopt;
    }
    const std::optional<qint64> seconds = tools::parseLocalUnixSeconds(*text);
    if (!seconds || *seconds < kFirstSecond || *seconds > kLastSecond) {
        return std::nullopt;
    }
    return tools::fromLocalUnixSeconds(*seconds);
}

std::optional<bool> ReadTrackingFlag(outlook::Item& item, const QString& name) {
    const std::optional<QString> text = ReadTrackingProperty(item, name);
    if (!text) {
        return std::nullopt;
    }
    return tools::parseBoolText(*text);
}

std::optional<bool> ReadCheckedTrackingFlag(outlook::Item& item, const QString& name) {
    const std::optional<QString> text = ReadTrackingProperty(item, name);
    if (!text) {
        return std::nullopt;
    }
    const std::optional<bool> flag = tools::parseBoolText(*text);
    if (!flag) {
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid Boolean value").arg(*text).toStdString());
    }
    return flag;
}

}  // namespace vantorel
