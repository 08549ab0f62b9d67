#include "forms/DontShowAgain.h"

#include "forms/MessageDialog.h"
#include "tools/Globals.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace vantorel {

namespace {
const int kExtraWidth = 32;   // more client area than the standard dialog
const int kEdge = 16;         // the button and the check box keep this far from the edges
const int kCheckBoxGap = 32;  // the check box ends this far before the button
const int kMessageShift = 8;
}  // namespace

std::unique_ptr<QDialog> CreateCheckBoxMessageDialog(const QString& sMessage,
                                                     platform::MessageIcon oIcon,
                                                     const QString& sCaption,
                                                     const QString& sCheckBoxText, bool bChecked,
                                                     QCheckBox** chkCheckBox) {
    std::unique_ptr<QDialog> dialog = CreateMessageDialog(sMessage, oIcon, sCaption);
    dialog->setObjectName(QStringLiteral("DontShowAgainDialog"));

    auto* chkDontShowAgain = new QCheckBox(sCheckBoxText, dialog.get());
    chkDontShowAgain->setObjectName(QStringLiteral("chkDontShowAgain"));
    chkDontShowAgain->setChecked(bChecked);

    int nClientWidth = dialog->width() + kExtraWidth;
    const int nClientHeight = dialog->height();
    // Room for the check box's caption left of the button.
    int nButtonWidth = 0;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        nButtonWidth = std::max(nButtonWidth, button->width());
    }
    nClientWidth = std::max(nClientWidth, kEdge + chkDontShowAgain->sizeHint().width() +
                                              kCheckBoxGap + nButtonWidth + kEdge);

    int nCheckBoxWidth = chkDontShowAgain->sizeHint().width();
    for (QObject* child : dialog->children()) {
        if (auto* button = qobject_cast<QPushButton*>(child)) {
            button->move(nClientWidth - button->width() - kEdge,
                         nClientHeight - button->height() - kEdge);
            nCheckBoxWidth = button->x() - kCheckBoxGap;
        } else if (auto* label = qobject_cast<QLabel*>(child)) {
            if (label->pixmap().isNull()) {  // the message, not the icon
                label->move(label->x() + kMessageShift, label->y());
            }
        }
    }
    const int nCheckBoxHeight = QFontMetrics(chkDontShowAgain->font()).height() + 10;
    chkDontShowAgain->setGeometry(kEdge, nClientHeight - nCheckBoxHeight - kEdge, nCheckBoxWidth,
                                  nCheckBoxHeight);

    dialog->setFixedSize(nClientWidth, nClientHeight);
    CentreOnScreen(*dialog);
    if (chkCheckBox != nullptr) {
        *chkCheckBox = chkDontShowAgain;
    }
    return dialog;
}

std::unique_ptr<QDialog> CreateDontShowAgainDialog(const QString& sMessage,
                                                   QCheckBox** chkDontShowAgain) {
    return CreateCheckBoxMessageDialog(sMessage, platform::MessageIcon::Information, AddInName,
                                       DontShowAgainText, false, chkDontShowAgain);
}

}  // namespace vantorel
