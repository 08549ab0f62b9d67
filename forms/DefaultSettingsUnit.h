#pragma once

// TDefaultSettings, "Vantorel - Default Settings": the options with which "Remind me"
// creates its tracking task. The same choices as the custom send dialog, and a check
// box that copies the defaults into the custom settings as they are saved.
//
// One instance lives as long as the add-in; each showing reloads the default settings.
// Only cmdReset keeps its state from one showing to the next. The window is laid out
// in design pixels (96 dpi); the toolkit scales it with the display.

#include "forms/ReminderOptionsControls.h"
#include "settings/AddInRegistry.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

namespace vantorel {

class TDefaultSettings : public QDialog {
public:
    explicit TDefaultSettings(QWidget* parent = nullptr);

    // Shows the dialog modally: QDialog::Accepted (1) once the settings are stored.
    int ShowModal();

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHelp();
    void btnOKClick();

    QPushButton* btnOK;
    QPushButton* btnCancel;
    QCheckBox* cmdReset;
    TReminderOptionsControls* controls;

    // The help context of this dialog.
    static constexpr int kHelpContext = 10;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadDefaultSettings();
    void StoreDefaultSettings();
    // The add-in may shut down while one of the dialog's message boxes is open; the
    // dialog then has nothing left to work with.
    static bool AddInClosed() { return AddInRegistry == nullptr; }
    // A warning about the entry in BOX, which then takes the focus.
    void Complain(const QString& sMessage, QWidget* box);
};

// The add-in's default settings dialog while the add-in runs; null outside.
extern TDefaultSettings* DefaultSettings;

}  // namespace vantorel
