#pragma once

// The quick start wizard without its window: the five pages, their titles and texts,
// the state of the buttons on each page and what closing does to the start-up flag.

#include <QImage>
#include <QSize>
#include <QString>

namespace vantorel {

constexpr int kWizardFirstPage = 1;
constexpr int kWizardLastPage = 5;

// The title shown in the title band on page N (1 to 5); empty for any other N.
QString WizardPageTitle(int n);

// The buttons as page N shows them.
struct TWizardButtons {
    bool bBackEnabled = false;
    bool bNextEnabled = false;
    QString sCancelCaption;  // "&Cancel", on the last page "&Close"
};
TWizardButtons WizardButtons(int n);

// The page that Next and Back lead to from page N; N itself where the button is off.
int WizardNextPage(int n);
int WizardBackPage(int n);

// Closing with the cancel button from page N switches the introduction off at start-up
// only from the last page.
bool CancelSwitchesOffStartWizard(int n);

// The texts of the pages.
namespace wizard_text {
extern const QString kWelcome;    // page01_lbl01
extern const QString kBeAware;    // page01_lbl02
extern const QString kWhatFor;    // page01_lbl03
extern const QString kClickNext;  // page01_lbl04
extern const QString kSending;    // page02_lbl01
extern const QString kTasks;      // page03_lbl01
extern const QString kReminders;  // page04_lbl01
extern const QString kTemplate;   // page04_lbl02
extern const QString kSettings;   // page05_lbl01
}  // namespace wizard_text

// The pictures are kept square; a picture for a box of another shape is drawn in the
// band of the square that has the box's proportions, centred from top to bottom. This
// is that band of IMAGE for a box of BOX.
QImage PictureBand(const QImage& image, QSize box);

// The scale suffix of the 32-pixel image that fills a 48-pixel box on a display of
// nScale percent without being enlarged (the largest image there is, failing that).
QString TitleImageSuffix(int nScale);

}  // namespace vantorel
