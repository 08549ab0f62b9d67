#pragma once

// Texts that may be longer than the room a window has for them: a one-line label and
// the cells of a list that shorten their text with an ellipsis ("…") instead of
// cutting it off mid-word, and show the whole text as a tool tip when shortened.

#include <QLabel>
#include <QString>
#include <QStyledItemDelegate>

namespace vantorel {

// A label that shows as much of its text as its room allows, shortened at the end
// (Qt::ElideRight) or in the middle (Qt::ElideMiddle): on one line, or with word wrap
// on as many lines as its height holds (then always in the middle, so both ends of
// the text stay). text() stays whole.
class TElidedLabel : public QLabel {
public:
    TElidedLabel(Qt::TextElideMode mode, QWidget* parent);

    // What the label shows at its present size.
    QString ShownText() const;
    // Whether TEXT, wrapped at the label's width, fits in its height.
    bool Fits(const QString& sText) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    int TextFlags() const;

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
