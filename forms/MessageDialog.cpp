#include "forms/MessageDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace vantorel {

namespace {

const int kMargin = 12;
const int kIconSize = 32;
const int kIconGap = 12;        // between the icon and the text
const int kButtonSpacing = 16;  // between the content and the button
const int kButtonWidth = 75;
const int kButtonHeight = 23;
const int kFallbackTextWidth = 400;

QStyle::StandardPixmap standardPixmap(platform::MessageIcon oIcon) {
    switch (oIcon) {
        case platform::MessageIcon::Information:
            break;
        case platform::MessageIcon::Warning:
            return QStyle::SP_MessageBoxWarning;
        case platform::MessageIcon::Error:
            return QStyle::SP_MessageBoxCritical;
        case platform::MessageIcon::Confirmation:
            return QStyle::SP_MessageBoxQuestion;
    }
    return QStyle::SP_MessageBoxInformation;
}

QString withLineFeeds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

std::unique_ptr<QDialog> CreateMessageDialog(const QString& sMessage, platform::MessageIcon oIcon,
                                             const QString& sCaption) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setObjectName(QStringLiteral("MessageDialog"));
    dialog->setWindowTitle(sCaption);
    dialog->setModal(true);

    auto* imgIcon = new QLabel(dialog.get());
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(dialog->style()
                           ->standardIcon(standardPixmap(oIcon), nullptr, dialog.get())
                           .pixmap(kIconSize, kIconSize));
    imgIcon->setGeometry(kMargin, kMargin, kIconSize, kIconSize);

    const QString sText = withLineFeeds(sMessage);
    QScreen* screen = QGuiApplication::primaryScreen();
    const int nMaxTextWidth = screen != nullptr
                                  ? std::max(200, screen->availableGeometry().width() / 2)
                                  : kFallbackTextWidth;
    const QRect textRect = QFontMetrics(dialog->font())
                               .boundingRect(QRect(0, 0, nMaxTextWidth, 100000),
                                             Qt::TextWordWrap | Qt::TextExpandTabs, sText);
    auto* lblMessage = new QLabel(sText, dialog.get());
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int nTextLeft = kMargin + kIconSize + kIconGap;
    // A single line sits level with the middle of the icon.
    const int nTextTop = kMargin + std::max(0, (kIconSize - textRect.height()) / 2);
    // One pixel spare, so the label breaks its lines where they were measured.
    lblMessage->setGeometry(nTextLeft, nTextTop, textRect.width() + 1, textRect.height());

    auto* btnOK = new QPushButton(QStringLiteral("&OK"), dialog.get());
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    QObject::connect(btnOK, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    const QSize buttonSize(std::max(kButtonWidth, btnOK->sizeHint().width()),
                           std::max(kButtonHeight, btnOK->sizeHint().height()));

    const int nContentBottom =
        std::max(imgIcon->geometry().bottom(), lblMessage->geometry().bottom()) + 1;
    const int nClientWidth =
        std::max(lblMessage->geometry().right() + 1 + kMargin, buttonSize.width() + 2 * kMargin);
    const int nButtonTop = nContentBottom + kButtonSpacing;
    const int nClientHeight = nButtonTop + buttonSize.height() + kMargin;
    btnOK->setGeometry(
        QRect(QPoint((nClientWidth - buttonSize.width()) / 2, nButtonTop), buttonSize));

    dialog->setFixedSize(nClientWidth, nClientHeight);
    CentreOnScreen(*dialog);
    return dialog;
}

void CentreOnScreen(QWidget& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace vantorel
