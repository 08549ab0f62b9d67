#include "forms/WizardLogic.h"

#include "tools/DisplayScale.h"

#include <array>
#include <cmath>

namespace vantorel {

namespace wizard_text {
const QString kWelcome = QStringLiteral("Welcome to Vantorel!");
const QString kBeAware = QStringLiteral("Be aware of your unanswered messages!");
const QString kWhatFor = QStringLiteral(
    "You have sent an e-mail and did not receive any reply? Vantorel will remind you about the "
    "unanswered e-mail and will allow you to send a follow-up message.");
const QString kClickNext = QString::fromUtf8("Click Next to start a short introduction\u2026");
const QString kSending = QStringLiteral(
    "When you want to follow up the answer of a new e-mail, send it using the newly added buttons "
    "'Remind me' or 'Custom'.");
const QString kTasks =
    QStringLiteral("Vantorel will automatically create a Task concerning your message.");
const QString kReminders = QStringLiteral(
    "If no reply has been received, you will be reminded about and be able to re-send the "
    "e-mail.");
const QString kTemplate = QStringLiteral(
    "You can also create a template to generate automatically the text included in the e-mail "
    "to re-send.");
const QString kSettings =
    QStringLiteral("Vantorel settings and options can be personalised on the Home ribbon.");
}  // namespace wizard_text

QString WizardPageTitle(int n) {
    switch (n) {
        case 1:
            return QStringLiteral("Welcome");
        case 2:
            return QStringLiteral("Sending an e-mail");
        case 3:
            return QStringLiteral("Tasks");
        case 4:
            return QStringLiteral("Reminders");
        case 5:
            return QStringLiteral("Settings");
        default:
            return {};
    }
}

TWizardButtons WizardButtons(int n) {
    TWizardButtons buttons;
    buttons.bBackEnabled = n > kWizardFirstPage;
    buttons.bNextEnabled = n < kWizardLastPage;
    buttons.sCancelCaption =
        n == kWizardLastPage ? QStringLiteral("&Close") : QStringLiteral("&Cancel");
    return buttons;
}

int WizardNextPage(int n) {
    return n < kWizardLastPage ? n + 1 : n;
}

int WizardBackPage(int n) {
    return n > kWizardFirstPage ? n - 1 : n;
}

bool CancelSwitchesOffStartWizard(int n) {
    return n > 4;
}

QImage PictureBand(const QImage& image, QSize box) {
    if (image.isNull() || box.width() <= 0 || box.height() <= 0) {
        return image;
    }
    const int nSide = image.width();
    const int nHeight =
        std::min(nSide, static_cast<int>(std::lround(1.0 * nSide * box.height() / box.width())));
    return image.copy(0, (image.height() - nHeight) / 2, nSide, nHeight);
}

QString TitleImageSuffix(int nScale) {
    static constexpr std::array<int, 9> kScales{100, 125, 150, 175, 200, 225, 250, 300, 400};
    const int nScaleUsed = ScaleToSuffix(nScale).toInt();
    const int nWanted = 48 * nScaleUsed / 100;
    for (const int nCandidate : kScales) {
        if (32 * nCandidate / 100 >= nWanted) {
            return ScaleToSuffix(nCandidate);
        }
    }
    return ScaleToSuffix(kScales.back());
}

}  // namespace vantorel
