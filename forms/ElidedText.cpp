#include "forms/ElidedText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace vantorel {

// ---------------------------------------------------------------------------------
// TElidedLabel

TElidedLabel::TElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), m_mode(mode) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

int TElidedLabel::TextFlags() const {
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment());
    return wordWrap() ? flags | Qt::TextWordWrap : flags;
}

bool TElidedLabel::Fits(const QString& sText) const {
    const QRect room = contentsRect();
    return fontMetrics().boundingRect(room, TextFlags(), sText).height() <= room.height();
}

QString TElidedLabel::ShownText() const {
    const QString sText = text();
    if (!wordWrap()) {
        return fontMetrics().elidedText(sText, m_mode, contentsRect().width());
    }
    if (Fits(sText)) {
        return sText;
    }
    // The most characters, half from the start and half from the end, that fit with
    // an ellipsis between them.
    const auto shortened = [&sText](qsizetype nKept) {
        return sText.left(nKept - nKept / 2) + QChar(0x2026) + sText.right(nKept / 2);
    };
    qsizetype nFits = 0;
    qsizetype nTooMany = sText.size();
    while (nTooMany - nFits > 1) {
        const qsizetype nMiddle = (nFits + nTooMany) / 2;
        (Fits(shortened(nMiddle)) ? nFits : nTooMany) = nMiddle;
    }
    return shortened(nFits);
}

void TElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), TextFlags(), palette(), isEnabled(),
                          ShownText(), foregroundRole());
}

bool TElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        // A shortened text shows whole when the mouse rests on it.
        const QString sShown = ShownText();
        if (sShown != text()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QLabel::event(event);
}

// ---------------------------------------------------------------------------------
// TElidingDelegate

TElidingDelegate::TElidingDelegate(Qt::TextElideMode mode, QObject* parent)
    : QStyledItemDelegate(parent), m_mode(mode) {}

QString TElidingDelegate::ShownText(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    // The room the style gives the text: the text's rectangle less its margins.
    const int nMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    return item.fontMetrics.elidedText(item.text, m_mode, textRect.width() - 2 * nMargin);
}

void TElidingDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text = ShownText(option, index);
    item.textElideMode = Qt::ElideNone;  // shortened already
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
}

bool TElidingDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString sText = index.data(Qt::DisplayRole).toString();
    if (ShownText(option, index) != sText) {
        QToolTip::showText(event->globalPos(), sText, view);
    } else {
        QToolTip::hideText();
    }
    return true;
}

}  // namespace vantorel
