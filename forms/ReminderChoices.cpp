#include "forms/ReminderChoices.h"

#include "platform/Clock.h"
#include "reminders/ReminderSettings.h"
#include "tools/Phrases.h"

#include <cmath>

namespace vantorel {

const QString kCreationErrorMessage =
    QStringLiteral("An error occurred while creating the Vantorel!");
const QString kMessageNotAssignedMessage = QStringLiteral(
    "An error occurred while creating the Vantorel! The current message is not assigned.");

namespace {
constexpr bool kAllowKeywords = true;
constexpr double kHiddenOptionsRatio = 0.634;

tools::TDateTime currentMoment() {
    return tools::toDateTime(platform::now());
}

// The days of a typed start or duration phrase from now; false when the phrase is no
// period or gives no day count.
bool phraseToDays(const QString& sText, qint32& nDays) {
    QString sPeriod;
    return ParsePeriodPhrase(kAllowKeywords, sText, sPeriod) &&
           PeriodToDays(sPeriod, currentMoment(), nDays);
}
}  // namespace

QStringList PeriodListItems() {
    return {QStringLiteral("today"),
            QStringLiteral("tomorrow"),
            QStringLiteral("in 2 days"),
            QStringLiteral("in 3 days"),
            QStringLiteral("in 4 days"),
            QStringLiteral("in 5 days"),
            QStringLiteral("in 6 days"),
            QStringLiteral("in 2 working days"),
            QStringLiteral("in 5 working days"),
            QStringLiteral("in 1 week"),
            QStringLiteral("in 2 weeks"),
            QStringLiteral("in 3 weeks"),
            QStringLiteral("in 4 weeks"),
            QStringLiteral("in 1 month"),
            QStringLiteral("in 6 months"),
            QStringLiteral("in 1 year"),
            QStringLiteral("on next Monday"),
            QStringLiteral("on next Tuesday"),
            QStringLiteral("on next Wednesday"),
            QStringLiteral("on next Thursday"),
            QStringLiteral("on next Friday"),
            QStringLiteral("on next Saturday"),
            QStringLiteral("on next Sunday")};
}

QStringList TimeListItems() {
    QStringList items{QStringLiteral("the same hour")};
    for (int nHalfHour = 0; nHalfHour < 48; ++nHalfHour) {
        items << QStringLiteral("%1:%2")
                     .arg(nHalfHour / 2, 2, 10, QLatin1Char('0'))
                     .arg(nHalfHour % 2 == 0 ? QStringLiteral("00") : QStringLiteral("30"));
    }
    return items;
}

QStringList DurationListItems() {
    return {QStringLiteral("1 day"),   QStringLiteral("2 days"),  QStringLiteral("3 days"),
            QStringLiteral("4 days"),  QStringLiteral("5 days"),  QStringLiteral("6 days"),
            QStringLiteral("1 week"),  QStringLiteral("2 weeks"), QStringLiteral("3 weeks"),
            QStringLiteral("4 weeks"), QStringLiteral("1 month"), QStringLiteral("6 months"),
            QStringLiteral("1 year")};
}

QStringList PriorityListItems() {
    return {QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")};
}

TReminderChoices LoadReminderChoices(TAddInRegistry& registry, bool DefaultSettings) {
    TReminderChoices choices;
    choices.bRemindMe = registry.GetTaskRemindMe(DefaultSettings);
    choices.sTask =
        FormatPeriodPhrase(registry.GetTaskCreateOnlyStart(DefaultSettings), kPhraseStyleStart);
    choices.sRemindMe =
        FormatPeriodPhrase(registry.GetTaskRemindMeStart(DefaultSettings), kPhraseStyleStart);
    choices.sRemindMeTime = FormatTimePhrase(registry.GetTaskRemindMeTime(DefaultSettings));
    choices.bDelete = registry.GetTaskDeleteOnReply(DefaultSettings);
    choices.bCompleted = registry.GetTaskMarkAsCompletedOnReply(DefaultSettings);
    choices.bDuration = registry.GetTaskSetDuration(DefaultSettings);
    choices.sDuration =
        FormatPeriodPhrase(registry.GetTaskDuration(DefaultSettings), kPhraseStyleDuration);
    choices.nPriority = registry.GetTaskPriority(DefaultSettings);
    choices.bMoveOffWeekend = registry.GetTaskMoveOffWeekend(DefaultSettings);
    return choices;
}

QString CanonicalStartText(const QString& sText) {
    QString sPeriod;
    return ParsePeriodPhrase(kAllowKeywords, sText, sPeriod)
               ? FormatPeriodPhrase(sPeriod, kPhraseStyleStart)
               : sText;
}

QString CanonicalDurationText(const QString& sText) {
    QString sPeriod;
    return ParsePeriodPhrase(!kAllowKeywords, sText, sPeriod)
               ? FormatPeriodPhrase(sPeriod, kPhraseStyleDuration)
               : sText;
}

QString CanonicalTimeText(const QString& sText) {
    QString sTime;
    return ParseTimePhrase(sText, sTime) ? FormatTimePhrase(sTime) : sText;
}

TChoiceCheck CheckStartChoices(const TReminderChoices& choices) {
    TChoiceCheck check;
    const QString& sPeriodText = choices.bRemindMe ? choices.sRemindMe : choices.sTask;
    // A start the task's dates cannot hold is as invalid as a text that is no period.
    const auto periodInvalid = [&] {
        check.problem = TChoiceProblem::Period;
        check.sMessage = PeriodInvalidMessage(sPeriodText);
        return check;
    };
    if (!phraseToDays(sPeriodText, check.nDays) ||
        !tools::fitsMailDate(currentMoment() + check.nDays)) {
        return periodInvalid();
    }
    if (choices.bMoveOffWeekend) {
        check.nDays = DaysOffWeekend(currentMoment(), check.nDays);
        if (!tools::fitsMailDate(currentMoment() + check.nDays)) {
            return periodInvalid();
        }
    }
    if (!choices.bRemindMe) {
        check.dReminderTime = currentMoment();
    } else if (!TimePhraseToDateTime(choices.sRemindMeTime, check.dReminderTime)) {
        check.problem = TChoiceProblem::Time;
        check.sMessage = TimeInvalidMessage(choices.sRemindMeTime);
    } else if (!tools::fitsMailDate(check.dReminderTime + check.nDays)) {
        return periodInvalid();
    }
    return check;
}

QString CheckDurationChoice(const TReminderChoices& choices) {
    qint32 nDays = 0;
    if (!choices.bDuration || phraseToDays(choices.sDuration, nDays)) {
        return {};
    }
    return DurationInvalidMessage(choices.sDuration);
}

TReminderData CustomReminderData(const TReminderChoices& choices, const TChoiceCheck& check,
                                 TAddInRegistry& registry) {
    TReminderData data;
    data.bDeleteOnReply = choices.bDelete;
    data.bMarkAsCompleted = choices.bCompleted;
    data.nInDays = check.nDays;
    data.bRemindMe = choices.bRemindMe;
    data.dReminderTime = check.dReminderTime;
    if (choices.bDuration) {
        // The dialog's duration may be a keyword phrase ("tomorrow"); its days count
        // from the task's start.
        QString sDuration;
        ParsePeriodPhrase(kAllowKeywords, choices.sDuration, sDuration);
        data.nDuration =
            DurationDays(true, sDuration, currentMoment() + static_cast<double>(check.nDays));
    }
    data.oImportance = ImportanceFromPriority(choices.nPriority);
    FillSharedReminderFields(data, registry);
    return data;
}

void StoreCustomChoices(const TReminderChoices& choices, bool bShowOptions,
                        TAddInRegistry& registry) {
    registry.SetTaskShowAdvanced(bShowOptions);
    registry.SetCustomTaskRemindMe(choices.bRemindMe);
    QString sValue;
    if (ParsePeriodPhrase(kAllowKeywords, choices.sTask, sValue)) {
        registry.SetCustomTaskCreateOnlyStart(sValue);
    }
    if (ParsePeriodPhrase(kAllowKeywords, choices.sRemindMe, sValue)) {
        registry.SetCustomTaskRemindMeStart(sValue);
    }
    if (ParseTimePhrase(choices.sRemindMeTime, sValue)) {
        registry.SetCustomTaskRemindMeTime(sValue);
    }
    registry.SetCustomTaskDeleteOnReply(choices.bDelete);
    registry.SetCustomTaskMarkAsCompletedOnReply(choices.bCompleted);
    if (ParsePeriodPhrase(!kAllowKeywords, choices.sDuration, sValue)) {
        registry.SetCustomTaskDuration(sValue);
    }
    registry.SetCustomTaskSetDuration(choices.bDuration);
    registry.SetCustomTaskPriority(choices.nPriority);
    registry.SetCustomTaskMoveOffWeekend(choices.bMoveOffWeekend);
}

void StoreDefaultChoices(const TReminderChoices& choices, bool bResetCustom,
                         TAddInRegistry& registry) {
    registry.SaveChecked([&] {
        registry.SetTaskRemindMe(choices.bRemindMe, bResetCustom);
        QString sValue;
        if (ParsePeriodPhrase(kAllowKeywords, choices.sTask, sValue)) {
            registry.SetTaskCreateOnlyStart(sValue, bResetCustom);
        }
        if (ParsePeriodPhrase(kAllowKeywords, choices.sRemindMe, sValue)) {
            registry.SetTaskRemindMeStart(sValue, bResetCustom);
        }
        if (ParseTimePhrase(choices.sRemindMeTime, sValue)) {
            registry.SetTaskRemindMeTime(sValue, bResetCustom);
        }
        registry.SetTaskDeleteOnReply(choices.bDelete, bResetCustom);
        registry.SetTaskMarkAsCompletedOnReply(choices.bCompleted, bResetCustom);
        if (ParsePeriodPhrase(!kAllowKeywords, choices.sDuration, sValue)) {
            registry.SetTaskDuration(sValue, bResetCustom);
        }
        registry.SetTaskSetDuration(choices.bDuration, bResetCustom);
        registry.SetTaskPriority(choices.nPriority, bResetCustom);
        registry.SetTaskMoveOffWeekend(choices.bMoveOffWeekend, bResetCustom);
    });
}

QString PeriodInvalidMessage(const QString& sText) {
    return QStringLiteral("The period ") + sText +
           QStringLiteral(" is invalid. Please enter a valid period.");
}

QString TimeInvalidMessage(const QString& sText) {
    return QStringLiteral("The time ") + sText +
           QStringLiteral(" is invalid. Please enter a valid time.");
}

QString DurationInvalidMessage(const QString& sText) {
    return QStringLiteral("The duration ") + sText +
           QStringLiteral(" is invalid. Please enter a valid period.");
}

QPoint PlaceAtCursor(QPoint cursor, QSize size, QSize workArea) {
    int nLeft = cursor.x();
    int nTop = cursor.y();
    if (nLeft < 0) {
        nLeft = 0;
    }
    if (nTop < 0) {
        nTop = 0;
    }
    if (nTop + size.height() > workArea.height()) {
        nTop = workArea.height() - size.height();
    }
    if (nLeft + size.width() > workArea.width()) {
        nLeft = workArea.width() - size.width();
    }
    return {nLeft, nTop};
}

int HiddenOptionsHeight(int nStartHeight) {
    return static_cast<int>(std::lround(nStartHeight * kHiddenOptionsRatio));
}

}  // namespace vantorel
