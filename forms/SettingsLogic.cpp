#include "forms/SettingsLogic.h"

#include "reminders/ReminderUnit.h"

#include <QtMath>

namespace vantorel {

const QString kNoCategoryItem = QStringLiteral("(none)");
const QString kOwnCategoryItem = QStringLiteral("Vantorel");
const QString kSampleName = QStringLiteral("John Smith");
const QString kSampleAddress = QStringLiteral("john.smith@example.com");
const QString kSampleMessageSubject = QStringLiteral("Email subject");

TSubjectChoices LoadSubjectChoices(TAddInRegistry& registry) {
    TSubjectChoices choices;
    choices.bDisplayName = registry.GetIncludeNameInSubject();
    choices.bEmail = registry.GetIncludeEMailInSubject();
    choices.bDate = registry.GetIncludeDateInSubject();
    choices.bTime = registry.GetIncludeTimeInSubject();
    choices.bText = registry.GetIncludeSpecificTextInSubject(choices.sText);
    return choices;
}

QString SampleSubject(const TSubjectChoices& choices, const QDateTime& now) {
    TReminderData data;
    data.sSubjectHeader = choices.bText ? choices.sText : QString();
    data.bSubjectIncludeName = choices.bDisplayName;
    data.bSubjectIncludeAdress = choices.bEmail;
    data.bSubjectIncludeDate = choices.bDate;
    data.bSubjectIncludeTime = choices.bTime;
    const QString recipient = SubjectRecipientName(kSampleName, kSampleAddress, false,
                                                   choices.bDisplayName, choices.bEmail);
    return ComposeSubject(data, recipient, kSampleMessageSubject, now);
}

TCategoryItems CategoryItems(const QStringList& masterCategories, const QString& sStored) {
    TCategoryItems result;
    result.items << kNoCategoryItem << kOwnCategoryItem << masterCategories;
    result.nSelected = -1;
    for (qsizetype i = 1; i < result.items.size(); ++i) {
        if (result.items[i] == sStored) {
            result.nSelected = static_cast<int>(i);
        }
    }
    if (result.nSelected < 0) {
        if (sStored.isEmpty()) {
            result.nSelected = 0;
        } else {
            // No longer among the profile's categories, but still the one in use.
            result.items << sStored;
            result.nSelected = static_cast<int>(result.items.size() - 1);
        }
    }
    return result;
}

QString CategoryToStore(bool bNoCategory, const QString& sText) {
    return bNoCategory ? QString() : sText;
}

void StorePreferences(const TPreferences& preferences, TAddInRegistry& registry) {
    const TSubjectChoices& s = preferences.subject;
    registry.SaveChecked([&] {
        registry.SetIncludeNameInSubject(s.bDisplayName);
        registry.SetIncludeEMailInSubject(s.bEmail);
        registry.SetIncludeDateInSubject(s.bDate);
        registry.SetIncludeTimeInSubject(s.bTime);
        registry.SetIncludeSpecificTextInSubject(s.bText, s.sText);
        registry.SetStartWizard(preferences.bShowQuickIntroduction);
        registry.SetRemindersCategory(
            CategoryToStore(preferences.bNoCategory, preferences.sCategory));
    });
}

int ShownOuterHeight(int nStartHeight) {
    return qRound(nStartHeight * kShownHeightShare);
}

}  // namespace vantorel
