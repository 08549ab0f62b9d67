#pragma once

// A message window: the fields of one mail item in an inspector and the "Message"
// tab of its ribbon, with the mail client's own Send group and the add-in's group
// where the add-in asks for it. An unsent message can be edited and sent; a sent or
// received one is shown read-only, without the compose commands. Closing a message
// with typed changes asks whether to save them to Drafts, as a mail client does.

#include "host/MailClient.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

class QToolButton;

namespace vantorel::host {

class RibbonBar;
class RibbonStrip;

class ComposeWindow : public QWidget {
public:
    ComposeWindow(MailClient& client, outlook::InspectorPtr inspector);

    const outlook::InspectorPtr& inspector() const { return inspector_; }
    bool readOnly() const { return readOnly_; }
    QLineEdit* to() const { return to_; }
    QLineEdit* cc() const { return cc_; }
    QLineEdit* bcc() const { return bcc_; }
    QLineEdit* subject() const { return subject_; }
    QPlainTextEdit* body() const { return body_; }
    // The mail client's Send button (null in a read-only window).
    QAction* sendAction() const { return send_; }
    // The add-in's group (null while no add-in runs, and in a read-only window).
    RibbonBar* addInGroup() const { return addIn_; }
    RibbonStrip* ribbon() const { return ribbon_; }

    // Whether the fields hold text the item has not saved: typed since the window
    // opened or last saved it.
    bool hasUnsavedChanges() const;
    // Before the window closes: asks "Do you want to save changes?" when there are
    // unsaved changes. Yes saves the message (a new one to Drafts), No lets the
    // changes go; false when the person cancels, or the save failed, and the window
    // must stay open. Asks once: after Yes or No the window closes without asking.
    bool settleChanges();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Fields {
        QString to, cc, bcc, subject, body;
        friend bool operator==(const Fields&, const Fields&) = default;
    };
    Fields shownFields() const;
    // Writes what the person typed into the item, as the window does before a send.
    void storeFields();
    void sendWithOwnButton();
    void press(RibbonButton& button);

    MailClient& client_;
    outlook::InspectorPtr inspector_;
    outlook::MailItemPtr mail_;
    bool readOnly_;
    QLineEdit* to_;
    QLineEdit* cc_;
    QLineEdit* bcc_;
    QLineEdit* subject_;
    QPlainTextEdit* body_;
    RibbonStrip* ribbon_;
    QAction* send_ = nullptr;
    RibbonBar* addIn_ = nullptr;
    bool closingFromEngine_ = false;
    // The fields as the item holds them, when last loaded or saved.
    Fields saved_;
    bool settled_ = false;

    friend class MainWindow;
};

}  // namespace vantorel::host
