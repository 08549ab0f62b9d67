#pragma once

// TCustomSendTask, "Send with Custom Settings": the options of the tracking task for
// one message sent with "Custom". Send checks the entries, creates the task,
// remembers the entries as the custom settings and closes with OK; every other way
// of closing leaves the message unsent.
//
// One instance lives as long as the add-in; each showing reloads the custom settings.
// The window is laid out in design pixels (96 dpi); the toolkit scales it with the
// display.

#include "forms/ReminderOptionsControls.h"
#include "outlook/Outlook.h"
#include "settings/AddInRegistry.h"

#include <QDialog>
#include <QPushButton>

namespace vantorel {

class TCustomSendTask : public QDialog {
public:
    explicit TCustomSendTask(QWidget* parent = nullptr);

    // The message about to be sent.
    void SetCurrentMailItem(const outlook::MailItemPtr& oMailItem);
    // Shows the dialog modally: QDialog::Accepted (1) once the task has been handled.
    int ShowModal();

    // The window's height with its frame, as the options area sets it.
    int OuterHeight() const { return height() + kFrameHeight; }
    int StartHeight() const { return m_nStartHeight; }
    const outlook::MailItemPtr& CurrentMailItem() const { return m_oMailItem; }

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHelp();
    void btnSendClick();
    void btnCancelClick();
    void btnShowOptionsClick() { SetOptionsVisible(true); }
    void btnHideOptionsClick() { SetOptionsVisible(false); }

    QPushButton* btnSend;
    QPushButton* btnCancel;
    QPushButton* btnShowOptions;
    QPushButton* btnHideOptions;
    TReminderOptionsControls* controls;

    // The height of the window's frame (caption and borders) in design pixels: the
    // options area is sized by the window's outer height.
    static constexpr int kFrameHeight = 29;
    static constexpr int kFrameWidth = 6;
    // The help context of this dialog.
    static constexpr int kHelpContext = 6;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadCustomSettings();
    void StoreCustomSettings();
    void SetOptionsVisible(bool bShow);
    bool OptionsVisible() const { return !btnHideOptions->isHidden(); }
    // The add-in may shut down while one of the dialog's message boxes is open; the
    // dialog then has nothing left to work with.
    static bool AddInClosed() { return AddInRegistry == nullptr; }
    // A warning about the entry in BOX, which then takes the focus.
    void Complain(const QString& sMessage, QWidget* box);

    outlook::MailItemPtr m_oMailItem;
    int m_nStartHeight = 0;
};

// The add-in's custom send dialog while the add-in runs; null outside.
extern TCustomSendTask* CustomSendTask;

}  // namespace vantorel
