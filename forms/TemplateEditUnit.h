#pragma once

// TTemplateEdit, "Vantorel - Template": whether a re-sent follow-up is written from
// the template, and the template itself with its placeholders. OK stores both;
// Cancel and the close box store nothing.
//
// One instance lives as long as the add-in and is created before every other form:
// its marker picture, scaled with the display, tells the add-in's display scale
// (GetWindowsScaling). Each showing reloads the template from the settings. The
// window is laid out in design pixels (96 dpi); the toolkit scales it with the
// display.

#include "forms/TemplateEditLogic.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace vantorel {

// txtTemplate: a multi-line box that keeps the template's own line breaks and takes
// at most kTemplateTypingLimit typed characters.
class TTemplateTextBox : public QPlainTextEdit {
public:
    explicit TTemplateTextBox(QWidget* parent);

    // The template with its own line breaks; setting it runs the change handler.
    QString Text() const { return m_lines.Text(); }
    void SetText(const QString& sText);
    // The selection in template characters (a CR LF counts two).
    int SelStart() const;
    int SelLength() const;
    void SetCaret(int nPosition);

    // Called after every change of the text, typed or set.
    std::function<void()> onChange;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void BoxChanged();

    TTemplateLines m_lines;
    bool m_bSetting = false;
};

class TTemplateEdit : public QDialog {
public:
    explicit TTemplateEdit(QWidget* parent = nullptr);

    // The display scale in percent from imgTemplate's height in device pixels.
    quint16 GetWindowsScaling() const;
    // Shows the dialog modally: QDialog::Accepted (1) after OK.
    int ShowModal();

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHelp();
    void OptUseTemplateClick() { EnableTemplateControls(); }
    void OptNoTemplateClick() { EnableTemplateControls(); }
    void txtTemplateChange();
    void btnInsertNameClick() { InsertTemplateText(InsertedText(TInsertButton::Name)); }
    void btnInsertEmailClick() { InsertTemplateText(InsertedText(TInsertButton::Email)); }
    void btnInsertDateClick() { InsertTemplateText(InsertedText(TInsertButton::Date)); }
    void btnInsertTimeClick() { InsertTemplateText(InsertedText(TInsertButton::Time)); }
    void btnInsertVantorelClick() { InsertTemplateText(InsertedText(TInsertButton::Signature)); }
    void btnRestoreDefaultClick();
    void btnOKClick();
    void btnCancelClick();

    // The insert button for BUTTON.
    QPushButton* InsertButton(TInsertButton button) const;

    QLabel* imgTemplate;
    QLabel* Label1;
    QRadioButton* OptNoTemplate;
    QRadioButton* OptUseTemplate;
    QGroupBox* GroupBox1;
    QPushButton* btnInsertName;
    QPushButton* btnInsertEmail;
    QPushButton* btnInsertDate;
    QPushButton* btnInsertTime;
    QPushButton* btnInsertVantorel;
    QPushButton* btnRestoreDefault;
    TTemplateTextBox* txtTemplate;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    static constexpr int kClientWidth = 552;
    static constexpr int kClientHeight = 371;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnableTemplateControls();
    void LoadTemplate();
    void StoreTemplate();
    void InsertTemplateText(const QString& sText);
    void ApplyStates(const TTemplateControlStates& states);
    // The settings are gone once the add-in has shut down.
    static bool AddInClosed() { return AddInRegistry == nullptr; }
};

// The add-in's template editor while the add-in runs; null outside.
extern TTemplateEdit* TemplateEdit;

}  // namespace vantorel
