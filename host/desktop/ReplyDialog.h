#pragma once

// Asks who replies to a sent message: one of its To or Cc recipients, or another
// address typed in, the sender's name (the recipient's display name to begin with)
// and the reply's subject.

#include "outlook/Outlook.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace vantorel::host {

class ReplyDialog : public QDialog {
public:
    ReplyDialog(const outlook::MailItemPtr& sent, QWidget* parent = nullptr);
    QString from() const;
    QString name() const;
    QString subject() const;

private:
    QComboBox* from_;
    QLineEdit* name_;
    QLineEdit* subject_;
};

// The To and Cc addresses of MAIL, To first, each once.
QStringList replyCandidates(const outlook::MailItemPtr& mail);
// The display name of MAIL's recipient with ADDRESS; empty when it has none of its own.
QString recipientName(const outlook::MailItemPtr& mail, const QString& address);

}  // namespace vantorel::host
