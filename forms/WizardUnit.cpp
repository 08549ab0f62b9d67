#include "forms/WizardUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "forms/ReminderOptionsControls.h"
#include "forms/WizardLogic.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "resources/Images.h"
#include "settings/AddInRegistry.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>

namespace vantorel {

namespace {
constexpr int kClientWidth = 519;
constexpr int kClientHeight = 401;

QFrame* createPage(QWidget& workspace, const char* name) {
    auto* page = MakeControl<QFrame>(workspace, name, {});
    page->setFrameShape(QFrame::NoFrame);
    page->hide();
    return page;
}

// A label of one line at AT, as wide as its text.
QLabel* createLabel(QWidget& page, const char* name, const QString& text, QPoint at) {
    auto* label = MakeControl<QLabel>(page, name, QRect(at, QSize()));
    label->setText(text);
    label->adjustSize();
    return label;
}

// A label that wraps its text within WIDTH.
QLabel* createWrappedLabel(QWidget& page, const char* name, const QString& text, QPoint at,
                           int nWidth) {
    auto* label = MakeControl<QLabel>(page, name, QRect(at, QSize(nWidth, 0)));
    label->setText(text);
    label->setWordWrap(true);
    label->resize(nWidth, label->heightForWidth(nWidth));
    return label;
}

// A picture stretched to its box: the band of the square image that has the box's shape.
QLabel* createPicture(QWidget& page, const char* name, const QRect& box, const QString& prefix) {
    auto* picture = MakeControl<QLabel>(page, name, box);
    picture->setScaledContents(true);
    const QImage image = LoadImageResource(prefix + ScaleToSuffix(DisplayScale));
    picture->setPixmap(QPixmap::fromImage(PictureBand(image, box.size())));
    return picture;
}

QPushButton* createButton(QWidget& window, const char* name, const QString& caption,
                          const QRect& geometry) {
    auto* button = MakeControl<QPushButton>(window, name, geometry);
    button->setText(caption);
    // Enter presses the button that has the focus, else the default one (ShowPage).
    button->setAutoDefault(true);
    return button;
}
}  // namespace

TWizardWindow::TWizardWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WizardWindow"));
    SetFixedDialogFrame(*this, QStringLiteral("Quick Start"), {kClientWidth, kClientHeight});

    // The title band.
    PanelTitle = MakeControl<QFrame>(*this, "PanelTitle", {0, 0, 519, 59});
    PanelTitle->setFrameShape(QFrame::NoFrame);
    PanelTitle->setAutoFillBackground(true);
    QPalette white = PanelTitle->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    PanelTitle->setPalette(white);
    Title = createLabel(*PanelTitle, "Title", AddInName, {8, 5});
    QFont bold = DesignFont();
    bold.setBold(true);
    Title->setFont(bold);
    Title->adjustSize();
    SubTitle = createLabel(*PanelTitle, "SubTitle", WizardPageTitle(1), {8, 24});
    Image1 = MakeControl<QLabel>(*PanelTitle, "Image1", {463, 5, 48, 48});
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(
        LoadImageResource(QStringLiteral("IMG_REMINDER_") + TitleImageSuffix(DisplayScale))));

    // The work area: past both side edges, so only its top and bottom bevels show.
    PanelWorkspace = MakeControl<QFrame>(*this, "PanelWorkspace", {-5, 59, 529, 293});
    PanelWorkspace->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelWorkspace->setLineWidth(1);

    Page01 = createPage(*PanelWorkspace, "Page01");
    auto* welcome = createLabel(*Page01, "page01_lbl01", wizard_text::kWelcome, {30, 24});
    QFont large = DesignFont();
    large.setPixelSize(13);  // 10 pt at 96 dpi
    large.setBold(true);
    welcome->setFont(large);
    welcome->adjustSize();
    createLabel(*Page01, "page01_lbl02", wizard_text::kBeAware, {30, 64});
    createWrappedLabel(*Page01, "page01_lbl03", wizard_text::kWhatFor, {30, 91}, 449);
    createLabel(*Page01, "page01_lbl04", wizard_text::kClickNext, {30, 176});

    Page02 = createPage(*PanelWorkspace, "Page02");
    createWrappedLabel(*Page02, "page02_lbl01", wizard_text::kSending, {30, 24}, 391);
    createPicture(*Page02, "page02_Img01", {124, 73, 280, 129}, QStringLiteral("IMG_WIZARD1_"));

    Page03 = createPage(*PanelWorkspace, "Page03");
    createLabel(*Page03, "page03_lbl01", wizard_text::kTasks, {30, 24});
    createPicture(*Page03, "page03_Img01", {30, 73, 446, 86}, QStringLiteral("IMG_WIZARD2_"));

    Page04 = createPage(*PanelWorkspace, "Page04");
    createWrappedLabel(*Page04, "page04_lbl01", wizard_text::kReminders, {30, 24}, 410);
    createPicture(*Page04, "page04_Img01", {120, 73, 248, 142}, QStringLiteral("IMG_WIZARD3_"));
    createWrappedLabel(*Page04, "page04_lbl02", wizard_text::kTemplate, {30, 235}, 391);

    Page05 = createPage(*PanelWorkspace, "Page05");
    createLabel(*Page05, "page05_lbl01", wizard_text::kSettings, {30, 24});
    createPicture(*Page05, "page05_Img01", {105, 73, 300, 99}, QStringLiteral("IMG_WIZARD4_"));

    m_aPages = {Page01, Page02, Page03, Page04, Page05};

    cmdBack = createButton(*this, "cmdBack", QStringLiteral("&Back"), {260, 368, 75, 25});
    cmdNext = createButton(*this, "cmdNext", QStringLiteral("&Next"), {341, 368, 75, 25});
    cmdCancel = createButton(*this, "cmdCancel", QStringLiteral("&Cancel"), {436, 368, 75, 25});
    setTabOrder(cmdBack, cmdNext);
    setTabOrder(cmdNext, cmdCancel);

    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBackClick(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNextClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancelClick(); });

    LayoutPages();
    ShowPage(kWizardFirstPage);
}

int TWizardWindow::ShowModal() {
    return RunOwnedModal(*this);
}

void TWizardWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TWizardWindow::FormShow() {
    LayoutPages();
    ShowPage(kWizardFirstPage);
    cmdNext->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TWizardWindow::LayoutPages() {
    // All pages lie on top of each other in the work area.
    for (QFrame* page : m_aPages) {
        page->setFrameShape(QFrame::NoFrame);
        page->setGeometry(13, 6, PanelWorkspace->width() - 10, PanelWorkspace->height());
    }
}

void TWizardWindow::ShowPage(int n) {
    for (int i = kWizardFirstPage; i <= kWizardLastPage; ++i) {
        Page(i)->setVisible(i == n);
    }
    SubTitle->setText(WizardPageTitle(n));
    SubTitle->adjustSize();
    const TWizardButtons buttons = WizardButtons(n);
    cmdBack->setEnabled(buttons.bBackEnabled);
    cmdNext->setEnabled(buttons.bNextEnabled);
    cmdCancel->setText(buttons.sCancelCaption);
    cmdCancel->setEnabled(true);
    // Enter goes on to the next page, and on the last one closes the wizard.
    cmdNext->setDefault(buttons.bNextEnabled);
    cmdCancel->setDefault(!buttons.bNextEnabled);
    if (focusWidget() == nullptr || !focusWidget()->isEnabled()) {
        (buttons.bNextEnabled ? cmdNext : cmdCancel)->setFocus();
    }
    m_nCurrentPage = n;
}

void TWizardWindow::cmdNextClick() {
    ShowPage(WizardNextPage(m_nCurrentPage));
}

void TWizardWindow::cmdBackClick() {
    ShowPage(WizardBackPage(m_nCurrentPage));
}

void TWizardWindow::cmdCancelClick() {
    // Read to the end: the introduction is not shown at start-up again.
    if (CancelSwitchesOffStartWizard(m_nCurrentPage) && AddInRegistry != nullptr) {
        try {
            AddInRegistry->SaveChecked([] { AddInRegistry->SetStartWizard(false); });
        } catch (const SettingsSaveError& e) {
            // Told why the introduction will come again at the next start.
            platform::showMessage(e.text(), platform::MessageIcon::Error);
        }
    }
    reject();
}

void TWizardWindow::FormHelp() {
    platform::HtmlHelpTopic(HelpFilePath);
}

void TWizardWindow::keyPressEvent(QKeyEvent* event) {
    if (HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, cmdCancel)) {
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vantorel
