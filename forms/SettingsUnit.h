#pragma once

// TSettings, "Vantorel - Preferences": how the subject of every tracking task is
// composed (with a live sample), which category tracking tasks get, and whether the
// quick introduction comes up when the mail client starts. OK writes the choices to
// the settings; every other way of closing writes nothing. It also opens the help
// and the About box.
//
// A new dialog for every use: the "Preferences..." command creates it, shows it with
// ShowModal and frees it. The window is laid out in design pixels (96 dpi); the
// toolkit scales it with the display.

#include "forms/SettingsLogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>
#include <functional>

namespace vantorel {

class TSettings : public QDialog {
public:
    explicit TSettings(QWidget* parent = nullptr);

    // Shows the dialog modally; its result means nothing to the caller.
    int ShowModal();
    // The add-in shuts down: the About box, if open, and the dialog close, storing
    // nothing.
    void CloseWithAddIn();

    // Where an error that leaves a button's handler goes while the dialog stays
    // open: the add-in module hands it to its error path. Unset, the error is shown
    // in an error box with its text, as the toolkit shows errors nobody caught.
    std::function<void(std::exception_ptr)> OnHandlerError;

    // The window's height with its frame.
    int OuterHeight() const { return height() + kFrameHeight; }
    int StartHeight() const { return m_nStartHeight; }
    // What the controls hold now.
    TPreferences Preferences() const;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHelp();
    void btnOKClick();
    // Creates the About box, shows it over this dialog and frees it. An error while
    // creating it (the add-in library's version cannot be read) reaches the caller.
    void btnAboutClick();
    void btnHelpClick();
    void chkDisplayNameClick() { UpdateSample(); }
    void chkEmailClick() { UpdateSample(); }
    void chkDateClick() { UpdateSample(); }
    void chkTimeClick() { UpdateSample(); }
    void chkTextClick();
    void txtTextChange() { UpdateSample(); }

    QPushButton* btnOK;
    QPushButton* btnCancel;
    QCheckBox* chkDisplayName;
    QCheckBox* chkEmail;
    QCheckBox* chkDate;
    QCheckBox* chkTime;
    QCheckBox* chkText;
    QLineEdit* txtText;
    QComboBox* cmbCategories;
    QCheckBox* chkShowQuickIntrodution;
    QFrame* pnlLineRemindersSubjects;
    QFrame* pnlLineStartup;
    QFrame* pnlLineCategories;
    QPushButton* btnAbout;
    QPushButton* btnHelp;
    QLabel* lblSubjects;
    QLabel* imgSubjects;
    QLabel* lblSampleTitle;
    QLabel* lblSample;
    QLabel* lblCategories;
    QLabel* imgCategories;
    QLabel* lblSetCategories;
    QLabel* imgStartup;

    // The client area at 96 dpi, as designed.
    static constexpr int kClientWidth = 467;
    static constexpr int kClientHeight = 493;
    // The height of the window's frame (caption and borders) in design pixels.
    static constexpr int kFrameHeight = 29;
    // The help context of this dialog (F1).
    static constexpr int kHelpContext = 12;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSettings();
    void ApplyShownHeight();
    void UpdateSample();
    // Runs a button's handler; an error that leaves it goes to OnHandlerError.
    void RunHandler(const std::function<void()>& handler);

    int m_nStartHeight = 0;
};

}  // namespace vantorel
