#pragma once

// Texts that may be longer than the room a window has for them: a one-line label and
// the cells of a list that shorten their text with an ellipsis ("…") instead of
// cutting it off mid-word, and show the whole text as a tool tip when shortened.

#include <QLabel>
#include <QString>
#include <QStyledItemDelegate>

namespace vantorel {

// A one-line label that shows as much of its text as its width allows, shortened at
// the end (Qt::ElideRight) or in the middle (Qt::ElideMiddle). text() stays whole.
class TElidedLabel : public QLabel {
public:
    TElidedLabel(Qt::TextElideMode mode, QWidget* parent);

    // What the label shows at its present width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};

// Draws the cells of a list column with their text shortened in the given way to the
// cell's width.
class TElidingDelegate : public QStyledItemDelegate {
public:
    TElidingDelegate(Qt::TextElideMode mode, QObject* parent);

    // What the cell shows for OPTION (as the view hands it to the delegate, with the
    // cell's rectangle) and INDEX.
    QString ShownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    Qt::TextElideMode m_mode;
};

}  // namespace vantorel
