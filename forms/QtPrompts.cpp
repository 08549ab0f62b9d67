#include "forms/QtPrompts.h"

#include "forms/ClientOwned.h"
#include "forms/DontShowAgain.h"
#include "tools/Globals.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace vantorel {

namespace {

QMessageBox::Icon boxIcon(platform::MessageIcon icon) {
    switch (icon) {
        case platform::MessageIcon::Information:
            break;
        case platform::MessageIcon::Warning:
            return QMessageBox::Warning;
        case platform::MessageIcon::Error:
            return QMessageBox::Critical;
        case platform::MessageIcon::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::Information;
}

QString withLineFeeds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

platform::MessageReply QtPrompts::show(const platform::MessageRequest& request) {
    const QString caption = request.caption.isEmpty() ? AddInName : request.caption;
    const bool bYesNo = platform::asksYesNo(request.buttons);
    const bool bCancel = request.buttons == platform::MessageButtons::YesNoCancel;

    if (!request.checkBoxText.isEmpty() && !bYesNo) {
        QCheckBox* checkBox = nullptr;
        const std::unique_ptr<QDialog> dialog = CreateCheckBoxMessageDialog(
            request.text, request.icon, caption, request.checkBoxText, request.checked, &checkBox);
        const ClientOwned owned(*dialog);
        dialog->exec();
        return {platform::MessageAnswer::Ok, checkBox->isChecked()};
    }

    QMessageBox box(boxIcon(request.icon), caption, withLineFeeds(request.text));
    box.setTextFormat(Qt::PlainText);
    QCheckBox* checkBox = nullptr;
    if (!request.checkBoxText.isEmpty()) {
        checkBox = new QCheckBox(request.checkBoxText, &box);
        checkBox->setObjectName(QStringLiteral("chkDontShowAgain"));
        checkBox->setChecked(request.checked);
        box.setCheckBox(checkBox);
    }
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    if (bYesNo) {
        yes = box.addButton(QMessageBox::Yes);
        no = box.addButton(QMessageBox::No);
        yes->setObjectName(QStringLiteral("btnYes"));
        no->setObjectName(QStringLiteral("btnNo"));
        if (bCancel) {
            cancel = box.addButton(QMessageBox::Cancel);
            cancel->setObjectName(QStringLiteral("btnCancel"));
        }
        box.setDefaultButton(request.defaultAnswer == platform::MessageAnswer::No       ? no
                             : request.defaultAnswer == platform::MessageAnswer::Cancel ? cancel
                                                                                        : yes);
        if (box.defaultButton() == nullptr) {
            box.setDefaultButton(yes);
        }
        box.setEscapeButton(bCancel ? cancel : no);
    } else {
        QPushButton* ok = box.addButton(QMessageBox::Ok);
        ok->setObjectName(QStringLiteral("btnOK"));
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    const ClientOwned owned(box);
    box.exec();
    platform::MessageReply reply;
    reply.answer = !bYesNo                      ? platform::MessageAnswer::Ok
                   : box.clickedButton() == yes ? platform::MessageAnswer::Yes
                   : box.clickedButton() == no  ? platform::MessageAnswer::No
                   : bCancel                    ? platform::MessageAnswer::Cancel
                                                : platform::MessageAnswer::No;
    reply.checked = checkBox != nullptr ? checkBox->isChecked() : request.checked;
    return reply;
}

}  // namespace vantorel
