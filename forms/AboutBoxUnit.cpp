#include "forms/AboutBoxUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "forms/ReminderOptionsControls.h"
#include "platform/Help.h"
#include "platform/ShellOpen.h"
#include "resources/Images.h"
#include "tools/DisplayScale.h"
#include "tools/FileVersion.h"
#include "tools/Globals.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vantorel {

const QString kSupportUrl = QStringLiteral("https://www.ostrelin.example/vantorel/support");

namespace {

const QString kLibraryFileName = QStringLiteral(VANTOREL_ADDIN_FILE_NAME);
// The logo box in design pixels, and the height from which it takes the large logo.
constexpr int kLogoSize = 48;
constexpr int kLargeLogoHeight = 64;

QLabel* createLabel(QWidget& window, const char* name, const QString& caption, QPoint at) {
    auto* label = MakeControl<QLabel>(window, name, QRect(at, QSize()));
    label->setText(caption);
    label->adjustSize();
    return label;
}

}  // namespace

QString AddInLibraryPath() {
    // HelpFilePath is "Vantorel.chm" in the add-in's folder.
    const qsizetype slash = HelpFilePath.lastIndexOf(QLatin1Char('/'));
    return HelpFilePath.left(slash + 1) + kLibraryFileName;
}

QString BuildText(const QString& sLibraryPath) {
    return QStringLiteral("Build %1").arg(GetFileVersionString(sLibraryPath));
}

bool UsesLargeLogo(int nScale) {
    const int scale = nScale <= 0 ? 100 : nScale;
    return kLogoSize * scale / 100 >= kLargeLogoHeight;
}

QString LogoResourceName(int nScale) {
    return UsesLargeLogo(nScale) ? QStringLiteral("IMG_LOGO_150") : QStringLiteral("IMG_LOGO_100");
}

TAboutWindow::TAboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutWindow"));
    SetFixedDialogFrame(*this, QStringLiteral("About"), {kClientWidth, kClientHeight});
    setLayoutDirection(Qt::LeftToRight);

    imgLogo = MakeControl<QLabel>(*this, "imgLogo", {8, 8, kLogoSize, kLogoSize});
    imgLogo->setScaledContents(true);
    lblVersion = MakeControl<QLabel>(*this, "lblVersion", {80, 8, 0, 0});
    QFont large = font();
    large.setPixelSize(16);
    large.setBold(true);
    lblVersion->setFont(large);
    lblVersion->setText(QStringLiteral("Vantorel 2.0"));
    lblVersion->adjustSize();
    lblBuild = createLabel(*this, "lblBuild", QStringLiteral("Build %s"), {80, 33});
    Label3 = MakeControl<QLabel>(*this, "Label3", {8, 149, 297, 26});
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setText(
        QStringLiteral("Should you have any issues, questions or suggestions, please contact us:"));
    LnkSupport = createLabel(*this, "LnkSupport", kSupportUrl, {8, 178});
    QFont link = font();
    link.setUnderline(true);
    LnkSupport->setFont(link);
    QPalette palette = LnkSupport->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    LnkSupport->setPalette(palette);
    LnkSupport->setCursor(Qt::PointingHandCursor);
    LnkSupport->adjustSize();
    LnkSupport->installEventFilter(this);
    btnClose = MakeControl<QPushButton>(*this, "btnClose", {230, 206, 75, 25});
    btnClose->setText(QStringLiteral("&Close"));
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    FormCreate();
}

void TAboutWindow::FormCreate() {
    lblBuild->setText(BuildText(AddInLibraryPath()));
    lblBuild->adjustSize();
    imgLogo->setPixmap(QPixmap::fromImage(LoadImageResource(LogoResourceName(DisplayScale))));
}

int TAboutWindow::ShowModal() {
    return RunOwnedModal(*this);
}

void TAboutWindow::LnkSupportClick() {
    platform::ShellOpenUrl(kSupportUrl);
}

void TAboutWindow::FormHelp() {
    platform::HtmlHelpTopic(HelpFilePath);
}

bool TAboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LnkSupport && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        LnkSupportClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutWindow::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, btnClose)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace vantorel
