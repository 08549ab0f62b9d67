#include "host/desktop/ComposeWindow.h"

#include "host/desktop/Guarded.h"
#include "host/desktop/RibbonBar.h"
#include "platform/Prompts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace vantorel::host {

ComposeWindow::ComposeWindow(MailClient& client, outlook::InspectorPtr inspector)
    : client_(client),
      inspector_(std::move(inspector)),
      mail_(outlook::asMailItem(inspector_->CurrentItem())),
      readOnly_(mail_ && (mail_->Sent() || mail_->ReceivedTime() < outlook::kNoDate)),
      to_(new QLineEdit),
      cc_(new QLineEdit),
      bcc_(new QLineEdit),
      subject_(new QLineEdit),
      body_(new QPlainTextEdit),
      ribbon_(new RibbonStrip) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 500);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ribbon_);
    const QString tab = QStringLiteral("Message");
    if (readOnly_) {
        QToolBar* respond =
            ribbon_->addGroup(tab, QStringLiteral("GroupRespond"), QStringLiteral("Respond"));
        connect(ribbon_->addButton(respond, style()->standardIcon(QStyle::SP_DialogCloseButton),
                                   QStringLiteral("Close")),
                &QAction::triggered, this, [this] { close(); });
    } else {
        QToolBar* sendGroup =
            ribbon_->addGroup(tab, QStringLiteral("GroupSend"), QStringLiteral("Send"));
        send_ = ribbon_->addButton(sendGroup, style()->standardIcon(QStyle::SP_ArrowRight),
                                   QStringLiteral("Send"));
        connect(send_, &QAction::triggered, this, [this] { sendWithOwnButton(); });
        for (RibbonTab* addInTab : client_.ribbonTabs()) {
            if (addInTab->ribbons == kRibbonMailCompose) {
                addIn_ =
                    ribbon_->addAddInGroup(tab, *addInTab, [this](RibbonButton& b) { press(b); });
            }
        }
    }
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("To"), to_);
    fields->addRow(QStringLiteral("Cc"), cc_);
    fields->addRow(QStringLiteral("Bcc"), bcc_);
    fields->addRow(QStringLiteral("Subject"), subject_);
    layout->addLayout(fields);
    layout->addWidget(body_, 1);
    if (mail_) {
        to_->setText(mail_->To());
        cc_->setText(mail_->CC());
        bcc_->setText(mail_->BCC());
        subject_->setText(mail_->Subject());
        body_->setPlainText(mail_->Body());
    }
    for (QLineEdit* field : {to_, cc_, bcc_, subject_}) {
        field->setReadOnly(readOnly_);
    }
    body_->setReadOnly(readOnly_);
    const QString kind =
        readOnly_ ? QStringLiteral(" - Message (Read-only)") : QStringLiteral(" - Message");
    connect(subject_, &QLineEdit::textChanged, this, [this, kind](const QString& text) {
        setWindowTitle((text.isEmpty() ? QStringLiteral("Untitled") : text) + kind);
    });
    setWindowTitle(
        (mail_ && !mail_->Subject().isEmpty() ? mail_->Subject() : QStringLiteral("Untitled")) +
        kind);
    // Typing starts where the message needs it: To, then Subject, then the text.
    QWidget* first = body_;
    if (!readOnly_ && to_->text().isEmpty()) {
        first = to_;
    } else if (!readOnly_ && subject_->text().isEmpty()) {
        first = subject_;
    }
    first->setFocus();
    saved_ = shownFields();
}

ComposeWindow::Fields ComposeWindow::shownFields() const {
    return {to_->text(), cc_->text(), bcc_->text(), subject_->text(), body_->toPlainText()};
}

bool ComposeWindow::hasUnsavedChanges() const {
    return mail_ && !readOnly_ && shownFields() != saved_;
}

bool ComposeWindow::settleChanges() {
    if (settled_ || !hasUnsavedChanges()) {
        return true;
    }
    platform::MessageRequest request;
    request.caption = QCoreApplication::applicationName();
    request.text = QStringLiteral("Do you want to save changes?");
    request.icon = platform::MessageIcon::Confirmation;
    request.buttons = platform::MessageButtons::YesNoCancel;
    switch (platform::prompts().show(request).answer) {
        case platform::MessageAnswer::Yes:
            try {
                storeFields();
                mail_->Save();
            } catch (const outlook::OutlookError& e) {
                platform::showMessage(e.text(), platform::MessageIcon::Error);
                return false;
            } catch (const std::exception& e) {
                platform::showMessage(QString::fromUtf8(e.what()), platform::MessageIcon::Error);
                return false;
            }
            saved_ = shownFields();
            break;
        case platform::MessageAnswer::No:
            break;
        case platform::MessageAnswer::Ok:
        case platform::MessageAnswer::Cancel:
            return false;
    }
    settled_ = true;
    return true;
}

void ComposeWindow::storeFields() {
    if (!mail_) {
        return;
    }
    // Only what changed, so recipients resolved earlier keep their entries.
    if (to_->text() != mail_->To()) {
        mail_->SetTo(to_->text());
    }
    if (cc_->text() != mail_->CC()) {
        mail_->SetCC(cc_->text());
    }
    if (bcc_->text() != mail_->BCC()) {
        mail_->SetBCC(bcc_->text());
    }
    if (subject_->text() != mail_->Subject()) {
        mail_->SetSubject(subject_->text());
    }
    if (body_->toPlainText() != mail_->Body()) {
        mail_->SetBody(body_->toPlainText());
    }
}

void ComposeWindow::sendWithOwnButton() {
    if (!mail_ || readOnly_) {
        return;
    }
    try {
        if (!client_.engine().isOpen(inspector_)) {
            return;  // sent already: the window is closing
        }
        storeFields();
        mail_->Send();
    } catch (const outlook::OutlookError& e) {
        platform::showMessage(e.text(), platform::MessageIcon::Error);
    } catch (const std::exception& e) {
        client_.ErrorSuppressed(QString::fromUtf8(e.what()));
    }
}

void ComposeWindow::press(RibbonButton& button) {
    try {
        if (!client_.engine().isOpen(inspector_)) {
            return;  // the window is closing
        }
        storeFields();
        client_.engine().activate(inspector_);
        // The add-in's buttons save the message before they send it.
        saved_ = shownFields();
        client_.press(button.Caption(), inspector_);
    } catch (const std::exception& e) {
        platform::showMessage(QString::fromUtf8(e.what()), platform::MessageIcon::Error);
    }
}

bool ComposeWindow::event(QEvent* event) {
    // The activation may come after the inspector closed (a send, a Close): then
    // there is nothing to bring to the front.
    if (event->type() == QEvent::WindowActivate) {
        guarded(client_, [this] {
            if (client_.engine().isOpen(inspector_)) {
                client_.engine().activate(inspector_);
            }
        });
    }
    return QWidget::event(event);
}

void ComposeWindow::closeEvent(QCloseEvent* event) {
    if (!closingFromEngine_ && !settleChanges()) {
        event->ignore();
        return;
    }
    if (!closingFromEngine_) {
        closingFromEngine_ = true;  // the engine's close notice must not close us again
        guarded(client_, [this] { client_.engine().close(inspector_); });
    }
    event->accept();
}

}  // namespace vantorel::host
