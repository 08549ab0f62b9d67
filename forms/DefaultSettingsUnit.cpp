#include "forms/DefaultSettingsUnit.h"

#include "forms/ClientOwned.h"
#include "forms/DialogFrame.h"

#include "platform/Help.h"
#include "platform/Prompts.h"
#include "tools/Globals.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>

namespace vantorel {

TDefaultSettings* DefaultSettings = nullptr;

namespace {
constexpr int kClientWidth = 377;
constexpr int kClientHeight = 369;
constexpr bool kDefaultSet = true;

}  // namespace

TDefaultSettings::TDefaultSettings(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DefaultSettings"));
    SetFixedDialogFrame(*this, QStringLiteral("Vantorel - Default Settings"),
                        {kClientWidth, kClientHeight});

    controls = new TReminderOptionsControls(*this);
    btnOK = CreateButton(*this, "btnOK", QStringLiteral("&OK"), {213, 336, 75, 25});
    btnOK->setDefault(true);
    btnCancel = CreateButton(*this, "btnCancel", QStringLiteral("&Cancel"), {294, 336, 75, 25});
    cmdReset =
        new QCheckBox(QStringLiteral("Re&set \"custom\" settings with these defaults"), this);
    cmdReset->setObjectName(QStringLiteral("cmdReset"));
    cmdReset->setGeometry(59, 294, 289, 17);
    FitToCaption(*cmdReset);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    // Cancel closes and stores nothing.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // In reading order: the reminder, the options, then OK and Cancel.
    const TReminderOptionsControls& c = *controls;
    const QList<QWidget*> tabOrder{c.rdbRemindMe,  c.comRemindMe, c.comRemindMeTime,
                                   c.rdbTask,      c.comTask,     c.chkMoveOffWeekend,
                                   c.chkCompleted, c.chkDelete,   c.chkDuration,
                                   c.comDuration,  c.comPriority, cmdReset,
                                   btnOK,          btnCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    FormCreate();
}

void TDefaultSettings::FormCreate() {
    // The options area is always shown; the images came with the shared controls.
}

int TDefaultSettings::ShowModal() {
    return RunOwnedModal(*this);
}

void TDefaultSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TDefaultSettings::FormShow() {
    if (AddInClosed()) {
        return;
    }
    LoadDefaultSettings();
    // The period of the chosen mode is what a person changes first.
    controls->PeriodBox()->setFocus();
    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TDefaultSettings::LoadDefaultSettings() {
    // cmdReset is not loaded: it stays as the user left it.
    controls->SetChoices(LoadReminderChoices(*AddInRegistry, kDefaultSet));
}

void TDefaultSettings::Complain(const QString& sMessage, QWidget* box) {
    platform::showMessage(sMessage, platform::MessageIcon::Warning);
    if (!AddInClosed()) {
        box->setFocus();
    }
}

void TDefaultSettings::btnOKClick() {
    if (AddInClosed()) {
        return;
    }
    // Only the period of the chosen mode and, reminding, the time must be valid; the
    // duration is not checked, an invalid one is simply not stored.
    const TChoiceCheck check = CheckStartChoices(controls->Choices());
    if (check.problem == TChoiceProblem::Period) {
        Complain(check.sMessage, controls->PeriodBox());
        return;
    }
    if (check.problem == TChoiceProblem::Time) {
        Complain(check.sMessage, controls->comRemindMeTime);
        return;
    }
    try {
        StoreDefaultSettings();
    } catch (const SettingsSaveError& e) {
        // The dialog stays open with what the person chose, to try again.
        platform::showMessage(e.text(), platform::MessageIcon::Error);
        return;
    }
    done(QDialog::Accepted);
}

void TDefaultSettings::StoreDefaultSettings() {
    StoreDefaultChoices(controls->Choices(), cmdReset->isChecked(), *AddInRegistry);
}

void TDefaultSettings::FormHelp() {
    platform::HtmlHelpContext(HelpFilePath, kHelpContext);
}

void TDefaultSettings::keyPressEvent(QKeyEvent* event) {
    if (!HandleHelpAndCancelKeys(
            *event, [this] { FormHelp(); }, btnCancel)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace vantorel
