#pragma once

// What the preferences dialog holds, and everything done with it that needs no
// window: the stored choices, the sample subject, the category list and what OK
// writes back.

#include "settings/AddInRegistry.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace vantorel {

// How the subject of a tracking task is composed, as the check boxes hold it.
struct TSubjectChoices {
    bool bDisplayName = false;  // chkDisplayName
    bool bEmail = false;        // chkEmail
    bool bDate = false;         // chkDate
    bool bTime = false;         // chkTime
    bool bText = false;         // chkText
    QString sText;              // txtText: kept even while chkText is clear
};

// Everything the dialog shows and OK stores.
struct TPreferences {
    TSubjectChoices subject;
    bool bShowQuickIntroduction = true;  // chkShowQuickIntrodution
    // cmbCategories: "(none)" chosen (stores no category), else the box's text.
    bool bNoCategory = true;
    QString sCategory;
};

// The first entry of the category box: no category.
extern const QString kNoCategoryItem;
// The category the add-in suggests for its own tasks.
extern const QString kOwnCategoryItem;
// The recipient and message that stand in for real ones in the sample subject.
extern const QString kSampleName;
extern const QString kSampleAddress;
extern const QString kSampleMessageSubject;

TSubjectChoices LoadSubjectChoices(TAddInRegistry& registry);

// The subject a tracking task would get with CHOICES, for the sample recipient and
// message, composed at NOW exactly as a tracking task's subject is.
QString SampleSubject(const TSubjectChoices& choices, const QDateTime& now);

// The category box: "(none)", "Vantorel", then the master categories in their order.
// The selected entry is the last one among "Vantorel" and the master categories
// that equals STORED (letter case counts); when none does, an empty STORED selects
// "(none)" and any other is added as a last entry and selected.
struct TCategoryItems {
    QStringList items;
    int nSelected = 0;
};
TCategoryItems CategoryItems(const QStringList& masterCategories, const QString& sStored);

// The category OK stores: empty with "(none)" chosen, else the text as it stands
// (a typed name included).
QString CategoryToStore(bool bNoCategory, const QString& sText);

// Writes PREFERENCES in the dialog's order: the four subject flags, the subject
// text (stored even when not in use), the quick introduction flag, the category.
// Throws SettingsSaveError when a value could not be written.
void StorePreferences(const TPreferences& preferences, TAddInRegistry& registry);

// The dialog is designed taller than it is shown: once loaded, its outer height
// becomes this share of the outer height it was created with.
constexpr double kShownHeightShare = 0.9023;
int ShownOuterHeight(int nStartHeight);

}  // namespace vantorel
