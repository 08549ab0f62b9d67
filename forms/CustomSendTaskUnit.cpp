#include "forms/CustomSendTaskUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "platform/Help.h"
#include "platform/Prompts.h"
#include "settings/AddInRegistry.h"
#include "tools/Globals.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>

namespace vantorel {

TCustomSendTask* CustomSendTask = nullptr;

namespace {
constexpr int kClientWidth = 377;
constexpr int kClientHeight = 337;
constexpr int kButtonsFromBottom = kClientHeight - 304;
constexpr bool kCustomSettings = false;

}  // namespace

TCustomSendTask::TCustomSendTask(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CustomSendTask"));
    SetFixedDialogFrame(*this, QStringLiteral("Send with Custom Settings"),
                        {kClientWidth, kClientHeight});

    controls = new TReminderOptionsControls(*this);
    btnSend = CreateButton(*this, "btnSend", QStringLiteral("&Send"), {213, 304, 75, 25});
    btnSend->setDefault(true);
    btnCancel = CreateButton(*this, "btnCancel", QStringLiteral("&Cancel"), {294, 304, 75, 25});
    btnShowOptions =
        CreateButton(*this, "btnShowOptions", QStringLiteral("Show &Options"), {8, 304, 97, 25});
    btnHideOptions =
        CreateButton(*this, "btnHideOptions", QStringLiteral("Hide &Options"), {8, 304, 97, 25});

    connect(btnSend, &QPushButton::clicked, this, [this] { btnSendClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    connect(btnShowOptions, &QPushButton::clicked, this, [this] { btnShowOptionsClick(); });
    connect(btnHideOptions, &QPushButton::clicked, this, [this] { btnHideOptionsClick(); });

    // In reading order: the reminder, the options, then the buttons along the bottom.
    const TReminderOptionsControls& c = *controls;
    const QList<QWidget*> tabOrder{
        c.rdbRemindMe,       c.comRemindMe,  c.comRemindMeTime, c.rdbTask,     c.comTask,
        c.chkMoveOffWeekend, c.chkCompleted, c.chkDelete,       c.chkDuration, c.comDuration,
        c.comPriority,       btnShowOptions, btnHideOptions,    btnSend,       btnCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    FormCreate();
}

void TCustomSendTask::FormCreate() {
    m_nStartHeight = OuterHeight();
    SetOptionsVisible(true);
}

void TCustomSendTask::SetCurrentMailItem(const outlook::MailItemPtr& oMailItem) {
    m_oMailItem = oMailItem;
}

int TCustomSendTask::ShowModal() {
    return RunOwnedModal(*this);
}

void TCustomSendTask::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TCustomSendTask::FormShow() {
    LoadCustomSettings();
    // At the mouse cursor, inside the work area.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize();
    const QSize outer(width() + kFrameWidth, OuterHeight());
    move(PlaceAtCursor(QCursor::pos(), outer, workArea));
    if (controls->comRemindMe->isEnabled()) {
        controls->comRemindMe->setFocus();
    } else {
        controls->comTask->setFocus();
    }
}

void TCustomSendTask::LoadCustomSettings() {
    SetOptionsVisible(AddInRegistry->GetTaskShowAdvanced());
    controls->SetChoices(LoadReminderChoices(*AddInRegistry, kCustomSettings));
}

void TCustomSendTask::SetOptionsVisible(bool bShow) {
    const int nOuterHeight = bShow ? m_nStartHeight : HiddenOptionsHeight(m_nStartHeight);
    setFixedHeight(nOuterHeight - kFrameHeight);
    // The buttons keep their distance to the bottom edge.
    for (QPushButton* button : {btnSend, btnCancel, btnShowOptions, btnHideOptions}) {
        button->move(button->x(), height() - kButtonsFromBottom);
    }
    TReminderOptionsControls& c = *controls;
    // The options below the bottom edge are cut off; hidden too, so that Tab does not
    // take the focus where nobody sees it. They keep their values.
    for (QWidget* w : std::initializer_list<QWidget*>{
             c.imgOptions, c.lblOptions, c.pnlOptions, c.chkCompleted, c.chkDelete, c.chkDuration,
             c.comDuration, c.lblDuration, c.lblPriority, c.comPriority}) {
        w->setVisible(bShow);
    }
    c.chkCompleted->setEnabled(bShow);
    c.chkDelete->setEnabled(bShow);
    c.comPriority->setEnabled(bShow);
    c.comDuration->setEnabled(bShow && c.chkDuration->isChecked());
    btnShowOptions->setVisible(!bShow);
    btnHideOptions->setVisible(bShow);
}

void TCustomSendTask::Complain(const QString& sMessage, QWidget* box) {
    platform::showMessage(sMessage, platform::MessageIcon::Warning);
    if (box != nullptr && !AddInClosed()) {
        box->setFocus();
    }
}

void TCustomSendTask::btnSendClick() {
    if (AddInClosed()) {
        return;
    }
    const TReminderChoices choices = controls->Choices();
    const TChoiceCheck check = CheckStartChoices(choices);
    if (check.problem == TChoiceProblem::Period) {
        Complain(check.sMessage, controls->PeriodBox());
        return;
    }
    if (check.problem == TChoiceProblem::Time) {
        Complain(check.sMessage, controls->comRemindMeTime);
        return;
    }
    if (!m_oMailItem) {
        platform::showMessage(kMessageNotAssignedMessage, platform::MessageIcon::Error);
        return;
    }
    const QString sDurationProblem = CheckDurationChoice(choices);
    if (!sDurationProblem.isEmpty()) {
        Complain(sDurationProblem,
                 controls->comDuration->isEnabled() ? controls->comDuration : nullptr);
        return;
    }
    try {
        const TReminderData data = CustomReminderData(choices, check, *AddInRegistry);
        CreateReminderTask(NewTaskItem(*OutlookApp), m_oMailItem, data);
    } catch (const std::exception&) {
        // The message goes all the same; the user knows it is not followed up.
        platform::showMessage(kCreationErrorMessage, platform::MessageIcon::Error);
        if (AddInClosed()) {
            return;
        }
    }
    m_oMailItem.reset();
    StoreCustomSettings();
    done(QDialog::Accepted);
}

void TCustomSendTask::StoreCustomSettings() {
    StoreCustomChoices(controls->Choices(), OptionsVisible(), *AddInRegistry);
}

void TCustomSendTask::btnCancelClick() {
    if (!AddInClosed()) {
        AddInRegistry->SetTaskShowAdvanced(OptionsVisible());
    }
    reject();
}

void TCustomSendTask::FormHelp() {
    platform::HtmlHelpContext(HelpFilePath, kHelpContext);
}

void TCustomSendTask::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, btnCancel)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace vantorel
