#include "forms/SettingsUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "forms/AboutBoxUnit.h"
#include "forms/ElidedText.h"
#include "forms/ReminderOptionsControls.h"
#include "platform/Clock.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "resources/Images.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QKeyEvent>
#include <QShowEvent>

#include <algorithm>
#include <memory>

namespace vantorel {

namespace {

// Between a caption and the box it stands before.
constexpr int kCaptionGap = 4;

QCheckBox* createCheck(QWidget& window, const char* name, const QString& caption,
                       const QRect& geometry) {
    auto* check = MakeControl<QCheckBox>(window, name, geometry);
    check->setText(caption);
    FitToCaption(*check);
    return check;
}

QLabel* createLabel(QWidget& window, const char* name, const QString& caption, QPoint at) {
    auto* label = MakeControl<QLabel>(window, name, QRect(at, QSize()));
    label->setText(caption);
    label->adjustSize();
    return label;
}

// A rule one pixel high that runs on from an area's heading.
QFrame* createRule(QWidget& window, const char* name, const QRect& geometry) {
    auto* rule = MakeControl<QFrame>(window, name, geometry);
    rule->setFrameShape(QFrame::NoFrame);
    rule->setAutoFillBackground(true);
    rule->setBackgroundRole(QPalette::Mid);
    rule->setFocusPolicy(Qt::NoFocus);
    return rule;
}

}  // namespace

TSettings::TSettings(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Settings"));
    SetFixedDialogFrame(*this, QStringLiteral("Vantorel - Preferences"),
                        {kClientWidth, kClientHeight});

    btnOK = CreateButton(*this, "btnOK", QStringLiteral("&OK"), {303, 460, 75, 25});
    btnOK->setDefault(true);
    btnCancel = CreateButton(*this, "btnCancel", QStringLiteral("&Cancel"), {384, 460, 75, 25});
    chkDisplayName =
        createCheck(*this, "chkDisplayName", QStringLiteral("Include Recipient Display &Name"),
                    {59, 35, 239, 17});
    chkEmail = createCheck(*this, "chkEmail", QStringLiteral("Include Recipient &E-mail"),
                           {59, 58, 239, 17});
    chkDate = createCheck(*this, "chkDate", QStringLiteral("Include &Date"), {59, 81, 239, 17});
    chkTime = createCheck(*this, "chkTime", QStringLiteral("Include &Time"), {59, 104, 239, 17});
    chkText =
        createCheck(*this, "chkText", QStringLiteral("Include this te&xt:"), {59, 127, 97, 17});
    txtText = MakeControl<QLineEdit>(*this, "txtText", {162, 125, 136, 21});
    cmbCategories = MakeControl<QComboBox>(*this, "cmbCategories", {167, 259, 145, 21});
    cmbCategories->setEditable(true);
    cmbCategories->setInsertPolicy(QComboBox::NoInsert);
    cmbCategories->addItem(kNoCategoryItem);
    chkShowQuickIntrodution =
        createCheck(*this, "chkShowQuickIntrodution",
                    QStringLiteral("&Show quick introduction at startup"), {59, 411, 239, 17});
    pnlLineRemindersSubjects = createRule(*this, "pnlLineRemindersSubjects", {107, 14, 352, 1});
    pnlLineStartup = createRule(*this, "pnlLineStartup", {109, 334, 350, 1});
    pnlLineCategories = createRule(*this, "pnlLineCategories", {66, 241, 393, 1});
    btnAbout = CreateButton(*this, "btnAbout", QStringLiteral("&About..."), {384, 355, 75, 25});
    btnHelp = CreateButton(*this, "btnHelp", QStringLiteral("&Help..."), {8, 460, 75, 25});

    lblSubjects = createLabel(*this, "lblSubjects", QStringLiteral("Reminders Subjects"), {8, 8});
    lblSampleTitle = createLabel(*this, "lblSampleTitle", QString(), {59, 165});
    QFont bold = font();
    bold.setBold(true);
    lblSampleTitle->setFont(bold);
    lblSampleTitle->setText(QStringLiteral("Sample Subject:"));
    lblSampleTitle->adjustSize();
    // The sample shows whole on up to three lines (the room above the categories); a
    // longer one is shortened in its middle, so its end with the date and the time,
    // which the check boxes change, always shows.
    lblSample = new TElidedLabel(Qt::ElideMiddle, this);
    lblSample->setObjectName(QStringLiteral("lblSample"));
    lblSample->setWordWrap(true);
    lblSample->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QRect threeLines = lblSample->fontMetrics().boundingRect(
        QRect(0, 0, 398, 1000), Qt::TextWordWrap, QStringLiteral("M\nM\nM"));
    lblSample->setGeometry(61, 184, 398, std::max(25, threeLines.height()));
    lblCategories = createLabel(*this, "lblCategories", QStringLiteral("Categories"), {8, 235});
    lblSetCategories =
        createLabel(*this, "lblSetCategories", QStringLiteral("Set Task Cate&gory to"), {59, 262});
    lblSetCategories->setBuddy(cmbCategories);
    // The edit box beside the check box starts after its caption, whatever width it takes.
    PlaceRightOf(*txtText, *chkText, kCaptionGap);
    imgSubjects = MakeControl<QLabel>(*this, "imgSubjects", {8, 27, 32, 32});
    imgCategories = MakeControl<QLabel>(*this, "imgCategories", {8, 254, 32, 32});
    imgStartup = MakeControl<QLabel>(*this, "imgStartup", {8, 347, 32, 32});
    // The headings stand in front of the rules that run on from them.
    lblSubjects->raise();
    lblCategories->raise();

    connect(btnOK, &QPushButton::clicked, this, [this] { RunHandler([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAbout, &QPushButton::clicked, this,
            [this] { RunHandler([this] { btnAboutClick(); }); });
    connect(btnHelp, &QPushButton::clicked, this,
            [this] { RunHandler([this] { btnHelpClick(); }); });
    connect(chkDisplayName, &QCheckBox::toggled, this, [this] { chkDisplayNameClick(); });
    connect(chkEmail, &QCheckBox::toggled, this, [this] { chkEmailClick(); });
    connect(chkDate, &QCheckBox::toggled, this, [this] { chkDateClick(); });
    connect(chkTime, &QCheckBox::toggled, this, [this] { chkTimeClick(); });
    connect(chkText, &QCheckBox::toggled, this, [this] { chkTextClick(); });
    connect(txtText, &QLineEdit::textChanged, this, [this] { txtTextChange(); });

    // In reading order: the subject, the category, the start-up box and About, then
    // the buttons along the bottom.
    const QList<QWidget*> tabOrder{chkDisplayName, chkEmail, chkDate,       chkTime,
                                   chkText,        txtText,  cmbCategories, chkShowQuickIntrodution,
                                   btnAbout,       btnHelp,  btnOK,         btnCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    FormCreate();
}

void TSettings::FormCreate() {
    m_nStartHeight = OuterHeight();
    const QString suffix = ScaleToSuffix(DisplayScale);
    const std::pair<QLabel*, const char*> pictures[] = {{imgSubjects, "IMG_SUBJECT_"},
                                                        {imgCategories, "IMG_CATEGORIES_"},
                                                        {imgStartup, "IMG_TIP_"}};
    for (const auto& [picture, prefix] : pictures) {
        picture->setScaledContents(true);
        picture->setPixmap(QPixmap::fromImage(LoadImageResource(QLatin1String(prefix) + suffix)));
    }
}

int TSettings::ShowModal() {
    return RunOwnedModal(*this);
}

void TSettings::CloseWithAddIn() {
    // The About box's own loop runs inside this dialog's: it ends first.
    for (QDialog* child : findChildren<QDialog*>()) {
        child->reject();
    }
    reject();
}

void TSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TSettings::FormShow() {
    LoadSettings();
    ApplyShownHeight();
    chkDisplayName->setFocus();
}

void TSettings::LoadSettings() {
    if (AddInRegistry == nullptr) {
        return;
    }
    TAddInRegistry& registry = *AddInRegistry;
    const TSubjectChoices choices = LoadSubjectChoices(registry);
    // Filled without the sample following each step; it is composed once at the end.
    for (QWidget* w : std::initializer_list<QWidget*>{chkDisplayName, chkEmail, chkDate, chkTime,
                                                      chkText, txtText}) {
        w->blockSignals(true);
    }
    chkDisplayName->setChecked(choices.bDisplayName);
    chkEmail->setChecked(choices.bEmail);
    chkDate->setChecked(choices.bDate);
    chkTime->setChecked(choices.bTime);
    chkText->setChecked(choices.bText);
    txtText->setEnabled(choices.bText);
    txtText->setText(choices.sText);
    for (QWidget* w : std::initializer_list<QWidget*>{chkDisplayName, chkEmail, chkDate, chkTime,
                                                      chkText, txtText}) {
        w->blockSignals(false);
    }
    chkShowQuickIntrodution->setChecked(registry.GetStartWizard());

    const TCategoryItems categories =
        CategoryItems(registry.GetMasterCategories(), registry.GetRemindersCategory());
    cmbCategories->clear();
    cmbCategories->addItems(categories.items);
    cmbCategories->setCurrentIndex(categories.nSelected);

    UpdateSample();
}

void TSettings::ApplyShownHeight() {
    const int nClientHeight = ShownOuterHeight(m_nStartHeight) - kFrameHeight;
    setFixedHeight(nClientHeight);
    // The controls anchored to the bottom keep their distance to the bottom edge.
    const int nShift = nClientHeight - kClientHeight;
    btnOK->move(303, 460 + nShift);
    btnCancel->move(384, 460 + nShift);
    btnHelp->move(8, 460 + nShift);
    // The start-up check box shares its row with the About button.
    chkShowQuickIntrodution->move(59, btnAbout->y());
}

TPreferences TSettings::Preferences() const {
    TPreferences p;
    p.subject.bDisplayName = chkDisplayName->isChecked();
    p.subject.bEmail = chkEmail->isChecked();
    p.subject.bDate = chkDate->isChecked();
    p.subject.bTime = chkTime->isChecked();
    p.subject.bText = chkText->isChecked();
    p.subject.sText = txtText->text();
    p.bShowQuickIntroduction = chkShowQuickIntrodution->isChecked();
    // "(none)" stays chosen only while its entry is selected and its text untouched.
    p.bNoCategory = cmbCategories->currentIndex() == 0 &&
                    cmbCategories->currentText() == cmbCategories->itemText(0);
    p.sCategory = cmbCategories->currentText();
    return p;
}

void TSettings::UpdateSample() {
    const TPreferences p = Preferences();
    lblSample->setText(SampleSubject(p.subject, platform::now()));
}

void TSettings::chkTextClick() {
    txtText->setEnabled(chkText->isChecked());
    UpdateSample();
}

void TSettings::btnOKClick() {
    if (AddInRegistry != nullptr) {
        try {
            StorePreferences(Preferences(), *AddInRegistry);
        } catch (const SettingsSaveError& e) {
            // The dialog stays open with what the person chose, to try again.
            platform::showMessage(e.text(), platform::MessageIcon::Error);
            return;
        }
    }
    accept();
}

void TSettings::btnAboutClick() {
    const auto about = std::make_unique<TAboutWindow>(this);
    about->ShowModal();
}

void TSettings::btnHelpClick() {
    platform::HtmlHelpTopic(HelpFilePath);
}

void TSettings::FormHelp() {
    platform::HtmlHelpContext(HelpFilePath, kHelpContext);
}

void TSettings::RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        if (OnHandlerError) {
            OnHandlerError(std::current_exception());
        } else {
            platform::showMessage(QString::fromUtf8(error.what()), platform::MessageIcon::Error);
        }
    }
}

void TSettings::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, nullptr)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace vantorel
