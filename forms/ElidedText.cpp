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

QString TElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), m_mode, contentsRect().width());
}

void TElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
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
