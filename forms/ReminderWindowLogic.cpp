#include "forms/ReminderWindowLogic.h"

#include "platform/Clock.h"
#include "platform/RegionalSettings.h"
#include "reminders/ReminderUnit.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"
#include "tools/Phrases.h"
#include "tools/TranscriptText.h"
#include "tools/WorkingDays.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace vantorel {

const QString kItemNotFoundMessage = QStringLiteral("The related item could not be found.");
const QString kMessageNotFoundMessage = QStringLiteral("The related message could not be found.");
const QString kNextWorkingDaySnooze = QStringLiteral("Next working day");

namespace {

constexpr qint64 kLargest = std::numeric_limits<qint32>::max();
constexpr qint64 kSmallest = -32767;
constexpr qint64 kHour = 60;
constexpr qint64 kDay = 1440;
constexpr qint64 kWeek = 10080;
constexpr qint64 kHalfDay = 720;

// N and the unit, singular for 1.
QString counted(qint64 n, const char* singular, const char* plural) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? singular : plural);
}

// A stored moment as a whole number of seconds; none when the property is missing.
std::optional<qint64> integerProperty(outlook::TaskItem& task, const QString& name) {
    const std::optional<QString> text = ReadTrackingProperty(task, name);
    if (!text) {
        return std::nullopt;
    }
    const std::optional<qint64> seconds = tools::parseLocalUnixSeconds(*text);
    if (!seconds) {
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(*text).toStdString());
    }
    return seconds;
}

// The number of a snooze text, with the user's decimal separator and no thousands
// separators; none when it reads as no number.
std::optional<double> snoozeNumber(const QString& sNumber) {
    const QChar separator = platform::RegionalSettings::current().decimalSeparator;
    QString plain;
    bool bDigits = false;
    bool bSeparator = false;
    for (const QChar c : sNumber) {
        if (c >= u'0' && c <= u'9') {
            plain += c;
            bDigits = true;
        } else if (c == separator && !bSeparator) {
            plain += QLatin1Char('.');
            bSeparator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!bDigits) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

qint64 unitFactor(QChar unit) {
    switch (unit.unicode()) {
        case u'h':
            return kHour;
        case u'd':
            return kDay;
        case u'w':
            return kWeek;
        default:
            return 1;
    }
}

}  // namespace

qint64 NowLocalUnixSeconds() {
    return tools::toLocalUnixSeconds(tools::toDateTime(platform::now()));
}

qint64 RoundedQuotient(qint64 n, qint64 d) {
    qint64 q = n / d;
    qint64 r = n % d;
    if (r < 0) {  // toward minus infinity, so that the remainder counts up from q
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && q % 2 != 0)) {
        ++q;
    }
    return q;
}

QString MinutesToPhrase(qint64 a) {
    if (a > kLargest || a < kSmallest) {
        return {};
    }
    if (a <= 0) {
        return QStringLiteral("Now");
    }
    if (a < kHour) {
        return counted(a, "minute", "minutes");
    }
    if (a < kDay) {
        return counted(a / kHour, "hour", "hours");
    }
    if (a < kWeek) {
        return counted(a / kDay, "day", "days");
    }
    return counted(a / kWeek, "week", "weeks");
}

QString DueInText(qint64 nReminderSeconds, qint64 nNow) {
    const qint64 m = RoundedQuotient(nReminderSeconds - nNow, 60);
    if (m < 0) {
        return QStringLiteral("%1 overdue").arg(MinutesToPhrase(-m));
    }
    return MinutesToPhrase(m);
}

QString DueInText(outlook::TaskItem& task) {
    const qint64 r = integerProperty(task, TrackingProperty::ReminderTime).value_or(0);
    return DueInText(r, NowLocalUnixSeconds());
}

qint32 ParseSnoozeText(QString& sText) {
    try {
        QString s = sText;
        for (QChar& c : s) {
            if (c >= u'A' && c <= u'Z') {
                c = QChar(static_cast<char16_t>(c.unicode() + (u'a' - u'A')));
            }
        }
        qsizetype i = 0;
        while (i < s.size() && s[i] == u' ') {
            ++i;
        }
        const qsizetype start = i;
        // The user's own decimal separator belongs to the number too ("0٫5 days", as
        // SnoozeMinutesToText writes half a day in Arabic).
        const QChar decimal = platform::RegionalSettings::current().decimalSeparator;
        while (i < s.size() && ((s[i] >= u'0' && s[i] <= u'9') || s[i] == u'.' || s[i] == u',' ||
                                s[i] == decimal)) {
            ++i;
        }
        const QString sNumber = s.mid(start, i - start);
        while (i < s.size() && s[i] == u' ') {
            ++i;
        }
        const qint64 factor = i < s.size() ? unitFactor(s[i]) : 1;
        const std::optional<double> number = snoozeNumber(sNumber);
        if (!number) {
            return -1;
        }
        const double minutes = std::nearbyint(*number * static_cast<double>(factor));
        if (!(minutes >= 1) || minutes > static_cast<double>(kLargest)) {
            return -1;
        }
        const auto result = static_cast<qint32>(minutes);
        sText = SnoozeMinutesToText(result);
        return result;
    } catch (const std::exception&) {
        return -1;
    }
}

QString SnoozeMinutesToText(qint64 a) {
    if (a > kLargest || a < kSmallest) {
        return {};
    }
    if (a <= 0) {
        return QStringLiteral("Now");
    }
    if (a % kWeek == 0) {
        return counted(a / kWeek, "week", "weeks");
    }
    if (a % kDay == 0) {
        return counted(a / kDay, "day", "days");
    }
    if (a == kHalfDay) {
        return QLatin1Char('0') + QString(platform::RegionalSettings::current().decimalSeparator) +
               QStringLiteral("5 days");
    }
    if (a % kHour == 0) {
        return counted(a / kHour, "hour", "hours");
    }
    return counted(a, "minute", "minutes");
}

bool IsNextWorkingDaySnooze(const QString& sText) {
    return sText.trimmed().compare(kNextWorkingDaySnooze, Qt::CaseInsensitive) == 0;
}

qint64 NextWorkingDaySeconds(qint64 nNow, const QString& sRemindMeTime) {
    const QDateTime now = tools::fromDateTime(tools::fromLocalUnixSeconds(nNow));
    QTime time = now.time();
    QString sTime;
    if (sRemindMeTime != QLatin1String("NOW") && ParseTimePhrase(sRemindMeTime, sTime)) {
        const QTime stored(sTime.left(2).toInt(), sTime.mid(3, 2).toInt());
        if (stored.isValid()) {
            time = stored;
        }
    }
    const QDate tomorrow = now.date().addDays(1);
    const QDate day = tomorrow.addDays(
        tools::daysToWorkingDay(tomorrow, platform::RegionalSettings::current().workingDays));
    return tools::toLocalUnixSeconds(tools::toDateTime(tools::localDateTime(day, time)));
}

QString SnoozeInvalidMessage(const QString& sText) {
    return QStringLiteral("The snooze time ") + sText +
           QStringLiteral(" is invalid. Please enter a valid snooze time.");
}

QString SentToText(const std::optional<QString>& sRecipients,
                   const std::optional<qint64>& nFirstSent) {
    const QString sNames = sRecipients ? RecipientNames(*sRecipients) : QString();
    QString sDate;
    if (nFirstSent) {
        const std::optional<tools::TDateTime> sent = tools::mailDateOfLocalUnixSeconds(*nFirstSent);
        if (!sent) {
            // As unreadable as a text that is no number.
            throw std::invalid_argument(
                QStringLiteral("'%1' is not a valid date").arg(*nFirstSent).toStdString());
        }
        sDate = tools::shortDateText(tools::fromDateTime(*sent));
    }
    return QStringLiteral("%1, on %2").arg(sNames, sDate);
}

QString SentToText(outlook::TaskItem& task) {
    const std::optional<QString> sRecipients =
        ReadTrackingProperty(task, TrackingProperty::Recipients);
    return SentToText(sRecipients, integerProperty(task, TrackingProperty::FirstSent));
}

QString ReminderCaption(int count) {
    if (count <= 0) {
        return {};
    }
    if (count == 1) {
        return QStringLiteral("1 Vantorel");
    }
    return QStringLiteral("%1 Vantorels").arg(count);
}

TSelectionView SelectionView(int k, const QString& sSubject, const QString& sSentToCell,
                             bool bAutoReply) {
    TSelectionView view;
    view.bActionsEnabled = k > 0;
    if (k == 1) {
        view.sSubject = sSubject;
        view.sSentTo = QStringLiteral("Sent to ") + sSentToCell;
        if (bAutoReply) {
            view.sSentTo += QStringLiteral(", automatic reply received");
        }
        view.bPictureVisible = true;
    } else {
        view.sSentTo = QStringLiteral("%1 reminders are selected").arg(k);
    }
    return view;
}

TWalkResult WalkSelectedEntries(const TEntryWalk& walk) {
    TWalkResult result;
    int i = 0;
    while (i < walk.count()) {
        if (!walk.isSelected(i)) {
            ++i;
            continue;
        }
        switch (walk.handle(i)) {
            case TEntryOutcome::Remove:
                walk.remove(i);
                result.nLastRemoved = i;
                break;
            case TEntryOutcome::Keep:
                ++i;
                break;
            case TEntryOutcome::Stop:
                result.bStopped = true;
                return result;
        }
    }
    return result;
}

int SelectAfterRemovalIndex(int index, int count) {
    if (count <= 0 || index < 0) {
        return -1;
    }
    return std::min(index, count - 1);
}

std::array<int, 3> FitReminderColumns(int nViewport, const std::array<int, 3>& aHeading,
                                      const std::array<int, 3>& aText) {
    enum { Subject, SentTo, DueIn };
    std::array<int, 3> need{};
    for (std::size_t i = 0; i < need.size(); ++i) {
        need[i] = std::max(aHeading[i], aText[i]);
    }
    const int nViewportWidth = std::max(0, nViewport);
    const int nDueIn =
        std::min({need[DueIn], std::max(aHeading[DueIn], nViewportWidth / 3), nViewportWidth});
    const int nRest = std::max(0, nViewportWidth - nDueIn);
    int nSentTo = std::min(need[SentTo], std::max(nRest / 2, nRest - need[Subject]));
    // Each heading whole as long as the list is wide enough for both.
    nSentTo = std::max(nSentTo, aHeading[SentTo]);
    nSentTo = std::max(0, std::min(nSentTo, nRest - aHeading[Subject]));
    return {nRest - nSentTo, nSentTo, nDueIn};
}

QString ScriptQuoted(const QString& text) {
    return QLatin1Char('"') + tools::escapeTranscriptText(text) + QLatin1Char('"');
}

}  // namespace vantorel
