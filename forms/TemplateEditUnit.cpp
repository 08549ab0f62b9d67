#include "forms/TemplateEditUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "forms/ReminderOptionsControls.h"
#include "platform/Help.h"
#include "platform/Prompts.h"
#include "resources/Images.h"
#include "settings/AddInRegistry.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QTextCursor>

namespace vantorel {

TTemplateEdit* TemplateEdit = nullptr;

// ---------------------------------------------------------------------------------
// txtTemplate

TTemplateTextBox::TTemplateTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { BoxChanged(); });
}

void TTemplateTextBox::SetText(const QString& sText) {
    m_lines.SetText(sText);
    m_bSetting = true;
    setPlainText(m_lines.Shown());
    m_bSetting = false;
    if (onChange) {
        onChange();
    }
}

void TTemplateTextBox::BoxChanged() {
    if (m_bSetting) {
        return;
    }
    m_lines.ShownChanged(document()->toRawText());
    if (onChange) {
        onChange();
    }
}

int TTemplateTextBox::SelStart() const {
    return m_lines.ToTextPosition(textCursor().selectionStart());
}

int TTemplateTextBox::SelLength() const {
    return m_lines.ToTextPosition(textCursor().selectionEnd()) - SelStart();
}

void TTemplateTextBox::SetCaret(int nPosition) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(m_lines.ToShownPosition(nPosition));
    setTextCursor(cursor);
}

void TTemplateTextBox::keyPressEvent(QKeyEvent* event) {
    // Typing stops at the limit; a typed line break is a CR LF.
    int nTyped = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        nTyped = 2;
    } else if (!event->text().isEmpty() && event->text().front().isPrint()) {
        nTyped = static_cast<int>(event->text().size());
    }
    if (nTyped > 0 && !isReadOnly() &&
        nTyped > TypingRoom(static_cast<int>(Text().size()), SelLength())) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TTemplateTextBox::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        return;
    }
    // A pasted text counts as typed: as much as fits, its breaks as CR LF.
    TTemplateLines pasted;
    pasted.SetText(source->text());
    const QString sShown = pasted.Shown();
    int nRoom = TypingRoom(static_cast<int>(Text().size()), SelLength());
    qsizetype nFits = 0;
    while (nFits < sShown.size()) {
        const int nCost = sShown[nFits] == QLatin1Char('\n') ? 2 : 1;
        if (nCost > nRoom) {
            break;
        }
        nRoom -= nCost;
        ++nFits;
    }
    insertPlainText(sShown.left(nFits));
}

// ---------------------------------------------------------------------------------
// The dialog

namespace {

QRadioButton* createRadio(QWidget& parent, const char* name, const QString& caption,
                          const QRect& geometry) {
    auto* radio = new QRadioButton(caption, &parent);
    radio->setObjectName(QLatin1String(name));
    radio->setGeometry(geometry);
    FitToCaption(*radio);
    return radio;
}

// A picture of TemplateEditImageList at the scale, sized in design pixels.
QPixmap listImage(int nIndex, quint16 nScale) {
    QPixmap pixmap = QPixmap::fromImage(
        LoadImageResource(TemplateEditImagePrefix(nIndex) + ScaleToSuffix(nScale)));
    if (!pixmap.isNull()) {
        pixmap.setDevicePixelRatio(pixmap.width() / double(kTemplateEditImageSize));
    }
    return pixmap;
}

}  // namespace

TTemplateEdit::TTemplateEdit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TemplateEdit"));
    SetFixedDialogFrame(*this, kTemplateEditCaption, {kClientWidth, kClientHeight});

    imgTemplate = new QLabel(this);
    imgTemplate->setObjectName(QStringLiteral("imgTemplate"));
    imgTemplate->setGeometry(8, 8, 32, 32);
    imgTemplate->setScaledContents(true);

    Label1 = new QLabel(
        QStringLiteral(
            "Use a template to define the text that will be inserted in the email to re-send"),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(46, 8);
    Label1->adjustSize();

    OptNoTemplate = createRadio(*this, "OptNoTemplate", QStringLiteral("Do &not use templates"),
                                {19, 73, 136, 17});

    // A frame without caption; OptUseTemplate sits on its top edge as its title.
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 104, 536, 222);
    OptUseTemplate = createRadio(*this, "OptUseTemplate",
                                 QStringLiteral("&Use the following template"), {19, 96, 150, 17});
    OptUseTemplate->setAutoFillBackground(true);
    OptUseTemplate->raise();

    btnInsertName = CreateButton(*GroupBox1, "btnInsertName", {}, {8, 31, 25, 25});
    btnInsertEmail = CreateButton(*GroupBox1, "btnInsertEmail", {}, {32, 31, 27, 25});
    btnInsertDate = CreateButton(*GroupBox1, "btnInsertDate", {}, {58, 31, 25, 25});
    btnInsertTime = CreateButton(*GroupBox1, "btnInsertTime", {}, {82, 31, 25, 25});
    btnInsertVantorel = CreateButton(*GroupBox1, "btnInsertVantorel", {}, {122, 31, 25, 25});
    for (const TInsertButton button : kInsertButtons) {
        QPushButton* b = InsertButton(button);
        b->setToolTip(InsertButtonHint(button));
        b->setIconSize(QSize(kInsertButtonIconSize, kInsertButtonIconSize));
        // The image fills the button; the frame shows around it.
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    }
    btnRestoreDefault =
        CreateButton(*GroupBox1, "btnRestoreDefault", QStringLiteral("&Restore default template"),
                     {399, 31, 129, 25});
    txtTemplate = new TTemplateTextBox(GroupBox1);
    txtTemplate->setObjectName(QStringLiteral("txtTemplate"));
    txtTemplate->setGeometry(8, 59, 520, 154);

    btnOK = CreateButton(*this, "btnOK", QStringLiteral("&OK"), {388, 338, 75, 25});
    btnOK->setDefault(true);
    btnCancel = CreateButton(*this, "btnCancel", QStringLiteral("&Cancel"), {469, 338, 75, 25});
    // The window keeps its size, so the anchors (GroupBox1 and txtTemplate to all four
    // edges, btnRestoreDefault to the right, OK and Cancel to the bottom right) never
    // move anything.

    connect(OptUseTemplate, &QRadioButton::clicked, this, [this] { OptUseTemplateClick(); });
    connect(OptNoTemplate, &QRadioButton::clicked, this, [this] { OptNoTemplateClick(); });
    txtTemplate->onChange = [this] { txtTemplateChange(); };
    connect(btnInsertName, &QPushButton::clicked, this, [this] { btnInsertNameClick(); });
    connect(btnInsertEmail, &QPushButton::clicked, this, [this] { btnInsertEmailClick(); });
    connect(btnInsertDate, &QPushButton::clicked, this, [this] { btnInsertDateClick(); });
    connect(btnInsertTime, &QPushButton::clicked, this, [this] { btnInsertTimeClick(); });
    connect(btnInsertVantorel, &QPushButton::clicked, this, [this] { btnInsertVantorelClick(); });
    connect(btnRestoreDefault, &QPushButton::clicked, this, [this] { btnRestoreDefaultClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    // In reading order: the two choices, the buttons above the text, the text, then
    // OK and Cancel.
    const QList<QWidget*> tabOrder{
        OptNoTemplate, OptUseTemplate, btnInsertName,     btnInsertEmail,
        btnInsertDate, btnInsertTime,  btnInsertVantorel, btnRestoreDefault,
        txtTemplate,   btnOK,          btnCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    FormCreate();
}

void TTemplateEdit::FormCreate() {
    // The dialog's own measurement: the add-in's scale is taken from it later.
    const quint16 nScale = GetWindowsScaling();
    const QString sSuffix = ScaleToSuffix(nScale);
    imgTemplate->setPixmap(
        QPixmap::fromImage(LoadImageResource(QStringLiteral("IMG_TEMPEDIT_") + sSuffix)));
    for (const TInsertButton button : kInsertButtons) {
        QIcon icon;
        icon.addPixmap(listImage(InsertButtonImage(button), nScale), QIcon::Normal);
        icon.addPixmap(listImage(InsertButtonDisabledImage(button), nScale), QIcon::Disabled);
        QPushButton* b = InsertButton(button);
        b->setIcon(icon);
        b->setText(InsertButtonCaption(button, OutlookMajorVersion));
        // After the caption, which would take its mnemonic (none) as the shortcut.
        b->setShortcut(InsertButtonAccessKey(button));
    }
}

QPushButton* TTemplateEdit::InsertButton(TInsertButton button) const {
    switch (button) {
        case TInsertButton::Name:
            return btnInsertName;
        case TInsertButton::Email:
            return btnInsertEmail;
        case TInsertButton::Date:
            return btnInsertDate;
        case TInsertButton::Time:
            return btnInsertTime;
        case TInsertButton::Signature:
            return btnInsertVantorel;
    }
    return nullptr;
}

quint16 TTemplateEdit::GetWindowsScaling() const {
    return ScaleFromMarkerHeight(imgTemplate->height(), imgTemplate->devicePixelRatioF());
}

int TTemplateEdit::ShowModal() {
    return RunOwnedModal(*this);
}

void TTemplateEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TTemplateEdit::FormShow() {
    // Centred over the owner, or the screen when there is none.
    QRect over;
    if (parentWidget() != nullptr) {
        over = parentWidget()->window()->geometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        over = screen->availableGeometry();
    }
    if (over.isValid()) {
        move(over.center() - rect().center());
    }
    LoadTemplate();
    // The text when a template is in use, else the choice made.
    if (txtTemplate->isEnabled()) {
        txtTemplate->setFocus();
    } else {
        (OptUseTemplate->isChecked() ? OptUseTemplate : OptNoTemplate)->setFocus();
    }
}

void TTemplateEdit::LoadTemplate() {
    if (AddInClosed()) {
        return;
    }
    const TTemplateSettings settings = LoadTemplateSettings(*AddInRegistry);
    OptUseTemplate->setChecked(settings.bUseTemplate);
    OptNoTemplate->setChecked(!settings.bUseTemplate);
    EnableTemplateControls();
    txtTemplate->SetText(settings.sTemplate);
    btnRestoreDefault->setEnabled(
        TemplateControlStates(settings.bUseTemplate, settings.sTemplate).bRestoreDefault);
}

void TTemplateEdit::EnableTemplateControls() {
    ApplyStates(TemplateControlStates(OptUseTemplate->isChecked(), txtTemplate->Text()));
}

void TTemplateEdit::ApplyStates(const TTemplateControlStates& states) {
    txtTemplate->setEnabled(states.bText);
    btnRestoreDefault->setEnabled(states.bRestoreDefault);
    for (const TInsertButton button : kInsertButtons) {
        InsertButton(button)->setEnabled(states.bInsertButtons);
    }
}

void TTemplateEdit::txtTemplateChange() {
    btnRestoreDefault->setEnabled(
        RestoreEnabledAfterChange(btnRestoreDefault->isEnabled(), txtTemplate->Text()));
}

void TTemplateEdit::InsertTemplateText(const QString& sText) {
    try {
        const TInsertResult result = vantorel::InsertTemplateText(
            txtTemplate->Text(), txtTemplate->SelStart(), txtTemplate->SelLength(), sText);
        txtTemplate->SetText(result.sText);
        txtTemplate->setFocus();
        txtTemplate->SetCaret(result.nCaret);
        txtTemplate->ensureCursorVisible();
    } catch (const std::exception&) {
        // Nothing inserted: the box keeps what it holds.
    }
}

void TTemplateEdit::btnRestoreDefaultClick() {
    const int nCaret = txtTemplate->SelStart();
    txtTemplate->SetCaret(0);
    platform::MessageRequest request;
    request.text = kRestoreDefaultQuestion;
    request.icon = platform::MessageIcon::Confirmation;
    request.buttons = platform::MessageButtons::YesNo;
    request.defaultAnswer = platform::MessageAnswer::No;  // a slip of Enter keeps the text
    if (platform::prompts().show(request).answer == platform::MessageAnswer::Yes) {
        txtTemplate->SetText(QString());
        InsertTemplateText(DefaultReplyTemplate);
        btnRestoreDefault->setEnabled(false);
    } else {
        txtTemplate->setFocus();
        txtTemplate->SetCaret(nCaret);
    }
}

void TTemplateEdit::StoreTemplate() {
    StoreTemplateSettings({OptUseTemplate->isChecked(), txtTemplate->Text()}, *AddInRegistry);
}

void TTemplateEdit::btnOKClick() {
    if (!AddInClosed()) {
        try {
            StoreTemplate();
        } catch (const SettingsSaveError& e) {
            // The dialog stays open with the text the person wrote, to try again.
            platform::showMessage(e.text(), platform::MessageIcon::Error);
            return;
        }
    }
    accept();
}

void TTemplateEdit::btnCancelClick() {
    reject();
}

void TTemplateEdit::FormHelp() {
    platform::HtmlHelpContext(HelpFilePath, kTemplateEditHelpContext);
}

void TTemplateEdit::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, btnCancel)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace vantorel
