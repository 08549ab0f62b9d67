#pragma once

// A message window: the fields of one mail item in an inspector, the mail client's
// own Send button and the add-in's group of the message window's ribbon.

#include "host/MailClient.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace vantorel::host {

class ComposeWindow : public QWidget {
public:
    ComposeWindow(MailClient& client, outlook::InspectorPtr inspector);

    const outlook::InspectorPtr& inspector() const { return inspector_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Writes what the person typed into the item, as the window does before a send.
    void storeFields();
    void sendWithOwnButton();
    void press(RibbonButton& button);

    MailClient& client_;
    outlook::InspectorPtr inspector_;
    outlook::MailItemPtr mail_;
    QLineEdit* to_;
    QLineEdit* cc_;
    QLineEdit* bcc_;
    QLineEdit* subject_;
    QPlainTextEdit* body_;
    bool closingFromEngine_ = false;

    friend class MainWindow;
};

}  // namespace vantorel::host
