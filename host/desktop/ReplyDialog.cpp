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

QString recipientName(const outlook::MailItemPtr& mail, const QString& address) {
    const outlook::RecipientsPtr recipients = mail->Recipients();
    for (int i = 1; i <= recipients->Count(); ++i) {
        const outlook::RecipientPtr r = recipients->Item(i);
        if (r->Address().compare(address, Qt::CaseInsensitive) == 0) {
            return r->Name().compare(address, Qt::CaseInsensitive) == 0 ? QString() : r->Name();
        }
    }
    return {};
}

ReplyDialog::ReplyDialog(const outlook::MailItemPtr& sent, QWidget* parent)
    : QDialog(parent), from_(new QComboBox), name_(new QLineEdit), subject_(new QLineEdit) {
    setWindowTitle(QStringLiteral("Receive a reply"));
    from_->setEditable(true);  // another address may be typed in
    from_->addItems(replyCandidates(sent));
    from_->setMinimumWidth(280);
    // The name follows the chosen recipient; the person may write another one.
    const auto nameOf = [this, sent](const QString& address) {
        name_->setText(recipientName(sent, address.trimmed()));
    };
    connect(from_, &QComboBox::currentTextChanged, this, nameOf);
    nameOf(from_->currentText());
    name_->setPlaceholderText(QStringLiteral("the address"));
    subject_->setText(QStringLiteral("RE: ") + sent->Subject());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("From:"), from_);
    layout->addRow(QStringLiteral("Name:"), name_);
    layout->addRow(QStringLiteral("Subject:"), subject_);
    layout->addRow(buttons);
}

QString ReplyDialog::from() const {
    return from_->currentText().trimmed();
}

QString ReplyDialog::name() const {
    return name_->text().trimmed();
}

QString ReplyDialog::subject() const {
    return subject_->text();
}

}  // namespace vantorel::host
