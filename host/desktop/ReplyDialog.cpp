#include "host/desktop/ReplyDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace vantorel::host {

QStringList replyCandidates(const outlook::MailItemPtr& mail) {
    QStringList addresses;
    const outlook::RecipientsPtr recipients = mail->Recipients();
    for (const int type : {outlook::olTo, outlook::olCC}) {
        for (int i = 1; i <= recipients->Count(); ++i) {
            const outlook::RecipientPtr r = recipients->Item(i);
            if (r->Type() == type && !addresses.contains(r->Address())) {
                addresses << r->Address();
            }
        }
    }
    return addresses;
}

ReplyDialog::ReplyDialog(const outlook::MailItemPtr& sent, QWidget* parent)
    : QDialog(parent), from_(new QComboBox), subject_(new QLineEdit) {
    setWindowTitle(QStringLiteral("Receive a reply"));
    from_->setEditable(true);  // another address may be typed in
    from_->addItems(replyCandidates(sent));
    from_->setMinimumWidth(280);
    subject_->setText(QStringLiteral("RE: ") + sent->Subject());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("From:"), from_);
    layout->addRow(QStringLiteral("Subject:"), subject_);
    layout->addRow(buttons);
}

QString ReplyDialog::from() const {
    return from_->currentText().trimmed();
}

QString ReplyDialog::subject() const {
    return subject_->text();
}

}  // namespace vantorel::host
