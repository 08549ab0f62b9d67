#include "reminders/ReminderSettings.h"

#include "platform/Clock.h"
#include "tools/Phrases.h"

#include <QLocale>

namespace vantorel {

namespace {
constexpr bool kDefaultSettings = true;
}  // namespace

void FillSharedReminderFields(TReminderData& data, TAddInRegistry& registry) {
    data.sCategories = registry.GetRemindersCategory();
    data.nMaxBodyLength = registry.GetMaxReminderBodyLen();
    QString sHeader;
    data.sSubjectHeader = registry.GetIncludeSpecificTextInSubject(sHeader) ? sHeader : QString();
    data.bSubjectIncludeName = registry.GetIncludeNameInSubject();
    data.bSubjectIncludeAdress = registry.GetIncludeEMailInSubject();
    data.bSubjectIncludeDate = registry.GetIncludeDateInSubject();
    data.bSubjectIncludeTime = registry.GetIncludeTimeInSubject();
}

qint32 DurationDays(bool bSetDuration, const QString& sDuration, tools::TDateTime dStart) {
    if (!bSetDuration) {
        return -1;
    }
    qint32 nDays = 0;
    PeriodToDays(sDuration, dStart, nDays);
    return nDays;
}

qint32 ImportanceFromPriority(int nPriority) {
    return nPriority >= outlook::olImportanceLow && nPriority <= outlook::olImportanceHigh
               ? nPriority
               : outlook::olImportanceNormal;
}

TReminderData DefaultReminderData(TAddInRegistry& registry) {
    const tools::TDateTime dNow = tools::toDateTime(platform::now());
    TReminderData data;
    data.bDeleteOnReply = registry.GetTaskDeleteOnReply(kDefaultSettings);
    data.bMarkAsCompleted = registry.GetTaskMarkAsCompletedOnReply(kDefaultSettings);
    data.bRemindMe = registry.GetTaskRemindMe(kDefaultSettings);
    const QString sStart = data.bRemindMe ? registry.GetTaskRemindMeStart(kDefaultSettings)
                                          : registry.GetTaskCreateOnlyStart(kDefaultSettings);
    PeriodToDays(sStart, dNow, data.nInDays);
    if (registry.GetTaskMoveOffWeekend(kDefaultSettings)) {
        data.nInDays = DaysOffWeekend(dNow, data.nInDays);
    }
    TimePhraseToDateTime(registry.GetTaskRemindMeTime(kDefaultSettings), data.dReminderTime);
    data.nDuration = DurationDays(registry.GetTaskSetDuration(kDefaultSettings),
                                  registry.GetTaskDuration(kDefaultSettings),
                                  dNow + static_cast<double>(data.nInDays));
    data.oImportance = ImportanceFromPriority(registry.GetTaskPriority(kDefaultSettings));
    FillSharedReminderFields(data, registry);
    return data;
}

QString MovedStartDayName(TAddInRegistry& registry) {
    if (!registry.GetTaskMoveOffWeekend(kDefaultSettings)) {
        return {};
    }
    const tools::TDateTime dNow = tools::toDateTime(platform::now());
    const QString sStart = registry.GetTaskRemindMe(kDefaultSettings)
                               ? registry.GetTaskRemindMeStart(kDefaultSettings)
                               : registry.GetTaskCreateOnlyStart(kDefaultSettings);
    qint32 nDays = 0;
    PeriodToDays(sStart, dNow, nDays);
    const qint32 nMoved = DaysOffWeekend(dNow, nDays);
    if (nMoved == nDays) {
        return {};
    }
    // The tip's words are English, as the rest of it.
    return QLocale::c().dayName(tools::fromDateTime(dNow).date().addDays(nMoved).dayOfWeek(),
                                QLocale::LongFormat);
}

}  // namespace vantorel
